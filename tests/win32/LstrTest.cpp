// lstrlenA, lstrcpyA, lstrcmpA and lstrcmpiA. The expected orders are those of the system's
// locale-aware comparison, chosen where its rules are plain: case decides only when nothing else
// does, lower case first; punctuation before digits before letters; accented letters with their
// base letter.

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <string.h>

namespace {

struct Comparison {
    const char* s1;
    const char* s2;
    int cmp;  // lstrcmpA(s1, s2)
    int cmpi; // lstrcmpiA(s1, s2)
};

void CheckComparisons(const Comparison* comparisons, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const Comparison& c = comparisons[i];
        SCOPED_TRACE(std::string("\"") + c.s1 + "\" vs \"" + c.s2 + "\"");
        EXPECT_EQ(lstrcmpA(c.s1, c.s2), c.cmp);
        EXPECT_EQ(lstrcmpiA(c.s1, c.s2), c.cmpi);
        EXPECT_EQ(lstrcmpA(c.s2, c.s1), -c.cmp);
        EXPECT_EQ(lstrcmpiA(c.s2, c.s1), -c.cmpi);
    }
}

} // namespace

TEST(lstrcmpA, AsciiInEveryCodePage) {
    const Comparison kComparisons[] = {
        {"abc", "abc", 0, 0},
        {"", "", 0, 0},
        {"a", "A", -1, 0},
        {"ABC", "abc", 1, 0},
        {"Hello World", "hello world", 1, 0},
        {"B", "a", 1, 1}, // not byte order: letters regardless of case first
        {"Z", "a", 1, 1},
        {"ab", "Ac", -1, -1}, // a later letter outweighs an earlier case difference
        {"aB", "Ab", -1, 0},  // the first case difference decides
        {"abc", "abcd", -1, -1},
        {"", "a", -1, -1},
        {"a1", "aa", -1, -1}, // digits before letters
        {"1", "a", -1, -1},
        {"_", "a", -1, -1}, // punctuation before letters and digits
        {"_", "1", -1, -1},
        {"a", "~", 1, 1},
        {"-", "a", -1, -1},
        {"a-", "a", 1, 1},
        {"a b", "ab", -1, -1},
        {" ", "!", -1, -1},
        {"!", "#", -1, -1},
        {"#", "$", -1, -1},
        {".", "_", -1, -1},
        {"a.b", "a_b", -1, -1},
        {"~", "!", 1, 1},
        {"co-op", "cop", -1, -1},
    };
    CheckComparisons(kComparisons, sizeof kComparisons / sizeof kComparisons[0]);
}

TEST(lstrcmpA, WesternLettersInCodePage1252) {
    if (GetACP() != 1252)
        GTEST_SKIP() << "code page 1252 only";
    const Comparison kComparisons[] = {
        {"\xC9", "\xE9", 1, 0}, // E acute, e acute
        {"\xC9", "E", 1, 1},    // an accented letter after the plain one...
        {"\xC9", "F", -1, -1},  // ...and before the next letter
        {"e", "\xE9", -1, -1},  {"\xE9", "f", -1, -1},
        {"\x8A", "\x9A", 1, 0}, // S caron, s caron
        {"\x8A", "S", 1, 1},    {"\x8A", "T", -1, -1},
        {"\xFF", "Y", 1, 1}, // y diaeresis
        {"\xFF", "Z", -1, -1},  {"Y", "\xFF", -1, -1},
        {"y", "\xDD", -1, -1},                          // Y acute
        {"\xD0", "D", 1, 1},                            // eth
        {"\xD0", "E", -1, -1},  {"\xAA", "a", 1, 1},    // feminine ordinal
        {"\xAA", "b", -1, -1},  {"\xC6", "AF", -1, -1}, // AE ligature
        {"\xDF", "st", -1, -1},                         // sharp s
        {"\xDE", "T", 1, 1},                            // thorn, as "th"
        {"\xDE", "Z", -1, -1},  {"\xDE", "\xFF", -1, -1},
        {"\xDE", "\x8A", 1, 1}, {"\xB5", "m", -1, -1}, // micro sign: a symbol
        {"z", "\x80", 1, 1},                           // euro sign: a symbol
        {"z", "\xA9", 1, 1},                           // copyright sign
        {"\xA9", "a", -1, -1},  {"\xA9", "!", 1, 1},
    };
    CheckComparisons(kComparisons, sizeof kComparisons / sizeof kComparisons[0]);
}

TEST(lstrcmpA, DoubleByteCharactersInCodePage932) {
    if (GetACP() != 932)
        GTEST_SKIP() << "code page 932 only";
    const Comparison kComparisons[] = {
        {"\x82\x60", "\x82\x81", 1, 0}, // full-width A, full-width a
        {"a", "\x82\x60", -1, -1},      {"\x82\xA0", "\x82\xA2", -1, -1}, // hiragana a, i
        {"\x82\xA0", "a", 1, 1},        {"\x88\x9F", "\x82\xA0", 1, 1},   // kanji after kana
    };
    CheckComparisons(kComparisons, sizeof kComparisons / sizeof kComparisons[0]);
}

TEST(lstrcmpA, NullPointersSortFirst) {
    EXPECT_EQ(lstrcmpA(nullptr, nullptr), 0);
    EXPECT_EQ(lstrcmpA(nullptr, ""), -1);
    EXPECT_EQ(lstrcmpA("", nullptr), 1);
    EXPECT_EQ(lstrcmpiA(nullptr, nullptr), 0);
    EXPECT_EQ(lstrcmpiA(nullptr, "a"), -1);
    EXPECT_EQ(lstrcmpiA("a", nullptr), 1);
}

TEST(lstrlenA, CountsBytes) {
    EXPECT_EQ(lstrlenA(nullptr), 0);
    EXPECT_EQ(lstrlenA(""), 0);
    EXPECT_EQ(lstrlenA("abc"), 3);
    EXPECT_EQ(lstrlenA("a\x82\xA0z"), 4);
}

TEST(lstrcpyA, CopiesUpToTheTerminator) {
    char buffer[8];
    memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(lstrcpyA(buffer, "a\x82\xA0"), buffer);
    EXPECT_EQ(memcmp(buffer, "a\x82\xA0\0####", 8), 0);
}

TEST(lstrcpyA, NullPointerGivesNull) {
    char buffer[4] = "xyz";
    EXPECT_EQ(lstrcpyA(nullptr, "a"), nullptr);
    EXPECT_EQ(lstrcpyA(buffer, nullptr), nullptr);
    EXPECT_STREQ(buffer, "xyz");
}
