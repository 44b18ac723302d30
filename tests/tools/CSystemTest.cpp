#include <bwcore/tools/CSystem.h>

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

namespace {

struct HexCase {
    const char* pszText;
    DWORD dwExpected;
};

void CheckHex(const HexCase* pCases, size_t nCases) {
    for (size_t i = 0; i < nCases; ++i) {
        const HexCase& c = pCases[i];
        SCOPED_TRACE(std::string("\"") + c.pszText + "\"");
        EXPECT_EQ(c.dwExpected, CSystem::ConvertHexStringToDecimalValue(CStringEx(c.pszText)));
    }
}

} // namespace

static_assert(
    std::is_same<DWORD, decltype(CSystem::ConvertHexStringToDecimalValue(CStringEx("")))>::value,
    "the value is an unsigned 32-bit number");
static_assert(sizeof(DWORD) == 4 && static_cast<DWORD>(-1) > 0, "DWORD is unsigned 32-bit");

TEST(CSystem, HexDigitsOfBothCases) {
    const HexCase cases[] = {
        {"0", 0x0},
        {"7", 0x7},
        {"1A", 0x1A},
        {"1a", 0x1A},
        {"abcdef", 0xABCDEF},
        {"ABCDEF", 0xABCDEF},
        {"aBcDeF", 0xABCDEF},
        {"0123456789", 0x23456789},
        {"00000000000000ff", 0xFF},
    };
    CheckHex(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(CSystem, EightAndMoreDigitsKeepTheLow32Bits) {
    const HexCase cases[] = {
        {"12345678", 0x12345678}, {"FFFFFFFF", 0xFFFFFFFF},    {"ffffffff", 0xFFFFFFFF},
        {"80000000", 0x80000000}, {"123456789", 0x23456789},   {"1FFFFFFFF", 0xFFFFFFFF},
        {"100000000", 0x0},       {"0x123456789", 0x23456789},
    };
    CheckHex(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(CSystem, OptionalPrefixAndLeadingBlanks) {
    const HexCase cases[] = {
        {"0x1F", 0x1F}, {"0X1f", 0x1F},   {"0x", 0x0},    {"0X", 0x0},    {"0x0x1", 0x0},
        {"00x1", 0x0},  {"x1F", 0x0},     {"  1F", 0x1F}, {"\t1F", 0x1F}, {" \t 0x1F", 0x1F},
        {"1F  ", 0x1F}, {" 0x1F ", 0x1F}, {"0 x1F", 0x0},
    };
    CheckHex(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(CSystem, StopsAtTheFirstInvalidCharacter) {
    const HexCase cases[] = {
        {"", 0x0},
        {" ", 0x0},
        {"G", 0x0},
        {"1G2", 0x1},
        {"ABCDEFG1", 0xABCDEF},
        {"1 2", 0x1},
        {"-1", 0x0},
        {"+1", 0x0},
        {"1F\x95\x5C", 0x1F},
        {"\x95\x5C"
         "1F",
         0x0},
        {"12h", 0x12},
    };
    CheckHex(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(CSystem, AcceptsTextAndFrameworkStrings) {
    EXPECT_EQ(0xBEEFu, CSystem::ConvertHexStringToDecimalValue("BEEF"));
    const CString str("0xC0DE");
    EXPECT_EQ(0xC0DEu, CSystem::ConvertHexStringToDecimalValue(str));
    EXPECT_STREQ("0xC0DE", str.GetString());
}
