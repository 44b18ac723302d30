#include <bwcore/script/CFunctionParser.h>

#include "ScriptTestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

// The file name given to Parse; the stream's own name is a temporary path.
const char kFile[] = "F";

struct Maps {
    CScriptFunctionInfoMap functions;
    CScriptFunctionInfoMap properties;
    CScriptFunctionInfoMap methods;
    CScriptFunctionInfoMap tags;
};

// What Parse leaves in the maps, as Describe writes them: "f{...}" holds the functions, "p{...}"
// the properties, "m{...}" the methods and "t{...}" the tags, each record as
// "key:file/declFile/declLine/startLine/endLine", with "/E" when exported.
std::string Parse(const std::string& script, Maps maps = {}) {
    OpenScript open(script);
    CTokenizer tokenizer(&open.stream, true);
    CFunctionParser parser(&tokenizer);
    EXPECT_TRUE(parser.Parse(kFile, maps.functions, maps.properties, maps.methods, maps.tags));
    EXPECT_EQ(tokenizer.Fetch(), eTokEndOfFile);
    EXPECT_EQ(maps.properties.count("{Start}"), 1u);
    return Describe(maps.functions, maps.properties, maps.methods, maps.tags);
}

// Script lines are numbered from 1; lines of declarations and definitions are recorded from 0,
// lines of markers and tags from 1.
TEST(CFunctionParserTest, Parse) {
    const struct {
        std::string script;
        const char* records;
    } cases[] = {
        {"#include \"setup.h\"\nprototype T Foo(U);\nexport prototype Bar(U);\nfunction T Foo(s)\n"
         "T n;\nbegin\nn = 1;\nend;\n",
         "f{Bar:/F/2/-1/-1/E Foo:F/F/1/5/7}"},
        {"method T Run(U);\nfunction T Run(n)\nbegin\nend;\n", "m{Run:F/F/0/2/3}"},
        {"function Run()\nbegin\nend;\nmethod Run();\n", "f{Run:F//-1/1/2} m{Run:F/F/3/-1/-1}"},
        // After a method the parser reads on as after "export": an exported prototype right
        // after it is taken as such, anything else is skipped up to the next semicolon.
        {"method T Run(U, V);\nprototype Foo();\nmethod Stop;\nprototype Taken();\nmethod (x);\n"
         "prototype Kept();\nmethod Halt;\ny = 1; prototype Seen();\n",
         "f{Foo:/F/1/-1/-1 Kept:/F/5/-1/-1 Seen:/F/7/-1/-1 Taken:/F/3/-1/-1/E} "
         "m{Run:F/F/0/-1/-1}"},
        // Declarations of other shapes are passed over.
        {"function Foo()\nbegin\nend", ""},
        {"function Foo; begin end; function Foo(a; b) begin end;", ""},
        {"function Foo() end; function Foo() begin", ""},
        {"export Foo(); prototype Bar();", "f{Bar:/F/0/-1/-1}"},
        {"prototype (); prototype Foo;", ""},
        {"property(get) T Count; property(get; put) T Count(); property end Count();", ""},
        // The semicolon that rejects the declaration does not end the skip.
        {"property(); prototype Lost(); prototype Bar();", "f{Bar:/F/0/-1/-1}"},
        // A comma at the start of a line has no text: the last name text before "(" is empty.
        {"function  Foo\n,(x) begin end;", "f{:F//-1/1/1}"},
        {"method Foo\n,(x);", "m{:F/F/1/-1/-1}"},
        {"property T Foo\n,();", "p{:F//-1/1/1}"},
        {"prototype Foo\n,();", ""},
        {"property(get, put) T Count();\nproperty Size(x) ;\nproperty T\nName\n(\n);\n"
         "property(get,) Width();\n",
         "p{Count:F//-1/0/0 Name:F//-1/4/4 Size:F//-1/1/1 Width:F//-1/6/6}"},
        // A later plain prototype clears the exported flag.
        {"export prototype Foo();\nprototype Foo();\nprototype T\nBar\n(U);\n"
         "export prototype Baz();\nexport prototype Baz();\n",
         "f{Bar:/F/4/-1/-1 Baz:/F/6/-1/-1/E Foo:/F/1/-1/-1}"},
        // A body runs from "begin" to the first "end" and its semicolon.
        {"function F\n(\n)\nT n;\nbegin\nx;\nend\n;\nfunction G() begin begin x; end; end;\n",
         "f{F:F//-1/4/7 G:F//-1/8/8}"},
        {"//" + std::string(3000, 'x') + "\nfunction F()\nbegin\nend;\n", "f{F:F//-1/3/4}"},
        {"prototype b(); prototype B(); prototype _a(); prototype a1();",
         "f{B:/F/0/-1/-1 _a:/F/0/-1/-1 a1:/F/0/-1/-1 b:/F/0/-1/-1}"},
        // "{Start}" follows the last top-level directive.
        {"#if A\n#endif\nx;\n#include \"b\"\ny;\n", "p{{Start}://-1/4/4}"},
        {"\n#ifdef A\n#define B\n#else\n", "p{{Start}://-1/2/2}"},
        {"\n#include \"x\"\nfunction F()\nbegin\n#if A\nend;\n",
         "f{F:F//-1/3/5} p{{Start}://-1/2/2}"},
        {"prototype Foo\n#if A\n();\n/*\n#if A\n*/", "f{A:/F/2/-1/-1}"},
        {"#if X prototype Lost();\nfunction F()\nbegin\nend;\n", "f{F:F//-1/2/3}"},
        // Markers: the first found in the order tested; not in bodies, not case-insensitive.
        {"// nothing\n// {Local Variables}\n// see {Properties} here\n//{Methods}\n"
         "// {Methods} {Local Variables}\nfunction F() begin // {Properties}\nend;\n"
         "// {properties} {METHODS}\n/* {Methods} */\n",
         "f{F:F//-1/5/6} p{{Local Variables}://-1/5/5 {Methods}://-1/4/4 {Properties}://-1/3/3}"},
        {"// {{BW_SCRIPT_TAG(Welcome) generated\nx;\n// }}BW_SCRIPT_TAG(Welcome)\n"
         "// {{BW_SCRIPT_TAG(One) }}BW_SCRIPT_TAG(One)\n// {{BW_SCRIPT_TAG(Open) {Methods}\n"
         "// {{bw_script_tag(Lower)\n",
         "p{{Methods}://-1/5/5} t{One://-1/4/4 Welcome://-1/1/3}"},
        // A closing tag finds its own record, whichever tag opened last.
        {"// {{BW_SCRIPT_TAG(A)\n// {{BW_SCRIPT_TAG(B)\n// }}BW_SCRIPT_TAG(A)\n"
         "// }}BW_SCRIPT_TAG(B)\n// }}BW_SCRIPT_TAG(C)\n",
         "t{A://-1/1/3 B://-1/2/4 C://-1/-1/5}"},
        // Tags in a body stay when the function is then rejected.
        {"function F()\nbegin\n// {{BW_SCRIPT_TAG(T)\n// }}BW_SCRIPT_TAG(T)\nend\n",
         "t{T://-1/3/4}"},
        // Comments in a declaration are consumed by it.
        {"prototype // {{BW_SCRIPT_TAG(A)\nFoo();\nfunction // {Properties}\nG(x // {Methods}\n"
         ") // {{BW_SCRIPT_TAG(B)\nbegin end;\n",
         "f{Foo:/F/1/-1/-1 G:F//-1/5/5}"},
        // A tag's name lies between the first "(" (not the first character) and the next ")".
        {"// {{BW_SCRIPT_TAG( spaced name )", "t{ spaced name ://-1/1/-1}"},
        {"// {{BW_SCRIPT_TAG(a(b)c)", "t{a(b://-1/1/-1}"},
        {"// x) {{BW_SCRIPT_TAG(y)", "t{y://-1/1/-1}"},
        {"//a(x) }}BW_SCRIPT_TAG", "t{x://-1/-1/1}"},
        {"// {{BW_SCRIPT_TAG()", "t{://-1/1/-1}"},
        {"// {{BW_SCRIPT_TAG(open", "t{://-1/1/-1}"},
        {"//(x) {{BW_SCRIPT_TAG", "t{://-1/1/-1}"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Parse(test.script), test.records) << test.script;
    }
}

// Records already in the maps are updated field by field, never replaced.
TEST(CFunctionParserTest, UpdatesExistingRecords) {
    Maps maps;
    maps.functions["Foo"].m_strFile = "G";
    maps.functions["Foo"].m_nEndLine = 6;
    maps.properties["{Start}"].m_nDeclLine = 9;
    EXPECT_EQ(Parse("prototype Foo();", std::move(maps)), "f{Foo:G/F/0/-1/6} p{{Start}://9/1/1}");
}

// One GetNextFunction as "found name [comments] start end", the texts of the comments separated
// by "|"; the name output starts as "?" and the lines as 77.
std::string Next(CFunctionParser& parser) {
    CString strName = "?";
    CStringArray comments;
    int nStart = 77;
    int nEnd = 77;
    const bool bFound = parser.GetNextFunction(strName, comments, nStart, nEnd);
    std::string text = (bFound ? "true " : "false ") + std::string(strName.GetString()) + " [";
    for (const std::string& comment : Elements(comments)) {
        text += (text.back() == '[' ? "" : "|") + comment;
    }
    return text + "] " + std::to_string(nStart) + " " + std::to_string(nEnd);
}

TEST(CFunctionParserTest, GetNextFunction) {
    const struct {
        const char* script;
        const char* result;
    } cases[] = {
        {"// Category: Alpha\n// Event: Beta\nfunction Beta()\nbegin\nend;\n",
         "true Beta [ Category: Alpha\n| Event: Beta\n] 2 4"},
        // The start is the line of the third comment, else that of the name after two.
        {"// a\n// b\n// c\n// d\nfunction F()\nbegin\nend;\n", "true F [ a\n| b\n| c\n| d\n] 2 6"},
        {"// a\nfunction T F(U)\nbegin\nend;\n", "true F [ a\n] 77 3"},
        {"// a\n// b\nfunction T\nF()\nbegin\nend;\n", "true F [ a\n| b\n] 3 5"},
        {"// a\nfunction F() begin\nend\n;\n", "true F [ a\n] 77 2"},
        {"// a\nfunction F() // b\n// c\nbegin // d\nend;\n", "true F [ a\n] 77 4"},
        // A "function" met by the scans is consumed, and its function is not delivered.
        {"// a\nfunction F()\nfunction G()\nbegin\nend;\nfunction H() begin end;\n",
         "true H [ a\n] 77 5"},
        {"// a\nfunction F()\nbegin\nfunction G()\nbegin\nend;\nfunction H() begin end;\n",
         "true H [ a\n] 77 6"},
        {"// a\n// b\nfunction F, G() begin end;\nfunction H() begin end;\n",
         "false ? [ a\n| b\n] 2 77"},
        {"// a\nfunction F()\nbegin\n", "false F [ a\n] 77 77"},
        {"// a\nfunction F, G()\n", "false ? [ a\n] 77 77"},
        {"// a\nfunction begin\n// b\nfunction F() begin end;\n", "true F [ a\n| b\n] 3 3"},
        {"// a\nfunction // b\nF() begin end;\n", "false ? [ a\n] 77 77"},
    };
    for (const auto& test : cases) {
        OpenScript open(test.script);
        CTokenizer tokenizer(&open.stream, true);
        CFunctionParser parser(&tokenizer);
        EXPECT_EQ(Next(parser), test.result) << test.script;
    }
}

TEST(CFunctionParserTest, GetNextFunctionOneAfterAnother) {
    OpenScript open(
        "// A\n// B\nfunction F()\nbegin\nend;\n// C\n// D\nfunction G()\nbegin end;\n");
    CTokenizer tokenizer(&open.stream, true);
    CFunctionParser parser(&tokenizer);
    EXPECT_EQ(Next(parser), "true F [ A\n| B\n] 2 4");
    EXPECT_EQ(Next(parser), "true G [ C\n| D\n] 7 8");
    // At the end the scan for a comment still appends an element, which carries no text.
    CString strName;
    CStringArray comments;
    int nStart = 0;
    EXPECT_FALSE(parser.GetNextFunction(strName, comments, nStart, nStart));
    EXPECT_EQ(comments.GetSize(), 1);
}

} // namespace
