// GetACP, lead bytes and case mapping, held against codepages.tsv and codepages_dbcs.tsv. Each
// run checks the rows of the code page it runs in; the test list runs the program once per code
// page.

#include "ReferenceTable.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

namespace {

std::string Hex(const std::string& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (char c : bytes) {
        text += kDigits[static_cast<unsigned char>(c) >> 4];
        text += kDigits[static_cast<unsigned char>(c) & 0xF];
    }
    return text;
}

// The bytes of s after CharUpperA in string mode, as many as s has.
std::string Upper(std::string s) {
    EXPECT_EQ(CharUpperA(&s[0]), &s[0]);
    return s;
}

std::string Lower(std::string s) {
    EXPECT_EQ(CharLowerA(&s[0]), &s[0]);
    return s;
}

// CharUpperA/CharLowerA in single-character mode: the low byte of the result.
int UpperChar(int b) {
    const ULONG_PTR result = reinterpret_cast<ULONG_PTR>(CharUpperA(MAKEINTRESOURCEA(b)));
    EXPECT_EQ(result >> 8, 0u) << "character " << b;
    return static_cast<int>(result & 0xFF);
}

int LowerChar(int b) {
    const ULONG_PTR result = reinterpret_cast<ULONG_PTR>(CharLowerA(MAKEINTRESOURCEA(b)));
    EXPECT_EQ(result >> 8, 0u) << "character " << b;
    return static_cast<int>(result & 0xFF);
}

bool IsDoubleByteCodePage() {
    return IsDBCSLeadByte(0x81) != FALSE;
}

} // namespace

TEST(GetACP, IsTheCodePageTheEnvironmentChooses) {
    const char* expected = getenv("BWCORE_TEST_EXPECT_ACP");
    if (expected == nullptr)
        GTEST_SKIP() << "BWCORE_TEST_EXPECT_ACP is not set";
    EXPECT_EQ(GetACP(), static_cast<UINT>(atoi(expected)));
}

TEST(GetACP, IsOneOfTheReferenceCodePages) {
    const ReferenceTable table("codepages.tsv");
    int rows = 0;
    for (size_t row = 0; row < table.RowCount(); ++row)
        rows += atoi(table.Get(row, "cp").c_str()) == static_cast<int>(GetACP());
    EXPECT_EQ(rows, 256) << "code page " << GetACP();
}

TEST(IsDBCSLeadByteEx, MatchesReferenceInEveryCodePage) {
    // The lead bytes of a code page named explicitly do not depend on the process's code page.
    const ReferenceTable table("codepages.tsv");
    ASSERT_EQ(table.RowCount(), 1280u);
    for (size_t row = 0; row < table.RowCount(); ++row) {
        const UINT cp = static_cast<UINT>(atoi(table.Get(row, "cp").c_str()));
        const int b = HexNumber(table.Get(row, "byte"));
        EXPECT_EQ(IsDBCSLeadByteEx(cp, static_cast<BYTE>(b)) != FALSE,
                  table.Get(row, "lead_ex") == "1")
            << "code page " << cp << " byte " << b;
    }
}

TEST(IsDBCSLeadByteEx, RejectsAnUnknownCodePage) {
    SetLastError(0);
    EXPECT_FALSE(IsDBCSLeadByteEx(12345, 0x81));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(CodePageReference, SingleBytesOfTheCurrentCodePage) {
    const ReferenceTable table("codepages.tsv");
    const UINT acp = GetACP();
    for (size_t row = 0; row < table.RowCount(); ++row) {
        if (static_cast<UINT>(atoi(table.Get(row, "cp").c_str())) != acp)
            continue;
        const int b = HexNumber(table.Get(row, "byte"));
        SCOPED_TRACE("byte " + table.Get(row, "byte"));
        EXPECT_EQ(IsDBCSLeadByte(static_cast<BYTE>(b)) != FALSE, table.Get(row, "lead_acp") == "1");
        EXPECT_EQ(IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(b)) != FALSE,
                  table.Get(row, "lead_ex") == "1");
        if (table.Get(row, "upper_str") != "-") {
            const std::string s(1, static_cast<char>(b));
            EXPECT_EQ(Hex(Upper(s)), Hex(HexBytes(table.Get(row, "upper_str").substr(2))));
            EXPECT_EQ(Hex(Lower(s)), Hex(HexBytes(table.Get(row, "lower_str").substr(2))));
        }
        EXPECT_EQ(UpperChar(b), HexNumber(table.Get(row, "upper_chr")));
        EXPECT_EQ(LowerChar(b), HexNumber(table.Get(row, "lower_chr")));
        const CHAR ch = static_cast<CHAR>(b);
        EXPECT_EQ(IsCharAlphaA(ch) != FALSE, table.Get(row, "is_alpha") == "1");
        EXPECT_EQ(IsCharAlphaNumericA(ch) != FALSE, table.Get(row, "is_alnum") == "1");
        EXPECT_EQ(IsCharUpperA(ch) != FALSE, table.Get(row, "is_upper") == "1");
        EXPECT_EQ(IsCharLowerA(ch) != FALSE, table.Get(row, "is_lower") == "1");
    }
}

TEST(CharClasses, WideCharactersBeyondAscii) {
    const struct {
        WCHAR c;
        bool alpha;
        bool alnum;
    } cases[] = {
        {u'A', true, true},    {u'7', false, true},    {u'_', false, false},
        {0x4E00, true, true},  {0x3042, true, true},   {0xFF21, true, true},
        {0xFF10, false, true}, {0x3001, false, false}, {0x00B2, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<unsigned>(c.c));
        EXPECT_EQ(IsCharAlphaW(c.c) != FALSE, c.alpha);
        EXPECT_EQ(IsCharAlphaNumericW(c.c) != FALSE, c.alnum);
    }
}

TEST(CodePageReference, DoubleByteCharactersOfTheCurrentCodePage) {
    const ReferenceTable table("codepages_dbcs.tsv");
    ASSERT_GT(table.RowCount(), 0u);
    const UINT acp = GetACP();
    for (size_t row = 0; row < table.RowCount(); ++row) {
        if (static_cast<UINT>(atoi(table.Get(row, "cp").c_str())) != acp)
            continue;
        const std::string c = HexBytes(table.Get(row, "char").substr(2));
        SCOPED_TRACE(table.Get(row, "group") + " " + table.Get(row, "char"));
        EXPECT_EQ(Hex(Upper(c)), table.Get(row, "upper"));
        EXPECT_EQ(Hex(Lower(c)), table.Get(row, "lower"));
    }
}

TEST(CodePageReference, StringOfManyCharactersMapsCharacterByCharacter) {
    // All double-byte characters of the table in one string, between ASCII letters, so that a
    // step that slipped by one byte would show.
    const ReferenceTable table("codepages_dbcs.tsv");
    const UINT acp = GetACP();
    std::string text = "aZ";
    std::string upper = "AZ";
    std::string lower = "az";
    for (size_t row = 0; row < table.RowCount(); ++row) {
        if (static_cast<UINT>(atoi(table.Get(row, "cp").c_str())) != acp)
            continue;
        text += HexBytes(table.Get(row, "char").substr(2)) + "q";
        upper += HexBytes(table.Get(row, "upper")) + "Q";
        lower += HexBytes(table.Get(row, "lower")) + "q";
    }
    EXPECT_EQ(Hex(Upper(text)), Hex(upper));
    EXPECT_EQ(Hex(Lower(text)), Hex(lower));
}

TEST(CharUpperA, LeavesTrailBytesThatLookLikeLetters) {
    // A kana, hanzi or hangul whose trail byte is 'a' or 'A': the character has no case, and
    // its trail byte is not a letter of its own.
    struct Sample {
        UINT cp;
        const char* withLowerTrail;
        const char* withUpperTrail;
    };
    const Sample kSamples[] = {
        {932, "\x83\x61", "\x83\x41"},
        {936, "\xB0\x61", "\xB0\x41"},
        {949, "\xB0\x61", "\xB0\x41"},
        {950, "\xA4\x61", "\xA4\x41"},
    };
    for (const Sample& sample : kSamples) {
        if (sample.cp != GetACP())
            continue;
        EXPECT_EQ(Hex(Upper(std::string("b") + sample.withLowerTrail + "c")),
                  Hex(std::string("B") + sample.withLowerTrail + "C"));
        EXPECT_EQ(Hex(Lower(std::string("B") + sample.withUpperTrail + "C")),
                  Hex(std::string("b") + sample.withUpperTrail + "c"));
        return;
    }
    GTEST_SKIP() << "not a double-byte code page";
}

TEST(CharUpperA, LeadByteBeforeTheTerminatorAsInSingleCharacterMode) {
    if (!IsDoubleByteCodePage())
        GTEST_SKIP() << "not a double-byte code page";
    const ReferenceTable table("codepages.tsv");
    const UINT acp = GetACP();
    for (size_t row = 0; row < table.RowCount(); ++row) {
        if (static_cast<UINT>(atoi(table.Get(row, "cp").c_str())) != acp ||
            table.Get(row, "lead_acp") != "1")
            continue;
        const std::string lead(1, static_cast<char>(HexNumber(table.Get(row, "byte"))));
        SCOPED_TRACE("lead byte " + table.Get(row, "byte"));
        EXPECT_EQ(
            Hex(Upper("a" + lead)),
            "41" + Hex(std::string(1, static_cast<char>(HexNumber(table.Get(row, "upper_chr"))))));
        EXPECT_EQ(
            Hex(Lower("A" + lead)),
            "61" + Hex(std::string(1, static_cast<char>(HexNumber(table.Get(row, "lower_chr"))))));
    }
}

TEST(CharUpperA, NullPointerIsTheCharacterZero) {
    EXPECT_EQ(CharUpperA(nullptr), nullptr);
    EXPECT_EQ(CharLowerA(nullptr), nullptr);
}
