// The character and string helpers. Tests without Cp932 in their names run in code page 1252;
// the Cp932 ones in the Japanese double-byte code page (see CMakeLists.txt).

#include <bwcore/platform.h>
#include <bwcore/runtime/Strings.h>

#include "CodePage.h"

#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

// ---- Numbers ----

// Without an overflow check the value wraps modulo 2^32.
TEST(XlAtol, BlanksSignAndDigits) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"  -42abc", -42}, {"+17", 17}, {" \t\n-7x", -7}, {"\r42", 0},   {"\v42", 0},  {"abc", 0},
        {"", 0},           {"- 5", 0},  {"+-5", 0},       {"12 34", 12}, {"9\xE9", 9},
    };
    for (const auto& c : cases)
        EXPECT_EQ(_xlatol(c.text), c.expected) << "text \"" << c.text << "\"";
}

TEST(XlAtol, WrapsModulo32BitsWithoutOverflowCheck) {
    EXPECT_EQ(_xlatol("2147483648"), INT32_MIN);
    EXPECT_EQ(_xlatol("-2147483648"), INT32_MIN);
    EXPECT_EQ(_xlatol("4294967297"), 1);
    EXPECT_EQ(_xlatol("-4294967297"), -1);
    EXPECT_EQ(_xlatol("99999999999"), 1215752191);
    EXPECT_EQ(_xlatol("100000000000000000000"), 1661992960);
}

TEST(XlItoa, WritesPlainDecimal) {
    const struct {
        int32_t value;
        const char* text;
    } cases[] = {{0, "0"}, {7, "7"}, {-305, "-305"}, {10, "10"}, {INT32_MIN, "-2147483648"}};
    for (const auto& c : cases) {
        for (auto convert : {_xlitoa, _xlltoa}) {
            char buffer[12];
            memset(buffer, 'x', sizeof buffer);
            EXPECT_EQ(convert(c.value, buffer), buffer);
            EXPECT_STREQ(buffer, c.text);
        }
    }
}

// Only a lowercase x makes the prefix; any other character counts as its code minus 48,
// unchecked, and only a blank ends the number.
TEST(HexToDec, ReadsTheDocumentedForms) {
    const struct {
        const char* text;
        uint32_t expected;
    } cases[] = {
        {"0x1F", 31},     {"1f 20", 31},     {" 1F", 0},          {"0x 5", 0},
        {"", 0},          {"0x", 0},         {"aBcD", 0xABCD},    {"0xFFFFFFFF", 0xFFFFFFFF},
        {"100000000", 0}, {"/", 0xFFFFFFFF}, {"1\t", 0xFFFFFFE9}, {"0X1", 0x281},
        {"G1", 0x171},
    };
    for (const auto& c : cases) {
        uint32_t value = 0xDEADBEEF;
        EXPECT_EQ(_HexToDec(c.text, &value), 1) << "text \"" << c.text << "\"";
        EXPECT_EQ(value, c.expected) << "text \"" << c.text << "\"";
    }
}

// ---- Byte strings ----

TEST(ByteStrings, LengthCopyAndAppend) {
    EXPECT_EQ(_xlstrlen(""), 0);
    EXPECT_EQ(hstrlen("\x82\xA0x"), 3);
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(_xlstrcpy(buffer, "abc"), buffer + 4); // past the terminator
    EXPECT_EQ(std::string(buffer, 5), std::string("abc\0x", 5));
    EXPECT_EQ(_xlstrcpy(buffer, ""), buffer + 1);
    EXPECT_EQ(hstrcpy(buffer, "ab"), buffer);
    EXPECT_EQ(_xlstrcat(buffer, "cde"), buffer);
    EXPECT_STREQ(buffer, "abcde");
}

TEST(ByteStrings, CompareBytesAsSigned) {
    const struct {
        const char* a;
        const char* b;
        int32_t expected;
    } cases[] = {
        {"abc", "abc", 0},          {"", "", 0},           {"a", "\xE9", 0x61 - (-23)},
        {"\x80", "a", -128 - 0x61}, {"ab", "abc", -'c'},   {"abd", "abc", 1},
        {"\xFF", "", -1},           {"A", "a", 'A' - 'a'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(_xlstrcmp(c.a, c.b), c.expected) << c.a << " / " << c.b;
        EXPECT_EQ(hstrcmp(c.a, c.b), c.expected) << c.a << " / " << c.b;
    }
}

TEST(ByteStrings, MemcpyCopiesForwardWithSixteenBitCounts) {
    char buffer[] = "abcdef";
    _xlmemcpy(buffer + 1, buffer, 4); // overlapping: each copied byte is read again
    EXPECT_STREQ(buffer, "aaaaaf");
    _xlmemcpy(buffer, "qqqq", 0);
    EXPECT_EQ(buffer[0], 'a');
    std::vector<char> source(65535, 's');
    std::vector<char> target(65536, 't');
    _xlmemcpy(target.data(), source.data(), 65535);
    EXPECT_EQ(target[65534], 's');
    EXPECT_EQ(target[65535], 't');
}

TEST(ByteStrings, MemsetTakesTheCountBeforeTheByte) {
    const struct {
        int32_t count;
        int32_t value;
        int32_t result;
        const char* after; // of "........"
    } cases[] = {
        {1, 'a', 1, "a......."}, {3, 'b', 3, "bbb....."},  {8, 0x163, 8, "cccccccc"},
        {0, 'd', 0, "........"}, {-5, 'd', 0, "........"}, {INT32_MIN, 'd', 0, "........"},
    };
    for (const auto& c : cases) {
        char buffer[9] = "........";
        EXPECT_EQ(_lmemset(buffer, c.count, c.value), c.result) << c.count;
        EXPECT_STREQ(buffer, c.after) << c.count;
    }
}

TEST(ByteStrings, ReverseInPlace) {
    const char* const cases[][2] = {{"", ""}, {"a", "a"}, {"ab", "ba"}, {"abc", "cba"}};
    for (const auto& c : cases) {
        char buffer[8];
        strcpy(buffer, c[0]);
        _xlreverse(buffer);
        EXPECT_STREQ(buffer, c[1]);
    }
}

// ---- Search and substring ----

TEST(Search, FindsTheFirstOccurrence) {
    const struct {
        const char* text;
        const char* pattern;
        int32_t plain;
        int32_t caseless;
    } cases[] = {
        {"abcabc", "ca", 2, 2},   {"abcabc", "bc", 1, 1}, {"abcabc", "", -1, -1},
        {"", "", -1, -1},         {"", "a", -1, -1},      {"abc", "abcd", -1, -1},
        {"aab", "ab", 1, 1},      {"Hello", "LL", -1, 2}, {"CAF\xC9", "\xE9", -1, 3},
        {"x\xE9y", "\xE9", 1, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(_xlstrstr(c.text, c.pattern), c.plain) << c.text << " / " << c.pattern;
        EXPECT_EQ(_xlstrstri(c.text, c.pattern), c.caseless) << c.text << " / " << c.pattern;
    }
    char text[] = "HeLLo";
    char pattern[] = "ll";
    EXPECT_EQ(_xlstrstri(text, pattern), 2);
    EXPECT_STREQ(text, "HeLLo"); // the copies are lower-cased, not the arguments
    EXPECT_STREQ(pattern, "ll");
}

TEST(Search, CaselessSearchesOnlyWhatFitsItsBuffers) {
    std::string text(1000, 'a');
    text.replace(508, 3, "XyZ"); // ends at byte 510, the last one searched
    EXPECT_EQ(_xlstrstri(text.c_str(), "xyz"), 508);
    text.replace(508, 4, "aXyZ"); // reaches past the first 511 bytes
    EXPECT_EQ(_xlstrstri(text.c_str(), "xyz"), -1);
    EXPECT_EQ(_xlstrstr(text.c_str(), "XyZ"), 509);
    const std::string as(600, 'a');
    EXPECT_EQ(_xlstrstri(as.c_str(), as.c_str() + 600 - 512), -1); // a pattern of 512 bytes
    EXPECT_EQ(_xlstrstri(as.c_str(), as.c_str() + 600 - 511), 0);
}

TEST(Search, StrchrFindsTheCharacterAndNeverTheTerminator) {
    const char* text = "abcabc";
    EXPECT_EQ(_xlstrchr(text, 'c'), text + 2);
    EXPECT_EQ(_xlstrchr(text, 'a'), text);
    EXPECT_EQ(_xlstrchr(text, 'x'), nullptr);
    EXPECT_EQ(_xlstrchr(text, 0), nullptr);
}

TEST(Substring, CopiesFromStartCharacterAndCutsAfterCount) {
    const struct {
        uint32_t start;
        int32_t count;
        const char* expected;
    } cases[] = {
        {2, 3, "cde"},
        {2, 65535, "cdef"},
        {0, 6, "abcdef"},
        {2, 100, "cdef"},
        {6, 3, ""},
        {7, 3, ""},
        {2, 0, ""},
        {2, -1, ""},
        {2, 65534, "cdef"},
        {5, 1, "f"},
        {4000000000u, 65535, ""},
    };
    for (const auto& c : cases) {
        char destination[16];
        memset(destination, 'x', sizeof destination);
        EXPECT_EQ(_xlstrsub("abcdef", destination, c.start, c.count), 1);
        EXPECT_STREQ(destination, c.expected) << "start " << c.start << ", count " << c.count;
    }
    char buffer[] = "abcdef";
    EXPECT_EQ(_xlstrsub(buffer, buffer, 1, 3), 1);
    EXPECT_STREQ(buffer, "bcd");
}

// ---- Characters, case and OEM in code page 1252 ----

TEST(Characters, SteppingAndCaseInASingleByteCodePage) {
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

    char mixed[] = "abc \xE9\xC9 Z1";
    EXPECT_EQ(_lupper(mixed), mixed);
    EXPECT_STREQ(mixed, "ABC \xC9\xC9 Z1");
    EXPECT_EQ(_lstrlwr(mixed), mixed);
    EXPECT_STREQ(mixed, "abc \xE9\xE9 z1");
    char accented[] = "\xE9t\xE9";
    EXPECT_EQ(_lpsztoupper(accented), 0xC9u);
    EXPECT_EQ(std::string(accented, 4), std::string("\xE9t\xE9\0", 4)); // restored
    char empty[] = "";
    EXPECT_EQ(_lpsztoupper(empty), 0u);

    char oem[8];
    EXPECT_EQ(_lAnsiToOem("\xE9t\xE9!", oem), 1);
    EXPECT_STREQ(oem, "\x82t\x82!");
    EXPECT_EQ(_lOemToAnsi("\x82t\x82!", oem), 1);
    EXPECT_STREQ(oem, "\xE9t\xE9!");
}

// The argument has the first byte in bits 0-7 and the second in bits 16-23, the result the first
// in bits 0-7 and the second in bits 8-15, sign-extended; a first byte of 0 comes back unchanged.
TEST(Characters, PackedFormsOfToUpperAndToLower) {
    BW_REQUIRE_ACP(1252);
    const struct {
        uint32_t argument;
        uint32_t upper;
        uint32_t lower;
    } cases[] = {
        {0x61, 0x41, 0x61},         {0xC9, 0xC9, 0xE9},
        {0x620061, 0x4241, 0x6261}, {0xE90061, 0xFFFFC941, 0xFFFFE961},
        {0xFF006261, 0x41, 0x61},   {0xE90000, 0xFFFFE900, 0xFFFFE900},
        {0x610000, 0x6100, 0x6100},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<uint32_t>(_ltoupper(c.argument)), c.upper) << std::hex << c.argument;
        EXPECT_EQ(static_cast<uint32_t>(_ltolower(c.argument)), c.lower) << std::hex << c.argument;
    }
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
    return (n << 40) | n;
}

std::vector<uintptr_t> Entries(std::initializer_list<uintptr_t> numbers) {
    std::vector<uintptr_t> entries;
    for (uintptr_t n : numbers)
        entries.push_back(Entry(n));
    return entries;
}

} // namespace

TEST(EntryArray, LocateDeleteAndInsert) {
    // Each change on {1, 2, 3, 4, 5} with a count of 4: 5 is beyond it.
    const struct {
        char change; // 'd' delete the value, 'p' delete at the position, 'i' insert 8 there
        uint16_t valueOrPosition;
        uint16_t count;
        int32_t result;
        std::vector<uintptr_t> after;
    } cases[] = {
        {'d', 7, 4, 0, Entries({1, 2, 3, 4, 5})}, {'d', 1, 0, 0, Entries({1, 2, 3, 4, 5})},
        {'d', 2, 4, 1, Entries({1, 3, 4, 4, 5})}, // the last slot keeps its value
        {'p', 4, 4, 0, Entries({1, 2, 3, 4, 5})}, {'p', 65535, 4, 0, Entries({1, 2, 3, 4, 5})},
        {'p', 0, 4, 1, Entries({2, 3, 4, 4, 5})}, {'i', 4, 4, 0, Entries({1, 2, 3, 4, 5})},
        {'i', 1, 4, 1, Entries({1, 8, 2, 3, 4})}, // the slot at the count takes the last entry
    };
    for (const EntryFunctions& f : kEntryFamilies) {
        SCOPED_TRACE(f.family);
        const std::vector<uintptr_t> twice = Entries({1, 2, 3, 2});
        EXPECT_EQ(f.locate(twice.data(), Entry(2), 4), 1);
        EXPECT_EQ(f.locate(twice.data(), Entry(3), 2), -1); // beyond the count
        EXPECT_EQ(f.locate(twice.data(), Entry(1), 0), -1);
        EXPECT_EQ(f.locate(twice.data(), Entry(2) & 0xFFFFFFFFu, 4), -1);
        for (const auto& c : cases) {
            std::vector<uintptr_t> a = Entries({1, 2, 3, 4, 5});
            const uint16_t n = c.valueOrPosition;
            const int32_t result = c.change == 'd'   ? f.remove(a.data(), Entry(n), c.count)
                                   : c.change == 'p' ? f.removeAt(a.data(), n, c.count)
                                                     : f.insertAt(a.data(), Entry(8), n, c.count);
            EXPECT_EQ(result, c.result) << c.change << n;
            EXPECT_EQ(a, c.after) << c.change << n;
        }
    }
}

// ---- Null arguments ----

namespace {

// The writable arguments the calls below are given besides a null one; none may change.
char g_text[] = "text";
uint32_t g_number = 7;

template <typename T>
intptr_t Result(T* pointer) {
    return reinterpret_cast<intptr_t>(pointer);
}
intptr_t Result(int32_t value) {
    return value;
}
intptr_t Result(uint32_t value) {
    return value;
}

} // namespace

TEST(NullArguments, GiveTheFailureValueAndChangeNothing) {
    // clang-format off
#define CALL(call, expected) {#call, [] { return Result(call); }, expected}
    const struct {
        const char* call;
        intptr_t (*run)();
        intptr_t expected;
    } cases[] = {
        CALL(_lstrnext(nullptr), 0),                   CALL(lcharIsDblByte(nullptr), 0),
        CALL(_lstrprev(nullptr, g_text), 0),           CALL(_lstrprev(g_text, nullptr), 0),
        CALL(lcharcmp(nullptr, g_text), 0),            CALL(lcharcmp(g_text, nullptr), 0),
        CALL(_assignchar(nullptr, g_text), 0),         CALL(_assignchar(g_text, nullptr), 0),
        CALL(_lupper(nullptr), 0),                     CALL(_lstrlwr(nullptr), 0),
        CALL(_lpsztoupper(nullptr), 0),                CALL(_xlatol(nullptr), 0),
        CALL(_lAnsiToOem(nullptr, g_text), 0),         CALL(_lOemToAnsi(g_text, nullptr), 0),
        CALL(_xlitoa(5, nullptr), 0),                  CALL(_xlltoa(5, nullptr), 0),
        CALL(_HexToDec(nullptr, &g_number), 0),        CALL(_HexToDec("1F", nullptr), 0),
        CALL(_xlstrlen(nullptr), -1),                  CALL(hstrlen(nullptr), -1),
        CALL(_xlstrcpy(g_text, nullptr), 0),           CALL(_xlstrcpy(nullptr, "a"), 0),
        CALL(hstrcpy(g_text, nullptr), 0),             CALL(hstrcpy(nullptr, "a"), 0),
        CALL(_xlstrcat(g_text, nullptr), 0),           CALL(_xlstrcat(nullptr, "a"), 0),
        CALL(_xlstrcmp(nullptr, ""), INT32_MIN),       CALL(_xlstrcmp("", nullptr), INT32_MIN),
        CALL(hstrcmp(nullptr, nullptr), INT32_MIN),    CALL(_lmemset(nullptr, 4, 'x'), 0),
        CALL((_xlmemcpy(g_text, nullptr, 4), 0), 0),   CALL((_xlmemcpy(nullptr, g_text, 4), 0), 0),
        CALL((_xlreverse(nullptr), 0), 0),             CALL(_xlstrchr(nullptr, 't'), 0),
        CALL(_xlstrstr(nullptr, "t"), -1),             CALL(_xlstrstr(g_text, nullptr), -1),
        CALL(_xlstrstri(nullptr, "t"), -1),            CALL(_xlstrstri(g_text, nullptr), -1),
        CALL(_xlstrsub(nullptr, g_text, 0, 2), 0),     CALL(_xlstrsub(g_text, nullptr, 0, 2), 0),
        CALL(_LocateFAR(nullptr, 1, 2), -1),           CALL(_LocateNEAR(nullptr, 1, 2), -1),
        CALL(_DeleteFAR(nullptr, 1, 2), 0),            CALL(_DeleteNEAR(nullptr, 1, 2), 0),
        CALL(_DeleteFARbyLoc(nullptr, 0, 2), 0),       CALL(_DeleteNEARbyLoc(nullptr, 0, 2), 0),
        CALL(_InsertFARbyLoc(nullptr, 1, 0, 2), 0),    CALL(_InsertNEARbyLoc(nullptr, 1, 0, 2), 0),
        // clang-format on
    };
#undef CALL
    for (const auto& c : cases)
        EXPECT_EQ(c.run(), c.expected) << c.call;
    EXPECT_STREQ(g_text, "text");
    EXPECT_EQ(g_number, 7u);
}

TEST(IsWin95Dos, IsAlwaysZero) {
    EXPECT_EQ(IsWin95Dos(), 0);
}

// ---- Code page 932 ----

// Shift-JIS: 0x82A0 and 0x82A2 are hiragana a and i, 0x8341 katakana a (its trail byte is 'A'),
// 0x835C katakana so (trail byte '\\'), 0x8260 full-width A (trail byte '`'), 0x8281 full-width
// a, 0x839F and 0x83BF Greek capital and small alpha.

TEST(StringsCp932, CharacterSteppingComparisonAndCopy) {
    BW_REQUIRE_ACP(932);
    const char* text = "a\x82\xA0z\x82";
    EXPECT_EQ(_lstrnext(text + 1), text + 3);
    EXPECT_EQ(_lstrnext(text + 4), text + 5); // a lead byte before the terminator stands alone
    EXPECT_EQ(_lstrprev(text, text + 3), text + 1);
    EXPECT_EQ(_lstrprev(text, text + 2), text + 1);
    EXPECT_EQ(lcharIsDblByte(text + 1), 1);
    EXPECT_EQ(lcharIsDblByte(text + 4), 0);
    EXPECT_EQ(lcharcmp("\x82\xA0x", "\x82\xA0y"), 1);
    EXPECT_EQ(lcharcmp("\x82\xA0", "\x82\xA2"), 0);
    EXPECT_EQ(lcharcmp("\x82", "\x82\xA0"), 0); // single-byte against double-byte
    EXPECT_EQ(lcharcmp("A", "\x83\x41"), 0);
    char destination[3] = {'x', 'x', 'x'};
    EXPECT_EQ(_assignchar(destination, "\x82\xA0z"), 1);
    EXPECT_EQ(std::string(destination, 3), "\x82\xA0x");
    EXPECT_EQ(_assignchar(destination, "\x83"), 1);
    EXPECT_EQ(std::string(destination, 3), "\x83\xA0x");
}

// 0x41 ('A'), 0x5C ('\\') and 0x60 ('`') are trail bytes here; only the first byte of each
// character is compared.
TEST(StringsCp932, SearchMatchesOnlyAtCharacterBoundaries) {
    BW_REQUIRE_ACP(932);
    const struct {
        const char* text;
        const char* pattern;
        int32_t expected;
    } cases[] = {
        {"\x83\x41", "A", -1},         {"\x83\x41\x41", "A", 2},
        {"\x83\x5Cz\\", "\\", 3},      {"\x82\x60\x82\x60", "`\x82", -1},
        {"x\x82\xA0y", "\x82\xA0", 1}, {"\x82\xA0\x82\xA2", "\x82\xA2y", -1},
        {"\x82\xA0", "\x82\xA2", 0},   {"\x83\x41z", "\x83\x5Cz", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(_xlstrstr(c.text, c.pattern), c.expected) << c.text << " / " << c.pattern;
    EXPECT_EQ(_xlstrstri("\x83\x41xYz", "XY"), 2);
    EXPECT_EQ(_xlstrstri("\x83\x41", "a"), -1); // the trail byte is neither folded nor matched
    const char* text = "\x83\x41\x41\x82\xA0";
    EXPECT_EQ(_xlstrchr(text, 'A'), text + 2);
    EXPECT_EQ(_xlstrchr(text, 0xA082), text + 3); // first byte in bits 0-7
    EXPECT_EQ(_xlstrchr(text, 0x5C83), text);     // 0x835C finds 0x8341
}

TEST(StringsCp932, SubstringCountsCharacters) {
    BW_REQUIRE_ACP(932);
    const struct {
        uint32_t start;
        int32_t count;
        const char* expected;
    } cases[] = {
        {1, 1, "\x82\xA2"}, {1, 2, "\x82\xA2u"}, {2, 65535, "u\x82\xA4"}, {3, 5, "\x82\xA4"}};
    for (const auto& c : cases) {
        char destination[16];
        EXPECT_EQ(_xlstrsub("\x82\xA0\x82\xA2u\x82\xA4", destination, c.start, c.count), 1);
        EXPECT_STREQ(destination, c.expected) << c.start << ", " << c.count;
    }
}

TEST(StringsCp932, CaseMappingOfDoubleByteCharacters) {
    BW_REQUIRE_ACP(932);
    char text[] = "\x82\x81z";
    EXPECT_EQ(_lpsztoupper(text), 0x6082u); // full-width A, first byte in bits 0-7
    EXPECT_STREQ(text, "\x82\x81z");
    EXPECT_EQ(_ltoupper(0x82 | (0x81u << 16)), 0x6082);
    EXPECT_EQ(_ltolower(0x82 | (0x60u << 16)), 0x8182 - 0x10000);
    // Greek alpha: a second byte of 0x80 or more is extended into the upper bits.
    EXPECT_EQ(_ltoupper(0x83 | (0xBFu << 16)), static_cast<int32_t>(0xFFFF9F83u));
    char upper[] = "\x82\x81z\x83\xBF";
    EXPECT_EQ(_lupper(upper), upper);
    EXPECT_STREQ(upper, "\x82\x60Z\x83\x9F");
    EXPECT_EQ(_lstrlwr(upper), upper);
    EXPECT_STREQ(upper, "\x82\x81z\x83\xBF");
}

TEST(StringsCp932, OemIsTheAnsiCodePage) {
    BW_REQUIRE_ACP(932);
    char destination[8];
    EXPECT_EQ(_lAnsiToOem("\x82\xA0\x83\x41x\xB1", destination), 1);
    EXPECT_STREQ(destination, "\x82\xA0\x83\x41x\xB1");
    EXPECT_EQ(_lOemToAnsi("\x83\x5C\xB1y", destination), 1);
    EXPECT_STREQ(destination, "\x83\x5C\xB1y");
}
