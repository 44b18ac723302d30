// CharToOemA, OemToCharA and their buffer forms, held against oem.tsv (ANSI code page 1252, OEM
// code page 437). In the double-byte code pages the OEM code page is the ANSI one, so the bytes
// pass unchanged.

#include "ReferenceTable.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

namespace {

bool IsWesternCodePage() {
    return GetACP() == 1252;
}

// The one-byte string b through a string conversion: its first output byte.
int ConvertString(BOOL(WINAPI* convert)(LPCSTR, LPSTR), int b) {
    const char source[2] = {static_cast<char>(b), '\0'};
    char destination[2] = {'\x55', '\x55'};
    EXPECT_TRUE(convert(source, destination)) << "byte " << b;
    EXPECT_EQ(destination[1], '\0') << "byte " << b;
    return static_cast<unsigned char>(destination[0]);
}

int ConvertBuffer(BOOL(WINAPI* convert)(LPCSTR, LPSTR, DWORD), int b) {
    const char source[1] = {static_cast<char>(b)};
    char destination[2] = {'\x55', '\x55'};
    EXPECT_TRUE(convert(source, destination, 1)) << "byte " << b;
    EXPECT_EQ(destination[1], '\x55') << "byte " << b << ": wrote past the length";
    return static_cast<unsigned char>(destination[0]);
}

} // namespace

TEST(Oem, MatchesReferenceUnderWesternCodePage) {
    if (!IsWesternCodePage())
        GTEST_SKIP() << "the table was measured under code page 1252";
    const ReferenceTable table("oem.tsv");
    ASSERT_EQ(table.RowCount(), 255u);
    for (size_t row = 0; row < table.RowCount(); ++row) {
        const int b = HexNumber(table.Get(row, "byte"));
        EXPECT_EQ(ConvertString(CharToOemA, b), HexNumber(table.Get(row, "char_to_oem")))
            << "CharToOemA of byte " << b;
        EXPECT_EQ(ConvertString(OemToCharA, b), HexNumber(table.Get(row, "oem_to_char")))
            << "OemToCharA of byte " << b;
        EXPECT_EQ(ConvertBuffer(CharToOemBuffA, b), HexNumber(table.Get(row, "char_to_oem_buff")))
            << "CharToOemBuffA of byte " << b;
        EXPECT_EQ(ConvertBuffer(OemToCharBuffA, b), HexNumber(table.Get(row, "oem_to_char_buff")))
            << "OemToCharBuffA of byte " << b;
    }
}

TEST(Oem, IsIdentityUnderDoubleByteCodePages) {
    if (IsWesternCodePage())
        GTEST_SKIP() << "code page 1252 has an OEM code page of its own";
    // Every single-byte character (a lead byte alone is no character: the system replaces it)...
    for (int b = 1; b < 256; ++b) {
        if (IsDBCSLeadByte(static_cast<BYTE>(b)))
            continue;
        EXPECT_EQ(ConvertString(CharToOemA, b), b);
        EXPECT_EQ(ConvertString(OemToCharA, b), b);
        EXPECT_EQ(ConvertBuffer(CharToOemBuffA, b), b);
        EXPECT_EQ(ConvertBuffer(OemToCharBuffA, b), b);
    }
    // ...and the double-byte characters of the code page's reference rows.
    const ReferenceTable table("codepages_dbcs.tsv");
    int checked = 0;
    for (size_t row = 0; row < table.RowCount(); ++row) {
        if (atoi(table.Get(row, "cp").c_str()) != static_cast<int>(GetACP()))
            continue;
        const int code = HexNumber(table.Get(row, "char"));
        const char text[3] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF), '\0'};
        char oem[3] = {'x', 'x', 'x'};
        char ansi[3] = {'x', 'x', 'x'};
        ASSERT_TRUE(CharToOemA(text, oem));
        ASSERT_TRUE(OemToCharA(text, ansi));
        EXPECT_EQ(std::string(oem, 3), std::string(text, 3)) << table.Get(row, "char");
        EXPECT_EQ(std::string(ansi, 3), std::string(text, 3)) << table.Get(row, "char");
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST(Oem, ConvertsWholeStringsInPlace) {
    if (!IsWesternCodePage())
        GTEST_SKIP() << "the text is in code page 1252";
    // "Ça coûte 5 €": the string stops at its terminator and may be its own output.
    std::string text = "\xC7"
                       "a co\xFB"
                       "te 5 \x80";
    ASSERT_TRUE(CharToOemA(&text[0], &text[0]));
    EXPECT_EQ(text, "\x80"
                    "a co\x96"
                    "te 5 ?");
}

TEST(Oem, BufferFormsConvertEmbeddedZeros) {
    if (!IsWesternCodePage())
        GTEST_SKIP() << "the bytes are characters of code page 1252";
    const char source[3] = {'\xE9', '\0', '\xE9'};
    char destination[3] = {};
    ASSERT_TRUE(CharToOemBuffA(source, destination, 3));
    EXPECT_EQ(destination[0], '\x82');
    EXPECT_EQ(destination[1], '\0');
    EXPECT_EQ(destination[2], '\x82');
}
