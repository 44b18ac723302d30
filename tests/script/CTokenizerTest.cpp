#include <bwcore/script/CCodeFileStream.h>
#include <bwcore/script/CTokenizer.h>

#include "ScriptTestFiles.h"

#include "CodePage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char* KindName(eToken eKind) {
    static const char* const names[] = {
        "0",       "EndOfFile", "Function",  "Begin",   "End",       "Identifier", "PPIf",
        "PPEndif", "PPInclude", "String",    "Comment", "OpenParen", "CloseParen", "Property",
        "Export",  "Prototype", "Semicolon", "Comma",   "None",      "Method",
    };
    return eKind >= 0 && eKind <= eTokMethod ? names[eKind] : "?";
}

std::string TextOf(const CTokenizer& tokenizer) {
    char text[CTokenizer::TokenTextSize];
    tokenizer.GetTokenText(text);
    return text;
}

// One fetched token: its kind, its text and the line number right after the fetch.
struct Token {
    eToken eKind;
    std::string text;
    int nLine;
};

// What a row expects of a token; a null text or a zero line is not checked.
struct Expected {
    eToken eKind;
    const char* text = nullptr;
    int nLine = 0;
};

// A script in a file, opened, and a tokenizer over it.
class TokenizerOverFile {
public:
    TokenizerOverFile(const std::string& script, bool bReturnComments)
        : m_file(script), m_stream(m_file.GetPath()), m_tokenizer(&m_stream, bReturnComments) {
        EXPECT_TRUE(m_stream.OpenFile());
    }
    CTokenizer& operator*() { return m_tokenizer; }
    CTokenizer* operator->() { return &m_tokenizer; }
    CCodeFileStream& GetStream() { return m_stream; }

private:
    ScriptTestFile m_file;
    CCodeFileStream m_stream;
    CTokenizer m_tokenizer;
};

// Fetches up to and including the end of the file.
std::vector<Token> FetchAll(const std::string& script, bool bReturnComments = true) {
    TokenizerOverFile tokenizer(script, bReturnComments);
    std::vector<Token> tokens;
    for (;;) {
        const eToken eKind = tokenizer->Fetch();
        tokens.push_back({eKind, TextOf(*tokenizer), tokenizer->GetLineNo()});
        if (eKind == eTokEndOfFile || tokens.size() > 1000) {
            return tokens;
        }
    }
}

void ExpectTokens(const std::vector<Token>& actual, const std::vector<Expected>& expected) {
    ASSERT_EQ(actual.size(), expected.size() + 1) << "expected the tokens, then the end";
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("token " + std::to_string(i));
        EXPECT_STREQ(KindName(actual[i].eKind), KindName(expected[i].eKind));
        if (expected[i].text != nullptr) {
            EXPECT_EQ(actual[i].text, expected[i].text);
        }
        if (expected[i].nLine != 0) {
            EXPECT_EQ(actual[i].nLine, expected[i].nLine);
        }
    }
    EXPECT_STREQ(KindName(actual.back().eKind), KindName(eTokEndOfFile));
}

struct TokenCase {
    const char* name;
    std::string script;
    bool bReturnComments;
    std::vector<Expected> tokens;
};

void RunCases(const std::vector<TokenCase>& cases) {
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        ExpectTokens(FetchAll(test.script, test.bReturnComments), test.tokens);
    }
}

// Exposes the protected operations.
class TokenizerProbe : public CTokenizer {
public:
    using CTokenizer::CTokenizer;
    using CTokenizer::IsIDChar;
};

TEST(CTokenizerTest, EdgeCases) {
    RunCases({
        {"declaration",
         "function T Foo(U s);",
         true,
         {{eTokFunction, "function", 1},
          {eTokIdentifier, "T", 1},
          {eTokIdentifier, "Foo", 1},
          {eTokOpenParen, nullptr, 1},
          {eTokIdentifier, "U", 1},
          {eTokIdentifier, "s", 1},
          {eTokCloseParen, nullptr, 1},
          {eTokSemicolon, nullptr, 1}}},
        {"operators dropped, numbers are words",
         "x = a + 3.5;",
         true,
         {{eTokIdentifier, "x"},
          {eTokIdentifier, "a"},
          {eTokIdentifier, "3"},
          {eTokIdentifier, "5"},
          {eTokSemicolon}}},
        {"ifdef", "#ifdef DEBUG", true, {{eTokPPIf, "ifdef"}, {eTokIdentifier, "DEBUG"}}},
        {"blanks after the hash",
         "#  \tinclude \"a.h\"",
         true,
         {{eTokPPInclude, "include"}, {eTokString, "\"a.h\""}}},
        {"other directive", "#define X", true, {{eTokIdentifier, "define"}, {eTokIdentifier, "X"}}},
        {"directive in capitals", "#IF X", true, {{eTokIdentifier, "IF"}, {eTokIdentifier, "X"}}},
        {"hash alone at the end of a line",
         "a #\nb",
         true,
         {{eTokIdentifier, "a", 1}, {eTokIdentifier, "b", 2}}},
        {"line comment", "// hello\n", true, {{eTokComment, " hello\n", 1}}},
        {"line comment skipped",
         "// hello\nx",
         false,
         {{eTokNone, nullptr, 2}, {eTokIdentifier, "x", 2}}},
        {"block comment across lines",
         "/* a\nb */ c",
         true,
         {{eTokNone, nullptr, 2}, {eTokIdentifier, "c", 2}}},
        {"slash alone", "a / b", true, {{eTokIdentifier, "a"}, {eTokNone}, {eTokIdentifier, "b"}}},
        {"escaped quote in a string",
         R"("a\"b" c)",
         true,
         {{eTokString, R"("a\"b")"}, {eTokIdentifier, "c"}}},
        {"two backslashes escape each other",
         R"("a\\" c)",
         true,
         {{eTokString, R"("a\\")"}, {eTokIdentifier, "c"}}},
        {"single-quoted strings back to back",
         "'it''s'",
         true,
         {{eTokString, "'it'"}, {eTokString, "'s'"}}},
        {"empty string", "\"\" x", true, {{eTokString, "\"\""}, {eTokIdentifier, "x"}}},
        {"unclosed string",
         "\"abc\nx",
         true,
         {{eTokString, "\"abc\n", 1}, {eTokIdentifier, "x", 2}}},
    });
}

TEST(CTokenizerTest, Keywords) {
    RunCases({
        {"every keyword",
         "function begin end property prototype export method",
         true,
         {{eTokFunction, "function"},
          {eTokBegin, "begin"},
          {eTokEnd, "end"},
          {eTokProperty, "property"},
          {eTokPrototype, "prototype"},
          {eTokExport, "export"},
          {eTokMethod, "method"}}},
        {"case-sensitive and whole",
         "Function BEGIN ends _end end1 functio",
         true,
         {{eTokIdentifier, "Function"},
          {eTokIdentifier, "BEGIN"},
          {eTokIdentifier, "ends"},
          {eTokIdentifier, "_end"},
          {eTokIdentifier, "end1"},
          {eTokIdentifier, "functio"}}},
        {"keywords end at punctuation",
         "end;begin(",
         true,
         {{eTokEnd}, {eTokSemicolon}, {eTokBegin}, {eTokOpenParen}}},
        {"punctuation",
         "( ) , ;",
         true,
         {{eTokOpenParen}, {eTokCloseParen}, {eTokComma}, {eTokSemicolon}}},
        {"bytes of 0x80 and above are dropped",
         "a\xE9"
         "b \xFF",
         true,
         {{eTokIdentifier, "a"}, {eTokIdentifier, "b"}}},
    });
}

// Directive words are matched by their beginning, case-sensitively, on the line of the hash.
TEST(CTokenizerTest, Directives) {
    RunCases({
        {"if family",
         "#if\n#ifdef\n#ifndef\n#iffy",
         true,
         {{eTokPPIf, "if", 1},
          {eTokPPIf, "ifdef", 2},
          {eTokPPIf, "ifndef", 3},
          {eTokPPIf, "iffy", 4}}},
        {"endif and include",
         "#endif\n#endifx\n#include\n#includes",
         true,
         {{eTokPPEndif, "endif"},
          {eTokPPEndif, "endifx"},
          {eTokPPInclude, "include"},
          {eTokPPInclude, "includes"}}},
        {"shorter than a name",
         "#i #end #incl #e",
         true,
         {{eTokIdentifier, "i"},
          {eTokIdentifier, "end"},
          {eTokIdentifier, "incl"},
          {eTokIdentifier, "e"}}},
        {"else", "#else", true, {{eTokIdentifier, "else"}}},
        {"digit word", "#1", true, {{eTokIdentifier, "1"}}},
        {"directive word ends at punctuation",
         "#if(X)",
         true,
         {{eTokPPIf, "if"}, {eTokOpenParen}, {eTokIdentifier, "X"}, {eTokCloseParen}}},
        {"byte after the hash is dropped", "#(a)", true, {{eTokIdentifier, "a"}, {eTokCloseParen}}},
        {"quote after the hash is dropped", "#\"a", true, {{eTokIdentifier, "a"}}},
        {"never spans lines", "#\ninclude", true, {{eTokIdentifier, "include", 2}}},
        {"hash at the end of the file", "#", true, {}},
        {"hashes in a row", "##if", true, {{eTokIdentifier, "if"}}},
    });
}

TEST(CTokenizerTest, Strings) {
    RunCases({
        {"double quote inside single quotes",
         "'a\"b' x",
         true,
         {{eTokString, "'a\"b'"}, {eTokIdentifier, "x"}}},
        {"single quote inside double quotes",
         "\"it's\" x",
         true,
         {{eTokString, "\"it's\""}, {eTokIdentifier, "x"}}},
        {"three backslashes and a quote",
         R"("a\\\"b" c)",
         true,
         {{eTokString, R"("a\\\"b")"}, {eTokIdentifier, "c"}}},
        {"escaped first byte", R"("\"" x)", true, {{eTokString, R"("\"")"}, {eTokIdentifier, "x"}}},
        {"backslash before the line end",
         "\"ab\\\nx",
         true,
         {{eTokString, "\"ab\\\n", 1}, {eTokIdentifier, "x", 2}}},
        {"backslash before the end of the file", "\"ab\\", true, {{eTokString, "\"ab\\", 1}}},
        {"quote at the end of the file", "x \"", true, {{eTokIdentifier, "x"}, {eTokString, "\""}}},
        {"comment and keywords inside",
         "\"// function /* x\" y",
         true,
         {{eTokString, "\"// function /* x\""}, {eTokIdentifier, "y"}}},
    });
}

TEST(CTokenizerTest, Comments) {
    RunCases({
        {"comment after code",
         "a // b c\nd",
         true,
         {{eTokIdentifier, "a", 1}, {eTokComment, " b c\n", 1}, {eTokIdentifier, "d", 2}}},
        {"comment after code, skipped",
         "a // b c\nd",
         false,
         {{eTokIdentifier, "a", 1}, {eTokNone, nullptr, 2}, {eTokIdentifier, "d", 2}}},
        {"empty comment at the end of the file", "//", true, {{eTokComment, ""}}},
        {"comment with three slashes", "///x\n", true, {{eTokComment, "/x\n"}}},
        {"skipped comment on the last line", "a // b", false, {{eTokIdentifier, "a"}}},
        {"block comment on one line",
         "a /* b */ c",
         true,
         {{eTokIdentifier, "a"}, {eTokNone}, {eTokIdentifier, "c"}}},
        {"block comment is not a token when comments are delivered",
         "/* // x */ y",
         true,
         {{eTokNone}, {eTokIdentifier, "y"}}},
        {"slash-star-slash does not close",
         "/*/ x */ y",
         true,
         {{eTokNone}, {eTokIdentifier, "y"}}},
        {"empty block comment", "/**/x", true, {{eTokNone}, {eTokIdentifier, "x"}}},
        {"stars before the close", "/* a **/ b", true, {{eTokNone}, {eTokIdentifier, "b"}}},
        {"block comments do not nest",
         "/* /* */ a */",
         true,
         {{eTokNone}, {eTokIdentifier, "a"}, {eTokNone}}},
        {"block comment over three lines",
         "/*\n\n*/ a",
         true,
         {{eTokNone, nullptr, 3}, {eTokIdentifier, "a", 3}}},
        {"unclosed block comment", "a /* b\nc\n", true, {{eTokIdentifier, "a"}}},
        {"line comment inside a block comment",
         "/* // */ a",
         false,
         {{eTokNone}, {eTokIdentifier, "a"}}},
    });
}

TEST(CTokenizerTest, LineNumbersCountFromOne) {
    const std::string longLine(4999, 'x');
    TokenizerOverFile tokenizer("a\n\n  b\r\n" + longLine + "\nc", true);
    EXPECT_EQ(tokenizer->GetLineNo(), 0);
    EXPECT_EQ(tokenizer->Fetch(), eTokIdentifier);
    EXPECT_EQ(tokenizer->GetLineNo(), 1);
    EXPECT_EQ(tokenizer->Fetch(), eTokIdentifier);
    EXPECT_EQ(tokenizer->GetLineNo(), 3);
    // Each 2047-byte piece of the long line is a line of its own.
    for (int nLine = 4; nLine <= 6; ++nLine) {
        EXPECT_EQ(tokenizer->Fetch(), eTokIdentifier);
        EXPECT_EQ(tokenizer->GetLineNo(), nLine);
    }
    EXPECT_EQ(tokenizer->Fetch(), eTokIdentifier);
    EXPECT_EQ(TextOf(*tokenizer), "c");
    EXPECT_EQ(tokenizer->GetLineNo(), 7);
    EXPECT_EQ(tokenizer->Fetch(), eTokEndOfFile);
    EXPECT_EQ(tokenizer->GetLineNo(), 7);
}

TEST(CTokenizerTest, EndOfFileRepeats) {
    for (bool bReturnComments : {true, false}) {
        for (const char* script : {"", "a", "a\n", "// x", "/* x", "\"x"}) {
            SCOPED_TRACE(script);
            TokenizerOverFile tokenizer(script, bReturnComments);
            while (tokenizer->Fetch() != eTokEndOfFile) {
            }
            const int nLine = tokenizer->GetLineNo();
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(tokenizer->Fetch(), eTokEndOfFile);
                EXPECT_EQ(tokenizer->Scan(eTokIdentifier, eTokNone), eTokEndOfFile);
                EXPECT_EQ(tokenizer->Scan(eTokNone, eTokComment), eTokEndOfFile);
            }
            EXPECT_EQ(tokenizer->GetLineNo(), nLine);
        }
    }
}

TEST(CTokenizerTest, UnopenedStreamEndsAtOnce) {
    ScriptTestFile file("a\n");
    CCodeFileStream stream(file.GetPath());
    CTokenizer tokenizer(&stream, true);
    EXPECT_EQ(tokenizer.GetCodeStream(), &stream);
    EXPECT_EQ(tokenizer.Fetch(), eTokEndOfFile);
    EXPECT_EQ(tokenizer.GetLineNo(), 0);
    EXPECT_FALSE(tokenizer.GetLine());
}

TEST(CTokenizerTest, ScanDropsOtherTokens) {
    {
        TokenizerOverFile tokenizer("begin x; end;", true);
        EXPECT_EQ(tokenizer->Scan(eTokEnd, eTokNone), eTokEnd);
        EXPECT_EQ(tokenizer->Fetch(), eTokSemicolon);
    }
    {
        // With eTokNone as the second kind, eTokNone tokens are dropped too.
        TokenizerOverFile tokenizer("a /* x */ / b // c\nend", false);
        EXPECT_EQ(tokenizer->Scan(eTokEnd, eTokNone), eTokEnd);
        EXPECT_EQ(tokenizer->GetLineNo(), 2);
    }
    {
        TokenizerOverFile tokenizer("x // c\nfunction end", true);
        EXPECT_EQ(tokenizer->Scan(eTokEnd, eTokComment), eTokComment);
        EXPECT_EQ(TextOf(*tokenizer), " c\n");
        EXPECT_EQ(tokenizer->Scan(eTokFunction, eTokEnd), eTokFunction);
        EXPECT_EQ(tokenizer->Scan(eTokFunction, eTokEnd), eTokEnd);
        EXPECT_EQ(tokenizer->Scan(eTokFunction, eTokEnd), eTokEndOfFile);
    }
    {
        // Asked for eTokNone as the first kind, it stops at a block comment or a lone slash.
        TokenizerOverFile tokenizer("a /* x */ b", true);
        EXPECT_EQ(tokenizer->Scan(eTokNone, eTokNone), eTokNone);
        EXPECT_EQ(tokenizer->Fetch(), eTokIdentifier);
    }
}

// Parentheses, commas, semicolons and eTokNone leave the token start where it was.
TEST(CTokenizerTest, UnchangedTokenStart) {
    const struct {
        const char* name;
        std::string script;
        int nFetches;
        const char* text;
    } cases[] = {
        {"open parenthesis after a name", "Foo()", 2, "Foo("},
        {"close parenthesis after a name", "Foo()", 3, "Foo()"},
        {"comma after a string", "\"s\" , x", 2, "\"s\" ,"},
        {"semicolon after a directive", "#if ;", 2, "if ;"},
        {"slash after a word", "a / b", 2, "a /"},
        {"block comment after a word", "a /* b */", 2, "a /* b */"},
        {"parenthesis as the first token", " (", 1, " ("},
        {"start beyond the position on a new line", "   Foo\n(", 2, ""},
        {"start before the position on a new line", "Foo\n  (", 2, "  ("},
        {"comment skipped after a word", "Foo // x\n(", 3, "("},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        TokenizerOverFile tokenizer(test.script, false);
        for (int i = 0; i < test.nFetches; ++i) {
            EXPECT_NE(tokenizer->Fetch(), eTokEndOfFile);
        }
        EXPECT_EQ(TextOf(*tokenizer), test.text);
    }
}

TEST(CTokenizerTest, TokenTextIsCutAt200Bytes) {
    const std::string text200(200, 'c');
    const struct {
        const char* name;
        std::string script;
        eToken eKind;
        std::string text;
    } cases[] = {
        {"comment of 300 bytes", "//" + std::string(300, 'c') + "\n", eTokComment, text200},
        {"comment of 200 bytes", "//" + std::string(199, 'c') + "\n", eTokComment,
         std::string(199, 'c') + "\n"},
        {"string of 300 bytes", "'" + std::string(298, 'c') + "'", eTokString,
         "'" + std::string(199, 'c')},
        {"word of 201 bytes", std::string(201, 'c'), eTokIdentifier, text200},
        {"word of 200 bytes", text200, eTokIdentifier, text200},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        TokenizerOverFile tokenizer(test.script, true);
        EXPECT_EQ(tokenizer->Fetch(), test.eKind);
        char buffer[CTokenizer::TokenTextSize + 1];
        std::memset(buffer, 'x', sizeof(buffer));
        tokenizer->GetTokenText(buffer);
        EXPECT_EQ(std::string(buffer), test.text);
        EXPECT_EQ(buffer[CTokenizer::TokenTextSize], 'x') << "written past 201 bytes";
    }
}

TEST(CTokenizerTest, GetLineDropsTheRestOfTheLine) {
    TokenizerOverFile tokenizer("a b\nc d", true);
    EXPECT_EQ(tokenizer->Fetch(), eTokIdentifier);
    EXPECT_TRUE(tokenizer->GetLine());
    EXPECT_EQ(tokenizer->GetLineNo(), 2);
    EXPECT_EQ(tokenizer->Fetch(), eTokIdentifier);
    EXPECT_EQ(TextOf(*tokenizer), "c");
    // On the last line: false, and the rest of the line still comes.
    EXPECT_FALSE(tokenizer->GetLine());
    EXPECT_EQ(tokenizer->GetLineNo(), 2);
    EXPECT_EQ(tokenizer->Fetch(), eTokIdentifier);
    EXPECT_EQ(TextOf(*tokenizer), "d");
    EXPECT_EQ(tokenizer->Fetch(), eTokEndOfFile);
}

TEST(CTokenizerTest, GetLineBeforeTheFirstFetchReadsTheFirstLine) {
    TokenizerOverFile tokenizer("a\nb", true);
    EXPECT_TRUE(tokenizer->GetLine());
    EXPECT_EQ(tokenizer->GetLineNo(), 1);
    EXPECT_EQ(tokenizer->Fetch(), eTokIdentifier);
    EXPECT_EQ(TextOf(*tokenizer), "a");
}

TEST(CTokenizerTest, AssignmentCopiesTheLine) {
    TokenizerOverFile source("a b c\nd", true);
    EXPECT_EQ(source->Fetch(), eTokIdentifier);
    CTokenizer copy(nullptr, false);
    copy = *source;
    EXPECT_EQ(copy.GetCodeStream(), &source.GetStream());
    EXPECT_EQ(copy.GetLineNo(), 1);
    EXPECT_EQ(TextOf(copy), "a");
    EXPECT_EQ(copy.Fetch(), eTokIdentifier);
    EXPECT_EQ(TextOf(copy), "b");
    // Both read the same stream: the copy takes the next line, the source has its own buffer.
    EXPECT_EQ(copy.Scan(eTokEndOfFile, eTokNone), eTokEndOfFile);
    EXPECT_EQ(copy.GetLineNo(), 2);
    EXPECT_EQ(source->Fetch(), eTokIdentifier);
    EXPECT_EQ(TextOf(*source), "b");
    EXPECT_EQ(source->Fetch(), eTokIdentifier);
    EXPECT_EQ(source->Fetch(), eTokEndOfFile);
    EXPECT_EQ(source->GetLineNo(), 1);
}

TEST(CTokenizerTest, IsIDCharAscii) {
    TokenizerProbe tokenizer(nullptr, true);
    for (unsigned int ch : {'a', 'z', 'A', 'Z', '0', '9', '_'}) {
        EXPECT_TRUE(tokenizer.IsIDChar(ch)) << ch;
    }
    for (unsigned int ch : {' ', '$', '-', '(', '/', '#', '\n', '\0'}) {
        EXPECT_FALSE(tokenizer.IsIDChar(ch)) << ch;
    }
}

// Outside strings and block comments the lead byte is dropped and the trail byte examined alone.
TEST(CTokenizerTest, Cp932WordBeforeDoubleByteCharacter) {
    BW_REQUIRE_ACP(932);
    RunCases({
        // 0x83 0x41 is a katakana letter whose trail byte is "A".
        {"trail byte starts a word",
         "abc\x83\x41xyz",
         true,
         {{eTokIdentifier, "abc"}, {eTokIdentifier, "Axyz"}}},
        // 0x82 0xA0 is a hiragana letter; both bytes are dropped.
        {"trail byte of 0x80 and above",
         "abc\x82\xA0"
         "def",
         true,
         {{eTokIdentifier, "abc"}, {eTokIdentifier, "def"}}},
        // 0x81 0x69 is a fullwidth parenthesis whose trail byte is "i".
        {"trail byte after a hash spells a word, not a directive",
         "#\x81\x69"
         "f",
         true,
         {{eTokIdentifier, "if"}}},
    });
}

// Inside strings and block comments a double-byte character is stepped over whole, so a trail
// byte that is a backslash, a quote or a star does not act as one.
TEST(CTokenizerTest, Cp932StringsAndBlockCommentsKeepCharactersWhole) {
    BW_REQUIRE_ACP(932);
    RunCases({
        // 0x95 0x5C is a kanji whose trail byte is a backslash.
        {"trail byte backslash",
         "\"\x95\\\" x",
         true,
         {{eTokString, "\"\x95\\\""}, {eTokIdentifier, "x"}}},
        {"trail byte after the opening quote closes nothing",
         "'\x81''",
         true,
         {{eTokString, "'\x81''"}}},
        {"lead byte before the line end",
         "\"a\x81\nx",
         true,
         {{eTokString, "\"a\x81\n", 1}, {eTokIdentifier, "x", 2}}},
        {"lead byte at the end of the file", "\"a\x81", true, {{eTokString, "\"a\x81"}}},
        {"trail byte star", "/* \x81*/ x */ y", true, {{eTokNone}, {eTokIdentifier, "y"}}},
        {"lead byte before the line end in a block comment",
         "/* \x81\n*/ x",
         true,
         {{eTokNone, nullptr, 2}, {eTokIdentifier, "x", 2}}},
        {"lead byte at the end of the file in a block comment", "/* \x81", true, {}},
    });
}

// The same scripts in a single-byte code page, where 0x81 and 0x95 are characters of their own.
TEST(CTokenizerTest, SingleByteStringsAndBlockComments) {
    if (IsDBCSLeadByte(0x81) || IsDBCSLeadByte(0x95)) {
        GTEST_SKIP() << "needs a code page in which 0x81 and 0x95 are not lead bytes";
    }
    RunCases({
        {"backslash escapes", "\"\x95\\\" x", true, {{eTokString, "\"\x95\\\" x"}}},
        {"star closes",
         "/* \x81*/ x */ y",
         true,
         {{eTokNone}, {eTokIdentifier, "x"}, {eTokNone}, {eTokIdentifier, "y"}}},
    });
}

TEST(CTokenizerTest, Cp932IsIDChar) {
    BW_REQUIRE_ACP(932);
    TokenizerProbe tokenizer(nullptr, true);
    const struct {
        unsigned int nChar;
        bool bExpected;
    } cases[] = {
        {'A', true},     {'_', true}, {'-', false}, {0x8260, true}, // fullwidth A
        {0x824F, true},                                             // fullwidth 0
        {0x82A0, true},                                             // hiragana a
        {0x889F, true},                                             // kanji
        {0xB1, true},                                               // halfwidth katakana a
        {0x8140, false},                                            // ideographic space
        {0x8141, false},                                            // ideographic comma
        {0x81, false},                                              // a lead byte alone
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.nChar);
        EXPECT_EQ(tokenizer.IsIDChar(test.nChar), test.bExpected);
    }
}

} // namespace
