// The character and string helpers. Tests without Cp932 in their names run in code page 1252;
// the Cp932 ones in the Japanese double-byte code page (see CMakeLists.txt).

#include <bwcore/platform.h>
#include <bwcore/runtime/Strings.h>

#include "CodePage.h"

#include <gtest/gtest.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

// The expected _xlatol value of a run of at most 19 digits: the exact value modulo 2^32,
// negated for a minus sign, as a two's-complement 32-bit number.
int32_t WrappedDecimal(const char* digits, bool negative) {
    const unsigned long long exact = strtoull(digits, nullptr, 10);
    uint32_t low = static_cast<uint32_t>(exact % 4294967296ull);
    if (negative)
        low = static_cast<uint32_t>(4294967296ull - low);
    int32_t result;
    memcpy(&result, &low, sizeof result);
    return result;
}

} // namespace

// ---- Numbers ----

TEST(XlAtol, SkipsBlanksTabsAndLineFeedsButNotCarriageReturns) {
    struct Case {
        const char* text;
        int32_t expected;
    };
    const Case cases[] = {
        {"  -42abc", -42}, {"+17", 17}, {"\t\n 42", 42}, {" \t\n-7x", -7},
        {"\r42", 0},       {"abc", 0},  {"", 0},         {"- 5", 0},
        {"--5", 0},        {"+-5", 0},  {"12 34", 12},   {"007", 7},
        {"\v42", 0},       {"\f42", 0}, {"-0", 0},       {"9\xE9", 9},
    };
    for (const Case& c : cases)
        EXPECT_EQ(_xlatol(c.text), c.expected) << "text \"" << c.text << "\"";
}

TEST(XlAtol, WrapsModulo32BitsWithoutOverflowCheck) {
    const char* const digitRuns[] = {"2147483647",  "2147483648",          "4294967295",
                                     "4294967296",  "4294967297",          "99999999999",
                                     "12345678901", "9223372036854775807", "18446744073709551615"};
    for (const char* digits : digitRuns) {
        EXPECT_EQ(_xlatol(digits), WrappedDecimal(digits, false)) << digits;
        EXPECT_EQ(_xlatol((std::string("-") + digits).c_str()), WrappedDecimal(digits, true))
            << "-" << digits;
        EXPECT_EQ(_xlatol((std::string(" +") + digits).c_str()), WrappedDecimal(digits, false))
            << "+" << digits;
    }
    EXPECT_EQ(_xlatol("2147483648"), INT32_MIN);
    EXPECT_EQ(_xlatol("-2147483648"), INT32_MIN);
    EXPECT_EQ(_xlatol("4294967295"), -1);
    EXPECT_EQ(_xlatol("4294967296"), 0);
    // 10^20 = 2^20 * 5^20 and 5^20 mod 2^12 = 1585, so 10^20 mod 2^32 = 1585 * 2^20.
    EXPECT_EQ(_xlatol("100000000000000000000"), 1585 * 1048576);
}

TEST(XlItoa, WritesPlainDecimal) {
    const int32_t values[] = {0, 7, -1, -305, 305, 10, -10, 2147483647, INT32_MIN, 1000000000};
    for (int32_t value : values) {
        char buffer[12];
        memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(_xlitoa(value, buffer), buffer);
        char expected[16];
        snprintf(expected, sizeof expected, "%d", static_cast<int>(value));
        EXPECT_STREQ(buffer, expected);
        char other[12];
        EXPECT_EQ(_xlltoa(value, other), other);
        EXPECT_STREQ(other, expected);
    }
}

TEST(XlItoa, MostNegativeValueAndZeroAndNegativeFit) {
    char buffer[12];
    memset(buffer, 'x', sizeof buffer);
    _xlitoa(INT32_MIN, buffer);
    EXPECT_EQ(std::string(buffer, 12), std::string("-2147483648\0", 12));
    _xlitoa(0, buffer);
    EXPECT_STREQ(buffer, "0");
    _xlitoa(-305, buffer);
    EXPECT_STREQ(buffer, "-305");
}

TEST(HexToDec, ReadsTheDocumentedForms) {
    struct Case {
        const char* text;
        uint32_t expected;
    };
    const Case cases[] = {
        {"0x1F", 31},
        {"1f 20", 31},
        {"1F", 31},
        {" 1F", 0},
        {"0x 5", 0},
        {"", 0},
        {"0x", 0},
        {"ffffffff", 0xFFFFFFFFu},
        {"0xFFFFFFFF", 0xFFFFFFFFu},
        {"100000000", 0}, // the ninth digit shifts the 1 out of 32 bits
        {"123456789", 0x23456789u},
        {"aBcD", 0xABCDu},
        // Only a lowercase x makes the prefix: "0X1F" is the digits 0, X, 1, F with X counting
        // as 'X' - 48.
        {"0X1F", ((0u * 16 + ('X' - 48u)) * 16 + 1) * 16 + 15},
        // Other characters count as their code minus 48, unchecked.
        {"g", 'g' - 48u},
        {"G1", ('G' - 48u) * 16 + 1},
        {"/", 0xFFFFFFFFu}, // '/' is 47: 47 - 48 wraps
        {"1\xE9", 1u * 16 + (0xE9u - 48u)},
        {"0x0x1", ((0u * 16 + ('x' - 48u)) * 16) + 1},
        {"12\t3", ((1u * 16 + 2) * 16 + ('\t' - 48u)) * 16 + 3}, // only a blank ends it
    };
    for (const Case& c : cases) {
        uint32_t value = 0xDEADBEEF;
        EXPECT_EQ(_HexToDec(c.text, &value), 1) << "text \"" << c.text << "\"";
        EXPECT_EQ(value, c.expected) << "text \"" << c.text << "\"";
    }
}

TEST(HexToDec, NullStringLeavesResultUntouched) {
    uint32_t value = 0xDEADBEEF;
    EXPECT_EQ(_HexToDec(nullptr, &value), 0);
    EXPECT_EQ(value, 0xDEADBEEFu);
}

// ---- Byte strings ----

TEST(XlStrlen, CountsBytes) {
    EXPECT_EQ(_xlstrlen(""), 0);
    EXPECT_EQ(_xlstrlen("abc"), 3);
    EXPECT_EQ(hstrlen("\x82\xA0x"), 3);
}

TEST(XlStrcpy, ReturnsTheAddressPastTheTerminator) {
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(_xlstrcpy(buffer, "abc"), buffer + 4);
    EXPECT_EQ(std::string(buffer, 5), std::string("abc\0x", 5));
    EXPECT_EQ(_xlstrcpy(buffer, ""), buffer + 1);
    EXPECT_EQ(buffer[0], '\0');
}

TEST(HstrCpy, ReturnsTheDestination) {
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(hstrcpy(buffer, "abc"), buffer);
    EXPECT_EQ(std::string(buffer, 5), std::string("abc\0x", 5));
}

TEST(XlStrcat, AppendsAndReturnsTheDestination) {
    char buffer[16] = "abc";
    EXPECT_EQ(_xlstrcat(buffer, "de"), buffer);
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_EQ(_xlstrcat(buffer, ""), buffer);
    EXPECT_STREQ(buffer, "abcde");
}

TEST(XlStrcmp, ComparesBytesAsSigned) {
    struct Case {
        const char* a;
        const char* b;
        int32_t expected;
    };
    const Case cases[] = {
        {"abc", "abc", 0},
        {"", "", 0},
        {"a", "\xE9", 0x61 - (-23)},
        {"\xE9", "a", -23 - 0x61},
        {"\x80", "a", -128 - 0x61},
        {"ab", "abc", -'c'},
        {"abc", "ab", 'c'},
        {"abd", "abc", 1},
        {"\xFF", "", -1},
        {"A", "a", 'A' - 'a'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(_xlstrcmp(c.a, c.b), c.expected) << c.a << " / " << c.b;
        EXPECT_EQ(hstrcmp(c.a, c.b), c.expected) << c.a << " / " << c.b;
    }
}

TEST(XlMemcpy, CopiesForwardByteByByte) {
    char buffer[] = "abcdef";
    _xlmemcpy(buffer + 1, buffer, 4); // overlapping: each copied byte is read again
    EXPECT_STREQ(buffer, "aaaaaf");
    char target[4] = {'x', 'x', 'x', 'x'};
    _xlmemcpy(target, "\0yz", 3);
    EXPECT_EQ(std::string(target, 4), std::string("\0yzx", 4));
    _xlmemcpy(target, "qqqq", 0);
    EXPECT_EQ(target[0], '\0');
}

TEST(XlMemcpy, TakesSixteenBitCounts) {
    std::vector<char> source(65535, 's');
    std::vector<char> target(65536, 't');
    _xlmemcpy(target.data(), source.data(), 65535);
    EXPECT_EQ(target[65534], 's');
    EXPECT_EQ(target[65535], 't');
}

TEST(LMemset, TakesTheCountBeforeTheByte) {
    unsigned char buffer[8];
    memset(buffer, 0xAA, sizeof buffer);
    EXPECT_EQ(_lmemset(buffer, 2, 7), 2);
    EXPECT_EQ(buffer[0], 7);
    EXPECT_EQ(buffer[1], 7);
    EXPECT_EQ(buffer[2], 0xAA);
    EXPECT_EQ(_lmemset(buffer, 3, 0x1F0), 3); // the byte is the low 8 bits
    EXPECT_EQ(buffer[2], 0xF0);
    EXPECT_EQ(buffer[3], 0xAA);
}

TEST(LMemset, CountBelowOneWritesNothing) {
    unsigned char buffer[4];
    memset(buffer, 0xAA, sizeof buffer);
    EXPECT_EQ(_lmemset(buffer, 0, 1), 0);
    EXPECT_EQ(_lmemset(buffer, -5, 1), 0);
    EXPECT_EQ(_lmemset(buffer, INT32_MIN, 1), 0);
    for (unsigned char b : buffer)
        EXPECT_EQ(b, 0xAA);
}

TEST(XlReverse, ReversesBytesInPlace) {
    const char* const cases[][2] = {
        {"", ""}, {"a", "a"}, {"ab", "ba"}, {"abc", "cba"}, {"abcd", "dcba"}};
    for (const auto& c : cases) {
        char buffer[8];
        strcpy(buffer, c[0]);
        _xlreverse(buffer);
        EXPECT_STREQ(buffer, c[1]);
    }
}

// ---- Search and substring ----

TEST(XlStrstr, FindsFirstOccurrenceAtCharacterBoundaries) {
    struct Case {
        const char* text;
        const char* pattern;
        int32_t expected;
    };
    const Case cases[] = {
        {"abcabc", "ca", 2}, {"abcabc", "bc", 1}, {"abcabc", "abc", 0}, {"abcabc", "c", 2},
        {"abcabc", "", -1},  {"", "", -1},        {"", "a", -1},        {"abc", "abcd", -1},
        {"abc", "x", -1},    {"aab", "ab", 1},    {"abc", "C", -1},     {"x\xE9y", "\xE9", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(_xlstrstr(c.text, c.pattern), c.expected) << c.text << " / " << c.pattern;
}

TEST(XlStrstri, IgnoresCase) {
    EXPECT_EQ(_xlstrstri("Hello", "LL"), 2);
    EXPECT_EQ(_xlstrstri("Hello", "hello"), 0);
    EXPECT_EQ(_xlstrstri("CAF\xC9", "\xE9"), 3); // E-acute in both cases (code page 1252)
    EXPECT_EQ(_xlstrstri("Hello", ""), -1);
    EXPECT_EQ(_xlstrstri("", "a"), -1);
    EXPECT_EQ(_xlstrstri("Hello", "lo!"), -1);
}

TEST(XlStrstri, LeavesTheArgumentsAlone) {
    char text[] = "HeLLo";
    char pattern[] = "ll";
    EXPECT_EQ(_xlstrstri(text, pattern), 2);
    EXPECT_STREQ(text, "HeLLo");
    EXPECT_STREQ(pattern, "ll");
}

TEST(XlStrstri, SearchesOnlyWhatFitsItsBuffers) {
    std::string text(1000, 'a');
    text.replace(100, 3, "XyZ");
    EXPECT_EQ(_xlstrstri(text.c_str(), "xyz"), 100);
    text.replace(100, 3, "aaa");
    text.replace(508, 3, "XyZ"); // ends at byte 510, the last one searched
    EXPECT_EQ(_xlstrstri(text.c_str(), "xyz"), 508);
    text.replace(508, 3, "aaa");
    text.replace(509, 3, "XyZ"); // reaches past the first 511 bytes
    EXPECT_EQ(_xlstrstri(text.c_str(), "xyz"), -1);
    EXPECT_EQ(_xlstrstr(text.c_str(), "XyZ"), 509);
    const std::string longPattern(512, 'a');
    EXPECT_EQ(_xlstrstri(std::string(600, 'a').c_str(), longPattern.c_str()), -1);
    EXPECT_EQ(_xlstrstri(std::string(600, 'a').c_str(), longPattern.substr(1).c_str()), 0);
}

TEST(XlStrchr, FindsTheCharacter) {
    const char* text = "abcabc";
    EXPECT_EQ(_xlstrchr(text, 'c'), text + 2);
    EXPECT_EQ(_xlstrchr(text, 'a'), text);
    EXPECT_EQ(_xlstrchr(text, 'x'), nullptr);
    EXPECT_EQ(_xlstrchr("", 'x'), nullptr);
}

TEST(XlStrchr, ZeroCharacterGivesNull) {
    const char* text = "abc";
    EXPECT_EQ(_xlstrchr(text, 0), nullptr);
}

TEST(XlStrsub, CopiesFromStartCharacterAndCutsAfterCount) {
    struct Case {
        uint32_t start;
        int32_t count;
        const char* expected;
    };
    const Case cases[] = {
        {2, 3, "cde"},    {2, 65535, "cdef"}, {0, 65535, "abcdef"}, {0, 6, "abcdef"},
        {2, 100, "cdef"}, {6, 3, ""},         {7, 3, ""},           {4000000000u, 65535, ""},
        {2, 0, ""},       {2, -1, ""},        {2, 65534, "cdef"},   {5, 1, "f"},
    };
    for (const Case& c : cases) {
        char destination[16];
        memset(destination, 'x', sizeof destination);
        EXPECT_EQ(_xlstrsub("abcdef", destination, c.start, c.count), 1);
        EXPECT_STREQ(destination, c.expected) << "start " << c.start << ", count " << c.count;
    }
}

TEST(XlStrsub, WorksInPlace) {
    char buffer[] = "abcdef";
    EXPECT_EQ(_xlstrsub(buffer, buffer, 1, 3), 1);
    EXPECT_STREQ(buffer, "bcd");
}

// ---- Characters and case ----

TEST(CharacterStepping, SingleByteCodePage) {
    BW_REQUIRE_ACP(1252);
    const char* text = "a\x82";
    EXPECT_EQ(_lstrnext(text), text + 1);
    EXPECT_EQ(_lstrnext(text + 2), text + 2); // never past the terminator
    EXPECT_EQ(_lstrprev(text, text + 2), text + 1);
    EXPECT_EQ(lcharIsDblByte(text + 1), 0);
    EXPECT_EQ(lcharcmp("ab", "ac"), 1);
    EXPECT_EQ(lcharcmp("a", "b"), 0);
    char destination[3] = {'x', 'x', 'x'};
    EXPECT_EQ(_assignchar(destination, "\x82\xA0"), 1);
    EXPECT_EQ(std::string(destination, 3), "\x82xx");
}

TEST(Case, UpperAndLowerInPlace) {
    BW_REQUIRE_ACP(1252);
    char text[] = "abc \xE9\xC9 Z1";
    EXPECT_EQ(_lupper(text), text);
    EXPECT_STREQ(text, "ABC \xC9\xC9 Z1");
    EXPECT_EQ(_lstrlwr(text), text);
    EXPECT_STREQ(text, "abc \xE9\xE9 z1");
    char empty[] = "";
    EXPECT_EQ(_lupper(empty), empty);
    EXPECT_EQ(_lstrlwr(empty), empty);
}

TEST(Case, PszToUpperPacksTheFirstCharacterAndRestoresTheString) {
    BW_REQUIRE_ACP(1252);
    char text[] = "abc";
    EXPECT_EQ(_lpsztoupper(text), 0x41u);
    EXPECT_EQ(std::string(text, 4), std::string("abc\0", 4));
    char accented[] = "\xE9t\xE9";
    EXPECT_EQ(_lpsztoupper(accented), 0xC9u);
    EXPECT_STREQ(accented, "\xE9t\xE9");
    char upper[] = "Q";
    EXPECT_EQ(_lpsztoupper(upper), 0x51u);
    char empty[] = "";
    EXPECT_EQ(_lpsztoupper(empty), 0u);
}

TEST(Case, PackedFormsOfToUpperAndToLower) {
    BW_REQUIRE_ACP(1252);
    struct Case {
        uint32_t argument; // first byte in bits 0-7, second in bits 16-23
        int32_t upper;     // first byte in bits 0-7, second in bits 8-15, sign-extended
        int32_t lower;
    };
    const Case cases[] = {
        {'a', 'A', 'a'},
        {'A', 'A', 'a'},
        {0xE9, 0xC9, 0xE9},
        {0xC9, 0xC9, 0xE9},
        {'1', '1', '1'},
        {'a' | ('b' << 16), 'A' | ('B' << 8), 'a' | ('b' << 8)},
        // A second byte of 0x80 or more sets bit 15, which is extended.
        {'a' | (0xE9u << 16), static_cast<int32_t>(0xFFFFC941u), static_cast<int32_t>(0xFFFFE961u)},
        // Bits 8-15 and 24-31 of the argument are not part of it.
        {0xFF006261u, 'A', 'a'},
        // A first byte of 0 comes back unchanged in the result's form.
        {0xE90000u, static_cast<int32_t>(0xFFFFE900u), static_cast<int32_t>(0xFFFFE900u)},
        {0x410000u, 0x4100, 0x4100},
        {0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(_ltoupper(c.argument), c.upper) << std::hex << c.argument;
        EXPECT_EQ(_ltolower(c.argument), c.lower) << std::hex << c.argument;
    }
}

// ---- OEM ----

TEST(Oem, AnsiToOemConvertsThroughTheSystem) {
    BW_REQUIRE_ACP(1252);
    char destination[8];
    EXPECT_EQ(_lAnsiToOem("\xE9t\xE9!", destination), 1);
    EXPECT_STREQ(destination, "\x82t\x82!");
    EXPECT_EQ(_lOemToAnsi("\x82t\x82!", destination), 1);
    EXPECT_STREQ(destination, "\xE9t\xE9!");
}

TEST(Oem, NullArgumentsGiveZeroAndWriteNothing) {
    char destination[4] = "xyz";
    EXPECT_EQ(_lAnsiToOem(nullptr, destination), 0);
    EXPECT_EQ(_lAnsiToOem("a", nullptr), 0);
    EXPECT_EQ(_lOemToAnsi(nullptr, destination), 0);
    EXPECT_EQ(_lOemToAnsi("a", nullptr), 0);
    EXPECT_STREQ(destination, "xyz");
}

// ---- Entry arrays ----

namespace {

struct EntryFunctions {
    const char* family;
    int32_t (*locate)(const uintptr_t*, uintptr_t, uint16_t);
    int32_t (*remove)(uintptr_t*, uintptr_t, uint16_t);
    int32_t (*removeAt)(uintptr_t*, uint16_t, uint16_t);
    int32_t (*insertAt)(uintptr_t*, uintptr_t, uint16_t, uint16_t);
};

const EntryFunctions kEntryFamilies[] = {
    {"FAR", _LocateFAR, _DeleteFAR, _DeleteFARbyLoc, _InsertFARbyLoc},
    {"NEAR", _LocateNEAR, _DeleteNEAR, _DeleteNEARbyLoc, _InsertNEARbyLoc},
};

// Entries that use all 64 bits, so that a narrower comparison would be caught.
uintptr_t Entry(uintptr_t n) {
    return n == 0 ? 0 : (n << 40) | n;
}

std::vector<uintptr_t> Entries(std::initializer_list<uintptr_t> numbers) {
    std::vector<uintptr_t> entries;
    for (uintptr_t n : numbers)
        entries.push_back(Entry(n));
    return entries;
}

} // namespace

TEST(EntryArray, Locate) {
    for (const EntryFunctions& f : kEntryFamilies) {
        SCOPED_TRACE(f.family);
        const std::vector<uintptr_t> a = Entries({1, 2, 3, 2});
        EXPECT_EQ(f.locate(a.data(), Entry(2), 4), 1);
        EXPECT_EQ(f.locate(a.data(), Entry(3), 4), 2);
        EXPECT_EQ(f.locate(a.data(), Entry(3), 2), -1); // beyond the count
        EXPECT_EQ(f.locate(a.data(), Entry(1), 0), -1);
        EXPECT_EQ(f.locate(a.data(), Entry(9), 4), -1);
        EXPECT_EQ(f.locate(a.data(), Entry(2) & 0xFFFFFFFFu, 4), -1);
    }
}

TEST(EntryArray, DeleteByValue) {
    for (const EntryFunctions& f : kEntryFamilies) {
        SCOPED_TRACE(f.family);
        std::vector<uintptr_t> a = Entries({1, 2, 3, 2});
        EXPECT_EQ(f.remove(a.data(), Entry(9), 4), 0);
        EXPECT_EQ(a, Entries({1, 2, 3, 2}));
        EXPECT_EQ(f.remove(a.data(), Entry(1), 0), 0);
        EXPECT_EQ(a, Entries({1, 2, 3, 2}));
        EXPECT_EQ(f.remove(a.data(), Entry(2), 4), 1);
        EXPECT_EQ(a, Entries({1, 3, 2, 2})); // the last slot keeps its old value
        EXPECT_EQ(f.remove(a.data(), Entry(2), 3), 1);
        EXPECT_EQ(a, Entries({1, 3, 2, 2}));
    }
}

TEST(EntryArray, DeleteByPosition) {
    for (const EntryFunctions& f : kEntryFamilies) {
        SCOPED_TRACE(f.family);
        std::vector<uintptr_t> a = Entries({1, 2, 3, 4});
        EXPECT_EQ(f.removeAt(a.data(), 4, 4), 0); // position == count
        EXPECT_EQ(f.removeAt(a.data(), 0, 0), 0);
        EXPECT_EQ(f.removeAt(a.data(), 65535, 4), 0);
        EXPECT_EQ(a, Entries({1, 2, 3, 4}));
        EXPECT_EQ(f.removeAt(a.data(), 3, 4), 1); // the last entry: nothing moves
        EXPECT_EQ(a, Entries({1, 2, 3, 4}));
        EXPECT_EQ(f.removeAt(a.data(), 0, 4), 1);
        EXPECT_EQ(a, Entries({2, 3, 4, 4}));
    }
}

TEST(EntryArray, InsertByPosition) {
    for (const EntryFunctions& f : kEntryFamilies) {
        SCOPED_TRACE(f.family);
        std::vector<uintptr_t> a = Entries({1, 2, 3, 0});
        EXPECT_EQ(f.insertAt(a.data(), Entry(9), 3, 3), 0); // position == count
        EXPECT_EQ(f.insertAt(a.data(), Entry(9), 0, 0), 0);
        EXPECT_EQ(a, Entries({1, 2, 3, 0}));
        EXPECT_EQ(f.insertAt(a.data(), Entry(9), 1, 3), 1);
        EXPECT_EQ(a, Entries({1, 9, 2, 3}));
        EXPECT_EQ(f.insertAt(a.data(), Entry(8), 0, 1), 1);
        EXPECT_EQ(a, Entries({8, 1, 2, 3}));
    }
}

TEST(EntryArray, LargestCount) {
    const uint16_t kCount = 32767;
    const uintptr_t kInserted = Entry(77777);
    for (const EntryFunctions& f : kEntryFamilies) {
        SCOPED_TRACE(f.family);
        // One slot more than the count: the room an insertion needs.
        std::vector<uintptr_t> a(kCount + 1);
        for (uintptr_t i = 0; i < kCount; ++i)
            a[i] = Entry(i + 1);
        a[kCount] = Entry(99999);
        EXPECT_EQ(f.locate(a.data(), Entry(kCount), kCount), kCount - 1);
        EXPECT_EQ(f.locate(a.data(), Entry(99999), kCount), -1);
        EXPECT_EQ(f.insertAt(a.data(), kInserted, kCount, kCount), 0);
        EXPECT_EQ(a[kCount], Entry(99999));
        EXPECT_EQ(f.insertAt(a.data(), kInserted, kCount - 1, kCount), 1);
        EXPECT_EQ(a[kCount - 2], Entry(kCount - 1));
        EXPECT_EQ(a[kCount - 1], kInserted);
        EXPECT_EQ(a[kCount], Entry(kCount));
        EXPECT_EQ(f.removeAt(a.data(), kCount, kCount), 0);
        EXPECT_EQ(f.removeAt(a.data(), 0, kCount), 1);
        EXPECT_EQ(a[0], Entry(2));
        EXPECT_EQ(a[kCount - 2], kInserted);
        EXPECT_EQ(a[kCount - 1], kInserted); // the last slot keeps its value
        EXPECT_EQ(a[kCount], Entry(kCount)); // beyond the count: untouched
        EXPECT_EQ(f.remove(a.data(), Entry(2), kCount), 1);
        EXPECT_EQ(a[0], Entry(3));
        EXPECT_EQ(f.locate(a.data(), kInserted, kCount), kCount - 3);
    }
}

TEST(IsWin95Dos, IsAlwaysZero) {
    EXPECT_EQ(IsWin95Dos(), 0);
}

// ---- Code page 932 ----

// Shift-JIS: 0x82A0 and 0x82A2 are hiragana a and i, 0x8341 katakana a (its trail byte is 'A'),
// 0x835C katakana so (trail byte '\\'), 0x8260 full-width A (trail byte '`'), 0x8281 full-width
// a, 0x839F and 0x83BF Greek capital and small alpha.

TEST(StringsCp932, CharacterStepping) {
    BW_REQUIRE_ACP(932);
    const char* text = "a\x82\xA0"
                       "b\x82";
    EXPECT_EQ(_lstrnext(text), text + 1);
    EXPECT_EQ(_lstrnext(text + 1), text + 3);
    EXPECT_EQ(_lstrnext(text + 4), text + 5); // a lead byte before the terminator stands alone
    EXPECT_EQ(_lstrprev(text, text + 3), text + 1);
    EXPECT_EQ(_lstrprev(text, text + 2), text + 1);
    EXPECT_EQ(lcharIsDblByte(text + 1), 1);
    EXPECT_EQ(lcharIsDblByte(text), 0);
    EXPECT_EQ(lcharIsDblByte(text + 4), 0);
}

TEST(StringsCp932, CharacterComparison) {
    BW_REQUIRE_ACP(932);
    EXPECT_EQ(lcharcmp("\x82\xA0x", "\x82\xA0y"), 1);
    EXPECT_EQ(lcharcmp("\x82\xA0", "\x82\xA2"), 0);
    EXPECT_EQ(lcharcmp("\x82", "\x82\xA0"), 0); // single-byte against double-byte
    EXPECT_EQ(lcharcmp("\x82", "\x82"), 1);
    EXPECT_EQ(lcharcmp("A", "\x83\x41"), 0);
}

TEST(StringsCp932, AssignCopiesWholeCharacters) {
    BW_REQUIRE_ACP(932);
    char destination[3] = {'x', 'x', 'x'};
    EXPECT_EQ(_assignchar(destination, "\x82\xA0z"), 1);
    EXPECT_EQ(std::string(destination, 3), "\x82\xA0x");
    EXPECT_EQ(_assignchar(destination, "\x82"), 1);
    EXPECT_EQ(std::string(destination, 3), "\x82\xA0x");
}

TEST(StringsCp932, SearchMatchesOnlyAtCharacterBoundaries) {
    BW_REQUIRE_ACP(932);
    struct Case {
        const char* text;
        const char* pattern;
        int32_t expected;
    };
    const Case cases[] = {
        {"\x83\x41", "A", -1}, // 'A' is only a trail byte here
        {"\x83\x41"
         "A",
         "A", 2},
        {"\x83\x5C", "\\", -1},
        {"\x83\x5C"
         "a\\",
         "\\", 3},
        {"\x82\x60", "`", -1},
        {"\x82\x60\x82\x60", "\x60\x82", -1}, // spans a trail and the next lead byte
        {"x\x82\xA0y", "\x82\xA0", 1},
        {"\x82\xA0\x82\xA2", "\x82\xA2y", -1},
        {"\x82\xA0\x82\xA2", "\x82\xA0\x82\xA2", 0},
        {"\x41\x82\xA0", "\x82\xA0", 1},
        // Only the first byte of each character is compared.
        {"\x82\xA0", "\x82\xA2", 0},
        {"\x83\x41"
         "b",
         "\x83\x5C"
         "b",
         0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(_xlstrstr(c.text, c.pattern), c.expected);
}

TEST(StringsCp932, CaselessSearchKeepsDoubleByteCharactersWhole) {
    BW_REQUIRE_ACP(932);
    EXPECT_EQ(_xlstrstri("\x83\x41"
                         "xYz",
                         "XY"),
              2);
    EXPECT_EQ(_xlstrstri("\x83\x41", "a"), -1); // the trail byte 'A' is neither folded nor matched
    EXPECT_EQ(_xlstrstri("\x83\x41"
                         "A",
                         "a"),
              2);
}

TEST(StringsCp932, StrchrFindsCharactersNotTrailBytes) {
    BW_REQUIRE_ACP(932);
    const char* text = "\x83\x41"
                       "A\x82\xA0";
    EXPECT_EQ(_xlstrchr(text, 'A'), text + 2);
    EXPECT_EQ(_xlstrchr(text, 0xA082), text + 3); // first byte in bits 0-7
    // Only the first byte of a double-byte character is compared: 0x835C finds 0x8341.
    EXPECT_EQ(_xlstrchr(text, 0x5C83), text);
    EXPECT_EQ(_xlstrchr("\x83\x5C", '\\'), nullptr);
}

TEST(StringsCp932, SubstringCountsCharacters) {
    BW_REQUIRE_ACP(932);
    const char* text = "\x82\xA0\x82\xA2"
                       "u\x82\xA4";
    char destination[16];
    EXPECT_EQ(_xlstrsub(text, destination, 1, 1), 1);
    EXPECT_STREQ(destination, "\x82\xA2");
    EXPECT_EQ(_xlstrsub(text, destination, 1, 2), 1);
    EXPECT_STREQ(destination, "\x82\xA2u");
    EXPECT_EQ(_xlstrsub(text, destination, 2, 65535), 1);
    EXPECT_STREQ(destination, "u\x82\xA4");
    EXPECT_EQ(_xlstrsub(text, destination, 3, 5), 1);
    EXPECT_STREQ(destination, "\x82\xA4");
}

TEST(StringsCp932, CaseMappingOfDoubleByteCharacters) {
    BW_REQUIRE_ACP(932);
    char text[] = "\x82\x81"
                  "b";
    EXPECT_EQ(_lpsztoupper(text), 0x6082u); // full-width A, first byte in bits 0-7
    EXPECT_STREQ(text, "\x82\x81"
                       "b");
    char kana[] = "\x82\xA0";
    EXPECT_EQ(_lpsztoupper(kana), 0xA082u);
    EXPECT_EQ(_ltoupper(0x82 | (0x81u << 16)), 0x6082);
    EXPECT_EQ(_ltolower(0x82 | (0x60u << 16)), 0x8182 - 0x10000);
    // Greek alpha: a second byte of 0x80 or more is extended into the upper bits.
    EXPECT_EQ(_ltoupper(0x83 | (0xBFu << 16)), static_cast<int32_t>(0xFFFF9F83u));
    EXPECT_EQ(_ltolower(0x83 | (0x9Fu << 16)), static_cast<int32_t>(0xFFFFBF83u));
    char upper[] = "\x82\x81"
                   "a\x83\xBF";
    EXPECT_EQ(_lupper(upper), upper);
    EXPECT_STREQ(upper, "\x82\x60"
                        "A\x83\x9F");
    EXPECT_EQ(_lstrlwr(upper), upper);
    EXPECT_STREQ(upper, "\x82\x81"
                        "a\x83\xBF");
}

TEST(StringsCp932, OemIsTheAnsiCodePage) {
    BW_REQUIRE_ACP(932);
    char destination[8];
    EXPECT_EQ(_lAnsiToOem("\x82\xA0\x83\x41x\xB1", destination), 1);
    EXPECT_STREQ(destination, "\x82\xA0\x83\x41x\xB1");
    EXPECT_EQ(_lOemToAnsi("\x83\x5C\xB1y", destination), 1);
    EXPECT_STREQ(destination, "\x83\x5C\xB1y");
}
