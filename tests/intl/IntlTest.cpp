// The language table, on the shipped example file and on small files for the format's rules, and
// the null arguments of both flat families (language and platform tables).
#include "TempFile.h"

#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <stdlib.h>

#include <functional>
#include <set>
#include <string>

namespace {

const std::string kLanguagesFile = BWCORE_EXAMPLES_DIR "/languages.txt";
const std::string kPlatformsFile = BWCORE_EXAMPLES_DIR "/platforms.txt";

// The first section is ignored whatever it holds.
const char kRules[] = "[0x0000]\r\n"
                      "Ignored=0x0001\r\n"
                      "[0x0409]\r\n"
                      "English=0x0409\r\n"
                      "  German =0x0407\t\r\n"
                      "Spaced= 0x0410\r\n"
                      "English=0x0809\r\n"
                      "US English=0x0409\r\n"
                      "Decimal=1033\r\n"
                      "no equals sign\r\n"
                      "[0x0407]\r\n"
                      "Deutsch=0x0407\r\n";

class IntlTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(table = IntlCreate(), nullptr); }
    void TearDown() override { EXPECT_EQ(IntlDestroy(table), 0); }

    uint16_t current() {
        uint16_t language = 0xFFFF;
        EXPECT_EQ(IntlGetLanguage(table, &language), 0);
        return language;
    }
    // The id of a name in the current section, or -3 and the like.
    int32_t idOf(const std::string& name) {
        uint16_t id = 0;
        int32_t result = IntlGetLangId(table, name.c_str(), &id);
        return result == 0 ? id : result;
    }
    std::string nameOf(uint16_t id) {
        char name[260];
        return IntlGetName(table, id, name) == 0 ? name : "(none)";
    }
    std::set<std::string> enumerate(int32_t includeAll) {
        std::set<std::string> names;
        char name[260];
        uint16_t id = 0;
        for (int32_t mode = INTL_ENUM_FIRST; IntlEnum(table, name, &id, includeAll, mode) == 1;
             mode = INTL_ENUM_NEXT)
            names.insert(name);
        return names;
    }

    HINTL table = nullptr;
};

TEST_F(IntlTest, ExampleFile) {
    EXPECT_EQ(current(), 0);
    ASSERT_EQ(IntlLoad(table, kLanguagesFile.c_str()), 0);
    EXPECT_EQ(current(), 0x0409);
    EXPECT_EQ(idOf("German (Austria)"), 0x0c07);
    EXPECT_EQ(nameOf(0x0009), "English");
    for (uint16_t section : {0x0409, 0x0407, 0x0411}) {
        SCOPED_TRACE(section);
        ASSERT_EQ(IntlSetLanguage(table, section), 0);
        EXPECT_EQ(enumerate(0).size(), 12u);
        EXPECT_EQ(enumerate(1).size(), 30u);
    }
    char directory[300];
    ASSERT_EQ(IntlMakeDirName(table, 0x0c07, directory), 1);
    EXPECT_STREQ(directory, "0c07-German (Austria)");
    IntlSetLanguage(table, 0x0407);
    const char* name = "Deutsch (\xd6sterreich)";
    ASSERT_EQ(IntlMakeDirName(table, reinterpret_cast<uintptr_t>(name), directory), 1);
    EXPECT_STREQ(directory, "0c07-Deutsch (\xd6sterreich)");
    EXPECT_EQ(IntlMakeDirName(table, 0x0401, directory), 0);
    const char* unknown = "Klingon";
    EXPECT_EQ(IntlMakeDirName(table, reinterpret_cast<uintptr_t>(unknown), directory), 0);
    EXPECT_EQ(IntlSetLanguage(table, 0x0401), -4);
    EXPECT_EQ(current(), 0x0407);
    char text[260];
    EXPECT_EQ(IntlGetName(table, 0x0401, text), -4);
}

TEST_F(IntlTest, NeutralMeansBelow1024) {
    ASSERT_EQ(IntlLoad(table, kLanguagesFile.c_str()), 0);
    const struct {
        const char* name;
        uint16_t id;
        int32_t neutral;
    } cases[] = {
        {nullptr, 0x0009, 1},   {nullptr, 0x03FF, 1},
        {nullptr, 0x0400, 0},   {nullptr, 0x0409, 0},
        {"English", 0x0409, 1}, {"Korean", 0x0409, 1},
        {"Klingon", 0x0009, 0}, {"English (United States)", 0x0009, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IntlIsNeutral(table, c.name, c.id), c.neutral) << (c.name ? c.name : "null");
    EXPECT_EQ(IntlIsNeutral(nullptr, nullptr, 0x0009), 0);
}

TEST_F(IntlTest, EntryRules) {
    TempFile file("rules.txt", kRules);
    ASSERT_EQ(IntlLoad(table, file.path()), 0);
    EXPECT_EQ(current(), 0x0409);
    EXPECT_EQ(idOf("Ignored"), -3);
    // Trimmed lines; blanks before the "=" belong to the name; the value starts right after it.
    EXPECT_EQ(idOf("German "), 0x0407);
    EXPECT_EQ(idOf("German"), -3);
    EXPECT_EQ(idOf("Spaced"), -3);
    EXPECT_EQ(idOf("Decimal"), -3);
    // The first entry of a name wins, an id keeps its first name, and a refused entry still names
    // an id that had no name yet.
    EXPECT_EQ(idOf("English"), 0x0409);
    EXPECT_EQ(idOf("US English"), 0x0409);
    EXPECT_EQ(nameOf(0x0409), "English");
    EXPECT_EQ(nameOf(0x0809), "English");
    EXPECT_EQ(enumerate(1), (std::set<std::string>{"English", "German ", "US English"}));
}

// CR alone ends lines too; a header without "]" runs to the line's end, and one that is no "0x"
// number keeps the previous section's id; names are cut to 259 bytes.
TEST_F(IntlTest, SectionRules) {
    TempFile file("sections.txt", "[\r[0x0407\rA=0x0407\r[junk]\rB=0x0409\r[0x0409]\r" +
                                      std::string(300, 'n') + "=0x0409\r");
    ASSERT_EQ(IntlLoad(table, file.path()), 0);
    EXPECT_EQ(current(), 0x0407);
    EXPECT_EQ(idOf("A"), 0x0407);
    EXPECT_EQ(idOf("B"), -3);
    EXPECT_EQ(IntlSetLanguage(table, 0x0409), 0);
    EXPECT_EQ(nameOf(0x0409), std::string(259, 'n'));
}

TEST_F(IntlTest, SecondLoadAppendsAndSelectsTheTablesFirstSection) {
    TempFile second("second.txt", "[0]\n[0x0411]\nJapanese=0x0411\n[0x0409]\nOther=0x0001\n");
    ASSERT_EQ(IntlLoad(table, kLanguagesFile.c_str()), 0);
    ASSERT_EQ(IntlLoad(table, second.path()), 0);
    // The table's first section stays current, and the first 0x0409 section is found first.
    EXPECT_EQ(current(), 0x0409);
    EXPECT_EQ(IntlSetLanguage(table, 0x0407), 0);
    EXPECT_EQ(IntlSetLanguage(table, 0x0409), 0);
    EXPECT_EQ(idOf("Other"), -3);
    IntlSetLanguage(table, 0x0407);
    ASSERT_EQ(IntlLoad(table, second.path()), 0);
    EXPECT_EQ(current(), 0x0409);
}

TEST_F(IntlTest, LoadFailures) {
    TempFile one("one.txt", "[0x0409]\nEnglish=0x0409\n");
    EXPECT_EQ(IntlLoad(table, one.path()), -11);
    EXPECT_EQ(IntlLoad(table, "/no/such/dir/languages.txt"), -8);
    EXPECT_EQ(current(), 0);
    // Before any section, language 0 counts as current and nothing is found.
    EXPECT_EQ(IntlSetLanguage(table, 0), 0);
    uint16_t id = 0;
    char name[260];
    EXPECT_EQ(IntlEnum(table, name, &id, 1, INTL_ENUM_FIRST), 0);
    EXPECT_EQ(IntlEnum(table, name, &id, 1, 3), -6);
}

// Without the shared list heap no line list can be made: both loaders give -9. The heap is
// destroyed in a child process, as no list can be made there afterwards.
TEST(IntlDeathTest, LoadWithoutALineListGivesMinus9) {
    EXPECT_EXIT(
        {
            HINTL languages = IntlCreate();
            HPLATFORM platforms = PlatformCreate(nullptr);
            MemHeapDestroy(ListGetHeap());
            const bool ok = IntlLoad(languages, kLanguagesFile.c_str()) == -9 &&
                            PlatformLoad(platforms, kPlatformsFile.c_str()) == -9;
            _exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(IntlHexToDecimal, Values) {
    const struct {
        const char* text;
        int32_t result;
        uint32_t value;
    } cases[] = {
        {"0x1A", 1, 26},        {"0x1a", 1, 26},       {"0x", 1, 0},          {"0x0409", 1, 0x0409},
        {"0xFFFFFFFF", 1, ~0u}, {"0x100000000", 1, 0}, {"0xg", 1, 'g' - 48u}, {"1A", 0, 77},
        {"0X1A", 0, 77},        {" 0x1A", 0, 77},      {"", 0, 77},
    };
    for (const auto& c : cases) {
        uint32_t value = 77;
        EXPECT_EQ(IntlHexToDecimal(c.text, &value), c.result) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

// Every function of both families with each pointer argument null in turn: the family's failure
// value, and nothing written.
TEST(IntlAndPlatform, NullArgumentsGiveTheFailureValueAndChangeNothing) {
    HINTL intl = IntlCreate();
    HPLATFORM platform = PlatformCreate(nullptr);
    ASSERT_EQ(IntlLoad(intl, kLanguagesFile.c_str()), 0);
    ASSERT_EQ(PlatformLoad(platform, kPlatformsFile.c_str()), 0);
    const char* path = kLanguagesFile.c_str();
    uint16_t id = 0x7777;
    uint32_t value = 0x7777;
    char text[600] = "untouched";
    PLATFORMINFO set = {9, 9};
    PLATFORMINFO array[16];
    const PLATFORMINFO one = {0, 1};
#define CASE(call, expected)                                                                       \
    {                                                                                              \
#call, [&] { return call; }, expected                                                      \
    }
    const struct {
        const char* call;
        std::function<int32_t()> run;
        int32_t expected;
    } cases[] = {
        // clang-format off
        CASE(IntlLoad(nullptr, path), -1), CASE(IntlLoad(intl, nullptr), -1),
        CASE(IntlSetLanguage(nullptr, 0x0407), -1), CASE(IntlGetLanguage(nullptr, &id), -1),
        CASE(IntlGetLanguage(intl, nullptr), -1), CASE(IntlGetLangId(nullptr, "English", &id), -1),
        CASE(IntlGetLangId(intl, nullptr, &id), -1),
        CASE(IntlGetLangId(intl, "English", nullptr), -2),
        CASE(IntlGetName(nullptr, 0x0009, text), -1), CASE(IntlGetName(intl, 0x0009, nullptr), -2),
        CASE(IntlIsNeutral(nullptr, "English", 0x0009), 0),
        CASE(IntlEnum(nullptr, text, &id, 1, INTL_ENUM_FIRST), -1),
        CASE(IntlEnum(intl, text, nullptr, 1, INTL_ENUM_FIRST), -1),
        CASE(IntlMakeDirName(nullptr, 0x0009, text), 0),
        CASE(IntlMakeDirName(intl, 0x0009, nullptr), 0), CASE(IntlHexToDecimal(nullptr, &value), 0),
        CASE(IntlHexToDecimal("0x1", nullptr), 0), CASE(IntlDestroy(nullptr), 0),
        CASE(PlatformLoad(nullptr, path), -1), CASE(PlatformLoad(platform, nullptr), -1),
        CASE(PlatformSetLanguage(nullptr, 0x0407), -1), CASE(PlatformSeparator(nullptr, 701), -1),
        CASE(PlatformEnum(nullptr, text, &set, PLATFORM_ENUM_FIRST), -1),
        CASE(PlatformEnum(platform, nullptr, &set, PLATFORM_ENUM_FIRST), -1),
        CASE(PlatformEnum(platform, text, nullptr, PLATFORM_ENUM_FIRST), -1),
        CASE(PlatformGetId(nullptr, "Windows 95", &set), -1),
        CASE(PlatformGetId(platform, nullptr, &set), -1),
        CASE(PlatformGetId(platform, "Windows 95", nullptr), -1),
        CASE(PlatformGetName(nullptr, one, text), -1),
        CASE(PlatformGetName(platform, one, nullptr), -1),
        CASE(PlatformGetCount(nullptr, one, &value), -1),
        CASE(PlatformGetCount(platform, one, nullptr), -1),
        CASE(PlatformInfoToArray(nullptr, one, array, &value), -1),
        CASE(PlatformInfoToArray(platform, one, nullptr, &value), -1),
        CASE(PlatformInfoToArray(platform, one, array, nullptr), -1),
        CASE(PlatformMerge(nullptr, &set, one), -1),
        CASE(PlatformMerge(platform, nullptr, one), -1), CASE(PlatformDestroy(nullptr), 0),
        CASE(PlatformClearItem(platform, nullptr), -1),
        CASE(PlatformIsIndependent(platform, nullptr), 0),
        CASE(PlatformCompare(nullptr, one, one), -1),
        CASE(PlatformCompareStr(nullptr, one, "1"), -1),
        CASE(PlatformCompareStr(platform, one, nullptr), -1),
        CASE(PlatformIsMemberOf(nullptr, one, one, 1), -1),
        CASE(PlatformRemove(nullptr, &set, one), -1),
        CASE(PlatformRemove(platform, nullptr, one), -1),
        CASE(PlatformInfoToBinText(nullptr, text), -1),
        CASE(PlatformInfoToBinText(&one, nullptr), -1),
        CASE(PlatformBinTextToInfo(nullptr, &set), 0), CASE(PlatformBinTextToInfo("1", nullptr), 0),
        // clang-format on
    };
#undef CASE
    for (const auto& c : cases)
        EXPECT_EQ(c.run(), c.expected) << c.call;
    EXPECT_EQ(id, 0x7777);
    EXPECT_EQ(value, 0x7777u);
    EXPECT_STREQ(text, "untouched");
    EXPECT_EQ(set.first, 9u);
    EXPECT_EQ(set.second, 9u);
    IntlGetLanguage(intl, &id);
    EXPECT_EQ(id, 0x0409);
    IntlDestroy(intl);
    PlatformDestroy(platform);
}

} // namespace
