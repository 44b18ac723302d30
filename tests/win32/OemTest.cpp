// CharToOemA and OemToCharA, held against oem.tsv (ANSI code page 1252, OEM code page 437). In
// the double-byte code pages the OEM code page is the ANSI one, so the bytes pass unchanged.

#include "ReferenceTable.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The one-byte string b through a string conversion: its first output byte.
int Convert(BOOL(WINAPI* convert)(LPCSTR, LPSTR), int b) {
    const char source[2] = {static_cast<char>(b), '\0'};
    char destination[2] = {'\x55', '\x55'};
    EXPECT_TRUE(convert(source, destination)) << "byte " << b;
    EXPECT_EQ(destination[1], '\0') << "byte " << b;
    return static_cast<unsigned char>(destination[0]);
}

} // namespace

TEST(Oem, EveryByteOfTheCodePage) {
    const ReferenceTable table("oem.tsv");
    ASSERT_EQ(table.RowCount(), 255u);
    for (size_t row = 0; row < table.RowCount(); ++row) {
        const int b = HexNumber(table.Get(row, "byte"));
        // In double-byte code pages every single-byte character stays; a lead byte alone is no
        // character (the system replaces it).
        if (GetACP() != 1252 && IsDBCSLeadByte(static_cast<BYTE>(b)))
            continue;
        const bool western = GetACP() == 1252;
        EXPECT_EQ(Convert(CharToOemA, b), western ? HexNumber(table.Get(row, "char_to_oem")) : b)
            << "CharToOemA of byte " << b;
        EXPECT_EQ(Convert(OemToCharA, b), western ? HexNumber(table.Get(row, "oem_to_char")) : b)
            << "OemToCharA of byte " << b;
    }
}

TEST(Oem, ConvertsWholeStringsInPlace) {
    if (GetACP() != 1252)
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
