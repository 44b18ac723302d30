#include <bwcore/script/CScriptBrowser.h>

#include <bwcore/script/CCodeFileStream.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A folder of script files that lives as long as the test.
class ScriptFolder {
public:
    ScriptFolder() {
        static int s_nFolders = 0;
        const auto nTicks = std::chrono::steady_clock::now().time_since_epoch().count();
        m_dir = fs::temp_directory_path() /
                ("bwcore-browser-" + std::to_string(nTicks) + "-" + std::to_string(++s_nFolders));
        fs::create_directories(m_dir);
    }
    ~ScriptFolder() {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    CString Path(const char* pszName) const { return CString((m_dir / pszName).string().c_str()); }

    CString Write(const char* pszName, const std::string& text) const {
        std::ofstream out(m_dir / pszName, std::ios::binary);
        out << text;
        return Path(pszName);
    }

private:
    fs::path m_dir;
};

void Parse(CScriptBrowser& browser, const CString& strPath) {
    CCodeFileStream stream(strPath);
    ASSERT_TRUE(stream.OpenFile()) << static_cast<LPCSTR>(strPath);
    EXPECT_TRUE(browser.ParseFile(&stream));
}

// The comma-separated names of a list operation, read as zero-terminated text as callers do.
std::vector<std::string> Split(const CString& strList) {
    std::vector<std::string> names;
    const std::string text(static_cast<LPCSTR>(strList));
    if (text.empty())
        return names;
    size_t nStart = 0;
    for (;;) {
        const size_t nComma = text.find(',', nStart);
        names.push_back(text.substr(nStart, nComma - nStart));
        if (nComma == std::string::npos)
            return names;
        nStart = nComma + 1;
    }
}

std::string List(void (CScriptBrowser::*pList)(CString&) const, const CScriptBrowser& browser) {
    CString strText;
    (browser.*pList)(strText);
    return static_cast<LPCSTR>(strText);
}

// No record that the lists reach, nor any of the given tags, has all three line fields at -1.
void ExpectInvariant(CScriptBrowser& browser, const std::vector<std::string>& tags) {
    struct Kind {
        void (CScriptBrowser::*pList)(CString&) const;
        CScriptBrowser::EFuncType eType;
    };
    const Kind kinds[] = {
        {&CScriptBrowser::GetFunctionStrings, CScriptBrowser::eFuncFunction},
        {&CScriptBrowser::GetMethods, CScriptBrowser::eFuncMethod},
        {&CScriptBrowser::GetProperties, CScriptBrowser::eFuncProperty},
    };
    for (const Kind& kind : kinds) {
        CString strList;
        (browser.*kind.pList)(strList);
        for (const std::string& name : Split(strList)) {
            CScriptFunctionInfo* pInfo = nullptr;
            ASSERT_TRUE(browser.GetFunctionInfo(name.c_str(), kind.eType, pInfo)) << name;
            EXPECT_FALSE(pInfo->m_nDeclLine == -1 && pInfo->m_nStartLine == -1 &&
                         pInfo->m_nEndLine == -1)
                << name;
        }
    }
    for (const std::string& tag : tags) {
        CScriptFunctionInfo* pInfo = nullptr;
        if (browser.GetFunctionInfo(tag.c_str(), CScriptBrowser::eFuncTag, pInfo)) {
            EXPECT_FALSE(pInfo->m_nDeclLine == -1 && pInfo->m_nStartLine == -1 &&
                         pInfo->m_nEndLine == -1)
                << tag;
        }
    }
}

struct Lines {
    int nDecl;
    int nStart;
    int nEnd;
};

void ExpectRecord(CScriptBrowser& browser, const char* pszName, CScriptBrowser::EFuncType eType,
                  const CString& strDeclFile, const CString& strFile, Lines lines, bool bExported) {
    SCOPED_TRACE(pszName);
    CScriptFunctionInfo* pInfo = nullptr;
    ASSERT_TRUE(browser.GetFunctionInfo(pszName, eType, pInfo));
    ASSERT_NE(nullptr, pInfo);
    EXPECT_STREQ(static_cast<LPCSTR>(strDeclFile), static_cast<LPCSTR>(pInfo->m_strDeclFile));
    EXPECT_STREQ(static_cast<LPCSTR>(strFile), static_cast<LPCSTR>(pInfo->m_strFile));
    EXPECT_EQ(lines.nDecl, pInfo->m_nDeclLine);
    EXPECT_EQ(lines.nStart, pInfo->m_nStartLine);
    EXPECT_EQ(lines.nEnd, pInfo->m_nEndLine);
    EXPECT_EQ(bExported, pInfo->m_bExported);
}

bool Has(CScriptBrowser& browser, const char* pszName, CScriptBrowser::EFuncType eType) {
    CScriptFunctionInfo* pInfo = nullptr;
    return browser.GetFunctionInfo(pszName, eType, pInfo);
}

const std::string kPrototypesAndDefinition = "#include \"setup.h\"\n"
                                             "prototype NUMBER Foo(STRING);\n"
                                             "export prototype Bar(STRING);\n"
                                             "function NUMBER Foo(s)\n"
                                             "    NUMBER n;\n"
                                             "begin\n"
                                             "    n = 1;\n"
                                             "end;\n";

const std::string kPropertiesAndMarkers = "// {Properties}\n"
                                          "property(get, put) NUMBER Size();\n"
                                          "property(get) NUMBER Count();\n"
                                          "// {Local Variables}\n"
                                          "// {Methods}\n";

const std::string kTags = "// {{BW_SCRIPT_TAG(Welcome)\n"
                          "function Foo()\n"
                          "begin\n"
                          "    // {{BW_SCRIPT_TAG(Inner)\n"
                          "    // }}BW_SCRIPT_TAG(Inner)\n"
                          "end;\n"
                          "// }}BW_SCRIPT_TAG(Welcome)\n";

} // namespace

TEST(CScriptBrowser, RecordsDeclarationsAndDefinitionsWithTheirFileAndLines) {
    ScriptFolder folder;
    const CString strA = folder.Write("a.bws", kPrototypesAndDefinition);
    CScriptBrowser browser;
    Parse(browser, strA);

    ExpectRecord(browser, "Foo", CScriptBrowser::eFuncFunction, strA, strA, {1, 5, 7}, false);
    ExpectRecord(browser, "Bar", CScriptBrowser::eFuncFunction, strA, "", {2, -1, -1}, true);
    ExpectRecord(browser, "{Start}", CScriptBrowser::eFuncProperty, "", "", {-1, 1, 1}, false);
    EXPECT_EQ("Bar,Foo", List(&CScriptBrowser::GetFunctionStrings, browser));
    EXPECT_EQ("Bar", List(&CScriptBrowser::GetExportStrings, browser));
    EXPECT_EQ("{Start}", List(&CScriptBrowser::GetProperties, browser));
    EXPECT_EQ("", List(&CScriptBrowser::GetMethods, browser));
}

TEST(CScriptBrowser, ParseFileRefusesANullStreamAndChangesNothing) {
    ScriptFolder folder;
    CScriptBrowser browser;
    Parse(browser, folder.Write("a.bws", kPrototypesAndDefinition));
    EXPECT_FALSE(browser.ParseFile(nullptr));
    EXPECT_EQ("Bar,Foo", List(&CScriptBrowser::GetFunctionStrings, browser));
    EXPECT_EQ("{Start}", List(&CScriptBrowser::GetProperties, browser));
    EXPECT_EQ(2, browser.GetEndLineArraySize());
}

TEST(CScriptBrowser, PropertiesListNamesBeforeSectionMarkersInByteOrder) {
    ScriptFolder folder;
    const CString strA = folder.Write("a.bws", kPropertiesAndMarkers);
    CScriptBrowser browser;
    Parse(browser, strA);

    EXPECT_EQ("Count,Size,{Local Variables},{Methods},{Properties},{Start}",
              List(&CScriptBrowser::GetProperties, browser));
    ExpectRecord(browser, "Size", CScriptBrowser::eFuncProperty, "", strA, {-1, 1, 1}, false);
    ExpectRecord(browser, "Count", CScriptBrowser::eFuncProperty, "", strA, {-1, 2, 2}, false);
    // Markers keep the comment's line as the tokenizer counts it, from 1.
    ExpectRecord(browser, "{Properties}", CScriptBrowser::eFuncProperty, "", "", {-1, 1, 1}, false);
    ExpectRecord(browser, "{Local Variables}", CScriptBrowser::eFuncProperty, "", "", {-1, 4, 4},
                 false);
    ExpectRecord(browser, "{Methods}", CScriptBrowser::eFuncProperty, "", "", {-1, 5, 5}, false);
    ExpectRecord(browser, "{Start}", CScriptBrowser::eFuncProperty, "", "", {-1, 1, 1}, false);
}

TEST(CScriptBrowser, MethodsHoldTheDefinitionsOfDeclaredMethods) {
    ScriptFolder folder;
    const CString strA = folder.Write("a.bws", "method NUMBER Run(STRING);\n"
                                               "function NUMBER Run(s)\n"
                                               "begin\n"
                                               "end;\n");
    CScriptBrowser browser;
    Parse(browser, strA);
    ExpectRecord(browser, "Run", CScriptBrowser::eFuncMethod, strA, strA, {0, 2, 3}, false);
    EXPECT_FALSE(Has(browser, "Run", CScriptBrowser::eFuncFunction));
    EXPECT_EQ("Run", List(&CScriptBrowser::GetMethods, browser));
    EXPECT_EQ("", List(&CScriptBrowser::GetFunctionStrings, browser));
}

TEST(CScriptBrowser, TagsAreFoundByName) {
    ScriptFolder folder;
    CScriptBrowser browser;
    Parse(browser, folder.Write("a.bws", kTags));
    ExpectRecord(browser, "Welcome", CScriptBrowser::eFuncTag, "", "", {-1, 1, 7}, false);
    ExpectRecord(browser, "Inner", CScriptBrowser::eFuncTag, "", "", {-1, 4, 5}, false);
    EXPECT_FALSE(Has(browser, "Welcome", CScriptBrowser::eFuncFunction));
    EXPECT_FALSE(Has(browser, "welcome", CScriptBrowser::eFuncTag));
}

TEST(CScriptBrowser, GetFunctionInfoSearchesTheMapOfTheKindAndClearsItsOutput) {
    ScriptFolder folder;
    CScriptBrowser browser;
    Parse(browser, folder.Write("a.bws", "method Run();\n"
                                         "property(get) NUMBER Count();\n"
                                         "prototype Foo();\n"
                                         "// {{BW_SCRIPT_TAG(Welcome)\n"));
    struct Case {
        const char* pszName;
        int nType;
        bool bFound;
    };
    const Case cases[] = {
        {"Count", CScriptBrowser::eFuncProperty, true},
        {"{Start}", CScriptBrowser::eFuncProperty, true},
        {"Run", CScriptBrowser::eFuncMethod, true},
        {"Foo", CScriptBrowser::eFuncFunction, true},
        {"Welcome", CScriptBrowser::eFuncTag, true},
        // Exact and case-sensitive, in the map of the kind only.
        {"foo", CScriptBrowser::eFuncFunction, false},
        {"Fo", CScriptBrowser::eFuncFunction, false},
        {"Foo", CScriptBrowser::eFuncMethod, false},
        {"Run", CScriptBrowser::eFuncFunction, false},
        {"Count", CScriptBrowser::eFuncTag, false},
        // Kinds outside the table.
        {"Foo", 4, false},
        {"Foo", -1, false},
    };
    CScriptFunctionInfo dummy;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszName) + " kind " + std::to_string(c.nType));
        CScriptFunctionInfo* pInfo = &dummy;
        EXPECT_EQ(c.bFound, browser.GetFunctionInfo(
                                c.pszName, static_cast<CScriptBrowser::EFuncType>(c.nType), pInfo));
        EXPECT_EQ(c.bFound, pInfo != nullptr);
    }
}

TEST(CScriptBrowser, ListsAppendCommaSeparatedNamesAndClipTheLastComma) {
    ScriptFolder folder;
    const CString strA = folder.Write("a.bws", "prototype Bar();\n"
                                               "function Foo()\n"
                                               "begin\n"
                                               "end;\n");
    const CString strB = folder.Write("b.bws", "function Foo()\n"
                                               "begin\n"
                                               "end;\n"
                                               "prototype Zed();\n");
    CScriptBrowser first;
    Parse(first, strA);
    CScriptBrowser second;
    Parse(second, strB);

    EXPECT_EQ("Bar,Foo", List(&CScriptBrowser::GetFunctionStrings, first));
    EXPECT_EQ("", List(&CScriptBrowser::GetExportStrings, first));
    // The n-th definition file belongs to the n-th function; a prototype-only function
    // contributes an empty item, and only the comma after the last item is clipped.
    EXPECT_EQ("," + std::string(strA), List(&CScriptBrowser::GetFileDefinitions, first));
    EXPECT_EQ(std::string(strB) + ",", List(&CScriptBrowser::GetFileDefinitions, second));

    // Items go after whatever the text holds, with nothing between.
    CString strText("x");
    first.GetFunctionStrings(strText);
    EXPECT_STREQ("xBar,Foo", static_cast<LPCSTR>(strText));
    EXPECT_EQ(9, strText.GetLength());
}

TEST(CScriptBrowser, ClippingTheCommaKeepsTheTextsLength) {
    CScriptBrowser empty;
    using ListOperation = void (CScriptBrowser::*)(CString&) const;
    const ListOperation operations[] = {
        &CScriptBrowser::GetFunctionStrings, &CScriptBrowser::GetExportStrings,
        &CScriptBrowser::GetFileDefinitions, &CScriptBrowser::GetMethods,
        &CScriptBrowser::GetProperties};
    for (ListOperation pList : operations) {
        CString strEmpty;
        (empty.*pList)(strEmpty);
        EXPECT_EQ(0, strEmpty.GetLength());

        CString strPlain("abc");
        (empty.*pList)(strPlain);
        EXPECT_EQ(CString("abc"), strPlain);
        EXPECT_EQ(3, strPlain.GetLength());

        // The caller's own trailing comma is clipped too: overwritten, not removed.
        CString strComma("abc,");
        (empty.*pList)(strComma);
        EXPECT_EQ(4, strComma.GetLength());
        EXPECT_EQ('\0', strComma.GetAt(3));
        EXPECT_STREQ("abc", static_cast<LPCSTR>(strComma));
    }

    ScriptFolder folder;
    CScriptBrowser browser;
    Parse(browser, folder.Write("a.bws", "prototype Bar();\nprototype Foo();\n"));
    CString strText;
    browser.GetFunctionStrings(strText);
    EXPECT_EQ(8, strText.GetLength());
    EXPECT_EQ('\0', strText.GetAt(7));
    EXPECT_STREQ("Bar,Foo", static_cast<LPCSTR>(strText));
}

TEST(CScriptBrowser, EndLineArrayFollowsTheFunctionsInKeyOrder) {
    ScriptFolder folder;
    CScriptBrowser browser;
    int sentinel[3] = {42, 42, 42};
    browser.GetEndLineArray(sentinel);
    EXPECT_EQ(0, browser.GetEndLineArraySize());
    EXPECT_EQ(42, sentinel[0]);

    Parse(browser, folder.Write("a.bws", "function Zed()\n"
                                         "begin\n"
                                         "end;\n"
                                         "prototype Bar();\n"
                                         "function Foo()\n"
                                         "begin\n"
                                         "\n"
                                         "end;\n"));
    ASSERT_EQ(3, browser.GetEndLineArraySize());
    browser.GetEndLineArray(sentinel);
    EXPECT_EQ(-1, sentinel[0]); // Bar: prototype only
    EXPECT_EQ(7, sentinel[1]);  // Foo
    EXPECT_EQ(2, sentinel[2]);  // Zed
    browser.GetEndLineArray(nullptr);
}

TEST(CScriptBrowser, ParsingAFileAgainReplacesWhatItContributed) {
    ScriptFolder folder;
    const CString strA = folder.Write("a.bws", kPrototypesAndDefinition);
    CScriptBrowser browser;
    Parse(browser, strA);
    ASSERT_TRUE(Has(browser, "Foo", CScriptBrowser::eFuncFunction));

    folder.Write("a.bws", "prototype Other();\n");
    Parse(browser, strA);
    EXPECT_EQ("Other", List(&CScriptBrowser::GetFunctionStrings, browser));
    EXPECT_FALSE(Has(browser, "Foo", CScriptBrowser::eFuncFunction));
    ExpectInvariant(browser, {});
}

TEST(CScriptBrowser, ParsingAStreamThatIsNotOpenForgetsItsFile) {
    ScriptFolder folder;
    const CString strA = folder.Write("a.bws", "#if X\n#endif\n" + kPrototypesAndDefinition);
    CScriptBrowser browser;
    Parse(browser, strA);
    ExpectRecord(browser, "{Start}", CScriptBrowser::eFuncProperty, "", "", {-1, 3, 3}, false);

    CCodeFileStream closed(strA);
    EXPECT_TRUE(browser.ParseFile(&closed));
    EXPECT_EQ("", List(&CScriptBrowser::GetFunctionStrings, browser));
    ExpectRecord(browser, "{Start}", CScriptBrowser::eFuncProperty, "", "", {-1, 1, 1}, false);
}

TEST(CScriptBrowser, ForgettingAFileKeepsTheOtherFilesPartOfARecord) {
    ScriptFolder folder;
    const CString strA = folder.Write("a.bws", "prototype Foo();\n"
                                               "export prototype Bar();\n");
    const CString strB = folder.Write("b.bws", "\n"
                                               "function Foo()\n"
                                               "begin\n"
                                               "end;\n"
                                               "function Bar()\n"
                                               "begin\n"
                                               "end;\n");
    CScriptBrowser browser;
    Parse(browser, strA);
    Parse(browser, strB);
    ExpectRecord(browser, "Foo", CScriptBrowser::eFuncFunction, strA, strB, {0, 2, 3}, false);

    CScriptBrowser reversed(browser);
    EXPECT_TRUE(browser.OnFileRemoved(strB));
    ExpectRecord(browser, "Foo", CScriptBrowser::eFuncFunction, strA, "", {0, -1, -1}, false);
    EXPECT_TRUE(browser.OnFileRemoved(strA));
    EXPECT_FALSE(Has(browser, "Foo", CScriptBrowser::eFuncFunction));
    EXPECT_EQ("", List(&CScriptBrowser::GetFunctionStrings, browser));
    // Markers carry no file name and survive the removal of named files.
    EXPECT_EQ("{Start}", List(&CScriptBrowser::GetProperties, browser));

    // The other way round: the definition stays, and with it the exported flag of the prototype
    // whose file is gone.
    EXPECT_TRUE(reversed.OnFileRemoved(strA));
    ExpectRecord(reversed, "Foo", CScriptBrowser::eFuncFunction, "", strB, {-1, 2, 3}, false);
    ExpectRecord(reversed, "Bar", CScriptBrowser::eFuncFunction, "", strB, {-1, 5, 6}, true);
    EXPECT_EQ("Bar", List(&CScriptBrowser::GetExportStrings, reversed));
    ExpectInvariant(reversed, {});
}

TEST(CScriptBrowser, InvariantHoldsAfterEveryRemoval) {
    ScriptFolder folder;
    const CString strA = folder.Write("a.bws", "prototype Foo();\n"
                                               "method Run();\n"
                                               "property(get) NUMBER Size();\n"
                                               "// {{BW_SCRIPT_TAG(Open)\n"
                                               "function Zed()\n"
                                               "begin\n"
                                               "end;\n");
    const CString strB = folder.Write("b.bws", "function Foo()\n"
                                               "begin\n"
                                               "end;\n"
                                               "function Run()\n"
                                               "begin\n"
                                               "end;\n"
                                               "// }}BW_SCRIPT_TAG(Open)\n"
                                               "// {Methods}\n");
    const std::vector<std::string> tags = {"Open"};
    const CString orders[2][2] = {{strA, strB}, {strB, strA}};
    for (const auto& order : orders) {
        CScriptBrowser browser;
        Parse(browser, strA);
        Parse(browser, strB);
        ExpectInvariant(browser, tags);
        for (const CString& strFile : order) {
            SCOPED_TRACE(static_cast<LPCSTR>(strFile));
            browser.OnFileRemoved(strFile);
            ExpectInvariant(browser, tags);
        }
        EXPECT_EQ("", List(&CScriptBrowser::GetFunctionStrings, browser));
        EXPECT_EQ("", List(&CScriptBrowser::GetMethods, browser));
        EXPECT_EQ("{Methods},{Start}", List(&CScriptBrowser::GetProperties, browser));
        ExpectRecord(browser, "Open", CScriptBrowser::eFuncTag, "", "", {-1, 4, 7}, false);
    }
}

TEST(CScriptBrowser, AnEmptyFileNameForgetsMarkersAndTags) {
    ScriptFolder folder;
    const CString strA = folder.Write("a.bws", kPropertiesAndMarkers + kTags);
    CScriptBrowser browser;
    Parse(browser, strA);
    ASSERT_TRUE(Has(browser, "Welcome", CScriptBrowser::eFuncTag));

    CCodeFileStream unnamed("");
    EXPECT_FALSE(unnamed.OpenFile());
    EXPECT_TRUE(browser.ParseFile(&unnamed));
    EXPECT_FALSE(Has(browser, "Welcome", CScriptBrowser::eFuncTag));
    EXPECT_FALSE(Has(browser, "Inner", CScriptBrowser::eFuncTag));
    // The parse of the empty stream records "{Start}" afresh; the named file's records stay.
    EXPECT_EQ("Count,Size,{Start}", List(&CScriptBrowser::GetProperties, browser));
    EXPECT_EQ("Foo", List(&CScriptBrowser::GetFunctionStrings, browser));
    ExpectInvariant(browser, {"Welcome", "Inner"});
}

TEST(CScriptBrowser, RenamingChangesBothFileFieldsOfExactMatchesOnly) {
    ScriptFolder folder;
    const CString strA = folder.Write("a.bws", "prototype Foo();\n"
                                               "method Run();\n"
                                               "property(get) NUMBER Size();\n");
    const CString strB = folder.Write("b.bws", "function Foo()\n"
                                               "begin\n"
                                               "end;\n");
    CScriptBrowser browser;
    Parse(browser, strA);
    Parse(browser, strB);

    // A name that differs only in letter case is another name.
    EXPECT_TRUE(browser.OnFileRenamed(folder.Path("A.bws"), "c.bws"));
    ExpectRecord(browser, "Foo", CScriptBrowser::eFuncFunction, strA, strB, {0, 1, 2}, false);

    EXPECT_TRUE(browser.OnFileRenamed(strA, "c.bws"));
    ExpectRecord(browser, "Foo", CScriptBrowser::eFuncFunction, "c.bws", strB, {0, 1, 2}, false);
    ExpectRecord(browser, "Run", CScriptBrowser::eFuncMethod, "c.bws", "c.bws", {1, -1, -1}, false);
    ExpectRecord(browser, "Size", CScriptBrowser::eFuncProperty, "", "c.bws", {-1, 2, 2}, false);
    EXPECT_EQ("Size,{Start}", List(&CScriptBrowser::GetProperties, browser));

    // The index follows the new name without a parse.
    browser.OnFileRemoved(strA);
    EXPECT_TRUE(Has(browser, "Run", CScriptBrowser::eFuncMethod));
    browser.OnFileRemoved("c.bws");
    EXPECT_FALSE(Has(browser, "Run", CScriptBrowser::eFuncMethod));
    EXPECT_FALSE(Has(browser, "Size", CScriptBrowser::eFuncProperty));
    ExpectRecord(browser, "Foo", CScriptBrowser::eFuncFunction, "", strB, {-1, 1, 2}, false);
}

TEST(CScriptBrowser, RecordAddressesSurviveParsesOfOtherFiles) {
    ScriptFolder folder;
    CScriptBrowser browser;
    Parse(browser, folder.Write("a.bws", kPrototypesAndDefinition));
    CScriptFunctionInfo* pFoo = nullptr;
    ASSERT_TRUE(browser.GetFunctionInfo("Foo", CScriptBrowser::eFuncFunction, pFoo));

    std::string many;
    for (int i = 0; i < 200; ++i)
        many += "prototype F" + std::to_string(i) + "();\n";
    Parse(browser, folder.Write("b.bws", many));
    CScriptFunctionInfo* pAgain = nullptr;
    ASSERT_TRUE(browser.GetFunctionInfo("Foo", CScriptBrowser::eFuncFunction, pAgain));
    EXPECT_EQ(pFoo, pAgain);
    EXPECT_EQ(7, pFoo->m_nEndLine);
    EXPECT_EQ(202, browser.GetEndLineArraySize());
}

TEST(CScriptBrowser, CopiesAreDeepAndIndependent) {
    ScriptFolder folder;
    const CString strA = folder.Write("a.bws", kPrototypesAndDefinition);
    CScriptBrowser browser;
    EXPECT_EQ(nullptr, browser.operator->());
    Parse(browser, strA);

    CScriptBrowser copy(browser);
    CScriptBrowser assigned;
    Parse(assigned, folder.Write("b.bws", "prototype Gone();\n"));
    assigned = browser;
    EXPECT_EQ(nullptr, copy.operator->());
    EXPECT_EQ(nullptr, assigned.operator->());

    browser.OnFileRemoved(strA);
    EXPECT_EQ("", List(&CScriptBrowser::GetFunctionStrings, browser));
    for (CScriptBrowser* pBrowser : {&copy, &assigned}) {
        EXPECT_EQ("Bar,Foo", List(&CScriptBrowser::GetFunctionStrings, *pBrowser));
        CScriptFunctionInfo* pInfo = nullptr;
        ASSERT_TRUE(pBrowser->GetFunctionInfo("Foo", CScriptBrowser::eFuncFunction, pInfo));
        EXPECT_EQ(7, pInfo->m_nEndLine);
    }

    CScriptBrowser& self = assigned;
    assigned = self;
    EXPECT_EQ("Bar,Foo", List(&CScriptBrowser::GetFunctionStrings, assigned));
    assigned = CScriptBrowser();
    EXPECT_EQ("", List(&CScriptBrowser::GetProperties, assigned));
}
