#include <bwcore/script/CScriptBrowser.h>

#include <bwcore/script/CCodeFileStream.h>

#include "ScriptTestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using ListOperation = void (CScriptBrowser::*)(CString&) const;

void Parse(CScriptBrowser& browser, const CString& strPath) {
    CCodeFileStream stream(strPath);
    ASSERT_TRUE(stream.OpenFile()) << strPath.GetString();
    EXPECT_TRUE(browser.ParseFile(&stream));
}

// The browser's four maps as Describe writes them, walked through GetRecords.
std::string Describe(const CScriptBrowser& browser, const std::vector<CString>& files = {}) {
    return Describe(*browser.GetRecords(CScriptBrowser::eFuncFunction),
                    *browser.GetRecords(CScriptBrowser::eFuncProperty),
                    *browser.GetRecords(CScriptBrowser::eFuncMethod),
                    *browser.GetRecords(CScriptBrowser::eFuncTag), files);
}

// A list operation's text, read as zero-terminated text as callers do.
std::string List(ListOperation pList, const CScriptBrowser& browser) {
    CString strText;
    (browser.*pList)(strText);
    return strText.GetString();
}

const std::string kScript = "#include \"setup.h\"\nprototype T Foo(U);\nexport prototype Bar(U);\n"
                            "function T Foo(s)\nT n;\nbegin\nn = 1;\nend;\n";

TEST(CScriptBrowser, RecordsAndListsWhatTheParserFinds) {
    ScriptTestFile a(kScript);
    CScriptBrowser browser;
    Parse(browser, a.GetPath());
    EXPECT_FALSE(browser.ParseFile(nullptr));
    EXPECT_EQ(Describe(browser, {a.GetPath()}), "f{Bar:/A/2/-1/-1/E Foo:A/A/1/5/7}");
    EXPECT_EQ(List(&CScriptBrowser::GetFunctionStrings, browser), "Bar,Foo");
    EXPECT_EQ(List(&CScriptBrowser::GetExportStrings, browser), "Bar");
    // The n-th definition file is that of the n-th function, empty for a prototype only.
    EXPECT_EQ(List(&CScriptBrowser::GetFileDefinitions, browser), "," + std::string(a.GetPath()));

    ScriptTestFile b(
        "// {Properties}\nproperty(get) T Size();\nproperty T Count();\n"
        "// {Local Variables}\n// {Methods}\nmethod Run();\nfunction Foo() begin end;\n"
        "prototype Zed();\n");
    CScriptBrowser other;
    Parse(other, b.GetPath());
    EXPECT_EQ(List(&CScriptBrowser::GetProperties, other),
              "Count,Size,{Local Variables},{Methods},{Properties},{Start}");
    EXPECT_EQ(List(&CScriptBrowser::GetMethods, other), "Run");
    EXPECT_EQ(List(&CScriptBrowser::GetFileDefinitions, other), std::string(b.GetPath()) + ",");
    // Items go after whatever the text holds, and the last comma is overwritten, not removed.
    CString strText("x");
    other.GetFunctionStrings(strText);
    EXPECT_EQ(strText.GetLength(), 9);
    EXPECT_STREQ(strText, "xFoo,Zed");
}

TEST(CScriptBrowser, ListsOfAnEmptyBrowserOnlyClipTheCallersComma) {
    CScriptBrowser empty;
    for (ListOperation pList :
         {&CScriptBrowser::GetFunctionStrings, &CScriptBrowser::GetExportStrings,
          &CScriptBrowser::GetFileDefinitions, &CScriptBrowser::GetMethods,
          &CScriptBrowser::GetProperties}) {
        for (const char* pszText : {"", "abc", "abc,"}) {
            CString strText(pszText);
            (empty.*pList)(strText);
            EXPECT_EQ(strText.GetLength(), static_cast<int>(std::strlen(pszText)));
            EXPECT_EQ(std::string(strText.GetString()), std::string(pszText).substr(0, 3));
        }
    }
}

TEST(CScriptBrowser, GetFunctionInfoSearchesTheMapOfTheKind) {
    ScriptTestFile a("method Run();\nproperty(get) T Count();\nprototype Foo();\n"
                     "// {{BW_SCRIPT_TAG(Welcome)\n");
    CScriptBrowser browser;
    Parse(browser, a.GetPath());
    const struct {
        const char* name;
        int nKind;
        bool bFound;
    } cases[] = {
        {"Count", 0, true},   {"{Start}", 0, true}, {"Run", 1, true},  {"Foo", 2, true},
        {"Welcome", 3, true}, {"foo", 2, false},    {"Fo", 2, false},  {"Foo", 1, false},
        {"Run", 2, false},    {"Count", 3, false},  {"Foo", 4, false}, {"Foo", -1, false},
    };
    CScriptFunctionInfo dummy;
    for (const auto& test : cases) {
        const auto eKind = static_cast<CScriptBrowser::EFuncType>(test.nKind);
        CScriptFunctionInfo* pInfo = &dummy;
        EXPECT_EQ(browser.GetFunctionInfo(test.name, eKind, pInfo), test.bFound) << test.name;
        const CScriptFunctionInfoMap* pMap = browser.GetRecords(eKind);
        EXPECT_EQ(pMap == nullptr, test.nKind < 0 || test.nKind > 3);
        EXPECT_EQ(pInfo, test.bFound ? &pMap->at(test.name) : nullptr) << test.name;
    }
}

TEST(CScriptBrowser, EndLineArrayFollowsTheFunctionsInKeyOrder) {
    ScriptTestFile a(
        "function Zed()\nbegin\nend;\nprototype Bar();\nfunction Foo()\nbegin\n\nend;\n");
    CScriptBrowser browser;
    int lines[3] = {42, 42, 42};
    browser.GetEndLineArray(lines);
    EXPECT_EQ(lines[0], 42);
    Parse(browser, a.GetPath());
    ASSERT_EQ(browser.GetEndLineArraySize(), 3);
    browser.GetEndLineArray(lines);
    EXPECT_EQ(std::vector<int>(lines, lines + 3), (std::vector<int>{-1, 7, 2}));
    browser.GetEndLineArray(nullptr);
    // Records stay where they are while other files are parsed.
    const CScriptFunctionInfo* pFoo = &browser.GetRecords(CScriptBrowser::eFuncFunction)->at("Foo");
    std::string many;
    for (int i = 0; i < 200; ++i) {
        many += "prototype F" + std::to_string(i) + "();\n";
    }
    Parse(browser, ScriptTestFile(many).GetPath());
    EXPECT_EQ(pFoo, &browser.GetRecords(CScriptBrowser::eFuncFunction)->at("Foo"));
    EXPECT_EQ(browser.GetEndLineArraySize(), 203);
}

// A parse first forgets what the file contributed, even when the stream delivers nothing.
TEST(CScriptBrowser, ParsingAFileAgainReplacesWhatItContributed) {
    ScriptTestFile a("#if X\n#endif\nprototype Foo();\nfunction Foo() begin end;\n");
    CScriptBrowser browser;
    Parse(browser, a.GetPath());
    EXPECT_EQ(Describe(browser, {a.GetPath()}), "f{Foo:A/A/2/3/3} p{{Start}://-1/2/2}");
    a.Write("prototype Other();\n");
    Parse(browser, a.GetPath());
    EXPECT_EQ(Describe(browser, {a.GetPath()}), "f{Other:/A/0/-1/-1}");
    CCodeFileStream closed(a.GetPath());
    EXPECT_TRUE(browser.ParseFile(&closed));
    EXPECT_EQ(Describe(browser), "");
}

// Forgetting a file keeps the other file's part of a record, and drops records left without
// lines; markers and tags carry no file name and stay.
TEST(CScriptBrowser, ForgettingAFileKeepsTheOtherFilesPart) {
    ScriptTestFile a("prototype Foo();\nexport prototype Bar();\nmethod Run();\n"
                     "property(get) T Size();\n// {{BW_SCRIPT_TAG(Open)\n");
    ScriptTestFile b("\nfunction Foo()\nbegin\nend;\nfunction Bar()\nbegin\nend;\n"
                     "function Run() begin end;\n// }}BW_SCRIPT_TAG(Open)\n// {Methods}\n");
    const std::vector<CString> files{a.GetPath(), b.GetPath()};
    CScriptBrowser browser;
    Parse(browser, a.GetPath());
    Parse(browser, b.GetPath());
    const std::string kMarkers = "p{{Methods}://-1/10/10} t{Open://-1/5/9}";
    EXPECT_EQ(Describe(browser, files), "f{Bar:B/A/1/5/6/E Foo:B/A/0/2/3} p{Size:A//-1/3/3 "
                                        "{Methods}://-1/10/10} m{Run:B/A/2/7/7} t{Open://-1/5/9}");
    CScriptBrowser reversed(browser);
    EXPECT_TRUE(browser.OnFileRemoved(b.GetPath()));
    EXPECT_EQ(Describe(browser, files), "f{Bar:/A/1/-1/-1/E Foo:/A/0/-1/-1} p{Size:A//-1/3/3 "
                                        "{Methods}://-1/10/10} m{Run:/A/2/-1/-1} t{Open://-1/5/9}");
    EXPECT_TRUE(browser.OnFileRemoved(a.GetPath()));
    EXPECT_EQ(Describe(browser, files), kMarkers);
    // The exported flag stays with the definition when the prototype's file is gone.
    EXPECT_TRUE(reversed.OnFileRemoved(a.GetPath()));
    EXPECT_EQ(Describe(reversed, files), "f{Bar:B//-1/5/6/E Foo:B//-1/2/3} " +
                                             kMarkers.substr(0, 23) + " m{Run:B//-1/7/7} " +
                                             kMarkers.substr(24));
    EXPECT_EQ(List(&CScriptBrowser::GetExportStrings, reversed), "Bar");
    EXPECT_TRUE(reversed.OnFileRemoved(b.GetPath()));
    EXPECT_EQ(Describe(reversed, files), kMarkers);
}

// A stream without a name forgets the empty name: every marker and tag goes.
TEST(CScriptBrowser, AnEmptyFileNameForgetsMarkersAndTags) {
    ScriptTestFile a("// {Properties}\nproperty T Count();\n// {{BW_SCRIPT_TAG(Welcome)\n"
                     "function Foo() begin end;\n");
    CScriptBrowser browser;
    Parse(browser, a.GetPath());
    EXPECT_EQ(Describe(browser, {a.GetPath()}),
              "f{Foo:A//-1/3/3} p{Count:A//-1/1/1 {Properties}://-1/1/1} t{Welcome://-1/3/-1}");
    CCodeFileStream unnamed("");
    EXPECT_FALSE(unnamed.OpenFile());
    EXPECT_TRUE(browser.ParseFile(&unnamed));
    EXPECT_EQ(Describe(browser, {a.GetPath()}), "f{Foo:A//-1/3/3} p{Count:A//-1/1/1}");
}

TEST(CScriptBrowser, RenamingChangesBothFileFieldsOfExactMatchesOnly) {
    ScriptTestFile a("prototype Foo();\nmethod Run();\nproperty(get) T Size();\n");
    ScriptTestFile b("function Foo()\nbegin\nend;\n");
    const std::vector<CString> files{a.GetPath(), b.GetPath()};
    CScriptBrowser browser;
    Parse(browser, a.GetPath());
    Parse(browser, b.GetPath());
    CString strOtherCase = a.GetPath();
    EXPECT_TRUE(browser.OnFileRenamed(strOtherCase.MakeUpper(), "C"));
    EXPECT_EQ(Describe(browser, files), "f{Foo:B/A/0/1/2} p{Size:A//-1/2/2} m{Run:A/A/1/-1/-1}");
    EXPECT_TRUE(browser.OnFileRenamed(a.GetPath(), "C"));
    browser.OnFileRemoved(a.GetPath());
    EXPECT_EQ(Describe(browser, files), "f{Foo:B/C/0/1/2} p{Size:C//-1/2/2} m{Run:C/C/1/-1/-1}");
    browser.OnFileRemoved("C");
    EXPECT_EQ(Describe(browser, files), "f{Foo:B//-1/1/2}");
}

TEST(CScriptBrowser, AssignmentCopiesDeeply) {
    ScriptTestFile a(kScript);
    ScriptTestFile b("prototype Gone();\n");
    CScriptBrowser browser;
    Parse(browser, a.GetPath());
    CScriptBrowser assigned;
    Parse(assigned, b.GetPath());
    assigned = browser;
    CScriptBrowser& self = assigned;
    assigned = self;
    browser.OnFileRemoved(a.GetPath());
    EXPECT_EQ(Describe(browser), "");
    EXPECT_EQ(Describe(assigned, {a.GetPath()}), "f{Bar:/A/2/-1/-1/E Foo:A/A/1/5/7}");
}

} // namespace
