#include <bwcore/script/CScriptBrowser.h>

#include <bwcore/script/CFunctionParser.h>
#include <bwcore/script/CTokenizer.h>

CScriptBrowser::CScriptBrowser() : m_pBrowser(nullptr) {}

CScriptBrowser::CScriptBrowser(const CScriptBrowser& other) = default;

CScriptBrowser& CScriptBrowser::operator=(const CScriptBrowser& other) {
    m_pBrowser = other.m_pBrowser;
    if (this != &other) {
        m_functions = other.m_functions;
        m_properties = other.m_properties;
        m_methods = other.m_methods;
        m_tags = other.m_tags;
    }
    return *this;
}

CScriptBrowser::~CScriptBrowser() = default;

CScriptBrowser* CScriptBrowser::operator->() {
    return m_pBrowser;
}

bool CScriptBrowser::ParseFile(CCodeStream* pStream) {
    if (pStream == nullptr)
        return false;
    // A copy: the parse must not depend on the stream keeping its name unchanged.
    const CString strFile = pStream->GetFileName();
    CTokenizer tokenizer(pStream, true);
    CFunctionParser parser(&tokenizer);
    ForgetFile(m_functions, strFile);
    ForgetFile(m_properties, strFile);
    ForgetFile(m_methods, strFile);
    ForgetFile(m_tags, strFile);
    parser.Parse(strFile, m_functions, m_properties, m_methods, m_tags);
    return true;
}

bool CScriptBrowser::GetFunctionInfo(const CString& strName, EFuncType eType,
                                     CScriptFunctionInfo*& pInfo) {
    pInfo = nullptr;
    // The map is this browser's own, which is not constant here.
    CScriptFunctionInfoMap* pMap = const_cast<CScriptFunctionInfoMap*>(GetRecords(eType));
    if (pMap == nullptr)
        return false;
    const auto it = pMap->find(strName);
    if (it == pMap->end())
        return false;
    pInfo = &it->second;
    return true;
}

const CScriptFunctionInfoMap* CScriptBrowser::GetRecords(EFuncType eType) const {
    switch (eType) {
    case eFuncProperty:
        return &m_properties;
    case eFuncMethod:
        return &m_methods;
    case eFuncFunction:
        return &m_functions;
    case eFuncTag:
        return &m_tags;
    default:
        return nullptr;
    }
}

void CScriptBrowser::GetFunctionStrings(CString& strText) const {
    for (const auto& item : m_functions) {
        strText += item.first;
        strText += ',';
    }
    ClipOffTrailingComma(strText);
}

void CScriptBrowser::GetExportStrings(CString& strText) const {
    for (const auto& item : m_functions) {
        if (!item.second.m_bExported)
            continue;
        strText += item.first;
        strText += ',';
    }
    ClipOffTrailingComma(strText);
}

void CScriptBrowser::GetFileDefinitions(CString& strText) const {
    for (const auto& item : m_functions) {
        strText += item.second.m_strFile;
        strText += ',';
    }
    ClipOffTrailingComma(strText);
}

void CScriptBrowser::GetMethods(CString& strText) const {
    for (const auto& item : m_methods) {
        strText += item.first;
        strText += ',';
    }
    ClipOffTrailingComma(strText);
}

void CScriptBrowser::GetProperties(CString& strText) const {
    for (const auto& item : m_properties) {
        strText += item.first;
        strText += ',';
    }
    ClipOffTrailingComma(strText);
}

int CScriptBrowser::GetEndLineArraySize() const {
    return static_cast<int>(m_functions.size());
}

void CScriptBrowser::GetEndLineArray(int* pEndLines) const {
    if (pEndLines == nullptr)
        return;
    for (const auto& item : m_functions)
        *pEndLines++ = item.second.m_nEndLine;
}

bool CScriptBrowser::OnFileRemoved(const CString& strFile) {
    ForgetFile(m_functions, strFile);
    ForgetFile(m_properties, strFile);
    ForgetFile(m_methods, strFile);
    ForgetFile(m_tags, strFile);
    return true;
}

bool CScriptBrowser::OnFileRenamed(const CString& strOldName, const CString& strNewName) {
    for (CScriptFunctionInfoMap* pMap : {&m_functions, &m_properties, &m_methods, &m_tags}) {
        for (auto& item : *pMap) {
            CScriptFunctionInfo& info = item.second;
            if (info.m_strFile == strOldName)
                info.m_strFile = strNewName;
            if (info.m_strDeclFile == strOldName)
                info.m_strDeclFile = strNewName;
        }
    }
    return true;
}

// Clears the file's part of every record and drops the records left with no line at all. The
// exported flag stays: it belongs to the name, and a definition elsewhere keeps the record alive.
void CScriptBrowser::ForgetFile(CScriptFunctionInfoMap& map, const CString& strFile) {
    for (auto it = map.begin(); it != map.end();) {
        CScriptFunctionInfo& info = it->second;
        if (info.m_strDeclFile == strFile) {
            info.m_nDeclLine = -1;
            info.m_strDeclFile.Empty();
        }
        if (info.m_strFile == strFile) {
            info.m_nStartLine = -1;
            info.m_nEndLine = -1;
            info.m_strFile.Empty();
        }
        if (info.m_nDeclLine == -1 && info.m_nStartLine == -1 && info.m_nEndLine == -1)
            it = map.erase(it);
        else
            ++it;
    }
}

// The comma becomes a zero character rather than being removed, so the text keeps its length;
// callers read the result as zero-terminated text.
void CScriptBrowser::ClipOffTrailingComma(CString& strText) {
    const int nLength = strText.GetLength();
    if (nLength > 0 && strText.GetAt(nLength - 1) == ',')
        strText.SetAt(nLength - 1, '\0');
}
