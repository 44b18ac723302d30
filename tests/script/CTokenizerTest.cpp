#include <bwcore/script/CCodeFileStream.h>
#include <bwcore/script/CTokenizer.h>

#include "ScriptTestFiles.h"

#include "CodePage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string TextOf(const CTokenizer& tokenizer) {
    char text[CTokenizer::TokenTextSize + 1];
    std::memset(text, 'U', sizeof(text));
    tokenizer.GetTokenText(text);
    EXPECT_EQ(text[CTokenizer::TokenTextSize], 'U') << "token text written past 201 bytes";
    return text;
}

// Short names of the kinds, by value.
const char* const kKindNames[] = {
    "?", "EOF", "function", "begin",  "end",       "id", "#if", "#endif", "#include", "str", "//",
    "(", ")",   "property", "export", "prototype", ";",  ",",   "none",   "method",
};

// The tokens up to the end of the stream: each kind's short name, with the token's text in
// brackets for the kinds that set it, and "@n" before each token after which the line number
// is n, when n differs from the number after the token before.
std::string Tokens(CTokenizer& tokenizer) {
    std::string text;
    int nLine = -1;
    for (int nTokens = 0; nTokens < 1000; ++nTokens) {
        const eToken eKind = tokenizer.Fetch();
        if (tokenizer.GetLineNo() != nLine) {
            nLine = tokenizer.GetLineNo();
            text += "@" + std::to_string(nLine) + " ";
        }
        text += eKind >= 0 && eKind <= eTokMethod ? kKindNames[eKind] : "?";
        if (eKind == eTokIdentifier || eKind == eTokString || eKind == eTokComment ||
            (eKind >= eTokPPIf && eKind <= eTokPPInclude)) {
            text += "[" + TextOf(tokenizer) + "]";
        }
        if (eKind == eTokEndOfFile) {
            return text;
        }
        text += " ";
    }
    return text + "...";
}

std::string Tokens(const std::string& script, bool bReturnComments = true) {
    OpenScript open(script);
    CTokenizer tokenizer(&open.stream, bReturnComments);
    return Tokens(tokenizer);
}

struct TokenCase {
    std::string script;
    std::string tokens;
    bool bReturnComments = true;
};

void ExpectTokens(const std::vector<TokenCase>& cases) {
    for (const TokenCase& test : cases) {
        EXPECT_EQ(Tokens(test.script, test.bReturnComments), test.tokens) << test.script;
    }
}

const std::string k200(200, 'c');

TEST(CTokenizerTest, Tokens) {
    ExpectTokens({
        {"function T Foo(U s);", "@1 function id[T] id[Foo] ( id[U] id[s] ) ; EOF"},
        {"x = a + 3.5;", "@1 id[x] id[a] id[3] id[5] ; EOF"},
        {"function begin end property prototype export method",
         "@1 function begin end property prototype export method EOF"},
        // Keywords are case-sensitive and whole.
        {"Function BEGIN ends _end end1 functio",
         "@1 id[Function] id[BEGIN] id[ends] id[_end] id[end1] id[functio] EOF"},
        {"end;begin(,)", "@1 end ; begin ( , ) EOF"},
        {"a\xE9z \xFF", "@1 id[a] id[z] EOF"},
        // Line numbers count from 1; every 2047-byte piece of a long line is a line.
        {"a\n\n  b\r\n" + std::string(2046, ' ') + "c d\ne",
         "@1 id[a] @3 id[b] @4 id[c] @5 id[d] @6 id[e] EOF"},
        // Directive words are matched by their beginning, on the line of the hash.
        {"#ifdef DEBUG\n#ifndef\n#iffy", "@1 #if[ifdef] id[DEBUG] @2 #if[ifndef] @3 #if[iffy] EOF"},
        {"#endifx\n#includes", "@1 #endif[endifx] @2 #include[includes] EOF"},
        {"#  \tinclude \"a.h\"", "@1 #include[include] str[\"a.h\"] EOF"},
        {"#define X #IF #i #end #incl #e #1",
         "@1 id[define] id[X] id[IF] id[i] id[end] id[incl] id[e] id[1] EOF"},
        {"#if(X) #(a) #\"b ##if", "@1 #if[if] ( id[X] ) id[a] ) id[b] id[if] EOF"},
        {"a #\nb", "@1 id[a] @2 id[b] EOF"},
        {"#\ninclude", "@2 id[include] EOF"},
        {"#", "@1 EOF"},
        // Strings end at their closing quote not escaped by a backslash, or with their line.
        {R"("a\"b" "a\\" c)", R"(@1 str["a\"b"] str["a\\"] id[c] EOF)"},
        {R"("a\\\"b" "\"" c)", R"(@1 str["a\\\"b"] str["\""] id[c] EOF)"},
        {"'it''s' \"\" 'a\"b' \"it's\"",
         "@1 str['it'] str['s'] str[\"\"] str['a\"b'] str[\"it's\"] EOF"},
        {"\"abc\nx", "@1 str[\"abc\n] @2 id[x] EOF"},
        {"\"ab\\\nx", "@1 str[\"ab\\\n] @2 id[x] EOF"},
        {"\"ab\\", "@1 str[\"ab\\] EOF"},
        {"x \"", "@1 id[x] str[\"] EOF"},
        {"\"// function /* x\" y", "@1 str[\"// function /* x\"] id[y] EOF"},
        {"'" + std::string(298, 'c') + "'", "@1 str['" + std::string(199, 'c') + "] EOF"},
        // Line comments, delivered or skipped; block comments never become tokens.
        {"a // b c\nd", "@1 id[a] //[ b c\n] @2 id[d] EOF"},
        {"a // b c\nd", "@1 id[a] @2 none id[d] EOF", false},
        {"a // b", "@1 id[a] EOF", false},
        {"//", "@1 //[] EOF"},
        {"///x\n", "@1 //[/x\n] EOF"},
        {"//" + std::string(300, 'c') + "\n", "@1 //[" + k200 + "] EOF"},
        {"//" + std::string(199, 'c') + "\n", "@1 //[" + std::string(199, 'c') + "\n] EOF"},
        {std::string(201, 'c') + " " + k200, "@1 id[" + k200 + "] id[" + k200 + "] EOF"},
        {"a / b /* c */ d", "@1 id[a] none id[b] none id[d] EOF"},
        {"/* a\nb */ c", "@2 none id[c] EOF"},
        {"/*\n\n*/ a", "@3 none id[a] EOF"},
        {"/* // x */ y", "@1 none id[y] EOF"},
        {"/* // */ a", "@1 none id[a] EOF", false},
        {"/*/ x */ /**/ /* a **/ b", "@1 none none none id[b] EOF"},
        {"/* /* */ a */", "@1 none id[a] none EOF"},
        {"a /* b\nc\n", "@1 id[a] @2 EOF"},
    });
}

// Outside strings and block comments the lead byte is dropped and the trail byte examined alone;
// inside them a double-byte character is passed over whole, so a trail byte that is a backslash,
// a quote or a star does not act as one.
TEST(CTokenizerTest, Cp932DoubleByteCharacters) {
    BW_REQUIRE_ACP(932);
    ExpectTokens({
        // 0x83 0x41: a katakana letter whose trail byte is "A"; 0x82 0xA0: a hiragana letter.
        {"abc\x83\x41xyz abc\x82\xA0xyz", "@1 id[abc] id[Axyz] id[abc] id[xyz] EOF"},
        // 0x81 0x69: a fullwidth parenthesis whose trail byte is "i".
        {"#\x81\x69\x66", "@1 id[if] EOF"},
        // 0x95 0x5C: a kanji whose trail byte is a backslash.
        {"\"\x95\\\" x", "@1 str[\"\x95\\\"] id[x] EOF"},
        {"'\x81'' x", "@1 str['\x81''] id[x] EOF"},
        {"\"a\x81\nx", "@1 str[\"a\x81\n] @2 id[x] EOF"},
        {"\"a\x81", "@1 str[\"a\x81] EOF"},
        {"/* \x81*/ x */ y", "@1 none id[y] EOF"},
        {"/* \x81\n*/ x", "@2 none id[x] EOF"},
        {"/* \x81", "@1 EOF"},
    });
}

// In a single-byte code page 0x81 and 0x95 are characters of their own.
TEST(CTokenizerTest, SingleByteStringsAndBlockComments) {
    if (IsDBCSLeadByte(0x81) || IsDBCSLeadByte(0x95)) {
        GTEST_SKIP() << "needs a code page in which 0x81 and 0x95 are not lead bytes";
    }
    ExpectTokens({
        {"\"\x95\\\" x", "@1 str[\"\x95\\\" x] EOF"},
        {"/* \x81*/ x */ y", "@1 none id[x] none id[y] EOF"},
    });
}

TEST(CTokenizerTest, EndOfFileRepeats) {
    for (bool bReturnComments : {true, false}) {
        for (const char* script : {"", "a\n", "// x", "/* x", "\"x"}) {
            OpenScript open(script);
            CTokenizer tokenizer(&open.stream, bReturnComments);
            Tokens(tokenizer);
            const int nLine = tokenizer.GetLineNo();
            EXPECT_EQ(tokenizer.Fetch(), eTokEndOfFile) << script;
            EXPECT_EQ(tokenizer.Scan(eTokNone, eTokComment), eTokEndOfFile);
            EXPECT_FALSE(tokenizer.GetLine());
            EXPECT_EQ(tokenizer.GetLineNo(), nLine);
        }
    }
    ScriptTestFile file("a\n");
    CCodeFileStream unopened(file.GetPath());
    CTokenizer tokenizer(&unopened, true);
    EXPECT_EQ(tokenizer.GetCodeStream(), &unopened);
    EXPECT_EQ(Tokens(tokenizer), "@0 EOF");
}

// Scan delivers the first token of either kind and consumes nothing after it.
TEST(CTokenizerTest, Scan) {
    const struct {
        const char* script;
        eToken eFirst;
        eToken eSecond;
        bool bReturnComments;
        std::vector<eToken> delivered;
    } cases[] = {
        {"begin x; end;", eTokEnd, eTokSemicolon, true, {eTokSemicolon, eTokEnd, eTokSemicolon}},
        {"a /* x */ / b // c\nend", eTokEnd, eTokNone, false, {eTokEnd}},
        {"x // c\nfunction end", eTokEnd, eTokComment, true, {eTokComment, eTokEnd}},
        {"a /* x */ b / c", eTokNone, eTokNone, true, {eTokNone, eTokNone}},
    };
    for (const auto& test : cases) {
        OpenScript open(test.script);
        CTokenizer tokenizer(&open.stream, test.bReturnComments);
        std::vector<eToken> delivered;
        for (eToken eKind; (eKind = tokenizer.Scan(test.eFirst, test.eSecond)) != eTokEndOfFile;) {
            delivered.push_back(eKind);
        }
        EXPECT_EQ(delivered, test.delivered) << test.script;
    }
}

// Parentheses, commas, semicolons and eTokNone leave the token start where it was, even on a
// line before.
TEST(CTokenizerTest, UnchangedTokenStart) {
    const struct {
        const char* script;
        int nFetches;
        const char* text;
    } cases[] = {
        {"Foo()", 2, "Foo("},    {"Foo()", 3, "Foo()"}, {"\"s\" , x", 2, "\"s\" ,"},
        {"#if ;", 2, "if ;"},    {"a / b", 2, "a /"},   {"a /* b */", 2, "a /* b */"},
        {" (", 1, " ("},         {"   Foo\n(", 2, ""},  {"Foo\n  (", 2, "  ("},
        {"Foo // x\n(", 3, "("},
    };
    for (const auto& test : cases) {
        OpenScript open(test.script);
        CTokenizer tokenizer(&open.stream, false);
        for (int i = 0; i < test.nFetches; ++i) {
            tokenizer.Fetch();
        }
        EXPECT_EQ(TextOf(tokenizer), test.text) << test.script << " after " << test.nFetches;
    }
}

// GetLine drops the rest of the line; on the last line it fails and the rest still comes.
TEST(CTokenizerTest, GetLine) {
    OpenScript open("a b\nc d\ne f");
    CTokenizer tokenizer(&open.stream, true);
    EXPECT_TRUE(tokenizer.GetLine());
    EXPECT_EQ(tokenizer.Fetch(), eTokIdentifier);
    EXPECT_TRUE(tokenizer.GetLine());
    EXPECT_TRUE(tokenizer.GetLine());
    EXPECT_FALSE(tokenizer.GetLine());
    EXPECT_EQ(Tokens(tokenizer), "@3 id[e] id[f] EOF");
}

// A copy takes the whole line buffer: it goes on in the line, and both then read one stream.
TEST(CTokenizerTest, AssignmentCopiesTheLine) {
    OpenScript open("a b c\nd");
    CTokenizer source(&open.stream, true);
    EXPECT_EQ(source.Fetch(), eTokIdentifier);
    CTokenizer copy(nullptr, false);
    copy = source;
    EXPECT_EQ(copy.GetCodeStream(), &open.stream);
    EXPECT_EQ(TextOf(copy), "a");
    EXPECT_EQ(Tokens(copy), "@1 id[b] id[c] @2 id[d] EOF");
    EXPECT_EQ(Tokens(source), "@1 id[b] id[c] EOF");
}

class TokenizerProbe : public CTokenizer {
public:
    using CTokenizer::CTokenizer;
    using CTokenizer::IsIDChar;
};

TEST(CTokenizerTest, IsIDCharAscii) {
    TokenizerProbe tokenizer(nullptr, true);
    for (unsigned int nChar = 0; nChar < 0x80; ++nChar) {
        EXPECT_EQ(tokenizer.IsIDChar(nChar), isalnum(static_cast<int>(nChar)) || nChar == '_');
    }
}

TEST(CTokenizerTest, Cp932IsIDChar) {
    BW_REQUIRE_ACP(932);
    TokenizerProbe tokenizer(nullptr, true);
    // A fullwidth A and a kanji are letters; an ideographic space and a lead byte alone are not.
    EXPECT_TRUE(tokenizer.IsIDChar(0x8260) && tokenizer.IsIDChar(0x889F));
    EXPECT_FALSE(tokenizer.IsIDChar(0x8140) || tokenizer.IsIDChar(0x81));
}

} // namespace
