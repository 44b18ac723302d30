#include <bwcore/dircache/CPathInfo.h>

#include <bwcore/dircache/CFileType.h>
#include <bwcore/runtime/Strings.h>
#include <bwcore/tools/CBWPath.h>

#include <stdlib.h>
#include <string.h>

#include <vector>

IMPLEMENT_DYNCREATE(CPathInfo, CObject)

namespace {

using pathfileinfo = CPathInfo::pathfileinfo;

// Appends a record that the array is to own; if the array cannot grow, the record is freed before
// the exception goes on.
void AddRecord(CPtrArrayEx& arr, pathfileinfo* pItem) {
    try {
        arr.Add(pItem);
    } catch (...) {
        free(pItem);
        throw;
    }
}

char* LastDot(char* psz) {
    char* pszLast = nullptr;
    for (char* p = _xlstrchr(psz, '.'); p != nullptr; p = _xlstrchr(_lstrnext(p), '.'))
        pszLast = p;
    return pszLast;
}

// One match of a name against a pattern. A '?' tries the rest of the pattern twice, without and
// with the name's next character, which alone would take time exponential in the number of '?'.
// The outcome from a pair of positions never changes, so every pair that has failed once is
// remembered and not walked again: a match costs at most (name length + 1) times (pattern length
// + 1) walks.
class WildcardMatch {
public:
    WildcardMatch(char* pszName, char* pszPattern)
        : m_pszName(pszName), m_pszPattern(pszPattern), m_nNameLength(strlen(pszName) + 1) {
        if (pszPattern != nullptr && strchr(pszPattern, '?') != nullptr)
            m_failed.assign(m_nNameLength * (strlen(pszPattern) + 1), false);
    }

    // 1 when the name from pszN on matches the pattern from pszP on, else 0.
    int From(char* pszN, char* pszP) {
        for (;;) {
            if (pszP == nullptr)
                return 0;
            if (*pszN == '\0') {
                if (*pszP == '\0')
                    return 1;
            } else if (*pszP == '\0') {
                return 0;
            }

            if (*pszP == '*') {
                // The star covers the name up to its last dot, whatever the pattern holds up to
                // its own next dot.
                pszP = _xlstrchr(pszP, '.');
                pszN = LastDot(pszN);
                if (pszP == nullptr)
                    return pszN == nullptr ? 1 : 0;
                if (pszN == nullptr) {
                    // The name has no more dots: only wildcards may follow the pattern's dot.
                    for (char* pszRest = pszP + 1; *pszRest != '\0'; ++pszRest) {
                        if (*pszRest != '?' && *pszRest != '*')
                            return 0;
                    }
                    return 1;
                }
            } else if (*pszP == '?') {
                ++pszP;
                if (FromUnlessFailed(pszN, pszP))
                    return 1;
                if (*pszN != '\0' && *pszN != '.')
                    pszN = _lstrnext(pszN);
            } else if (_lpsztoupper(pszP) == _lpsztoupper(pszN)) {
                if (*pszN != '\0')
                    pszN = _lstrnext(pszN);
                pszP = _lstrnext(pszP);
            } else if (*pszN == '\0' && *pszP == '.') {
                ++pszP;
            } else {
                return 0;
            }
        }
    }

private:
    int FromUnlessFailed(char* pszN, char* pszP) {
        const size_t nPair = static_cast<size_t>(pszP - m_pszPattern) * m_nNameLength +
                             static_cast<size_t>(pszN - m_pszName);
        if (m_failed[nPair])
            return 0;
        const int bMatch = From(pszN, pszP);
        if (!bMatch)
            m_failed[nPair] = true;
        return bMatch;
    }

    char* m_pszName;
    char* m_pszPattern;
    size_t m_nNameLength;       // with the terminator: the positions a name pointer can take
    std::vector<bool> m_failed; // by pattern position, then name position
};

} // namespace

CPathInfo::CPathInfo() {
    Setup(CString(), nullptr);
}

CPathInfo::CPathInfo(const CString& strPath, CFileType* pFileType) {
    Setup(strPath, pFileType);
}

CPathInfo::~CPathInfo() {
    m_arrFiles.RemoveAllEx();
    m_arrDirs.RemoveAllEx();
}

CRuntimeClass* CPathInfo::_GetBaseClass() {
    return RUNTIME_CLASS(CObject);
}

void CPathInfo::Setup(const CString& strPath, CFileType* pFileType) {
    m_arrFiles.SetSize(0, 100);
    m_arrDirs.SetSize(0, 10);
    m_strPath = strPath;
    m_pFileType = pFileType;
}

int CPathInfo::EnumDir(const CString& strDir) {
    if (!strDir.IsEmpty())
        m_strPath = strDir;
    CBWPath search(m_strPath);
    search ^= CBWPath("*.*");
    // A pattern that does not fit is not cut: the shorter text could name another directory.
    if (lstrlenA(search) >= MAX_PATH)
        return 0;
    char szPattern[MAX_PATH];
    lstrcpyA(szPattern, search);

    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA(szPattern, &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return 0;
    int nIndex = 0;
    do {
        // Only a name that begins with a dot can be "." or "..".
        const bool bDots = data.cFileName[0] == '.' && (lstrcmpiA(data.cFileName, ".") == 0 ||
                                                        lstrcmpiA(data.cFileName, "..") == 0);
        if (!bDots && FillFileInfo(nIndex, &data) < 0) {
            FindClose(hFind);
            return -1;
        }
        ++nIndex;
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
    return 0;
}

int CPathInfo::FillFileInfo(int /*nIndex*/, WIN32_FIND_DATAA* pData) {
    const int nSize = static_cast<int>(sizeof(pathfileinfo)) + lstrlenA(pData->cFileName) + 1;
    pathfileinfo* pItem = static_cast<pathfileinfo*>(malloc(static_cast<size_t>(nSize)));
    if (pItem == nullptr)
        return -1;
    pItem->nSize = nSize;
    pItem->pszName = reinterpret_cast<char*>(pItem + 1);
    lstrcpyA(pItem->pszName, pData->cFileName);
    pItem->dwSize = pData->nFileSizeLow;
    pItem->dwAttributes = pData->dwFileAttributes;
    pItem->ftLastWrite = pData->ftLastWriteTime;
    pItem->qwReserved = 0;
    pItem->nType = -1;
    if (m_pFileType != nullptr) {
        CString strText;
        CString strCommand;
        try {
            pItem->nType = m_pFileType->QueryFileTypeIndex(pData->cFileName, strText, strCommand);
        } catch (...) {
            free(pItem);
            throw;
        }
    }
    AddRecord((pItem->dwAttributes & FILE_ATTRIBUTE_DIRECTORY) ? m_arrDirs : m_arrFiles, pItem);
    return 0;
}

CPathInfo* CPathInfo::Duplicate(const CString& strPattern) {
    CPathInfo* pCopy = new CPathInfo;
    try {
        pCopy->m_strPath = m_strPath;
        pCopy->m_pFileType = m_pFileType;
        bool bFailed = CopyFileArray(pCopy->m_arrDirs, m_arrDirs) < 0;
        for (INT_PTR i = 0; !bFailed && i < m_arrFiles.GetSize(); ++i) {
            pathfileinfo* pItem = static_cast<pathfileinfo*>(m_arrFiles.GetAt(i));
            if (pItem == nullptr || !FileMatchQuery(pItem, strPattern))
                continue;
            pathfileinfo* pNew = CopyFileItem(pItem);
            if (pNew == nullptr)
                bFailed = true;
            else
                AddRecord(pCopy->m_arrFiles, pNew);
        }
        if (bFailed) {
            delete pCopy;
            return nullptr;
        }
    } catch (...) {
        delete pCopy;
        throw;
    }
    return pCopy;
}

int CPathInfo::FileMatchQuery(pathfileinfo* pItem, const CString& strPattern) {
    // "*.*" matches every name, one without a dot by the tail rule: the cache's usual pattern
    // needs no walk.
    if (strPattern == "*.*")
        return 1;
    // CompWildcard only reads the pattern.
    return CompWildcard(pItem->pszName, const_cast<char*>(static_cast<LPCSTR>(strPattern)));
}

pathfileinfo* CPathInfo::CopyFileItem(pathfileinfo* pItem) {
    pathfileinfo* pCopy = static_cast<pathfileinfo*>(malloc(static_cast<size_t>(pItem->nSize)));
    if (pCopy == nullptr)
        return nullptr;
    memcpy(pCopy, pItem, static_cast<size_t>(pItem->nSize));
    pCopy->pszName = reinterpret_cast<char*>(pCopy + 1);
    return pCopy;
}

int CPathInfo::CopyFileArray(CPtrArrayEx& arrTo, CPtrArrayEx& arrFrom) {
    for (INT_PTR i = 0; i < arrFrom.GetSize(); ++i) {
        pathfileinfo* pItem = static_cast<pathfileinfo*>(arrFrom.GetAt(i));
        if (pItem == nullptr)
            continue;
        pathfileinfo* pCopy = CopyFileItem(pItem);
        if (pCopy == nullptr)
            return -1;
        AddRecord(arrTo, pCopy);
    }
    return 0;
}

char* CPathInfo::FindLastDot(char* psz) {
    return LastDot(psz);
}

int CPathInfo::CompWildcard(char* pszName, char* pszPattern) {
    if (pszName == nullptr)
        return 0;
    WildcardMatch match(pszName, pszPattern);
    return match.From(pszName, pszPattern);
}
