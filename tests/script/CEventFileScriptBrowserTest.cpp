#include <bwcore/script/CEventFileScriptBrowser.h>

#include <bwcore/script/CCodeFileStream.h>
#include <bwcore/script/CCodeGlobalEventStream.h>

#include "ScriptTestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kAlphaBeta = "// Category: Alpha\n"
                               "// Event: Beta\n"
                               "function OnBeta()\n"
                               "begin\n"
                               "end;\n";

// Two handlers of one category and one of another, each with its two comments.
const std::string kThreeHandlers = "// Category: Setup\n"
                                   "// Event: Start\n"
                                   "function OnStart()\n"
                                   "begin\n"
                                   "end;\n"
                                   "// Category: Setup\n"
                                   "// Event: Finish\n"
                                   "function OnFinish()\n"
                                   "begin\n"
                                   "end;\n"
                                   "// Category: Files\n"
                                   "// Event: Copied\n"
                                   "function OnCopied()\n"
                                   "begin\n"
                                   "end;\n";

void Parse(CEventFileScriptBrowser& browser, const CString& strPath) {
    CCodeFileStream stream(strPath);
    ASSERT_TRUE(stream.OpenFile()) << static_cast<LPCSTR>(strPath);
    EXPECT_TRUE(browser.ParseFile(&stream));
}

// The entries as "category/event/function", in order.
std::vector<std::string> Keys(CEventFileScriptBrowser& browser) {
    std::vector<std::string> keys;
    for (auto it = browser.Begin(); it != browser.End(); ++it) {
        keys.push_back(std::string(it->first.first.first) + "/" +
                       static_cast<LPCSTR>(it->first.first.second) + "/" +
                       static_cast<LPCSTR>(it->first.second));
    }
    return keys;
}

std::vector<std::string> Elements(const CStringArray& array) {
    std::vector<std::string> elements;
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
        elements.push_back(static_cast<LPCSTR>(array.GetAt(i)));
    return elements;
}

void ExpectRecord(const CScriptFunctionInfo& info, const CString& strFile, int nStart, int nEnd) {
    EXPECT_STREQ(static_cast<LPCSTR>(strFile), static_cast<LPCSTR>(info.m_strFile));
    EXPECT_STREQ("", static_cast<LPCSTR>(info.m_strDeclFile));
    EXPECT_EQ(0, info.m_nDeclLine);
    EXPECT_EQ(nStart, info.m_nStartLine);
    EXPECT_EQ(nEnd, info.m_nEndLine);
    EXPECT_FALSE(info.m_bExported);
}

} // namespace

TEST(CEventFileScriptBrowser, CategoryThenEventNamesAHandler) {
    ScriptTestFile file(kAlphaBeta);
    CEventFileScriptBrowser browser;
    Parse(browser, file.GetPath());
    ASSERT_EQ((std::vector<std::string>{"Alpha/Beta/OnBeta"}), Keys(browser));
    // Start at the function's name (two comments before it), end at "end", both from 0.
    ExpectRecord(browser.Begin()->second, file.GetPath(), 2, 4);
}

TEST(CEventFileScriptBrowser, ValuesFollowTheKeywordAndOneSeparatorAndAreTrimmed) {
    struct Case {
        const char* pszCategory;
        const char* pszEvent;
        const char* pszExpected; // "category/event", or "" for no entry
    };
    const Case cases[] = {
        {"// Category: Alpha", "// Event: Beta", "Alpha/Beta"},
        {"//Category:Alpha", "//Event:Beta", "Alpha/Beta"},
        {"//Category: Alpha", "//Event Beta", "Alpha/Beta"},
        {"//  Category Alpha", "// Event:\tBeta  ", "Alpha/Beta"},
        {"// The Category: Alpha One ", "// On Event= Beta Two", "Alpha One/Beta Two"},
        // Any single character separates, and only one is skipped.
        {"// Category-Alpha", "// Event-Beta", "Alpha/Beta"},
        {"// Category::Alpha", "// Event::Beta", ":Alpha/:Beta"},
        // The keywords are case-sensitive.
        {"// category: Alpha", "// Event: Beta", ""},
        {"// Category: Alpha", "// event: Beta", ""},
        // A value that is empty after trimming names nothing.
        {"// Category:   ", "// Event: Beta", ""},
        {"// Category: Alpha", "// Event:", ""},
        {"// Category", "// Event: Beta", ""},
        // A line holding both keywords is a category line.
        {"// Category: Event", "// Event: Beta", "Event/Beta"},
        {"// Event Category: Alpha", "// Event: Beta", "Alpha/Beta"},
        {"// Category: Alpha", "// Event Category: Beta", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszCategory) + " | " + c.pszEvent);
        ScriptTestFile file(std::string(c.pszCategory) + "\n" + c.pszEvent +
                            "\nfunction Handler()\nbegin\nend;\n");
        CEventFileScriptBrowser browser;
        Parse(browser, file.GetPath());
        const std::vector<std::string> keys = Keys(browser);
        if (*c.pszExpected == '\0') {
            EXPECT_TRUE(keys.empty());
        } else {
            ASSERT_EQ(1u, keys.size());
            EXPECT_EQ(std::string(c.pszExpected) + "/Handler", keys[0]);
        }
    }
}

TEST(CEventFileScriptBrowser, OnlyTheFirstTwoCommentsInOrderCount) {
    struct Case {
        const char* pszScript;
        bool bEntry;
    };
    const Case cases[] = {
        {"// Event: Beta\n// Category: Alpha\nfunction F()\nbegin\nend;\n", false},
        {"// Category: Alpha\nfunction F()\nbegin\nend;\n", false},
        {"// Event: Beta\nfunction F()\nbegin\nend;\n", false},
        // A file header before the first handler pushes its category line to second place.
        {"// Events of the setup\n// Category: Alpha\n// Event: Beta\nfunction F()\nbegin\nend;\n",
         false},
        {"// Category: Alpha\n// Event: Beta\n// Runs first.\nfunction F()\nbegin\nend;\n", true},
        {"// Category: Alpha\n/* block */\n// Event: Beta\nfunction F()\nbegin\nend;\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszScript);
        ScriptTestFile file(c.pszScript);
        CEventFileScriptBrowser browser;
        Parse(browser, file.GetPath());
        EXPECT_EQ(c.bEntry ? 1u : 0u, Keys(browser).size());
    }
}

TEST(CEventFileScriptBrowser, AThirdCommentMovesTheStartLine) {
    ScriptTestFile file("// Category: Alpha\n"
                        "// Event: Beta\n"
                        "// Called before anything is copied.\n"
                        "\n"
                        "function NUMBER OnBeta(s)\n"
                        "    NUMBER n;\n"
                        "begin\n"
                        "end;\n");
    CEventFileScriptBrowser browser;
    Parse(browser, file.GetPath());
    ASSERT_EQ(1u, Keys(browser).size());
    ExpectRecord(browser.Begin()->second, file.GetPath(), 2, 7);
}

TEST(CEventFileScriptBrowser, HandlersAreKeptInTheOrderFound) {
    ScriptTestFile file(kThreeHandlers);
    CEventFileScriptBrowser browser;
    Parse(browser, file.GetPath());
    EXPECT_EQ((std::vector<std::string>{"Setup/Start/OnStart", "Setup/Finish/OnFinish",
                                        "Files/Copied/OnCopied"}),
              Keys(browser));
    auto it = browser.Begin();
    ExpectRecord(it[0].second, file.GetPath(), 2, 4);
    ExpectRecord(it[1].second, file.GetPath(), 7, 9);
    ExpectRecord(it[2].second, file.GetPath(), 12, 14);
    EXPECT_EQ(3, browser.End() - browser.Begin());
}

TEST(CEventFileScriptBrowser, NullStreamChangesNothing) {
    ScriptTestFile file(kAlphaBeta);
    CEventFileScriptBrowser browser;
    Parse(browser, file.GetPath());
    EXPECT_FALSE(browser.ParseFile(nullptr));
    EXPECT_EQ(1u, Keys(browser).size());
}

TEST(CEventFileScriptBrowser, AHandlerFoundAgainReplacesItsFileAndLines) {
    ScriptTestFile first(kThreeHandlers);
    ScriptTestFile second("\n\n// Category: Setup\n"
                          "// Event: Start\n"
                          "function OnStart()\n"
                          "begin\n"
                          "end;\n");
    CEventFileScriptBrowser browser;
    Parse(browser, first.GetPath());
    Parse(browser, first.GetPath());
    EXPECT_EQ(3u, Keys(browser).size());

    Parse(browser, second.GetPath());
    ASSERT_EQ(3u, Keys(browser).size());
    // The entry keeps its place and takes the latest definition's file and lines.
    ExpectRecord(browser.Begin()[0].second, second.GetPath(), 4, 6);
    ExpectRecord(browser.Begin()[1].second, first.GetPath(), 7, 9);
}

TEST(CEventFileScriptBrowser, DuplicatesAddEntriesAndTheIndexNamesTheLatest) {
    ScriptTestFile first(kThreeHandlers);
    ScriptTestFile second(kThreeHandlers);
    CEventFileScriptBrowser browser;
    browser.m_bAllowDuplicates = true;
    Parse(browser, first.GetPath());
    Parse(browser, first.GetPath());
    ASSERT_EQ(6u, Keys(browser).size());
    EXPECT_EQ(Keys(browser)[0], Keys(browser)[3]);

    // With duplicates switched off again, a handler found again updates the entry that the
    // index names: the one added last.
    browser.m_bAllowDuplicates = false;
    Parse(browser, second.GetPath());
    ASSERT_EQ(6u, Keys(browser).size());
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const CString& strExpected = i < 3 ? first.GetPath() : second.GetPath();
        EXPECT_STREQ(static_cast<LPCSTR>(strExpected),
                     static_cast<LPCSTR>(browser.Begin()[i].second.m_strFile));
    }
    // FindFunction walks the entries in order and stops at the first match.
    CString strFunction;
    CScriptFunctionInfo* pInfo = nullptr;
    ASSERT_TRUE(browser.FindFunction("Setup", "Start", strFunction, pInfo));
    EXPECT_EQ(&browser.Begin()[0].second, pInfo);
}

TEST(CEventFileScriptBrowser, CategoriesAreDistinctIgnoringCaseWithoutComponents) {
    ScriptTestFile file("// Category: Alpha\n// Event: One\nfunction A1()\nbegin\nend;\n"
                        "// Category: components\n// Event: Two\nfunction C1()\nbegin\nend;\n"
                        "// Category: Beta\n// Event: Three\nfunction B1()\nbegin\nend;\n"
                        "// Category: ALPHA\n// Event: Four\nfunction A2()\nbegin\nend;\n"
                        "// Category: Components\n// Event: Five\nfunction C2()\nbegin\nend;\n"
                        "// Category: Gamma\n// Event: Six\nfunction G1()\nbegin\nend;\n");
    CEventFileScriptBrowser browser;
    Parse(browser, file.GetPath());
    ASSERT_EQ(6u, Keys(browser).size());

    CStringArray categories;
    browser.GetCategories(categories);
    EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta", "Gamma"}), Elements(categories));

    // The caller's elements count, and the array is appended to.
    CStringArray preset;
    preset.Add("alpha");
    preset.Add("zeta");
    browser.GetCategories(preset);
    EXPECT_EQ((std::vector<std::string>{"alpha", "zeta", "Beta", "Gamma"}), Elements(preset));
}

TEST(CEventFileScriptBrowser, EventsOfACategoryIgnoringCaseWithDuplicates) {
    ScriptTestFile file(kThreeHandlers + "// Category: SETUP\n// Event: Start\n"
                                         "function OnStartAgain()\nbegin\nend;\n");
    CEventFileScriptBrowser browser;
    Parse(browser, file.GetPath());
    CStringArray events;
    events.Add("existing");
    browser.GetEvents("setup", events);
    EXPECT_EQ((std::vector<std::string>{"existing", "Start", "Finish", "Start"}), Elements(events));

    CStringArray none;
    browser.GetEvents("Nothing", none);
    EXPECT_EQ(0, none.GetSize());
}

TEST(CEventFileScriptBrowser, FindFunctionMatchesCaseSensitively) {
    ScriptTestFile file(kAlphaBeta);
    CEventFileScriptBrowser browser;
    Parse(browser, file.GetPath());

    CString strFunction("untouched");
    CScriptFunctionInfo dummy;
    CScriptFunctionInfo* pInfo = &dummy;
    EXPECT_FALSE(browser.FindFunction("alpha", "Beta", strFunction, pInfo));
    EXPECT_FALSE(browser.FindFunction("Alpha", "beta", strFunction, pInfo));
    EXPECT_FALSE(browser.FindFunction("Alpha", "", strFunction, pInfo));
    EXPECT_EQ(CString("untouched"), strFunction);
    EXPECT_EQ(&dummy, pInfo);

    CStringArray events;
    browser.GetEvents("alpha", events);
    EXPECT_EQ((std::vector<std::string>{"Beta"}), Elements(events));

    ASSERT_TRUE(browser.FindFunction("Alpha", "Beta", strFunction, pInfo));
    EXPECT_EQ(CString("OnBeta"), strFunction);
    EXPECT_EQ(&browser.Begin()->second, pInfo);
    ExpectRecord(*pInfo, file.GetPath(), 2, 4);
}

TEST(CEventFileScriptBrowser, SharedLineArrayOffsetsTheLinesOfLaterFiles) {
    ScriptTestFile first(kThreeHandlers);
    ScriptTestFile second("// Shared events\n" + kAlphaBeta +
                          "\n// Category: Alpha\n"
                          "// Event: Gamma\n"
                          "function OnGamma()\n"
                          "begin\n"
                          "end;\n");
    CStringArray lines;
    CEventFileScriptBrowser browser;
    {
        CCodeGlobalEventStream stream(first.GetPath(), lines);
        ASSERT_TRUE(stream.OpenFile());
        EXPECT_TRUE(browser.ParseFile(&stream));
    }
    ASSERT_EQ(15, lines.GetSize());
    {
        CCodeGlobalEventStream stream(second.GetPath(), lines);
        ASSERT_TRUE(stream.OpenFile());
        EXPECT_TRUE(browser.ParseFile(&stream));
    }
    ASSERT_EQ(27, lines.GetSize());

    // The header comment of the second file pushes its first handler's event line to third
    // place, so only OnGamma counts there.
    ASSERT_EQ((std::vector<std::string>{"Setup/Start/OnStart", "Setup/Finish/OnFinish",
                                        "Files/Copied/OnCopied", "Alpha/Gamma/OnGamma"}),
              Keys(browser));
    const CScriptFunctionInfo& gamma = browser.Begin()[3].second;
    ExpectRecord(gamma, second.GetPath(), 15 + 9, 15 + 11);
    // The stored lines index the shared array.
    EXPECT_STREQ("function OnGamma()\n", static_cast<LPCSTR>(lines.GetAt(gamma.m_nStartLine)));
    EXPECT_STREQ("end;\n", static_cast<LPCSTR>(lines.GetAt(gamma.m_nEndLine)));
    const CScriptFunctionInfo& finish = browser.Begin()[1].second;
    EXPECT_STREQ("function OnFinish()\n", static_cast<LPCSTR>(lines.GetAt(finish.m_nStartLine)));
}

TEST(CEventFileScriptBrowser, EarlierEntriesStayWhenMoreFilesAreParsed) {
    ScriptTestFile first(kAlphaBeta);
    ScriptTestFile second(kThreeHandlers);
    CEventFileScriptBrowser browser;
    Parse(browser, first.GetPath());
    Parse(browser, second.GetPath());
    EXPECT_EQ((std::vector<std::string>{"Alpha/Beta/OnBeta", "Setup/Start/OnStart",
                                        "Setup/Finish/OnFinish", "Files/Copied/OnCopied"}),
              Keys(browser));
}

TEST(CEventFileScriptBrowser, ResetEmptiesTheBrowserAndKeepsTheFlag) {
    ScriptTestFile file(kThreeHandlers);
    CEventFileScriptBrowser browser;
    EXPECT_FALSE(browser.m_bAllowDuplicates);
    browser.m_bAllowDuplicates = true;
    Parse(browser, file.GetPath());
    browser.reset();
    EXPECT_TRUE(browser.Begin() == browser.End());
    EXPECT_TRUE(browser.m_bAllowDuplicates);

    CStringArray categories;
    browser.GetCategories(categories);
    EXPECT_EQ(0, categories.GetSize());
    CStringArray events;
    browser.GetEvents("Setup", events);
    EXPECT_EQ(0, events.GetSize());
    CString strFunction;
    CScriptFunctionInfo* pInfo = nullptr;
    EXPECT_FALSE(browser.FindFunction("Setup", "Start", strFunction, pInfo));

    // The index was emptied too: a parse after the reset adds the handlers afresh.
    browser.m_bAllowDuplicates = false;
    Parse(browser, file.GetPath());
    EXPECT_EQ(3u, Keys(browser).size());
}

TEST(CEventFileScriptBrowser, CopiesAreDeepAndCarryTheFlag) {
    ScriptTestFile file(kThreeHandlers);
    CEventFileScriptBrowser browser;
    browser.m_bAllowDuplicates = true;
    Parse(browser, file.GetPath());

    CEventFileScriptBrowser copy(browser);
    CEventFileScriptBrowser assigned;
    assigned = browser;
    browser.reset();
    for (CEventFileScriptBrowser* pBrowser : {&copy, &assigned}) {
        EXPECT_TRUE(pBrowser->m_bAllowDuplicates);
        EXPECT_EQ(3u, Keys(*pBrowser).size());
        CString strFunction;
        CScriptFunctionInfo* pInfo = nullptr;
        ASSERT_TRUE(pBrowser->FindFunction("Files", "Copied", strFunction, pInfo));
        EXPECT_EQ(&pBrowser->Begin()[2].second, pInfo);
    }

    // The copied index is the copy's own: with duplicates off, a parse updates in place.
    copy.m_bAllowDuplicates = false;
    Parse(copy, file.GetPath());
    EXPECT_EQ(3u, Keys(copy).size());

    CEventFileScriptBrowser& self = assigned;
    assigned = self;
    EXPECT_EQ(3u, Keys(assigned).size());
}
