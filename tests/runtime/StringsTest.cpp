// The character and string helpers. Tests without Cp932 in their names run in code page 1252;
// the Cp932 ones in the Japanese double-byte code page (see CMakeLists.txt).

#include <bwcore/platform.h>
#include <bwcore/runtime/Strings.h>

#include "CodePage.h"

#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <string>
#include <type_traits>

namespace {

// One call and the result it must give, for tables of calls: pointers and integers alike as
// intptr_t, and `(call, 0)` for a call without a result.
struct Call {
    const char* call;
    intptr_t (*run)();
    intptr_t expected;
};

template <typename T>
intptr_t Result(T value) {
    if constexpr (std::is_pointer_v<T>)
        return reinterpret_cast<intptr_t>(value);
    else
        return value;
}

// clang-format off
#define CALL(call, expected) {#call, [] { return Result(call); }, expected}
// clang-format on

// The 16-bit packed form, sign-extended as the case functions give it.
intptr_t Signed16(uint32_t packed) {
    return static_cast<int16_t>(packed);
}

// The value _HexToDec stores, or -1 when it does not give 1.
intptr_t HexValue(const char* text) {
    uint32_t value = 0xDEADBEEF;
    return _HexToDec(text, &value) == 1 ? intptr_t{value} : -1;
}

} // namespace

TEST(PureCalls, GiveTheDocumentedResults) {
    BW_REQUIRE_ACP(1252);
    // clang-format off
    const Call cases[] = {
        CALL(_xlatol("  -42abc"), -42),              CALL(_xlatol("+17"), 17),
        CALL(_xlatol(" \t\n-7x"), -7),               CALL(_xlatol("\r42"), 0),
        CALL(_xlatol("\v42"), 0),                    CALL(_xlatol("abc"), 0),
        CALL(_xlatol("- 5"), 0),                     CALL(_xlatol("+-5"), 0),
        CALL(_xlatol("12 34"), 12),                  CALL(_xlatol("9\xE9"), 9),
        // Without an overflow check _xlatol wraps modulo 2^32.
        CALL(_xlatol("-2147483648"), INT32_MIN),     CALL(_xlatol("-4294967297"), -1),
        CALL(_xlatol("100000000000000000000"), 1661992960),
        // Bytes compare as signed 8-bit values.
        CALL(_xlstrcmp("abc", "abc"), 0),            CALL(hstrcmp("", ""), 0),
        CALL(_xlstrcmp("a", "\xE9"), 0x61 + 23),     CALL(hstrcmp("\x80", "a"), -128 - 0x61),
        CALL(_xlstrcmp("ab", "abc"), -'c'),          CALL(hstrcmp("abd", "abc"), 1),
        CALL(_xlstrcmp("\xFF", ""), -1),             CALL(hstrcmp("A", "a"), 'A' - 'a'),
        // Matches begin at characters; an empty text or pattern is never found.
        CALL(_xlstrstr("abcabc", "ca"), 2),          CALL(_xlstrstri("abcabc", "ca"), 2),
        CALL(_xlstrstr("abcabc", "bc"), 1),          CALL(_xlstrstr("aab", "ab"), 1),
        CALL(_xlstrstr("abcabc", ""), -1),           CALL(_xlstrstri("abcabc", ""), -1),
        CALL(_xlstrstr("", ""), -1),                 CALL(_xlstrstri("", "a"), -1),
        CALL(_xlstrstr("abc", "abcd"), -1),          CALL(_xlstrstri("abc", "abcd"), -1),
        CALL(_xlstrstr("Hello", "LL"), -1),          CALL(_xlstrstri("Hello", "LL"), 2),
        CALL(_xlstrstr("CAF\xC9", "\xE9"), -1),      CALL(_xlstrstri("CAF\xC9", "\xE9"), 3),
        CALL(_xlstrstr("x\xE9y", "\xE9"), 1),        CALL(_xlstrstri("x\xE9y", "\xE9"), 1),
        // Only a lowercase x makes the prefix; any other character counts as its code minus 48,
        // unchecked, and only a blank ends the number.
        CALL(HexValue("0x1F"), 31),                  CALL(HexValue("1f 20"), 31),
        CALL(HexValue(" 1F"), 0),                    CALL(HexValue("0x 5"), 0),
        CALL(HexValue(""), 0),                       CALL(HexValue("0x"), 0),
        CALL(HexValue("aBcD"), 0xABCD),              CALL(HexValue("0xFFFFFFFF"), 0xFFFFFFFF),
        CALL(HexValue("100000000"), 0),              CALL(HexValue("/"), 0xFFFFFFFF),
        CALL(HexValue("1\t"), 0xFFFFFFE9),           CALL(HexValue("0X1"), 0x281),
        CALL(HexValue("G1"), 0x171),
        // _ltoupper and _ltolower take the first byte in bits 0-7 and the second in bits 16-23, and
        // give the 16-bit form; a first byte of 0 comes back unchanged.
        CALL(_ltoupper(0x61), 0x41),                 CALL(_ltolower(0x61), 0x61),
        CALL(_ltoupper(0xC9), 0xC9),                 CALL(_ltolower(0xC9), 0xE9),
        CALL(_ltoupper(0x620061), 0x4241),           CALL(_ltolower(0x620061), 0x6261),
        CALL(_ltoupper(0xE90061), Signed16(0xC941)), CALL(_ltolower(0xE90061), Signed16(0xE961)),
        CALL(_ltoupper(0xFF006261), 0x41),           CALL(_ltolower(0xFF006261), 0x61),
        CALL(_ltoupper(0xE90000), Signed16(0xE900)), CALL(_ltolower(0xE90000), Signed16(0xE900)),
        CALL(_ltoupper(0x610000), 0x6100),           CALL(_ltolower(0x800000), Signed16(0x8000)),
        CALL(IsWin95Dos(), 0),
    };
    // clang-format on
    for (const Call& c : cases)
        EXPECT_EQ(c.run(), c.expected) << c.call;
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

// ---- Byte strings ----

TEST(ByteStrings, LengthCopyAppendAndMemcpy) {
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
    _xlmemcpy(buffer + 1, buffer, 4); // overlapping: each copied byte is read again
    EXPECT_STREQ(buffer, "aaaaa");
    _xlmemcpy(buffer, "qqqq", 0);
    _xlmemcpy(buffer + 3, "xyz", 2);
    EXPECT_STREQ(buffer, "aaaxy");
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

// ---- Search and substring ----

TEST(Search, LeavesItsArgumentsAloneAndSeesOnlyWhatFitsItsBuffers) {
    char text[] = "HeLLo";
    char pattern[] = "ll";
    EXPECT_EQ(_xlstrstri(text, pattern), 2);
    EXPECT_STREQ(text, "HeLLo"); // the copies are lower-cased, not the arguments
    EXPECT_STREQ(pattern, "ll");
    EXPECT_EQ(_xlstrchr(text, 'L'), text + 2);
    EXPECT_EQ(_xlstrchr(text, 'x'), nullptr);
    EXPECT_EQ(_xlstrchr(text, 0), nullptr); // never the terminator
    // The caseless search sees the first 511 bytes of the text and patterns below 512 bytes.
    std::string longText(1000, 'a');
    longText.replace(508, 3, "XyZ"); // ends at byte 510, the last one searched
    EXPECT_EQ(_xlstrstri(longText.c_str(), "xyz"), 508);
    longText.replace(508, 4, "aXyZ");
    EXPECT_EQ(_xlstrstri(longText.c_str(), "xyz"), -1);
    EXPECT_EQ(_xlstrstr(longText.c_str(), "XyZ"), 509);
    const std::string as(600, 'a');
    EXPECT_EQ(_xlstrstri(as.c_str(), as.c_str() + 600 - 512), -1); // a pattern of 512 bytes
    EXPECT_EQ(_xlstrstri(as.c_str(), as.c_str() + 600 - 511), 0);
}

TEST(Substring, CopiesFromStartCharacterAndCutsAfterCount) {
    const struct {
        uint32_t start;
        int32_t count;
        const char* expected;
    } cases[] = {
        {2, 3, "cde"}, {2, 65535, "cdef"}, {0, 6, "abcdef"}, {2, 100, "cdef"},   {6, 3, ""},
        {7, 3, ""},    {2, 0, ""},         {2, -1, ""},      {2, 65534, "cdef"}, {5, 1, "f"},
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
    EXPECT_EQ(_xlstrsub(buffer, buffer, 4000000000u, 65535), 1);
    EXPECT_STREQ(buffer, "");
}

// ---- Characters, case and OEM in code page 1252 ----

TEST(Characters, CaseAndOemInASingleByteCodePage) {
    BW_REQUIRE_ACP(1252);
    char mixed[] = "abc \xE9\xC9 Z1";
    EXPECT_EQ(_lupper(mixed), mixed);
    EXPECT_STREQ(mixed, "ABC \xC9\xC9 Z1");
    EXPECT_EQ(_lstrlwr(mixed), mixed);
    EXPECT_STREQ(mixed, "abc \xE9\xE9 z1");
    EXPECT_EQ(_lpsztoupper(mixed + 4), 0xC9u);
    EXPECT_EQ(std::string(mixed + 4, 2), "\xE9\xE9"); // restored
    char empty[] = "";
    EXPECT_EQ(_lpsztoupper(empty), 0u);
    EXPECT_EQ(_lAnsiToOem("\xE9t\xE9!", mixed), 1);
    EXPECT_STREQ(mixed, "\x82t\x82!");
    EXPECT_EQ(_lOemToAnsi("\x82t\x82!", mixed), 1);
    EXPECT_STREQ(mixed, "\xE9t\xE9!");
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

} // namespace

TEST(EntryArray, LocateDeleteAndInsert) {
    // Each change on {1, 2, 3, 4, 5} with a count of 4: 5 is beyond it. Deleting leaves the last
    // slot as it was; inserting moves the last entry into the slot at the count.
    const struct {
        char change; // 'd' delete the value, 'p' delete at the position, 'i' insert 8 there
        uint16_t valueOrPosition;
        uint16_t count;
        int32_t result;
        uintptr_t after[5];
    } cases[] = {
        {'d', 7, 4, 0, {1, 2, 3, 4, 5}},     {'d', 1, 0, 0, {1, 2, 3, 4, 5}},
        {'d', 2, 4, 1, {1, 3, 4, 4, 5}},     {'p', 4, 4, 0, {1, 2, 3, 4, 5}},
        {'p', 65535, 4, 0, {1, 2, 3, 4, 5}}, {'p', 0, 4, 1, {2, 3, 4, 4, 5}},
        {'i', 4, 4, 0, {1, 2, 3, 4, 5}},     {'i', 1, 4, 1, {1, 8, 2, 3, 4}},
    };
    for (const EntryFunctions& f : kEntryFamilies) {
        SCOPED_TRACE(f.family);
        const uintptr_t twice[] = {Entry(1), Entry(2), Entry(3), Entry(2)};
        EXPECT_EQ(f.locate(twice, Entry(2), 4), 1);
        EXPECT_EQ(f.locate(twice, Entry(3), 2), -1); // beyond the count
        EXPECT_EQ(f.locate(twice, Entry(1), 0), -1);
        EXPECT_EQ(f.locate(twice, Entry(2) & 0xFFFFFFFFu, 4), -1);
        for (const auto& c : cases) {
            uintptr_t a[5] = {Entry(1), Entry(2), Entry(3), Entry(4), Entry(5)};
            const uint16_t n = c.valueOrPosition;
            const int32_t result = c.change == 'd'   ? f.remove(a, Entry(n), c.count)
                                   : c.change == 'p' ? f.removeAt(a, n, c.count)
                                                     : f.insertAt(a, Entry(8), n, c.count);
            EXPECT_EQ(result, c.result) << c.change << n;
            for (int i = 0; i < 5; ++i)
                EXPECT_EQ(a[i], Entry(c.after[i])) << c.change << n << " slot " << i;
        }
    }
}

// ---- Null arguments ----

namespace {

// The writable arguments the calls below are given besides a null one; none may change.
char g_text[] = "text";
uint32_t g_number = 7;

} // namespace

TEST(NullArguments, GiveTheFailureValueAndChangeNothing) {
    // clang-format off
    const Call cases[] = {
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
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(c.run(), c.expected) << c.call;
    EXPECT_STREQ(g_text, "text");
    EXPECT_EQ(g_number, 7u);
}

// ---- Code page 932 ----

// Shift-JIS: 0x82A0 and 0x82A2 are hiragana a and i, 0x8341 katakana a (its trail byte is 'A'),
// 0x835C katakana so (trail byte '\\'), 0x8260 full-width A (trail byte '`'), 0x8281 full-width
// a, 0x839F and 0x83BF Greek capital and small alpha.

namespace {

const char kMixed[] = "a\x82\xA0z\x82";        // a lead byte before the terminator stands alone
const char kTrailA[] = "\x83\x41\x41\x82\xA0"; // katakana a, 'A', hiragana a

} // namespace

// 0x41 ('A'), 0x5C ('\\') and 0x60 ('`') are trail bytes here; the search compares only the
// first byte of each character.
TEST(StringsCp932, SteppingComparisonAndSearchKeepCharactersWhole) {
    BW_REQUIRE_ACP(932);
    // clang-format off
    const Call cases[] = {
        CALL(_lstrnext(kMixed + 1) - kMixed, 3),         CALL(_lstrnext(kMixed + 4) - kMixed, 5),
        CALL(_lstrnext(kMixed + 5) - kMixed, 5),         CALL(lcharIsDblByte(kMixed + 1), 1),
        CALL(_lstrprev(kMixed, kMixed + 3) - kMixed, 1), CALL(lcharIsDblByte(kMixed + 4), 0),
        CALL(_lstrprev(kMixed, kMixed + 2) - kMixed, 1), CALL(lcharcmp("A", "\x83\x41"), 0),
        CALL(lcharcmp("\x82\xA0x", "\x82\xA0y"), 1),     CALL(lcharcmp("\x82\xA0", "\x82\xA2"), 0),
        CALL(lcharcmp("\x82", "\x82\xA0"), 0),           CALL(_xlstrstr("\x83\x41", "A"), -1),
        CALL(_xlstrstr("\x83\x41\x41", "A"), 2),          CALL(_xlstrstr("\x83\x5Cz\\", "\\"), 3),
        CALL(_xlstrstr("\x82\x60\x82\x60", "`\x82"), -1),
        CALL(_xlstrstr("x\x82\xA0y", "\x82\xA0"), 1),
        CALL(_xlstrstr("\x82\xA0\x82\xA2", "\x82\xA2y"), -1),
        CALL(_xlstrstr("\x82\xA0", "\x82\xA2"), 0),    CALL(_xlstrstr("\x83\x41z", "\x83\x5Cz"), 0),
        CALL(_xlstrstri("\x83\x41xYz", "XY"), 2),        CALL(_xlstrstri("\x83\x41", "a"), -1),
        CALL(_xlstrchr(kTrailA, 'A') - kTrailA, 2),   CALL(_xlstrchr(kTrailA, 0xA082) - kTrailA, 3),
        CALL(_xlstrchr(kTrailA, 0x5C83) - kTrailA, 0), // 0x835C finds 0x8341
    };
    // clang-format on
    for (const Call& c : cases)
        EXPECT_EQ(c.run(), c.expected) << c.call;
    char destination[3] = {'x', 'x', 'x'};
    EXPECT_EQ(_assignchar(destination, "\x82\xA0z"), 1);
    EXPECT_EQ(std::string(destination, 3), "\x82\xA0x");
    EXPECT_EQ(_assignchar(destination, "\x83"), 1);
    EXPECT_EQ(std::string(destination, 3), "\x83\xA0x");
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

TEST(StringsCp932, CaseMappingAndOemConversion) {
    BW_REQUIRE_ACP(932);
    char text[] = "\x82\x81z";
    EXPECT_EQ(_lpsztoupper(text), 0x6082u); // full-width A, first byte in bits 0-7
    EXPECT_STREQ(text, "\x82\x81z");
    EXPECT_EQ(_ltoupper(0x82 | (0x81u << 16)), 0x6082);
    EXPECT_EQ(_ltolower(0x82 | (0x60u << 16)), 0x8182 - 0x10000);
    // Greek alpha: a second byte of 0x80 or more is extended into the upper bits.
    EXPECT_EQ(_ltoupper(0x83 | (0xBFu << 16)), static_cast<int32_t>(0xFFFF9F83u));
    EXPECT_STREQ(_lupper(text), "\x82\x60Z");
    // The OEM code page is the ANSI one.
    char destination[8];
    EXPECT_EQ(_lAnsiToOem("\x82\xA0\x83\x41x\xB1", destination), 1);
    EXPECT_STREQ(destination, "\x82\xA0\x83\x41x\xB1");
    EXPECT_EQ(_lOemToAnsi("\x83\x5C\xB1y", destination), 1);
    EXPECT_STREQ(destination, "\x83\x5C\xB1y");
}
