// libFuzzer target: arbitrary bytes as two script files through both browsers.
//
// Input: byte 0 holds flags, byte 1 says where the rest is split into the two files A and B.
//  flag 1: B has an empty name;  flag 2: B has A's name (a new version of A);
//  flag 4: A is renamed before it is parsed again;  flag 8: the event browser keeps duplicates.
//
// Besides the sanitizers' checks, the target aborts when a property of the browsers fails:
//  - a first parse into an empty script browser records exactly what the function parser records;
//  - after every parse and removal, no record has all three line fields at -1, every record is
//    reached through the names the parses produce, and the lists and the end-line array agree
//    with the records;
//  - once every file is removed, no record names a file;
//  - the event browser's entries carry their documented fields and lines inside the shared line
//    array; without duplicates no key occurs twice; the queries agree with the entries.
#include "MemoryCodeStream.h"

#include <bwcore/bwcore.h>

#include <set>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

void Check(bool bHolds, const char* pszWhat) {
    if (!bHolds) {
        fprintf(stderr, "browser property violated: %s\n", pszWhat);
        abort();
    }
}

struct ScriptBytes {
    CString strName;
    const uint8_t* pData;
    size_t nSize;
};

// The four maps in the order in which Parse takes them, with the kind each is looked up by.
const CScriptBrowser::EFuncType kKinds[4] = {CScriptBrowser::eFuncFunction,
                                             CScriptBrowser::eFuncProperty,
                                             CScriptBrowser::eFuncMethod, CScriptBrowser::eFuncTag};

struct Maps {
    CScriptFunctionInfoMap maps[4];
};

void ParseDirectly(const ScriptBytes& script, Maps& result) {
    MemoryCodeStream stream(script.strName, script.pData, script.nSize, 0);
    CTokenizer tokenizer(&stream, true);
    CFunctionParser parser(&tokenizer);
    parser.Parse(script.strName, result.maps[0], result.maps[1], result.maps[2], result.maps[3]);
}

bool SameRecord(const CScriptFunctionInfo& a, const CScriptFunctionInfo& b) {
    return a.m_strFile == b.m_strFile && a.m_strDeclFile == b.m_strDeclFile &&
           a.m_nDeclLine == b.m_nDeclLine && a.m_nStartLine == b.m_nStartLine &&
           a.m_nEndLine == b.m_nEndLine && a.m_bExported == b.m_bExported;
}

bool HasNoLines(const CScriptFunctionInfo& info) {
    return info.m_nDeclLine == -1 && info.m_nStartLine == -1 && info.m_nEndLine == -1;
}

// The length of a list operation's text: every name and its comma (the last one overwritten).
int ListLength(const CScriptBrowser& browser, int nKind) {
    CString strText;
    switch (nKind) {
    case 0:
        browser.GetFunctionStrings(strText);
        break;
    case 1:
        browser.GetProperties(strText);
        break;
    case 2:
        browser.GetMethods(strText);
        break;
    default:
        return -1; // tags have no list
    }
    return strText.GetLength();
}

// Checks the browser's records, reaching them through every name that a parse produced (a name
// may move between the functions and the methods, so all names are tried in every map).
void CheckScriptBrowser(CScriptBrowser& browser, const std::set<CString>& names,
                        bool bNoFilesLeft) {
    for (int nKind = 0; nKind < 4; ++nKind) {
        int nListLength = 0;
        std::vector<int> endLines;
        for (const CString& strName : names) {
            CScriptFunctionInfo* pInfo = nullptr;
            if (!browser.GetFunctionInfo(strName, kKinds[nKind], pInfo))
                continue;
            Check(pInfo != nullptr, "GetFunctionInfo found a record but gave no address");
            Check(!HasNoLines(*pInfo), "a record with all three line fields at -1");
            if (bNoFilesLeft)
                Check(pInfo->m_strFile.IsEmpty() && pInfo->m_strDeclFile.IsEmpty(),
                      "a record names a removed file");
            nListLength += static_cast<int>(strlen(strName)) + 1;
            endLines.push_back(pInfo->m_nEndLine);
        }
        const int nExpected = ListLength(browser, nKind);
        if (nExpected >= 0)
            Check(nExpected == nListLength, "a list names other records than the browser holds");
        if (kKinds[nKind] == CScriptBrowser::eFuncFunction) {
            Check(browser.GetEndLineArraySize() == static_cast<int>(endLines.size()),
                  "the end-line array size differs from the functions held");
            std::vector<int> written(endLines.size() + 1, 12345);
            browser.GetEndLineArray(written.data());
            Check(written.back() == 12345, "GetEndLineArray wrote past the functions");
            written.pop_back();
            Check(written == endLines, "the end-line array differs from the records");
        }
    }
    CScriptFunctionInfo dummy;
    CScriptFunctionInfo* pInfo = &dummy;
    Check(!browser.GetFunctionInfo("x", static_cast<CScriptBrowser::EFuncType>(4), pInfo) &&
              pInfo == nullptr,
          "an unknown kind was looked up");
}

void AddNames(const Maps& maps, std::set<CString>& names) {
    for (const CScriptFunctionInfoMap& map : maps.maps) {
        for (const auto& item : map)
            names.insert(item.first);
    }
}

void ParseFile(CScriptBrowser& browser, const ScriptBytes& script) {
    MemoryCodeStream stream(script.strName, script.pData, script.nSize, 0);
    Check(browser.ParseFile(&stream), "ParseFile refused a stream");
}

void FuzzScriptBrowser(const ScriptBytes& a, const ScriptBytes& b, bool bRename) {
    Maps direct;
    ParseDirectly(a, direct);
    std::set<CString> names;
    AddNames(direct, names);
    Maps other;
    ParseDirectly(b, other);
    AddNames(other, names);

    CScriptBrowser browser;
    ParseFile(browser, a);
    for (int nKind = 0; nKind < 4; ++nKind) {
        for (const auto& item : direct.maps[nKind]) {
            CScriptFunctionInfo* pInfo = nullptr;
            Check(browser.GetFunctionInfo(item.first, kKinds[nKind], pInfo) &&
                      SameRecord(*pInfo, item.second),
                  "a first parse differs from the function parser's records");
        }
    }
    CheckScriptBrowser(browser, names, false);

    ParseFile(browser, b);
    CheckScriptBrowser(browser, names, false);

    std::vector<CString> files = {a.strName, b.strName};
    if (bRename) {
        browser.OnFileRenamed(a.strName, "renamed.bws");
        CheckScriptBrowser(browser, names, false);
        files.push_back("renamed.bws");
    }
    ParseFile(browser, a);
    CheckScriptBrowser(browser, names, false);

    CScriptBrowser copy(browser);
    for (const CString& strFile : files) {
        browser.OnFileRemoved(strFile);
        CheckScriptBrowser(browser, names, false);
    }
    CheckScriptBrowser(browser, names, true);
    CheckScriptBrowser(copy, names, false);
}

unsigned int CountLines(const ScriptBytes& script) {
    MemoryCodeStream stream(script.strName, script.pData, script.nSize, 0);
    char szLine[CCodeStream::LineBufferSize];
    unsigned int nLines = 0;
    while (stream.GetNextLine(szLine))
        ++nLines;
    return nLines;
}

void CheckEventBrowser(CEventFileScriptBrowser& browser, unsigned int nTotalLines) {
    std::set<CEventFileScriptBrowser::Key> keys;
    for (auto it = browser.Begin(); it != browser.End(); ++it) {
        const CScriptFunctionInfo& info = it->second;
        Check(!HasNoLines(info), "an event entry with all three line fields at -1");
        Check(info.m_nDeclLine == 0 && info.m_strDeclFile.IsEmpty() && !info.m_bExported,
              "an event entry with declaration fields set");
        Check(info.m_nStartLine >= 0 && info.m_nStartLine <= info.m_nEndLine &&
                  static_cast<unsigned int>(info.m_nEndLine) < nTotalLines,
              "an event entry's lines lie outside the shared line array");
        Check(!it->first.first.first.IsEmpty() && !it->first.first.second.IsEmpty() &&
                  !it->first.second.IsEmpty(),
              "an event entry with an empty key part");
        const bool bNew = keys.insert(it->first).second;
        Check(bNew || browser.m_bAllowDuplicates, "a key occurs twice without duplicates");

        // The first entry of the category and event is the one FindFunction gives.
        auto first = browser.Begin();
        while (first->first.first.first.Compare(it->first.first.first) != 0 ||
               first->first.first.second.Compare(it->first.first.second) != 0)
            ++first;
        CString strFunction;
        CScriptFunctionInfo* pInfo = nullptr;
        Check(browser.FindFunction(it->first.first.first, it->first.first.second, strFunction,
                                   pInfo) &&
                  pInfo == &first->second && strFunction == first->first.second,
              "FindFunction does not give the first entry of its category and event");
    }

    CStringArray categories;
    browser.GetCategories(categories);
    for (INT_PTR i = 0; i < categories.GetSize(); ++i) {
        Check(categories[i].CompareNoCase("Components") != 0, "Components listed as a category");
        for (INT_PTR j = 0; j < i; ++j)
            Check(categories[i].CompareNoCase(categories[j]) != 0, "a category listed twice");
        CStringArray events;
        browser.GetEvents(categories[i], events);
        INT_PTR nExpected = 0;
        for (auto it = browser.Begin(); it != browser.End(); ++it)
            nExpected += it->first.first.first.CompareNoCase(categories[i]) == 0 ? 1 : 0;
        Check(events.GetSize() == nExpected, "GetEvents misses events of its category");
    }
}

void FuzzEventBrowser(const ScriptBytes& a, const ScriptBytes& b, bool bDuplicates) {
    CEventFileScriptBrowser browser;
    browser.m_bAllowDuplicates = bDuplicates;
    // As streams sharing one line array would report them: A, B, then A again.
    const unsigned int nLinesA = CountLines(a);
    const unsigned int nLinesB = CountLines(b);
    const ScriptBytes* order[] = {&a, &b, &a};
    unsigned int nLineCount = 0;
    for (const ScriptBytes* pScript : order) {
        MemoryCodeStream stream(pScript->strName, pScript->pData, pScript->nSize, nLineCount);
        Check(browser.ParseFile(&stream), "ParseFile refused a stream");
        nLineCount += pScript == &a ? nLinesA : nLinesB;
        CheckEventBrowser(browser, nLineCount);
    }
    CEventFileScriptBrowser copy(browser);
    browser.reset();
    Check(browser.Begin() == browser.End(), "entries left after reset");
    CheckEventBrowser(copy, nLineCount);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    if (nSize < 2)
        return 0;
    const uint8_t nFlags = pData[0];
    const size_t nRest = nSize - 2;
    const size_t nCut = nRest * pData[1] / 255;
    const uint8_t* pText = pData + 2;

    ScriptBytes a = {"a.bws", pText, nCut};
    ScriptBytes b = {"b.bws", pText + nCut, nRest - nCut};
    if (nFlags & 1)
        b.strName = "";
    else if (nFlags & 2)
        b.strName = a.strName;

    FuzzScriptBrowser(a, b, (nFlags & 4) != 0);
    FuzzEventBrowser(a, b, (nFlags & 8) != 0);
    return 0;
}
