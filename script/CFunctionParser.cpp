#include <bwcore/script/CFunctionParser.h>

#include <cstring>

namespace {

// The key of the section marker that holds the line of the last top-level directive.
const char kStartMarker[] = "{Start}";

// The markers that a line comment may carry, in the order in which they are looked for.
const char* const kSectionMarkers[] = {"{Properties}", "{Local Variables}", "{Methods}"};

const char kOpeningTag[] = "{{BW_SCRIPT_TAG";
const char kClosingTag[] = "}}BW_SCRIPT_TAG";

CString GetTokenText(const CTokenizer& tokenizer) {
    char szText[CTokenizer::TokenTextSize];
    tokenizer.GetTokenText(szText);
    return CString(szText);
}

// Every section marker and tag holds a brace and most comments hold none: one byte search
// spares them the search for each marker in turn.
bool MayHoldMarker(const char* pszComment) {
    return std::strpbrk(pszComment, "{}") != nullptr;
}

bool EndsStatement(eToken eKind) {
    return eKind == eTokSemicolon || eKind == eTokEndOfFile;
}

// Fetches up to the "(" after a declaration's name, which is the text of the last token before
// it; false when a ";" or the end of the stream comes first. bNamed tells whether any token came
// before the "(": the last one's text is then the name even when it is empty, as the text of a
// comma on the line after the name is.
bool ReadName(CTokenizer& tokenizer, CString& strName, bool& bNamed) {
    // Only the last text becomes a string: the words before it are types and qualifiers.
    char szName[CTokenizer::TokenTextSize] = "";
    bNamed = false;
    for (eToken eKind = tokenizer.Fetch(); eKind != eTokOpenParen; eKind = tokenizer.Fetch()) {
        if (EndsStatement(eKind)) {
            strName.Empty();
            return false;
        }
        tokenizer.GetTokenText(szName);
        bNamed = true;
    }
    strName = szName;
    return true;
}

} // namespace

CFunctionParser::CFunctionParser(CTokenizer* pTokenizer) : m_pTokenizer(pTokenizer) {}

bool CFunctionParser::Parse(const CString& strFile, CScriptFunctionInfoMap& functions,
                            CScriptFunctionInfoMap& properties, CScriptFunctionInfoMap& methods,
                            CScriptFunctionInfoMap& tags) {
    // The kept tag record is for this parse only: the map may lose records between parses.
    struct TagMemo {
        CFunctionParser& parser;
        TagMemo(CFunctionParser& owner, CScriptFunctionInfoMap& tagMap) : parser(owner) {
            parser.m_pParseTags = &tagMap;
        }
        ~TagMemo() {
            parser.m_pParseTags = nullptr;
            parser.m_pLastTag = nullptr;
        }
    } memo(*this, tags);
    properties[kStartMarker].m_nStartLine = 1;
    properties[kStartMarker].m_nEndLine = 1;
    for (;;) {
        switch (m_pTokenizer->Fetch()) {
        case eTokFunction:
            HandleFunction(strFile, functions, methods, tags);
            break;
        case eTokPPIf:
        case eTokPPEndif:
        case eTokPPInclude:
            properties[kStartMarker].m_nStartLine = m_pTokenizer->GetLineNo();
            properties[kStartMarker].m_nEndLine = m_pTokenizer->GetLineNo();
            m_pTokenizer->GetLine();
            break;
        case eTokComment:
            HandleComments(strFile, properties, methods, tags);
            break;
        case eTokProperty:
            HandleProperty(strFile, properties);
            break;
        case eTokPrototype:
            HandleProtoType(strFile, functions, false);
            break;
        case eTokExport:
            HandleProtoType(strFile, functions, true);
            break;
        case eTokMethod:
            HandleMethod(strFile, methods);
            // Ordinarily finds no "prototype" next and so skips the rest of the declaration.
            HandleProtoType(strFile, functions, true);
            break;
        case eTokEndOfFile:
            return true;
        default:
            break;
        }
    }
}

bool CFunctionParser::GetNextFunction(CString& strName, CStringArray& comments, int& nStartLine,
                                      int& nEndLine) {
    eToken eKind = m_pTokenizer->Scan(eTokComment, eTokNone);
    comments.Add(GetTokenText(*m_pTokenizer));
    if (eKind == eTokEndOfFile) {
        return false;
    }
    // The start line goes with the third comment, or with the name while there are two.
    auto noteStart = [&](int nComments) {
        if (comments.GetSize() == nComments) {
            nStartLine = m_pTokenizer->GetLineNo() - 1;
        }
    };
    for (;;) {
        eKind = m_pTokenizer->Fetch();
        if (eKind == eTokEndOfFile) {
            return false;
        }
        if (eKind == eTokComment) {
            comments.Add(GetTokenText(*m_pTokenizer));
            noteStart(3);
            continue;
        }
        if (eKind != eTokFunction) {
            continue;
        }
        eKind = m_pTokenizer->Fetch();
        if (eKind != eTokIdentifier) {
            if (eKind == eTokEndOfFile) {
                return false;
            }
            continue;
        }
        CString strCandidate = GetTokenText(*m_pTokenizer);
        noteStart(2);
        bool bHaveParen = true;
        for (eKind = m_pTokenizer->Fetch(); eKind != eTokOpenParen; eKind = m_pTokenizer->Fetch()) {
            if (eKind != eTokIdentifier) {
                bHaveParen = false;
                break;
            }
            strCandidate = GetTokenText(*m_pTokenizer);
            noteStart(2);
        }
        // A scan that stops at "function" consumes it, so that function is not delivered.
        if (!bHaveParen) {
            if (m_pTokenizer->Scan(eTokFunction, eTokNone) == eTokEndOfFile) {
                return false;
            }
            continue;
        }
        eKind = m_pTokenizer->Scan(eTokBegin, eTokFunction);
        if (eKind != eTokBegin) {
            if (eKind == eTokEndOfFile) {
                return false;
            }
            continue;
        }
        strName = strCandidate;
        eKind = m_pTokenizer->Scan(eTokEnd, eTokFunction);
        if (eKind == eTokEnd) {
            nEndLine = m_pTokenizer->GetLineNo() - 1;
            return true;
        }
        if (eKind == eTokEndOfFile) {
            return false;
        }
    }
}

bool CFunctionParser::HandleFunction(const CString& strFile, CScriptFunctionInfoMap& functions,
                                     CScriptFunctionInfoMap& methods,
                                     CScriptFunctionInfoMap& tags) {
    CString strName;
    bool bNamed = false;
    if (!ReadName(*m_pTokenizer, strName, bNamed)) {
        return false;
    }
    for (eToken eKind = m_pTokenizer->Fetch(); eKind != eTokCloseParen;
         eKind = m_pTokenizer->Fetch()) {
        if (EndsStatement(eKind)) {
            return false;
        }
    }
    // The local declarations, semicolons included, lie between the parameters and "begin".
    for (eToken eKind = m_pTokenizer->Fetch(); eKind != eTokBegin; eKind = m_pTokenizer->Fetch()) {
        if (eKind == eTokEndOfFile) {
            EatCurrentStatement();
            return false;
        }
    }
    const int nBeginLine = m_pTokenizer->GetLineNo();
    // The body ends at its first "end": "begin" and "end" do not nest.
    for (;;) {
        eToken eKind = m_pTokenizer->Scan(eTokEnd, eTokComment);
        if (eKind == eTokEnd) {
            break;
        }
        if (eKind == eTokEndOfFile) {
            return false;
        }
        char szComment[CTokenizer::TokenTextSize];
        m_pTokenizer->GetTokenText(szComment);
        if (MayHoldMarker(szComment)) {
            CheckCommentForTag(szComment, tags);
        }
    }
    if (!ExpectToken(eTokSemicolon)) {
        return false;
    }
    // A "(" right after the keyword leaves the definition without a name, and like a prototype
    // without one it is not recorded.
    if (!bNamed) {
        return false;
    }
    const auto method = methods.find(strName);
    CScriptFunctionInfo& info = method != methods.end() ? method->second : functions[strName];
    info.m_nStartLine = nBeginLine - 1;
    info.m_nEndLine = m_pTokenizer->GetLineNo() - 1;
    info.m_strFile = strFile;
    return true;
}

bool CFunctionParser::HandleProtoType(const CString& strFile, CScriptFunctionInfoMap& functions,
                                      bool bExported) {
    if (bExported && !ExpectToken(eTokPrototype)) {
        EatCurrentStatement();
        return false;
    }
    CString strName;
    bool bNamed = false;
    if (!ReadName(*m_pTokenizer, strName, bNamed)) {
        return false;
    }
    // The parameters and the closing semicolon are left to the caller's loop.
    if (!strName.IsEmpty()) {
        CScriptFunctionInfo& info = functions[strName];
        info.m_bExported = bExported;
        info.m_nDeclLine = m_pTokenizer->GetLineNo() - 1;
        info.m_strDeclFile = strFile;
    }
    return true;
}

bool CFunctionParser::HandleMethod(const CString& strFile, CScriptFunctionInfoMap& methods) {
    CString strName;
    bool bNamed = false;
    // As for a definition, a "(" right after the keyword leaves nothing to record.
    if (!ReadName(*m_pTokenizer, strName, bNamed) || !bNamed) {
        return false;
    }
    CScriptFunctionInfo& info = methods[strName];
    info.m_nDeclLine = m_pTokenizer->GetLineNo() - 1;
    info.m_strDeclFile = strFile;
    info.m_strFile = strFile;
    return true;
}

bool CFunctionParser::HandleProperty(const CString& strFile, CScriptFunctionInfoMap& properties) {
    eToken eKind = m_pTokenizer->Fetch();
    if (eKind == eTokOpenParen) {
        // The access list: words separated by commas.
        for (eKind = m_pTokenizer->Fetch(); eKind != eTokCloseParen;
             eKind = m_pTokenizer->Fetch()) {
            if (eKind != eTokIdentifier && eKind != eTokComma) {
                EatCurrentStatement();
                return false;
            }
        }
        eKind = m_pTokenizer->Fetch();
    }
    if (eKind != eTokIdentifier) {
        EatCurrentStatement();
        return false;
    }
    CString strName;
    for (; eKind != eTokOpenParen; eKind = m_pTokenizer->Fetch()) {
        if (EndsStatement(eKind)) {
            return false;
        }
        strName = GetTokenText(*m_pTokenizer);
    }
    CScriptFunctionInfo& info = properties[strName];
    info.m_strFile = strFile;
    info.m_nStartLine = m_pTokenizer->GetLineNo() - 1;
    info.m_nEndLine = m_pTokenizer->GetLineNo() - 1;
    EatCurrentStatement();
    return true;
}

bool CFunctionParser::HandleComments(const CString& /*strFile*/, CScriptFunctionInfoMap& properties,
                                     CScriptFunctionInfoMap& /*methods*/,
                                     CScriptFunctionInfoMap& tags) {
    char szComment[CTokenizer::TokenTextSize];
    m_pTokenizer->GetTokenText(szComment);
    if (!MayHoldMarker(szComment)) {
        return false;
    }
    const CString strComment(szComment);
    for (const char* pszMarker : kSectionMarkers) {
        if (strComment.Find(pszMarker) >= 0) {
            CScriptFunctionInfo& info = properties[pszMarker];
            info.m_nStartLine = m_pTokenizer->GetLineNo();
            info.m_nEndLine = m_pTokenizer->GetLineNo();
            return true;
        }
    }
    CheckCommentForTag(strComment, tags);
    return false;
}

void CFunctionParser::CheckCommentForTag(const CString& strComment, CScriptFunctionInfoMap& tags) {
    if (strComment.Find(kOpeningTag) >= 0) {
        TagRecord(tags, GetPerenthesesContents(strComment)).m_nStartLine =
            m_pTokenizer->GetLineNo();
    }
    if (strComment.Find(kClosingTag) >= 0) {
        TagRecord(tags, GetPerenthesesContents(strComment)).m_nEndLine = m_pTokenizer->GetLineNo();
    }
}

CScriptFunctionInfo& CFunctionParser::TagRecord(CScriptFunctionInfoMap& tags,
                                                const CString& strName) {
    if (&tags != m_pParseTags) {
        return tags[strName];
    }
    if (m_pLastTag == nullptr || m_pLastTag->first != strName) {
        m_pLastTag = &*tags.try_emplace(strName).first;
    }
    return m_pLastTag->second;
}

CString CFunctionParser::GetPerenthesesContents(const CString& strText) const {
    const int nOpen = strText.Find('(');
    if (nOpen < 1) {
        return CString();
    }
    const int nClose = strText.Find(')', nOpen);
    if (nClose < 0) {
        return CString();
    }
    return strText.Mid(nOpen + 1, nClose - nOpen - 1);
}

void CFunctionParser::EatCurrentStatement() {
    while (!EndsStatement(m_pTokenizer->Fetch())) {
    }
}

bool CFunctionParser::ExpectToken(eToken eExpected) {
    return m_pTokenizer->Fetch() == eExpected;
}
