// lstrcmpA and lstrcmpiA. The expected orders are those of the system's locale-aware comparison,
// chosen where its rules are plain: case decides only when nothing else does, lower case first;
// punctuation before digits before letters; accented letters with their base letter.

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Comparison {
    const char* s1;
    const char* s2;
    int cmp;  // lstrcmpA(s1, s2)
    int cmpi; // lstrcmpiA(s1, s2)
};

const Comparison kComparisons[] = {
    // Every code page: ASCII.
    {"abc", "abc", 0, 0},    {"", "", 0, 0},
    {"a", "A", -1, 0},       {"Hello World", "hello world", 1, 0},
    {"B", "a", 1, 1},     // not byte order: letters regardless of case first
    {"ab", "Ac", -1, -1}, // a later letter outweighs an earlier case difference
    {"aB", "Ab", -1, 0},  // the first case difference decides
    {"abc", "abcd", -1, -1}, {"", "a", -1, -1},
    {"a1", "aa", -1, -1},    {"_", "1", -1, -1},
    {"a", "~", 1, 1},        {"-", "a", -1, -1},
    {"a-", "a", 1, 1},       {"a b", "ab", -1, -1},
    {" ", "!", -1, -1},      {"!", "#", -1, -1},
    {".", "_", -1, -1},      {"co-op", "cop", -1, -1}};

const Comparison k1252Comparisons[] = {
    {"\xC9", "\xE9", 1, 0},                           // E acute, e acute
    {"\xC9", "E", 1, 1},                              // an accented letter after the plain one...
    {"\xC9", "F", -1, -1},                            // ...and before the next letter
    {"\x8A", "\x9A", 1, 0}, {"\x8A", "T", -1, -1},    // S caron
    {"\xFF", "Y", 1, 1},    {"\xFF", "Z", -1, -1},    // y diaeresis
    {"\xD0", "D", 1, 1},    {"\xD0", "E", -1, -1},    // eth
    {"\xC6", "AF", -1, -1}, {"\xDF", "st", -1, -1},   // AE ligature, sharp s
    {"\xDE", "T", 1, 1},    {"\xDE", "\xFF", -1, -1}, // thorn, as "th"
    {"\xB5", "m", -1, -1},  {"z", "\x80", 1, 1},      {"\xA9", "!", 1, 1}}; // symbols

const Comparison k932Comparisons[] = {{"\x82\x60", "\x82\x81", 1, 0}, // full-width A, full-width a
                                      {"a", "\x82\x60", -1, -1},
                                      {"\x82\xA0", "\x82\xA2", -1, -1}, // hiragana a, i
                                      {"\x88\x9F", "\x82\xA0", 1, 1}};  // kanji after kana

template <size_t N>
void CheckComparisons(const Comparison (&comparisons)[N]) {
    for (const Comparison& c : comparisons) {
        SCOPED_TRACE(std::string("\"") + c.s1 + "\" vs \"" + c.s2 + "\"");
        EXPECT_EQ(lstrcmpA(c.s1, c.s2), c.cmp);
        EXPECT_EQ(lstrcmpiA(c.s1, c.s2), c.cmpi);
        EXPECT_EQ(lstrcmpA(c.s2, c.s1), -c.cmp);
        EXPECT_EQ(lstrcmpiA(c.s2, c.s1), -c.cmpi);
    }
}

} // namespace

TEST(lstrcmpA, OrdersOfEachCodePage) {
    CheckComparisons(kComparisons);
    if (GetACP() == 1252)
        CheckComparisons(k1252Comparisons);
    if (GetACP() == 932)
        CheckComparisons(k932Comparisons);
}

TEST(lstrcmpA, NullPointersSortFirst) {
    EXPECT_EQ(lstrcmpA(nullptr, nullptr), 0);
    EXPECT_EQ(lstrcmpA(nullptr, ""), -1);
    EXPECT_EQ(lstrcmpiA("a", nullptr), 1);
}
