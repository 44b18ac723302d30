#include <bwcore/dircache/CFileType.h>

#include <bwcore/tools/CBWPath.h>
#include <bwcore/ui/CutilLoadIcon.h>

#include <stdlib.h>
#include <string.h>

namespace {

// String resources: "%s File" and "File Folder".
constexpr UINT kTypeTextFormat = 30110;
constexpr UINT kFolderText = 30384;
// Icon resources: the generic file (image 0) and the folder (image 1).
constexpr int kFileIcon = 30337;
constexpr int kFolderIcon = 30336;

constexpr DWORD kValueSize = 260;

void CopyText(char* pszDest, size_t nSize, const char* pszSource) {
    const size_t nLength = strnlen(pszSource, nSize - 1);
    memcpy(pszDest, pszSource, nLength);
    pszDest[nLength] = '\0';
}

// The key's default value as read, into a buffer of kValueSize bytes; empty when it cannot be
// read. A value that fills the buffer without a terminating zero is cut by one byte.
bool ReadDefaultValue(HKEY hKey, char* pszValue) {
    DWORD cbValue = kValueSize;
    if (RegQueryValueExA(hKey, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(pszValue),
                         &cbValue) != ERROR_SUCCESS) {
        pszValue[0] = '\0';
        return false;
    }
    pszValue[cbValue < kValueSize ? cbValue : kValueSize - 1] = '\0';
    return true;
}

HKEY OpenKey(HKEY hParent, LPCSTR pszSubKey) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(hParent, pszSubKey, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
        return nullptr;
    return hKey;
}

// A zero-filled record from the C heap; null when none can be had.
CFileType::typeinfo* NewRecord() {
    auto* pInfo = static_cast<CFileType::typeinfo*>(malloc(sizeof(CFileType::typeinfo)));
    if (pInfo)
        memset(pInfo, 0, sizeof *pInfo);
    return pInfo;
}

void* IndexAsValue(INT_PTR nIndex) {
    return reinterpret_cast<void*>(nIndex);
}

// The type text of an extension: "%s File" formatted with it.
CString FormatTypeText(LPCSTR pszExt) {
    CString strFormat;
    strFormat.LoadString(kTypeTextFormat);
    CString strText;
    strText.Format(strFormat, pszExt);
    return strText;
}

} // namespace

CFileType::CFileType() {
    // A large tree meets thousands of extensions (version numbers count as ones too); with the
    // map's default 17 buckets every lookup would walk chains of hundreds of keys. The buckets are
    // allocated with the first key.
    m_mapTypes.InitHashTable(4099, FALSE);
    Setup();
}

CFileType::~CFileType() {
    Unsetup();
    m_arrTypes.RemoveAllEx();
}

int CFileType::Setup() {
    m_arrTypes.SetSize(0, 100);
    typeinfo* pInfo = NewRecord();
    if (!pInfo)
        return -1;
    // " File" after the argument's space: the text without its first two characters is "File".
    CopyText(pInfo->szText, sizeof pInfo->szText, FormatTypeText(" ").Mid(2));
    m_mapTypes.SetAt(" ", IndexAsValue(m_arrTypes.Add(pInfo)));

    m_pLargeImages = new CImageList;
    m_pLargeImages->Create(32, 32, ILC_MASK, 1, 20);
    m_pSmallImages = new CImageList;
    m_pSmallImages->Create(16, 16, ILC_MASK, 1, 4);
    AddIcon(kFileIcon);
    m_nFolderImage = AddIcon(kFolderIcon);
    return 0;
}

int CFileType::AddIcon(int nId) {
    HICON hLarge = CutilLoadIcon32(nId);
    HICON hSmall = CutilLoadIcon16(nId);
    const int nImage = ImageList_ReplaceIcon(m_pLargeImages->m_hImageList, -1, hLarge);
    ImageList_ReplaceIcon(m_pSmallImages->m_hImageList, -1, hSmall);
    DestroyIcon(hLarge);
    DestroyIcon(hSmall);
    return nImage;
}

int CFileType::Unsetup() {
    delete m_pLargeImages;
    m_pLargeImages = nullptr;
    delete m_pSmallImages;
    m_pSmallImages = nullptr;
    return 0;
}

int CFileType::QueryFileTypeIndex(char* pszFile, CString& strText, CString& strCommand) {
    CString strKey = CBWPath(pszFile).GetExtension().GetPath();
    strKey.MakeUpper();
    if (strKey.IsEmpty())
        strKey = " ";
    int nType = 0;
    typeinfo* pInfo = nullptr;
    void* pValue = nullptr;
    if (m_mapTypes.Lookup(strKey, pValue)) {
        nType = static_cast<int>(reinterpret_cast<INT_PTR>(pValue));
        pInfo = static_cast<typeinfo*>(m_arrTypes.GetAt(nType));
    } else {
        pInfo = NewRecord();
        if (!pInfo)
            return -1;
        if (GetFileTypeInfo(strKey, pInfo) < 0) {
            free(pInfo);
            return -1;
        }
        nType = static_cast<int>(m_arrTypes.Add(pInfo));
        m_mapTypes.SetAt(strKey, IndexAsValue(nType));
    }
    strText = pInfo->szText;
    strCommand = pInfo->szCommand;
    return nType;
}

int CFileType::QueryFileTypeText(int nType, CString& strText, CString& strCommand) {
    const typeinfo* pInfo = QueryFileTypeInfo(nType);
    if (!pInfo)
        return -1;
    strText = pInfo->szText;
    strCommand = pInfo->szCommand;
    return pInfo->nImage;
}

const CFileType::typeinfo* CFileType::QueryFileTypeInfo(int nType) const {
    if (nType < 0 || nType >= m_arrTypes.GetSize())
        return nullptr;
    return static_cast<const typeinfo*>(m_arrTypes.GetAt(nType));
}

int CFileType::QueryFolderImage(CString& strText) {
    strText.LoadString(kFolderText);
    return m_nFolderImage;
}

CImageList* CFileType::QueryImages(int bLarge) {
    return bLarge ? m_pLargeImages : m_pSmallImages;
}

int CFileType::GetFileTypeInfo(const CString& strExt, typeinfo* pInfo) {
    CString strText = FormatTypeText(strExt);
    if (strExt.IsEmpty())
        strText = strText.Mid(1);
    CopyText(pInfo->szText, sizeof pInfo->szText, strText);
    pInfo->szCommand[0] = '\0';
    pInfo->szIconFile[0] = '\0';
    pInfo->nIconIndex = -2;
    pInfo->nImage = -2;

    char szIconFile[kValueSize];
    char szText[kValueSize];
    char szCommand[kValueSize];
    int nIconIndex = -2;
    if (GetRegistryInfo("." + strExt, szIconFile, &nIconIndex, szText, szCommand)) {
        if (szText[0] != '\0')
            CopyText(pInfo->szText, sizeof pInfo->szText, szText);
        CopyText(pInfo->szCommand, sizeof pInfo->szCommand, szCommand);
        CopyText(pInfo->szIconFile, sizeof pInfo->szIconFile, szIconFile);
        pInfo->nIconIndex = nIconIndex;
        CreateImageIndex(strExt, pInfo);
    } else {
        pInfo->nImage = 0;
    }
    return 0;
}

int CFileType::GetRegistryInfo(const CString& strKey, char* pszIconFile, int* pnIconIndex,
                               char* pszText, char* pszCommand) {
    pszIconFile[0] = '\0';
    pszText[0] = '\0';
    pszCommand[0] = '\0';
    *pnIconIndex = -2;

    HKEY hExtension = OpenKey(HKEY_CLASSES_ROOT, strKey);
    if (!hExtension)
        return 0;
    char szClass[kValueSize];
    const bool bClassRead = ReadDefaultValue(hExtension, szClass);
    RegCloseKey(hExtension);
    if (!bClassRead)
        return 0;
    HKEY hClass = OpenKey(HKEY_CLASSES_ROOT, szClass);
    if (!hClass)
        return 0;

    if (HKEY hIcon = OpenKey(hClass, "DefaultIcon")) {
        // No trail byte of a double-byte character is a comma, so the last comma byte is one.
        if (ReadDefaultValue(hIcon, pszIconFile)) {
            char* pszComma = strrchr(pszIconFile, ',');
            *pnIconIndex = atoi(pszComma ? pszComma + 1 : pszIconFile);
            *(pszComma ? pszComma : pszIconFile) = '\0';
        }
        RegCloseKey(hIcon);
    }
    ReadDefaultValue(hClass, pszText);
    if (HKEY hCommand = OpenKey(hClass, "Shell\\Open\\Command")) {
        ReadDefaultValue(hCommand, pszCommand);
        RegCloseKey(hCommand);
    }
    RegCloseKey(hClass);
    return 1;
}

int CFileType::CreateImageIndex(const CString& strExt, typeinfo* pInfo) {
    void* pValue = nullptr;
    if (m_mapTypes.Lookup(strExt, pValue))
        return 0;
    pInfo->nImage = 0;
    if (pInfo->nIconIndex < 0 || !m_pLargeImages)
        return 0;
    // An extension module shares the application's module state, whose instance handle is the
    // executable's.
    HICON hIcon = ExtractIconA(GetModuleHandleA(nullptr), pInfo->szIconFile,
                               static_cast<UINT>(pInfo->nIconIndex));
    // 1 is what Windows returns for a file of a kind that holds no icons.
    if (reinterpret_cast<UINT_PTR>(hIcon) <= 1)
        return 0;
    const int nImage = m_pLargeImages->Add(hIcon);
    m_pSmallImages->Add(hIcon);
    if (nImage >= 0)
        pInfo->nImage = nImage;
    DestroyIcon(hIcon);
    return 0;
}
