// GetACP, lead bytes and case mapping, held against codepages.tsv and codepages_dbcs.tsv. Each
// run checks the rows of the code page it runs in; the test list runs the program once per code
// page.

#include "ReferenceTable.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

namespace {

bool InCurrentCodePage(const ReferenceTable& table, size_t row) {
    return static_cast<UINT>(atoi(table.Get(row, "cp").c_str())) == GetACP();
}

std::string Upper(std::string s) {
    EXPECT_EQ(CharUpperA(&s[0]), &s[0]);
    return s;
}

std::string Lower(std::string s) {
    EXPECT_EQ(CharLowerA(&s[0]), &s[0]);
    return s;
}

} // namespace

TEST(GetACP, IsTheCodePageTheEnvironmentChooses) {
    const char* expected = getenv("BWCORE_TEST_EXPECT_ACP");
    if (expected == nullptr)
        GTEST_SKIP() << "BWCORE_TEST_EXPECT_ACP is not set";
    EXPECT_EQ(GetACP(), static_cast<UINT>(atoi(expected)));
}

TEST(CodePageReference, SingleBytesOfTheCurrentCodePage) {
    const ReferenceTable table("codepages.tsv");
    int rows = 0;
    for (size_t row = 0; row < table.RowCount(); ++row) {
        if (!InCurrentCodePage(table, row))
            continue;
        ++rows;
        const int b = HexNumber(table.Get(row, "byte"));
        SCOPED_TRACE("byte " + table.Get(row, "byte"));
        const bool lead = table.Get(row, "lead_acp") == "1";
        EXPECT_EQ(IsDBCSLeadByte(static_cast<BYTE>(b)) != FALSE, lead);
        const std::string upperChar(1, static_cast<char>(HexNumber(table.Get(row, "upper_chr"))));
        const std::string lowerChar(1, static_cast<char>(HexNumber(table.Get(row, "lower_chr"))));
        const std::string s(1, static_cast<char>(b));
        if (table.Get(row, "upper_str") != "-") {
            EXPECT_EQ(Upper(s), HexBytes(table.Get(row, "upper_str").substr(2)));
            EXPECT_EQ(Lower(s), HexBytes(table.Get(row, "lower_str").substr(2)));
        }
        if (lead) { // a lead byte before the terminator maps as a character of its own
            EXPECT_EQ(Upper("a" + s), "A" + upperChar);
            EXPECT_EQ(Lower("A" + s), "a" + lowerChar);
        }
    }
    EXPECT_EQ(rows, 256) << "code page " << GetACP() << " is not in the table";
    EXPECT_EQ(CharUpperA(nullptr), nullptr);
    // Any code page by number; one that does not exist has no lead bytes.
    EXPECT_TRUE(IsDBCSLeadByteEx(932, 0x81) && !IsDBCSLeadByteEx(1252, 0x81));
    EXPECT_FALSE(IsDBCSLeadByteEx(12345, 0x81));
}

TEST(CodePageReference, DoubleByteCharactersMapCharacterByCharacter) {
    // All double-byte characters of the table in one string, between ASCII letters, so that a
    // step that slipped by one byte would show.
    const ReferenceTable table("codepages_dbcs.tsv");
    std::string text = "aZ", upper = "AZ", lower = "az";
    for (size_t row = 0; row < table.RowCount(); ++row) {
        if (!InCurrentCodePage(table, row))
            continue;
        text += HexBytes(table.Get(row, "char").substr(2)) + "q";
        upper += HexBytes(table.Get(row, "upper")) + "Q";
        lower += HexBytes(table.Get(row, "lower")) + "q";
    }
    EXPECT_EQ(Upper(text), upper);
    EXPECT_EQ(Lower(text), lower);
}

TEST(CharUpperA, LeavesTrailBytesThatLookLikeLetters) {
    // A kana, hanzi or hangul whose trail byte is 'a' or 'A': the character has no case.
    const struct {
        UINT cp;
        const char* lead;
    } kSamples[] = {{932, "\x83"}, {936, "\xB0"}, {949, "\xB0"}, {950, "\xA4"}};
    for (const auto& sample : kSamples) {
        if (sample.cp != GetACP())
            continue;
        const std::string lead = sample.lead;
        EXPECT_EQ(Upper("b" + lead + "ac"), "B" + lead + "aC");
        EXPECT_EQ(Lower("B" + lead + "AC"), "b" + lead + "Ac");
        return;
    }
    GTEST_SKIP() << "not a double-byte code page";
}

TEST(IsCharAlphaNumericW, WideCharactersBeyondAscii) {
    const struct {
        WCHAR c;
        bool alnum;
    } cases[] = {{u'7', true},   {u'_', false},   {0x4E00, true}, {0x3042, true},
                 {0xFF10, true}, {0x3001, false}, {0x00B2, true}};
    for (const auto& c : cases)
        EXPECT_EQ(IsCharAlphaNumericW(c.c) != FALSE, c.alnum) << std::hex << c.c;
}
