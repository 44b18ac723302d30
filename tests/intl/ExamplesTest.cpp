// The example data files load and hold what their notes promise.
#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kExamples = BWCORE_EXAMPLES_DIR;

TEST(ExamplesTest, Languages) {
    HINTL table = IntlCreate();
    ASSERT_EQ(IntlLoad(table, (kExamples + "/languages.txt").c_str()), 0);
    uint16_t language = 0;
    IntlGetLanguage(table, &language);
    EXPECT_EQ(language, 0x0409);
    for (uint16_t section : {0x0409, 0x0407, 0x0411}) {
        ASSERT_EQ(IntlSetLanguage(table, section), 0);
        int neutral = 0;
        char name[260];
        uint16_t id = 0;
        for (int32_t mode = INTL_ENUM_FIRST; IntlEnum(table, name, &id, 0, mode) == 1;
             mode = INTL_ENUM_NEXT)
            ++neutral;
        EXPECT_EQ(neutral, 12) << section;
        // Every section names its own language.
        EXPECT_EQ(IntlGetName(table, section, name), 0) << section;
    }
    IntlSetLanguage(table, 0x0407);
    char directory[300];
    ASSERT_EQ(IntlMakeDirName(table, 0x0c07, directory), 1);
    EXPECT_STREQ(directory, "0c07-Deutsch (\xd6sterreich)");
    IntlDestroy(table);
}

TEST(ExamplesTest, Platforms) {
    HPLATFORM table = PlatformCreate(nullptr);
    ASSERT_EQ(PlatformLoad(table, (kExamples + "/platforms.txt").c_str()), 0);
    for (uint16_t section : {0x0409, 0x0407}) {
        ASSERT_EQ(PlatformSetLanguage(table, section), 0);
        int single = 0;
        char name[260];
        PLATFORMINFO set;
        for (uint32_t flags = PLATFORM_ENUM_FIRST; PlatformEnum(table, name, &set, flags) == 1;
             flags = PLATFORM_ENUM_NEXT) {
            uint32_t count = 0;
            PlatformGetCount(table, set, &count);
            if (count == 1)
                ++single;
        }
        EXPECT_GE(single, 12) << section;
    }
    PlatformSetLanguage(table, 0x0409);
    char names[600];
    ASSERT_EQ(PlatformGetName(table, PLATFORMINFO{0, 0x821}, names), 0);
    EXPECT_STREQ(names, "Windows 95 & Windows XP & Windows 10");
    PLATFORMINFO all;
    ASSERT_EQ(PlatformGetId(table, "All Windows versions", &all), 0);
    PLATFORMINFO merged = {0, 0};
    EXPECT_EQ(PlatformMerge(table, &merged, all), 0);
    EXPECT_EQ(merged.second, 0xFFFFu);
    PlatformDestroy(table);
}

} // namespace
