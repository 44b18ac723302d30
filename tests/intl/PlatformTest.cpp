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
                          "A and B=0000000000000005\r\n"
                          "Upper=000000000000000A\r\n"
                          "Short=10\r\n"
                          "A=0000000000000008\r\n"
                          "Alias of A=0000000000000001\r\n"
                          "  Padded  =  0000000000000040  \r\n"
                          "no equals sign\r\n"
                          "[407]\r\n"
                          "A-de=0000000000000001\r\n";

constexpr uint32_t kLongSeparatorId = 700;
constexpr uint32_t kShortSeparatorId = 701;
constexpr uint32_t kEmptySeparatorId = 702;
constexpr uint32_t kMissingSeparatorId = 799;

PLATFORMINFO set(uint32_t first, uint32_t second) {
    return PLATFORMINFO{first, second};
}

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_table = PlatformCreate(GetModuleHandleA(nullptr));
        ASSERT_NE(m_table, nullptr);
    }
    void TearDown() override { EXPECT_EQ(PlatformDestroy(m_table), 0); }

    void load() {
        static TempFile file("platforms.txt", kPlatforms);
        ASSERT_EQ(PlatformLoad(m_table, file.path()), 0);
    }

    std::string name(PLATFORMINFO info, int32_t expected = 0) {
        char text[600] = "untouched";
        EXPECT_EQ(PlatformGetName(m_table, info, text), expected);
        return text;
    }

    HPLATFORM m_table = nullptr;
};

TEST_F(PlatformTest, LoadReadsTheSecondHeaderOnwards) {
    load();
    PLATFORMINFO info = set(9, 9);
    EXPECT_EQ(PlatformGetId(m_table, "Ignored", &info), -3);
    ASSERT_EQ(PlatformGetId(m_table, "B", &info), 0);
    EXPECT_EQ(info.first, 0u);
    EXPECT_EQ(info.second, 4u);
    // A leading "0x" of the value is dropped.
    ASSERT_EQ(PlatformGetId(m_table, "C", &info), 0);
    EXPECT_EQ(info.second, 2u);
    EXPECT_EQ(name(set(0, 2)), "C");
    // Trimmed lines; blanks around the "=" stay with the name and the value.
    EXPECT_EQ(PlatformGetId(m_table, "Padded  ", &info), 0);
    EXPECT_EQ(info.second, 0x40u);
    EXPECT_EQ(name(set(0, 0x40), -4), "untouched");
}

TEST_F(PlatformTest, DuplicatesKeepTheirFirstEntry) {
    load();
    PLATFORMINFO info;
    ASSERT_EQ(PlatformGetId(m_table, "A", &info), 0);
    EXPECT_EQ(info.second, 1u);
    EXPECT_EQ(name(set(0, 1)), "A");
    // The refused second "A" still names its value, which had no name yet.
    EXPECT_EQ(name(set(0, 8)), "A");
    ASSERT_EQ(PlatformGetId(m_table, "Alias of A", &info), 0);
    EXPECT_EQ(info.second, 1u);
}

TEST_F(PlatformTest, SectionsAndLanguages) {
    load();
    PLATFORMINFO info;
    // "[407]": the id is hexadecimal without the prefix.
    EXPECT_EQ(PlatformSetLanguage(m_table, 0x0407), 0);
    EXPECT_EQ(PlatformGetId(m_table, "A", &info), -3);
    EXPECT_EQ(PlatformGetId(m_table, "A-de", &info), 0);
    EXPECT_EQ(PlatformSetLanguage(m_table, 0x0411), -4);
    EXPECT_EQ(PlatformGetId(m_table, "A-de", &info), 0);
    EXPECT_EQ(PlatformSetLanguage(m_table, 0x0409), 0);
    EXPECT_EQ(PlatformGetId(m_table, "A", &info), 0);
    EXPECT_EQ(PlatformSetLanguage(nullptr, 0x0409), -1);
}

TEST_F(PlatformTest, SecondLoadKeepsTheCurrentSection) {
    load();
    TempFile second("platforms-2.txt", "[x]\n[0x0411]\nJ=0000000000000001\n");
    ASSERT_EQ(PlatformLoad(m_table, second.path()), 0);
    PLATFORMINFO info;
    EXPECT_EQ(PlatformGetId(m_table, "A", &info), 0);
    EXPECT_EQ(PlatformSetLanguage(m_table, 0x0411), 0);
    EXPECT_EQ(PlatformGetId(m_table, "J", &info), 0);
    ASSERT_EQ(PlatformLoad(m_table, second.path()), 0);
    EXPECT_EQ(PlatformGetId(m_table, "A", &info), 0);
}

TEST_F(PlatformTest, LoadFailures) {
    TempFile one("platforms-one.txt", "[0x0409]\nA=0000000000000001\n");
    EXPECT_EQ(PlatformLoad(m_table, one.path()), -11);
    EXPECT_EQ(PlatformLoad(m_table, "/no/such/dir/platforms.txt"), -8);
    EXPECT_EQ(PlatformLoad(m_table, nullptr), -1);
    EXPECT_EQ(PlatformLoad(nullptr, one.path()), -1);
}

TEST_F(PlatformTest, HeaderWithoutClosingBracket) {
    TempFile file("platforms-bracket.txt", "[\r[0x0407 \rA=0000000000000001\r");
    ASSERT_EQ(PlatformLoad(m_table, file.path()), 0);
    EXPECT_EQ(PlatformSetLanguage(m_table, 0x0407), 0);
    PLATFORMINFO info;
    EXPECT_EQ(PlatformGetId(m_table, "A", &info), 0);
}

TEST_F(PlatformTest, LookupsByTextNeedTheExactLowercaseText) {
    load();
    PLATFORMINFO info;
    ASSERT_EQ(PlatformGetId(m_table, "Upper", &info), 0);
    EXPECT_EQ(info.second, 0xAu);
    PLATFORMINFO target = set(0, 0);
    EXPECT_EQ(PlatformMerge(m_table, &target, set(0, 0xA)), -4);
    ASSERT_EQ(PlatformGetId(m_table, "Short", &info), 0);
    EXPECT_EQ(info.second, 0x10u);
    EXPECT_EQ(name(set(0, 0x10), -4), "untouched");
}

TEST_F(PlatformTest, GetNameJoinsWithTheSeparator) {
    load();
    EXPECT_EQ(name(set(0, 5)), "A & B");
    EXPECT_EQ(name(set(0, 7)), "A & C & B");
    // The first word and the upper half of the second name no platform.
    EXPECT_EQ(name(set(0xFFFF, 0xFFFF0001)), "A");
    // No platforms: the destination is left alone.
    EXPECT_EQ(name(set(0, 0)), "untouched");
    EXPECT_EQ(name(set(1, 0x10000)), "untouched");
    // 0x20 has no name: the text built so far stays.
    EXPECT_EQ(name(set(0, 0x21), -4), "A");
    EXPECT_EQ(name(set(0, 0x20), -4), "untouched");
    char text[32];
    EXPECT_EQ(PlatformGetName(nullptr, set(0, 1), text), -1);
    EXPECT_EQ(PlatformGetName(m_table, set(0, 1), nullptr), -1);
}

TEST_F(PlatformTest, SeparatorFromTheModulesStrings) {
    load();
    EXPECT_EQ(PlatformSeparator(m_table, kLongSeparatorId), 1);
    EXPECT_EQ(name(set(0, 5)), "A <and B");
    EXPECT_EQ(PlatformSeparator(m_table, kShortSeparatorId), 1);
    EXPECT_EQ(name(set(0, 5)), "A + B");
    EXPECT_EQ(PlatformSeparator(m_table, kMissingSeparatorId), 1);
    EXPECT_EQ(name(set(0, 5)), "A & B");
    PlatformSeparator(m_table, kShortSeparatorId);
    EXPECT_EQ(PlatformSeparator(m_table, kEmptySeparatorId), 1);
    EXPECT_EQ(name(set(0, 5)), "A & B");
    EXPECT_EQ(PlatformSeparator(nullptr, kShortSeparatorId), -1);
}

TEST_F(PlatformTest, Enum) {
    load();
    std::map<std::string, uint32_t> seen;
    char text[260];
    PLATFORMINFO info;
    uint32_t flags = PLATFORM_ENUM_FIRST;
    for (; PlatformEnum(m_table, text, &info, flags) == 1; flags = PLATFORM_ENUM_NEXT) {
        EXPECT_EQ(info.first, 0u);
        seen[text] = info.second;
    }
    EXPECT_EQ(seen, (std::map<std::string, uint32_t>{{"A", 1},
                                                     {"B", 4},
                                                     {"C", 2},
                                                     {"A and B", 5},
                                                     {"Upper", 0xA},
                                                     {"Short", 0x10},
                                                     {"Alias of A", 1},
                                                     {"Padded  ", 0x40}}));
    EXPECT_EQ(PlatformEnum(m_table, text, &info, PLATFORM_ENUM_NEXT), 0);
    // Bit 0 wins over bit 1.
    EXPECT_EQ(PlatformEnum(m_table, text, &info, PLATFORM_ENUM_FIRST | PLATFORM_ENUM_NEXT), 1);
    EXPECT_EQ(PlatformEnum(m_table, text, &info, 0), -6);
    EXPECT_EQ(PlatformEnum(m_table, text, &info, 4), -6);
    EXPECT_EQ(PlatformEnum(m_table, nullptr, &info, 1), -1);
    EXPECT_EQ(PlatformEnum(m_table, text, nullptr, 1), -1);
    EXPECT_EQ(PlatformEnum(nullptr, text, &info, 1), -1);
}

TEST_F(PlatformTest, GetIdArguments) {
    load();
    PLATFORMINFO info;
    EXPECT_EQ(PlatformGetId(m_table, "Z", &info), -3);
    EXPECT_EQ(PlatformGetId(nullptr, "A", &info), -1);
    EXPECT_EQ(PlatformGetId(m_table, nullptr, &info), -1);
    EXPECT_EQ(PlatformGetId(m_table, "A", nullptr), -1);
}

TEST_F(PlatformTest, CountAndArray) {
    uint32_t count = 99;
    ASSERT_EQ(PlatformGetCount(m_table, set(0, 5), &count), 0);
    EXPECT_EQ(count, 2u);
    ASSERT_EQ(PlatformGetCount(m_table, set(0xFFFFFFFF, 0xFFFF0000), &count), 0);
    EXPECT_EQ(count, 0u);
    ASSERT_EQ(PlatformGetCount(m_table, set(0, 0xFFFF), &count), 0);
    EXPECT_EQ(count, 16u);
    EXPECT_EQ(PlatformGetCount(nullptr, set(0, 5), &count), -1);
    EXPECT_EQ(PlatformGetCount(m_table, set(0, 5), nullptr), -1);

    PLATFORMINFO platforms[16];
    ASSERT_EQ(PlatformInfoToArray(m_table, set(7, 0x18005), platforms, &count), 1);
    ASSERT_EQ(count, 3u);
    const uint32_t bits[] = {1, 4, 0x8000};
    for (uint32_t i = 0; i < count; ++i) {
        EXPECT_EQ(platforms[i].first, 0u);
        EXPECT_EQ(platforms[i].second, bits[i]);
    }
    EXPECT_EQ(PlatformInfoToArray(nullptr, set(0, 1), platforms, &count), -1);
    EXPECT_EQ(PlatformInfoToArray(m_table, set(0, 1), nullptr, &count), -1);
    EXPECT_EQ(PlatformInfoToArray(m_table, set(0, 1), platforms, nullptr), -1);
}

TEST_F(PlatformTest, Merge) {
    load();
    PLATFORMINFO target = set(0, 2);
    EXPECT_EQ(PlatformMerge(m_table, &target, set(0, 5)), 0);
    EXPECT_EQ(target.second, 7u);
    EXPECT_EQ(PlatformMerge(m_table, &target, set(0, 0x20)), -4);
    EXPECT_EQ(PlatformMerge(m_table, &target, set(0, 3)), -4);
    EXPECT_EQ(PlatformMerge(m_table, &target, set(0, 0)), -4);
    EXPECT_EQ(target.second, 7u);
    EXPECT_EQ(PlatformMerge(nullptr, &target, set(0, 1)), -1);
    EXPECT_EQ(PlatformMerge(m_table, nullptr, set(0, 1)), -1);
}

TEST_F(PlatformTest, ClearAndIndependent) {
    PLATFORMINFO info = set(1, 2);
    EXPECT_EQ(PlatformIsIndependent(nullptr, &info), 0);
    EXPECT_EQ(PlatformClearItem(nullptr, &info), 0);
    EXPECT_EQ(info.first, 0u);
    EXPECT_EQ(info.second, 0u);
    EXPECT_EQ(PlatformIsIndependent(nullptr, &info), 1);
    EXPECT_EQ(PlatformIsIndependent(m_table, nullptr), 0);
    EXPECT_EQ(PlatformClearItem(m_table, nullptr), -1);
    info = set(1, 0);
    EXPECT_EQ(PlatformIsIndependent(m_table, &info), 0);
}

struct SetCase {
    PLATFORMINFO a;
    PLATFORMINFO b;
    int32_t compare;
    int32_t memberAll;
    int32_t memberAny;
};

const SetCase kSetCases[] = {
    // a                b                 compare  all  any
    {{0, 0}, {0, 0}, 0, 0, -13},     {{0, 5}, {0, 0}, -13, -13, -13},
    {{1, 0}, {0, 0}, -13, -13, -13}, {{0, 0}, {0, 1}, -13, -13, -13},
    {{0, 5}, {0, 1}, 0, 0, 0},       {{0, 5}, {0, 5}, 0, 0, 0},
    {{0, 5}, {0, 3}, -13, -13, 0},   {{0, 5}, {0, 2}, -13, -13, -13},
    {{3, 0}, {1, 0}, 0, 0, 0},       {{3, 1}, {4, 1}, -13, -13, 0},
    {{1, 0}, {0, 1}, -13, -13, -13},
};

TEST_F(PlatformTest, SetTests) {
    for (const SetCase& c : kSetCases) {
        std::string label = std::to_string(c.a.first) + ":" + std::to_string(c.a.second) + " / " +
                            std::to_string(c.b.first) + ":" + std::to_string(c.b.second);
        EXPECT_EQ(PlatformCompare(m_table, c.a, c.b), c.compare) << label;
        char text[PLATFORM_BINTEXT_SIZE];
        PlatformInfoToBinText(&c.b, text);
        EXPECT_EQ(PlatformCompareStr(m_table, c.a, text), c.compare) << label;
        EXPECT_EQ(PlatformIsMemberOf(m_table, c.a, c.b, 1), c.memberAll) << label;
        EXPECT_EQ(PlatformIsMemberOf(m_table, c.a, c.b, 0), c.memberAny) << label;
        PLATFORMINFO removed = c.a;
        EXPECT_EQ(PlatformRemove(m_table, &removed, c.b), c.compare) << label;
        if (c.compare == 0) {
            EXPECT_EQ(removed.first, c.a.first & ~c.b.first) << label;
            EXPECT_EQ(removed.second, c.a.second & ~c.b.second) << label;
        } else {
            EXPECT_EQ(removed.first, c.a.first) << label;
            EXPECT_EQ(removed.second, c.a.second) << label;
        }
    }
    PLATFORMINFO a = set(0, 1);
    EXPECT_EQ(PlatformCompare(nullptr, a, a), -1);
    EXPECT_EQ(PlatformCompareStr(nullptr, a, "1"), -1);
    EXPECT_EQ(PlatformCompareStr(m_table, a, nullptr), -1);
    EXPECT_EQ(PlatformIsMemberOf(nullptr, a, a, 1), -1);
    EXPECT_EQ(PlatformRemove(nullptr, &a, a), -1);
    EXPECT_EQ(PlatformRemove(m_table, nullptr, a), -1);
    // The empty text is the empty set.
    EXPECT_EQ(PlatformCompareStr(m_table, set(0, 0), ""), 0);
}

TEST(PlatformBinTextTest, ToText) {
    char text[PLATFORM_BINTEXT_SIZE];
    PLATFORMINFO info = set(0, 5);
    ASSERT_EQ(PlatformInfoToBinText(&info, text), 1);
    EXPECT_STREQ(text, "0000000000000005");
    info = set(0xABCDEF01, 0x80000000);
    ASSERT_EQ(PlatformInfoToBinText(&info, text), 1);
    EXPECT_STREQ(text, "abcdef0180000000");
    EXPECT_EQ(PlatformInfoToBinText(nullptr, text), -1);
    EXPECT_EQ(PlatformInfoToBinText(&info, nullptr), -1);
}

TEST(PlatformBinTextTest, FromText) {
    struct Case {
        const char* text;
        uint32_t first;
        uint32_t second;
    };
    const Case cases[] = {
        {"0000000000000005", 0, 5},
        {"0x0000000000000005", 0, 5},
        {"abcdef0180000000", 0xABCDEF01, 0x80000000},
        {"ABCDEF0180000000", 0xABCDEF01, 0x80000000},
        {"0xAbCdEf01800000fF", 0xABCDEF01, 0x800000FF},
        {"", 0, 0},
        {"0x", 0, 0},
        {"ff", 0, 0xFF},
        {"100000000", 1, 0},
        {"12345678", 0, 0x12345678},
    };
    for (const Case& c : cases) {
        PLATFORMINFO info = set(9, 9);
        EXPECT_EQ(PlatformBinTextToInfo(c.text, &info), 1) << c.text;
        EXPECT_EQ(info.first, c.first) << c.text;
        EXPECT_EQ(info.second, c.second) << c.text;
    }
    PLATFORMINFO info = set(9, 9);
    EXPECT_EQ(PlatformBinTextToInfo(nullptr, &info), 0);
    EXPECT_EQ(info.first, 9u);
    EXPECT_EQ(PlatformBinTextToInfo("1", nullptr), 0);
}

TEST(PlatformBinTextTest, RoundTrip) {
    const PLATFORMINFO sets[] = {set(0, 0), set(0, 5), set(1, 0), set(0xFFFFFFFF, 0xFFFFFFFF),
                                 set(0x10, 0x8000)};
    for (const PLATFORMINFO& original : sets) {
        char text[PLATFORM_BINTEXT_SIZE + 2] = "0x";
        PlatformInfoToBinText(&original, text + 2);
        for (const char* form : {text, text + 2}) {
            PLATFORMINFO info;
            ASSERT_EQ(PlatformBinTextToInfo(form, &info), 1);
            EXPECT_EQ(info.first, original.first) << form;
            EXPECT_EQ(info.second, original.second) << form;
        }
    }
}

} // namespace
