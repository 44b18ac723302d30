#include <bwcore/script/CEventFileScriptBrowser.h>

#include <bwcore/script/CCodeGlobalEventStream.h>

#include "ScriptTestFiles.h"

#include "CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void Parse(CEventFileScriptBrowser& browser, const CString& strPath) {
    CCodeFileStream stream(strPath);
    ASSERT_TRUE(stream.OpenFile()) << strPath.GetString();
    EXPECT_TRUE(browser.ParseFile(&stream));
}

// The entries in order as "category/event/function", each followed by ":" and its record when
// files are given, separated by blanks.
std::string Entries(CEventFileScriptBrowser& browser, const std::vector<CString>& files = {}) {
    std::string text;
    for (auto it = browser.Begin(); it != browser.End(); ++it) {
        text += (text.empty() ? "" : " ") + std::string(it->first.first.first.GetString()) + "/" +
                it->first.first.second.GetString() + "/" + it->first.second.GetString();
        text += files.empty() ? "" : ":" + Describe(it->second, files);
    }
    return text;
}

// A handler with its two event comments.
std::string Handler(const char* pszCategory, const char* pszEvent, const char* pszName) {
    return std::string("// Category: ") + pszCategory + "\n// Event: " + pszEvent + "\nfunction " +
           pszName + "()\nbegin\nend;\n";
}

// The first two comments before a function name its category and its event.
TEST(CEventFileScriptBrowser, CategoryAndEventLines) {
    const struct {
        const char* comments;
        const char* entries;
    } cases[] = {
        {"// Category: Alpha\n// Event: Beta\n", "Alpha/Beta/F:A//0/2/4"},
        {"//Category:Alpha\n//Event:Beta\n// Runs first.\n", "Alpha/Beta/F:A//0/2/5"},
        {"//  Category Alpha\n// Event:\tBeta  \n", "Alpha/Beta/F:A//0/2/4"},
        {"// The Category: Alpha One \n// On Event= Beta Two\n", "Alpha One/Beta Two/F:A//0/2/4"},
        // One separator character of any kind is skipped, and only one.
        {"// Category-Alpha\n// Event::Beta\n", "Alpha/:Beta/F:A//0/2/4"},
        {"// Category: Alpha\n/* block */\n// Event: Beta\n", "Alpha/Beta/F:A//0/3/5"},
        // A line holding both keywords is a category line.
        {"// Category: Event\n// Event: Beta\n", "Event/Beta/F:A//0/2/4"},
        {"// Category: Alpha\n// Event Category: Beta\n", ""},
        {"// category: Alpha\n// Event: Beta\n", ""},
        {"// Category: Alpha\n// event: Beta\n", ""},
        {"// Category:   \n// Event: Beta\n", ""},
        {"// Category: Alpha\n// Event:\n", ""},
        {"// Event: Beta\n// Category: Alpha\n", ""},
        {"// Category: Alpha\n", ""},
        {"// Header\n// Category: Alpha\n// Event: Beta\n", ""},
    };
    for (const auto& test : cases) {
        ScriptTestFile file(std::string(test.comments) + "function F()\nbegin\nend;\n");
        CEventFileScriptBrowser browser;
        Parse(browser, file.GetPath());
        EXPECT_EQ(Entries(browser, {file.GetPath()}), test.entries) << test.comments;
    }
}

// White space is ASCII and trimmed byte by byte; a double-byte separator is skipped whole.
TEST(CEventFileScriptBrowser, Cp932ValuesKeepCharactersWhole) {
    BW_REQUIRE_ACP(932);
    // 0x81 0x46 is a fullwidth colon; 0x82 0xA0 a hiragana letter.
    ScriptTestFile file("// Category: Alpha\x81\n// Event\x81\x46 Beta\x82\xA0\r\nfunction F()\n"
                        "begin\nend;\n");
    CEventFileScriptBrowser browser;
    Parse(browser, file.GetPath());
    EXPECT_EQ(Entries(browser), "Alpha\x81/Beta\x82\xA0/F");
}

TEST(CEventFileScriptBrowser, EntriesKeepTheirPlaceAndTakeTheLatestDefinition) {
    ScriptTestFile first(Handler("Setup", "Start", "OnStart") +
                         Handler("Setup", "Finish", "OnFinish"));
    ScriptTestFile second("\n" + Handler("Setup", "Start", "OnStart"));
    const std::vector<CString> files{first.GetPath(), second.GetPath()};
    CEventFileScriptBrowser browser;
    EXPECT_FALSE(browser.ParseFile(nullptr));
    Parse(browser, first.GetPath());
    Parse(browser, first.GetPath());
    Parse(browser, second.GetPath());
    EXPECT_EQ(Entries(browser, files),
              "Setup/Start/OnStart:B//0/3/5 Setup/Finish/OnFinish:A//0/7/9");
    // With duplicates, entries are added, and the index names the one added last.
    browser.m_bAllowDuplicates = true;
    Parse(browser, first.GetPath());
    browser.m_bAllowDuplicates = false;
    Parse(browser, second.GetPath());
    EXPECT_EQ(Entries(browser, files),
              "Setup/Start/OnStart:B//0/3/5 Setup/Finish/OnFinish:A//0/7/9 "
              "Setup/Start/OnStart:B//0/3/5 Setup/Finish/OnFinish:A//0/7/9");
}

TEST(CEventFileScriptBrowser, Queries) {
    ScriptTestFile file(Handler("Alpha", "One", "A1") + Handler("components", "Two", "C1") +
                        Handler("Beta", "Three", "B1") + Handler("ALPHA", "One", "A2") +
                        Handler("Components", "Five", "C2") + Handler("Alpha", "One", "A3"));
    CEventFileScriptBrowser browser;
    Parse(browser, file.GetPath());
    // Categories: distinct ignoring case, the caller's own included, never "Components".
    CStringArray categories;
    categories.Add("beta");
    browser.GetCategories(categories);
    EXPECT_EQ(Elements(categories), (std::vector<std::string>{"beta", "Alpha"}));
    // Events: by category ignoring case, appended, with duplicates.
    CStringArray events;
    events.Add("own");
    browser.GetEvents("alpha", events);
    EXPECT_EQ(Elements(events), (std::vector<std::string>{"own", "One", "One", "One"}));
    // FindFunction: the first entry matching exactly; no match leaves the outputs alone.
    CString strFunction = "untouched";
    CScriptFunctionInfo dummy;
    CScriptFunctionInfo* pInfo = &dummy;
    EXPECT_FALSE(browser.FindFunction("alpha", "One", strFunction, pInfo));
    EXPECT_FALSE(browser.FindFunction("Alpha", "one", strFunction, pInfo));
    EXPECT_EQ(strFunction, "untouched");
    EXPECT_EQ(pInfo, &dummy);
    ASSERT_TRUE(browser.FindFunction("Alpha", "One", strFunction, pInfo));
    EXPECT_EQ(strFunction, "A1");
    EXPECT_EQ(pInfo, &browser.Begin()->second);
    // After reset nothing is found, and a parse adds afresh; the flag stays.
    browser.m_bAllowDuplicates = true;
    browser.reset();
    EXPECT_TRUE(browser.Begin() == browser.End());
    EXPECT_TRUE(browser.m_bAllowDuplicates);
    EXPECT_FALSE(browser.FindFunction("Alpha", "One", strFunction, pInfo));
    browser.m_bAllowDuplicates = false;
    Parse(browser, file.GetPath());
    EXPECT_EQ(browser.End() - browser.Begin(), 6);
}

// Lines are offset by the shared array's count before the parse, so that they index it.
TEST(CEventFileScriptBrowser, SharedLineArrayOffsetsTheLinesOfLaterFiles) {
    ScriptTestFile first(Handler("Setup", "Start", "OnStart"));
    ScriptTestFile second("\n\n" + Handler("Alpha", "Gamma", "OnGamma"));
    CStringArray lines;
    CEventFileScriptBrowser browser;
    for (const ScriptTestFile* pFile : {&first, &second}) {
        CCodeGlobalEventStream stream(pFile->GetPath(), lines);
        ASSERT_TRUE(stream.OpenFile());
        EXPECT_TRUE(browser.ParseFile(&stream));
    }
    EXPECT_EQ(Entries(browser, {first.GetPath(), second.GetPath()}),
              "Setup/Start/OnStart:A//0/2/4 Alpha/Gamma/OnGamma:B//0/9/11");
    EXPECT_STREQ(lines[9], "function OnGamma()\n");
    EXPECT_STREQ(lines[11], "end;\n");
}

// Assignment copies the entries, the index and the flag.
TEST(CEventFileScriptBrowser, AssignmentCopiesDeeply) {
    ScriptTestFile file(Handler("Files", "Copied", "OnCopied"));
    CEventFileScriptBrowser browser;
    Parse(browser, file.GetPath());
    CEventFileScriptBrowser assigned;
    assigned.m_bAllowDuplicates = true;
    assigned = browser;
    CEventFileScriptBrowser& self = assigned;
    assigned = self;
    browser.reset();
    // Without duplicates, and with the entry in the index, the parse updates the entry.
    Parse(assigned, file.GetPath());
    EXPECT_EQ(Entries(assigned), "Files/Copied/OnCopied");
}

} // namespace
