#include <bwcore/script/CCodeFileStream.h>
#include <bwcore/script/CFunctionParser.h>

#include "ScriptTestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The file name given to Parse; the stream's own name is a temporary path.
const char kFile[] = "F";

struct Maps {
    CScriptFunctionInfoMap functions;
    CScriptFunctionInfoMap properties;
    CScriptFunctionInfoMap methods;
    CScriptFunctionInfoMap tags;
};

void ParseInto(const std::string& script, Maps& maps) {
    ScriptTestFile file(script);
    CCodeFileStream stream(file.GetPath());
    ASSERT_TRUE(stream.OpenFile());
    CTokenizer tokenizer(&stream, true);
    CFunctionParser parser(&tokenizer);
    EXPECT_TRUE(parser.Parse(kFile, maps.functions, maps.properties, maps.methods, maps.tags));
    EXPECT_EQ(tokenizer.Fetch(), eTokEndOfFile);
}

Maps Parse(const std::string& script) {
    Maps maps;
    ParseInto(script, maps);
    return maps;
}

std::vector<std::string> Keys(const CScriptFunctionInfoMap& map) {
    std::vector<std::string> keys;
    for (const auto& entry : map) {
        keys.emplace_back(entry.first.GetString());
    }
    return keys;
}

// A record as expected: the file fields, the three lines, the exported flag.
struct Record {
    const char* file;
    const char* declFile;
    int nDeclLine;
    int nStartLine;
    int nEndLine;
    bool bExported;
};

const Record kMarker1 = {"", "", -1, 1, 1, false};

void ExpectRecord(const CScriptFunctionInfoMap& map, const char* key, const Record& expected) {
    SCOPED_TRACE(std::string("record ") + key);
    const auto found = map.find(key);
    ASSERT_NE(found, map.end());
    const CScriptFunctionInfo& info = found->second;
    EXPECT_STREQ(info.m_strFile, expected.file);
    EXPECT_STREQ(info.m_strDeclFile, expected.declFile);
    EXPECT_EQ(info.m_nDeclLine, expected.nDeclLine);
    EXPECT_EQ(info.m_nStartLine, expected.nStartLine);
    EXPECT_EQ(info.m_nEndLine, expected.nEndLine);
    EXPECT_EQ(info.m_bExported, expected.bExported);
}

using KeyList = std::vector<std::string>;

// Script lines are numbered from 1; lines of declarations and definitions are recorded from 0,
// lines of markers and tags from 1.
TEST(CFunctionParserTest, PrototypesAndDefinitions) {
    const Maps maps = Parse(JoinLines({
        "#include \"setup.h\"",     // 1
        "prototype T Foo(U);",      // 2
        "export prototype Bar(U);", // 3
        "function T Foo(s)",        // 4
        "T n;",                     // 5
        "begin",                    // 6
        "n = 1;",                   // 7
        "end;",                     // 8
    }));
    EXPECT_EQ(Keys(maps.properties), KeyList{"{Start}"});
    ExpectRecord(maps.properties, "{Start}", kMarker1);
    EXPECT_EQ(Keys(maps.functions), (KeyList{"Bar", "Foo"}));
    ExpectRecord(maps.functions, "Foo", {kFile, kFile, 1, 5, 7, false});
    ExpectRecord(maps.functions, "Bar", {"", kFile, 2, -1, -1, true});
    EXPECT_TRUE(maps.methods.empty());
    EXPECT_TRUE(maps.tags.empty());
}

TEST(CFunctionParserTest, MethodAndItsDefinition) {
    const Maps maps = Parse(JoinLines({
        "method T Run(U);",  // 1
        "function T Run(n)", // 2
        "begin",             // 3
        "end;",              // 4
    }));
    EXPECT_EQ(Keys(maps.methods), KeyList{"Run"});
    ExpectRecord(maps.methods, "Run", {kFile, kFile, 0, 2, 3, false});
    EXPECT_TRUE(maps.functions.empty());
}

TEST(CFunctionParserTest, DefinitionBeforeTheMethodDeclarationIsAFunction) {
    const Maps maps = Parse(JoinLines({
        "function Run()", // 1
        "begin",          // 2
        "end;",           // 3
        "method Run();",  // 4
    }));
    ExpectRecord(maps.functions, "Run", {kFile, "", -1, 1, 2, false});
    ExpectRecord(maps.methods, "Run", {kFile, kFile, 3, -1, -1, false});
}

// After a method declaration the parser reads on as after "export": an exported prototype right
// after it is taken as such, anything else is skipped up to the next semicolon.
TEST(CFunctionParserTest, MethodStatementIsSkipped) {
    const Maps maps = Parse(JoinLines({
        "method T Run(U, V);",      // 1
        "prototype Foo();",         // 2
        "method Stop;",             // 3: no parenthesis
        "prototype Taken();",       // 4: read as the exported prototype after "method"
        "method (x);",              // 5: no name
        "prototype Kept();",        // 6
        "method Halt;",             // 7
        "y = 1; prototype Seen();", // 8: only the first statement is skipped
    }));
    EXPECT_EQ(Keys(maps.methods), KeyList{"Run"});
    EXPECT_EQ(Keys(maps.functions), (KeyList{"Foo", "Kept", "Seen", "Taken"}));
    ExpectRecord(maps.functions, "Foo", {"", kFile, 1, -1, -1, false});
    ExpectRecord(maps.functions, "Taken", {"", kFile, 3, -1, -1, true});
    ExpectRecord(maps.functions, "Kept", {"", kFile, 5, -1, -1, false});
    ExpectRecord(maps.functions, "Seen", {"", kFile, 7, -1, -1, false});
}

// Each row's script, then the keys of each map after Parse ({Start} is always there).
TEST(CFunctionParserTest, RejectedDeclarations) {
    const struct {
        const char* name;
        std::string script;
        KeyList functions;
        KeyList properties;
    } cases[] = {
        {"no semicolon after end", JoinLines({"function Foo()", "begin", "end"}), {}, {"{Start}"}},
        {"semicolon before the parenthesis", "function Foo; begin end;", {}, {"{Start}"}},
        {"semicolon in the parameters", "function Foo(a; b) begin end;", {}, {"{Start}"}},
        {"no begin", "function Foo() end;", {}, {"{Start}"}},
        {"no end", "function Foo() begin", {}, {"{Start}"}},
        {"no name", "function (x) begin end; prototype Bar();", {"Bar"}, {"{Start}"}},
        {"export without prototype", "export Foo();", {}, {"{Start}"}},
        {"export without prototype skips its statement",
         "export Foo(); prototype Bar();",
         {"Bar"},
         {"{Start}"}},
        {"prototype without a name", "prototype ();", {}, {"{Start}"}},
        {"prototype without a parenthesis", "prototype Foo;", {}, {"{Start}"}},
        {"property without a parenthesis", "property(get) T Count;", {}, {"{Start}"}},
        {"property with a bad access list", "property(get; put) T Count();", {}, {"{Start}"}},
        // The semicolon that rejects the declaration does not end the skip.
        {"property without a name",
         "property(); prototype Lost(); prototype Bar();",
         {"Bar"},
         {"{Start}"}},
        {"property starting with a keyword", "property end Count();", {}, {"{Start}"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        const Maps maps = Parse(test.script);
        EXPECT_EQ(Keys(maps.functions), test.functions);
        EXPECT_EQ(Keys(maps.properties), test.properties);
        EXPECT_TRUE(maps.methods.empty());
        EXPECT_TRUE(maps.tags.empty());
    }
}

TEST(CFunctionParserTest, Properties) {
    const Maps maps = Parse(JoinLines({
        "property(get, put) T Count();", // 1
        "property Size(x) ;",            // 2
        "property T",                    // 3
        "Name",                          // 4
        "(",                             // 5
        ");",                            // 6
        "property(get,) Width();",       // 7
    }));
    EXPECT_EQ(Keys(maps.properties), (KeyList{"Count", "Name", "Size", "Width", "{Start}"}));
    ExpectRecord(maps.properties, "Count", {kFile, "", -1, 0, 0, false});
    ExpectRecord(maps.properties, "Size", {kFile, "", -1, 1, 1, false});
    ExpectRecord(maps.properties, "Name", {kFile, "", -1, 4, 4, false});
    ExpectRecord(maps.properties, "Width", {kFile, "", -1, 6, 6, false});
}

TEST(CFunctionParserTest, PrototypeLines) {
    const Maps maps = Parse(JoinLines({
        "export prototype Foo();", // 1
        "prototype Foo();",        // 2
        "prototype T",             // 3
        "Bar",                     // 4
        "(U);",                    // 5
        "export prototype Baz();", // 6
        "export prototype Baz();", // 7
    }));
    // A later plain prototype clears the exported flag.
    ExpectRecord(maps.functions, "Foo", {"", kFile, 1, -1, -1, false});
    ExpectRecord(maps.functions, "Bar", {"", kFile, 4, -1, -1, false});
    ExpectRecord(maps.functions, "Baz", {"", kFile, 6, -1, -1, true});
}

TEST(CFunctionParserTest, DefinitionLines) {
    const Maps maps = Parse(JoinLines({
        "function F",                            // 1
        "(",                                     // 2
        ")",                                     // 3
        "T n;",                                  // 4
        "begin",                                 // 5
        "x;",                                    // 6
        "end",                                   // 7
        ";",                                     // 8
        "function G() begin begin x; end; end;", // 9: the body ends at its first end
    }));
    ExpectRecord(maps.functions, "F", {kFile, "", -1, 4, 7, false});
    ExpectRecord(maps.functions, "G", {kFile, "", -1, 8, 8, false});
}

// Records already in the maps are updated field by field, never replaced.
TEST(CFunctionParserTest, UpdatesExistingRecords) {
    Maps maps;
    CScriptFunctionInfo& foo = maps.functions["Foo"];
    foo.m_strFile = "G";
    foo.m_nStartLine = 5;
    foo.m_nEndLine = 6;
    CScriptFunctionInfo& start = maps.properties["{Start}"];
    start.m_strFile = "kept";
    start.m_nDeclLine = 9;
    ParseInto("prototype Foo();", maps);
    ExpectRecord(maps.functions, "Foo", {"G", kFile, 0, 5, 6, false});
    ExpectRecord(maps.properties, "{Start}", {"kept", "", 9, 1, 1, false});
}

TEST(CFunctionParserTest, StartMarkerFollowsTopLevelDirectives) {
    const struct {
        const char* name;
        std::string script;
        int nLine;
    } cases[] = {
        {"no directive", JoinLines({"x;", "function F() begin end;"}), 1},
        {"last directive", JoinLines({"#if A", "#endif", "x;", "#include \"b\"", "y;"}), 4},
        {"ifdef", JoinLines({"", "#ifdef A"}), 2},
        {"other directives are not counted", JoinLines({"#if A", "#define B", "#else"}), 1},
        {"directive inside a body",
         JoinLines({"#include \"x\"", "function F()", "begin", "#if A", "end;"}), 1},
        {"directive inside a declaration", JoinLines({"prototype Foo", "#if A", "();"}), 1},
        {"directive inside a block comment", JoinLines({"/*", "#if A", "*/"}), 1},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        const Maps maps = Parse(test.script);
        ExpectRecord(maps.properties, "{Start}", {"", "", -1, test.nLine, test.nLine, false});
    }
}

TEST(CFunctionParserTest, DirectiveDropsTheRestOfItsLine) {
    const Maps maps = Parse(JoinLines({
        "#if X prototype Lost();", // 1
        "function F()",            // 2
        "begin",                   // 3
        "end;",                    // 4
    }));
    EXPECT_EQ(Keys(maps.functions), KeyList{"F"});
    ExpectRecord(maps.functions, "F", {kFile, "", -1, 2, 3, false});
}

TEST(CFunctionParserTest, SectionMarkers) {
    const Maps maps = Parse(JoinLines({
        "// nothing",                         // 1
        "// {Local Variables}",               // 2
        "// see {Properties} here",           // 3
        "//{Methods}",                        // 4
        "// {Methods} {Local Variables}",     // 5: the first in the order tested
        "function F() begin // {Properties}", // 6: inside a body
        "end;",                               // 7
        "// {properties} {METHODS}",          // 8: case-sensitive
        "/* {Methods} */",                    // 9: block comments are not read
    }));
    EXPECT_EQ(Keys(maps.properties),
              (KeyList{"{Local Variables}", "{Methods}", "{Properties}", "{Start}"}));
    ExpectRecord(maps.properties, "{Local Variables}", {"", "", -1, 5, 5, false});
    ExpectRecord(maps.properties, "{Properties}", {"", "", -1, 3, 3, false});
    ExpectRecord(maps.properties, "{Methods}", {"", "", -1, 4, 4, false});
}

TEST(CFunctionParserTest, TaggedRegions) {
    std::vector<std::string> lines(25, "x;");
    lines[9] = "// {{BW_SCRIPT_TAG(Welcome) generated";         // 10
    lines[19] = "// }}BW_SCRIPT_TAG(Welcome)";                  // 20
    lines[21] = "// {{BW_SCRIPT_TAG(One) }}BW_SCRIPT_TAG(One)"; // 22
    lines[22] = "// {{BW_SCRIPT_TAG(Open) {Methods}";           // 23: the marker wins
    lines[23] = "// {{bw_script_tag(Lower)";                    // 24: case-sensitive
    const Maps maps = Parse(JoinLines(lines));
    EXPECT_EQ(Keys(maps.tags), (KeyList{"One", "Welcome"}));
    ExpectRecord(maps.tags, "Welcome", {"", "", -1, 10, 20, false});
    ExpectRecord(maps.tags, "One", {"", "", -1, 22, 22, false});
}

// The tag's name is the text between the first "(" (not the comment's first character) and the
// first ")" after it.
TEST(CFunctionParserTest, TagNames) {
    const struct {
        const char* comment;
        const char* key;
    } cases[] = {
        {"// {{BW_SCRIPT_TAG(Name)", "Name"}, {"//{{BW_SCRIPT_TAG( spaced name )", " spaced name "},
        {"// {{BW_SCRIPT_TAG()", ""},         {"// {{BW_SCRIPT_TAG(a(b)c)", "a(b"},
        {"// x) {{BW_SCRIPT_TAG(y)", "y"},    {"// {{BW_SCRIPT_TAG(open", ""},
        {"// {{BW_SCRIPT_TAG", ""},           {"//(x) {{BW_SCRIPT_TAG", ""},
        {"//a(x) {{BW_SCRIPT_TAG", "x"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.comment);
        const Maps maps = Parse(std::string(test.comment) + "\n");
        EXPECT_EQ(Keys(maps.tags), KeyList{test.key});
        ExpectRecord(maps.tags, test.key, {"", "", -1, 1, -1, false});
    }
}

TEST(CFunctionParserTest, TagsInABodyStayWhenTheFunctionIsRejected) {
    const Maps maps = Parse(JoinLines({
        "function F()",          // 1
        "begin",                 // 2
        "// {{BW_SCRIPT_TAG(T)", // 3
        "// }}BW_SCRIPT_TAG(T)", // 4
        "end",                   // 5: no semicolon
    }));
    EXPECT_TRUE(maps.functions.empty());
    ExpectRecord(maps.tags, "T", {"", "", -1, 3, 4, false});
}

// Comments in a declaration are consumed by it and never reach the markers.
TEST(CFunctionParserTest, CommentsInsideDeclarations) {
    const Maps maps = Parse(JoinLines({
        "prototype // {{BW_SCRIPT_TAG(A)", // 1
        "Foo();",                          // 2
        "function // {Properties}",        // 3
        "G(x // {Methods}",                // 4
        ") // {{BW_SCRIPT_TAG(B)",         // 5
        "begin end;",                      // 6
    }));
    ExpectRecord(maps.functions, "Foo", {"", kFile, 1, -1, -1, false});
    ExpectRecord(maps.functions, "G", {kFile, "", -1, 5, 5, false});
    EXPECT_EQ(Keys(maps.properties), KeyList{"{Start}"});
    EXPECT_TRUE(maps.tags.empty());
}

TEST(CFunctionParserTest, LongLinePiecesCountAsLines) {
    const Maps maps = Parse(JoinLines({
        "//" + std::string(3000, 'x'), // 1 and 2
        "function F()",                // 3
        "begin",                       // 4
        "end;",                        // 5
    }));
    ExpectRecord(maps.functions, "F", {kFile, "", -1, 3, 4, false});
}

TEST(CFunctionParserTest, KeysInByteOrder) {
    const Maps maps = Parse("prototype b(); prototype B(); prototype _a(); prototype a1();");
    EXPECT_EQ(Keys(maps.functions), (KeyList{"B", "_a", "a1", "b"}));
}

// GetNextFunction over a fresh tokenizer with an empty comment array.
struct NextFunction {
    bool bFound;
    std::string name;
    std::vector<std::string> comments;
    int nStart;
    int nEnd;
};

constexpr int kUnset = 77;
const char kUnsetName[] = "unset";

NextFunction GetNext(const std::string& script) {
    ScriptTestFile file(script);
    CCodeFileStream stream(file.GetPath());
    EXPECT_TRUE(stream.OpenFile());
    CTokenizer tokenizer(&stream, true);
    CFunctionParser parser(&tokenizer);
    CString name = kUnsetName;
    CStringArray comments;
    int nStart = kUnset;
    int nEnd = kUnset;
    NextFunction result;
    result.bFound = parser.GetNextFunction(name, comments, nStart, nEnd);
    result.name = name.GetString();
    for (INT_PTR i = 0; i < comments.GetSize(); ++i) {
        result.comments.emplace_back(comments[i].GetString());
    }
    result.nStart = nStart;
    result.nEnd = nEnd;
    return result;
}

void ExpectNext(const NextFunction& actual, const NextFunction& expected) {
    EXPECT_EQ(actual.bFound, expected.bFound);
    EXPECT_EQ(actual.name, expected.name);
    EXPECT_EQ(actual.comments, expected.comments);
    EXPECT_EQ(actual.nStart, expected.nStart);
    EXPECT_EQ(actual.nEnd, expected.nEnd);
}

TEST(CFunctionParserTest, GetNextFunction) {
    const struct {
        const char* name;
        std::string script;
        NextFunction expected;
    } cases[] = {
        {"event handler",
         JoinLines({"// Category: Alpha", "// Event: Beta", "function Beta()", "begin", "end;"}),
         {true, "Beta", {" Category: Alpha\n", " Event: Beta\n"}, 2, 4}},
        {"start from the third comment",
         JoinLines({"// a", "// b", "// c", "function F()", "begin", "end;"}),
         {true, "F", {" a\n", " b\n", " c\n"}, 2, 5}},
        {"only the third comment sets the start",
         JoinLines({"// a", "// b", "// c", "// d", "function F()", "begin", "end;"}),
         {true, "F", {" a\n", " b\n", " c\n", " d\n"}, 2, 6}},
        {"one comment keeps the caller's start",
         JoinLines({"// a", "function F()", "begin", "end;"}),
         {true, "F", {" a\n"}, kUnset, 3}},
        {"last identifier before the parenthesis",
         JoinLines({"// a", "function T F(U)", "begin", "end;"}),
         {true, "F", {" a\n"}, kUnset, 3}},
        {"each identifier moves the start",
         JoinLines({"// a", "// b", "function T", "F()", "begin", "end;"}),
         {true, "F", {" a\n", " b\n"}, 3, 5}},
        {"end line is that of end, not of its semicolon",
         JoinLines({"// a", "function F() begin", "end", ";"}),
         {true, "F", {" a\n"}, kUnset, 2}},
        {"comments after the first function keyword are not collected",
         JoinLines({"// a", "function F() // b", "// c", "begin // d", "end;"}),
         {true, "F", {" a\n"}, kUnset, 4}},
        {"second function stops the scan for begin",
         JoinLines({"// a", "function F()", "function G()", "begin", "end;"}),
         {false, kUnsetName, {" a\n"}, kUnset, kUnset}},
        {"function stops the scan for end; the name stays set",
         JoinLines({"// a", "function F()", "begin", "function G()", "begin", "end;"}),
         {false, "F", {" a\n"}, kUnset, kUnset}},
        {"no end",
         JoinLines({"// a", "function F()", "begin"}),
         {false, "F", {" a\n"}, kUnset, kUnset}},
        {"keyword after function goes back to the loop",
         JoinLines({"// a", "function begin", "// b", "function F() begin end;"}),
         {true, "F", {" a\n", " b\n"}, 3, 3}},
        {"comment after function is consumed",
         JoinLines({"// a", "function // b", "F() begin end;"}),
         {false, kUnsetName, {" a\n"}, kUnset, kUnset}},
        {"other token before the parenthesis",
         JoinLines({"// a", "// b", "function F, G() begin end;", "function H() begin end;"}),
         {false, kUnsetName, {" a\n", " b\n"}, 2, kUnset}},
        {"no comment",
         JoinLines({"function F()", "begin", "end;"}),
         {false, kUnsetName, {""}, kUnset, kUnset}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        const NextFunction actual = GetNext(test.script);
        if (test.expected.comments.size() == 1 && test.expected.comments[0].empty()) {
            // The element appended at the end carries no meaningful text.
            EXPECT_FALSE(actual.bFound);
            EXPECT_EQ(actual.comments.size(), 1u);
            EXPECT_EQ(actual.name, kUnsetName);
            continue;
        }
        ExpectNext(actual, test.expected);
    }
}

TEST(CFunctionParserTest, GetNextFunctionOneAfterAnother) {
    ScriptTestFile file(JoinLines({
        "// Category: A", // 1
        "// Event: B",    // 2
        "function F()",   // 3
        "begin",          // 4
        "end;",           // 5
        "// Category: C", // 6
        "// Event: D",    // 7
        "function G()",   // 8
        "begin end;",     // 9
    }));
    CCodeFileStream stream(file.GetPath());
    ASSERT_TRUE(stream.OpenFile());
    CTokenizer tokenizer(&stream, true);
    CFunctionParser parser(&tokenizer);
    CString name;
    CStringArray comments;
    int nStart = -1;
    int nEnd = -1;
    ASSERT_TRUE(parser.GetNextFunction(name, comments, nStart, nEnd));
    EXPECT_STREQ(name, "F");
    EXPECT_EQ(nStart, 2);
    EXPECT_EQ(nEnd, 4);
    comments.RemoveAll();
    ASSERT_TRUE(parser.GetNextFunction(name, comments, nStart, nEnd));
    EXPECT_STREQ(name, "G");
    ASSERT_EQ(comments.GetSize(), 2);
    EXPECT_STREQ(comments[0], " Category: C\n");
    EXPECT_EQ(nStart, 7);
    EXPECT_EQ(nEnd, 8);
    comments.RemoveAll();
    EXPECT_FALSE(parser.GetNextFunction(name, comments, nStart, nEnd));
}

TEST(CFunctionParserTest, CopiesShareTheTokenizer) {
    ScriptTestFile file("prototype A(); prototype B();");
    CCodeFileStream stream(file.GetPath());
    ASSERT_TRUE(stream.OpenFile());
    CTokenizer tokenizer(&stream, true);
    CTokenizer other(&stream, true);
    CFunctionParser parser(&other);
    parser = CFunctionParser(&tokenizer);
    Maps maps;
    EXPECT_TRUE(parser.Parse(kFile, maps.functions, maps.properties, maps.methods, maps.tags));
    EXPECT_EQ(Keys(maps.functions), (KeyList{"A", "B"}));
    EXPECT_EQ(tokenizer.Fetch(), eTokEndOfFile);
    EXPECT_EQ(other.GetLineNo(), 0);
}

} // namespace
