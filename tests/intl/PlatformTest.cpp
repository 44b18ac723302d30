// Platform tables and sets: the format's rules on a small file, names and merging on the shipped
// example file, the set tests, and the 16-digit bin text. Null arguments are in IntlTest.cpp.
#include "TempFile.h"

#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

const char kPlatforms[] = "[0]\r\n"
                          "Ignored=0000000000000001\r\n"
                          "[0x0409]\r\n"
                          "A=0000000000000001\r\n"
                          "B=0000000000000004\r\n"
                          "C=0x0000000000000002\r\n"
                          "Upper=000000000000000A\r\n"
                          "Short=10\r\n"
                          "A=0000000000000008\r\n"
                          "Alias of A=0000000000000001\r\n"
                          "  Padded  =  0000000000000040  \r\n"
                          "no equals sign\r\n"
                          "[407]\r\n"
                          "A-de=0000000000000001\r\n";

PLATFORMINFO set(uint32_t first, uint32_t second) {
    return PLATFORMINFO{first, second};
}

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(table = PlatformCreate(GetModuleHandleA(nullptr)), nullptr);
        ASSERT_EQ(PlatformLoad(table, file.path()), 0);
    }
    void TearDown() override { EXPECT_EQ(PlatformDestroy(table), 0); }

    // The second word of a named platform's set, or the result of the look-up.
    int64_t idOf(const char* name) {
        PLATFORMINFO info = set(0, 0);
        int32_t result = PlatformGetId(table, name, &info);
        return result == 0 ? static_cast<int64_t>(info.second) : result;
    }
    std::string name(PLATFORMINFO info, int32_t expected = 0) {
        char text[600] = "untouched";
        EXPECT_EQ(PlatformGetName(table, info, text), expected);
        return text;
    }

    TempFile file{"platforms.txt", kPlatforms};
    HPLATFORM table = nullptr;
};

TEST_F(PlatformTest, EntryRules) {
    EXPECT_EQ(idOf("Ignored"), -3);
    EXPECT_EQ(idOf("B"), 4);
    // A leading "0x" of the value is dropped; trimmed lines keep blanks around the "=".
    EXPECT_EQ(idOf("C"), 2);
    EXPECT_EQ(name(set(0, 2)), "C");
    EXPECT_EQ(idOf("Padded  "), 0x40);
    EXPECT_EQ(name(set(0, 0x40), -4), "untouched");
    // The first entry of a name wins; the refused one still names its value.
    EXPECT_EQ(idOf("A"), 1);
    EXPECT_EQ(idOf("Alias of A"), 1);
    EXPECT_EQ(name(set(0, 1)), "A");
    EXPECT_EQ(name(set(0, 8)), "A");
    // Look-ups by set need the exact lowercase 16-digit text; look-ups by name read any form.
    EXPECT_EQ(idOf("Upper"), 0xA);
    PLATFORMINFO target = set(0, 0);
    EXPECT_EQ(PlatformMerge(table, &target, set(0, 0xA)), -4);
    EXPECT_EQ(idOf("Short"), 0x10);
    EXPECT_EQ(name(set(0, 0x10), -4), "untouched");
}

TEST_F(PlatformTest, Sections) {
    // "[407]": the id is hexadecimal without the prefix.
    EXPECT_EQ(PlatformSetLanguage(table, 0x0407), 0);
    EXPECT_EQ(idOf("A"), -3);
    EXPECT_EQ(idOf("A-de"), 1);
    EXPECT_EQ(PlatformSetLanguage(table, 0x0409), 0);
    // A second load appends and keeps the current section; a header without "]" still counts.
    TempFile second("platforms-2.txt", "[x]\r[0x0411 \rJ=0000000000000001\r");
    ASSERT_EQ(PlatformLoad(table, second.path()), 0);
    EXPECT_EQ(idOf("A"), 1);
    EXPECT_EQ(PlatformSetLanguage(table, 0x0411), 0);
    EXPECT_EQ(idOf("J"), 1);
}

TEST_F(PlatformTest, NamesJoinedByTheSeparator) {
    HPLATFORM example = PlatformCreate(GetModuleHandleA(nullptr));
    ASSERT_EQ(PlatformLoad(example, BWCORE_EXAMPLES_DIR "/platforms.txt"), 0);
    const struct {
        uint32_t separator;
        PLATFORMINFO set;
        int32_t result;
        const char* names;
    } cases[] = {
        {0, {0, 0x821}, 0, "Windows 95 & Windows XP & Windows 10"},
        // The first word and the upper half of the second name no platform.
        {0, {0xFFFF, 0xFFFF0001}, 0, "Windows 95"},
        {0, {1, 0x10000}, 0, "untouched"},
        // Strings of the test program: longer than four characters, "+", empty, missing.
        {700, {0, 3}, 0, "Windows 95 <and Windows 98"},
        {701, {0, 3}, 0, "Windows 95 + Windows 98"},
        {702, {0, 3}, 0, "Windows 95 & Windows 98"},
        {799, {0, 3}, 0, "Windows 95 & Windows 98"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.names);
        if (c.separator != 0) {
            EXPECT_EQ(PlatformSeparator(example, c.separator), 1);
        }
        char text[600] = "untouched";
        EXPECT_EQ(PlatformGetName(example, c.set, text), c.result);
        EXPECT_STREQ(text, c.names);
    }
    PLATFORMINFO all = set(0, 0), merged = set(0, 0);
    ASSERT_EQ(PlatformGetId(example, "All Windows versions", &all), 0);
    EXPECT_EQ(PlatformMerge(example, &merged, all), 0);
    EXPECT_EQ(PlatformMerge(example, &merged, set(0, 3)), -4);
    EXPECT_EQ(merged.second, 0xFFFFu);
    PlatformDestroy(example);
    // 0x20 has no name in the small file: the text built so far stays.
    EXPECT_EQ(name(set(0, 0x21), -4), "A");
    EXPECT_EQ(name(set(0, 5)), "A & B");
}

TEST_F(PlatformTest, Enum) {
    char text[260];
    PLATFORMINFO info;
    std::map<std::string, uint32_t> seen;
    for (uint32_t flags = PLATFORM_ENUM_FIRST; PlatformEnum(table, text, &info, flags) == 1;
         flags = PLATFORM_ENUM_NEXT)
        seen[text] = info.second;
    EXPECT_EQ(seen.size(), 7u);
    EXPECT_EQ(seen["Short"], 0x10u);
    EXPECT_EQ(PlatformEnum(table, text, &info, PLATFORM_ENUM_NEXT), 0);
    // Bit 0 wins over bit 1; neither is -6.
    EXPECT_EQ(PlatformEnum(table, text, &info, PLATFORM_ENUM_FIRST | PLATFORM_ENUM_NEXT), 1);
    EXPECT_EQ(PlatformEnum(table, text, &info, 0), -6);
    EXPECT_EQ(PlatformEnum(table, text, &info, 4), -6);
}

TEST_F(PlatformTest, PlatformsAreTheLow16BitsOfTheSecondWord) {
    uint32_t count = 99;
    PlatformGetCount(table, set(0xFFFFFFFF, 0xFFFF0000), &count);
    EXPECT_EQ(count, 0u);
    PlatformGetCount(table, set(0, 0xFFFF), &count);
    EXPECT_EQ(count, 16u);
    PLATFORMINFO platforms[16];
    ASSERT_EQ(PlatformInfoToArray(table, set(7, 0x18005), platforms, &count), 1);
    ASSERT_EQ(count, 3u);
    const uint32_t bits[] = {1, 4, 0x8000};
    for (uint32_t i = 0; i < count; ++i) {
        EXPECT_EQ(platforms[i].first, 0u);
        EXPECT_EQ(platforms[i].second, bits[i]);
    }
}

TEST_F(PlatformTest, SetTests) {
    const struct {
        PLATFORMINFO a, b;
        int32_t compare, memberAll, memberAny;
    } cases[] = {
        // a       b        compare  all  any
        {{0, 0}, {0, 0}, 0, 0, -13},     {{0, 5}, {0, 0}, -13, -13, -13},
        {{1, 0}, {0, 0}, -13, -13, -13}, {{0, 0}, {0, 1}, -13, -13, -13},
        {{0, 5}, {0, 1}, 0, 0, 0},       {{0, 5}, {0, 5}, 0, 0, 0},
        {{0, 5}, {0, 3}, -13, -13, 0},   {{0, 5}, {0, 2}, -13, -13, -13},
        {{3, 0}, {1, 0}, 0, 0, 0},       {{3, 1}, {4, 1}, -13, -13, 0},
        {{1, 0}, {0, 1}, -13, -13, -13},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.a.first << ":" << c.a.second << " / " << c.b.first << ":" << c.b.second);
        EXPECT_EQ(PlatformCompare(table, c.a, c.b), c.compare);
        char text[PLATFORM_BINTEXT_SIZE];
        PlatformInfoToBinText(&c.b, text);
        EXPECT_EQ(PlatformCompareStr(table, c.a, text), c.compare);
        EXPECT_EQ(PlatformIsMemberOf(table, c.a, c.b, 1), c.memberAll);
        EXPECT_EQ(PlatformIsMemberOf(table, c.a, c.b, 0), c.memberAny);
        PLATFORMINFO removed = c.a;
        EXPECT_EQ(PlatformRemove(table, &removed, c.b), c.compare);
        EXPECT_EQ(removed.first, c.compare == 0 ? c.a.first & ~c.b.first : c.a.first);
        EXPECT_EQ(removed.second, c.compare == 0 ? c.a.second & ~c.b.second : c.a.second);
    }
    EXPECT_EQ(PlatformCompareStr(table, set(0, 0), ""), 0);
    PLATFORMINFO info = set(1, 0);
    EXPECT_EQ(PlatformIsIndependent(table, &info), 0);
    EXPECT_EQ(PlatformClearItem(nullptr, &info), 0);
    EXPECT_EQ(PlatformIsIndependent(nullptr, &info), 1);
}

TEST(PlatformBinText, IsSixteenLowercaseDigitsAndReadsEitherCase) {
    char text[PLATFORM_BINTEXT_SIZE];
    const PLATFORMINFO info = set(0xABCDEF01, 0x80000005);
    ASSERT_EQ(PlatformInfoToBinText(&info, text), 1);
    EXPECT_STREQ(text, "abcdef0180000005");
    const struct {
        const char* text;
        uint32_t first, second;
    } cases[] = {
        {"0x0000000000000005", 0, 5},
        {"ABCDEF0180000000", 0xABCDEF01, 0x80000000},
        {"0xAbCdEf01800000fF", 0xABCDEF01, 0x800000FF},
        {"", 0, 0},
        {"ff", 0, 0xFF},
        {"100000000", 1, 0},
    };
    for (const auto& c : cases) {
        PLATFORMINFO read = set(9, 9);
        EXPECT_EQ(PlatformBinTextToInfo(c.text, &read), 1) << c.text;
        EXPECT_EQ(read.first, c.first) << c.text;
        EXPECT_EQ(read.second, c.second) << c.text;
    }
}

} // namespace
