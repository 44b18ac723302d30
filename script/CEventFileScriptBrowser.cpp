#include <bwcore/script/CEventFileScriptBrowser.h>

#include <bwcore/script/CFunctionParser.h>
#include <bwcore/script/CTokenizer.h>

#include <bwcore/platform.h>

#include <algorithm>
#include <string.h>

namespace {

// The words of the event comment convention.
enum EKeyword { eKeyCategory, eKeyEvent, eKeyExcludedCategory };
const char* const kKeywords[] = {"Category", "Event", "Components"};

// Only the first two comments before a handler can name its category and event; later ones are
// the handler's description.
const int kEventCommentCount = 2;

bool IsSpaceByte(char ch) {
    return ch != '\0' && strchr(" \t\n\v\f\r", ch) != nullptr;
}

// The value of an event comment line: what follows the keyword and one separator character
// (a colon or a blank, whatever the author wrote; a double-byte one is passed over whole), without
// the white space at its ends. White space is ASCII and no trail byte is white space, so the ends
// are trimmed byte by byte: stepping by characters would read a lead byte and the line feed after
// it as one character and keep both.
CString CommentValue(const CString& strComment, int nKeywordPos, EKeyword eKeyword) {
    const char* pszComment = strComment.GetString();
    const int nLength = strComment.GetLength();
    int nFirst = nKeywordPos + static_cast<int>(strlen(kKeywords[eKeyword]));
    if (nFirst < nLength) {
        nFirst +=
            IsDBCSLeadByte(static_cast<BYTE>(pszComment[nFirst])) && nFirst + 1 < nLength ? 2 : 1;
    }
    int nEnd = nLength;
    while (nFirst < nEnd && IsSpaceByte(pszComment[nFirst])) {
        ++nFirst;
    }
    while (nEnd > nFirst && IsSpaceByte(pszComment[nEnd - 1])) {
        --nEnd;
    }
    return CString(pszComment + nFirst, nEnd - nFirst);
}

} // namespace

CEventFileScriptBrowser::CEventFileScriptBrowser() : m_bAllowDuplicates(false) {}

CEventFileScriptBrowser::CEventFileScriptBrowser(const CEventFileScriptBrowser& other) = default;

CEventFileScriptBrowser& CEventFileScriptBrowser::operator=(const CEventFileScriptBrowser& other) {
    if (this != &other) {
        m_entries = other.m_entries;
        m_index = other.m_index;
    }
    m_bAllowDuplicates = other.m_bAllowDuplicates;
    return *this;
}

CEventFileScriptBrowser::~CEventFileScriptBrowser() = default;

bool CEventFileScriptBrowser::ParseFile(CCodeStream* pStream) {
    if (pStream == nullptr)
        return false;
    const CString strFile = pStream->GetFileName();
    // Read before the first line: the lines that earlier files put into a shared line array.
    const int nLineOffset = static_cast<int>(pStream->GetCurrentLineCount());
    CTokenizer tokenizer(pStream, true);
    CFunctionParser parser(&tokenizer);

    CString strFunction;
    CStringArray comments;
    int nStartLine = -1;
    int nEndLine = -1;
    while (parser.GetNextFunction(strFunction, comments, nStartLine, nEndLine)) {
        CString strCategory;
        const INT_PTR nCount = std::min<INT_PTR>(comments.GetSize(), kEventCommentCount);
        for (INT_PTR i = 0; i < nCount; ++i) {
            const CString& strComment = comments.GetAt(i);
            const int nCategoryPos = strComment.Find(kKeywords[eKeyCategory]);
            if (nCategoryPos >= 0) {
                strCategory = CommentValue(strComment, nCategoryPos, eKeyCategory);
                continue;
            }
            const int nEventPos = strComment.Find(kKeywords[eKeyEvent]);
            if (nEventPos < 0)
                continue;
            const CString strEvent = CommentValue(strComment, nEventPos, eKeyEvent);
            if (!strCategory.IsEmpty() && !strEvent.IsEmpty() && !strFunction.IsEmpty())
                RecordHandler(Key(std::make_pair(strCategory, strEvent), strFunction), strFile,
                              nStartLine + nLineOffset, nEndLine + nLineOffset);
        }
        comments.RemoveAll();
    }
    return true;
}

void CEventFileScriptBrowser::RecordHandler(const Key& key, const CString& strFile, int nStartLine,
                                            int nEndLine) {
    auto found = m_bAllowDuplicates ? m_index.end() : m_index.find(key);
    if (found == m_index.end()) {
        m_entries.push_back(Entry(key, CScriptFunctionInfo()));
        found = m_index.insert_or_assign(key, static_cast<int>(m_entries.size() - 1)).first;
    }
    CScriptFunctionInfo& info = m_entries[static_cast<size_t>(found->second)].second;
    info.m_strFile = strFile;
    info.m_strDeclFile.Empty();
    info.m_nDeclLine = 0;
    info.m_nStartLine = nStartLine;
    info.m_nEndLine = nEndLine;
    info.m_bExported = false;
}

void CEventFileScriptBrowser::GetCategories(CStringArray& categories) const {
    for (const Entry& entry : m_entries) {
        const CString& strCategory = entry.first.first.first;
        if (strCategory.CompareNoCase(kKeywords[eKeyExcludedCategory]) == 0)
            continue;
        bool bPresent = false;
        for (INT_PTR i = 0; i < categories.GetSize() && !bPresent; ++i)
            bPresent = categories.GetAt(i).CompareNoCase(strCategory) == 0;
        if (!bPresent)
            categories.Add(strCategory);
    }
}

void CEventFileScriptBrowser::GetEvents(const CString& strCategory, CStringArray& events) const {
    for (const Entry& entry : m_entries) {
        if (entry.first.first.first.CompareNoCase(strCategory) == 0)
            events.Add(entry.first.first.second);
    }
}

bool CEventFileScriptBrowser::FindFunction(const CString& strCategory, const CString& strEvent,
                                           CString& strFunction, CScriptFunctionInfo*& pInfo) {
    for (Entry& entry : m_entries) {
        if (entry.first.first.first.Compare(strCategory) == 0 &&
            entry.first.first.second.Compare(strEvent) == 0) {
            strFunction = entry.first.second;
            pInfo = &entry.second;
            return true;
        }
    }
    return false;
}

CEventFileScriptBrowser::iterator CEventFileScriptBrowser::Begin() {
    return m_entries.begin();
}

CEventFileScriptBrowser::iterator CEventFileScriptBrowser::End() {
    return m_entries.end();
}

void CEventFileScriptBrowser::reset() {
    m_entries.clear();
    m_index.clear();
}
