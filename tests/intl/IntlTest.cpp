#include "TempFile.h"

#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// The first section is ignored whatever it holds; the second is current after loading.
const char kLanguages[] = "[0x0000]\r\n"
                          "Ignored=0x0001\r\n"
                          "[0x0409]\r\n"
                          "English=0x0409\r\n"
                          "  German =0x0407\t\r\n"
                          "Spaced= 0x0410\r\n"
                          "French=0x040c\r\n"
                          "Neutral English=0x0009\r\n"
                          "Neutral German=0x0007\r\n"
                          "English=0x0809\r\n"
                          "US English=0x0409\r\n"
                          "Decimal=1033\r\n"
                          "no equals sign\r\n"
                          "\r\n"
                          "[0x0407]\r\n"
                          "Englisch=0x0409\r\n"
                          "Deutsch=0x0407\r\n";

class IntlTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_table = IntlCreate();
        ASSERT_NE(m_table, nullptr);
    }
    void TearDown() override { EXPECT_EQ(IntlDestroy(m_table), 0); }

    uint16_t current() {
        uint16_t language = 0xFFFF;
        EXPECT_EQ(IntlGetLanguage(m_table, &language), 0);
        return language;
    }

    HINTL m_table = nullptr;
};

TEST_F(IntlTest, LoadMakesTheSecondHeaderCurrent) {
    TempFile file("load.txt", kLanguages);
    EXPECT_EQ(current(), 0);
    ASSERT_EQ(IntlLoad(m_table, file.path()), 0);
    EXPECT_EQ(current(), 0x0409);
    uint16_t id = 0;
    ASSERT_EQ(IntlGetLangId(m_table, "English", &id), 0);
    EXPECT_EQ(id, 0x0409);
    char name[260];
    ASSERT_EQ(IntlGetName(m_table, 0x0409, name), 0);
    EXPECT_STREQ(name, "English");
    ASSERT_EQ(IntlGetName(m_table, 0x040c, name), 0);
    EXPECT_STREQ(name, "French");
}

TEST_F(IntlTest, FirstSectionIsIgnored) {
    TempFile file("ignored.txt", kLanguages);
    ASSERT_EQ(IntlLoad(m_table, file.path()), 0);
    uint16_t id = 0;
    EXPECT_EQ(IntlGetLangId(m_table, "Ignored", &id), -3);
    EXPECT_EQ(IntlSetLanguage(m_table, 0x0000), -4);
    EXPECT_EQ(current(), 0x0409);
}

TEST_F(IntlTest, EntriesAreTrimmedAndBlanksBeforeTheEqualsSignBelongToTheName) {
    TempFile file("trim.txt", kLanguages);
    ASSERT_EQ(IntlLoad(m_table, file.path()), 0);
    uint16_t id = 0;
    EXPECT_EQ(IntlGetLangId(m_table, "German", &id), -3);
    ASSERT_EQ(IntlGetLangId(m_table, "German ", &id), 0);
    EXPECT_EQ(id, 0x0407);
    char name[260];
    ASSERT_EQ(IntlGetName(m_table, 0x0407, name), 0);
    EXPECT_STREQ(name, "German ");
    // The value starts right after the "=": a blank there means no "0x" prefix.
    EXPECT_EQ(IntlGetLangId(m_table, "Spaced", &id), -3);
    EXPECT_EQ(IntlGetName(m_table, 0x0410, name), -4);
}

TEST_F(IntlTest, FirstEntryForANameWinsAndAnIdKeepsItsFirstName) {
    TempFile file("duplicates.txt", kLanguages);
    ASSERT_EQ(IntlLoad(m_table, file.path()), 0);
    uint16_t id = 0;
    ASSERT_EQ(IntlGetLangId(m_table, "English", &id), 0);
    EXPECT_EQ(id, 0x0409);
    ASSERT_EQ(IntlGetLangId(m_table, "US English", &id), 0);
    EXPECT_EQ(id, 0x0409);
    char name[260];
    ASSERT_EQ(IntlGetName(m_table, 0x0409, name), 0);
    EXPECT_STREQ(name, "English");
    // The refused second "English" still names 0x0809, which had no name yet.
    ASSERT_EQ(IntlGetName(m_table, 0x0809, name), 0);
    EXPECT_STREQ(name, "English");
    // A value without the "0x" prefix is skipped.
    EXPECT_EQ(IntlGetLangId(m_table, "Decimal", &id), -3);
}

TEST_F(IntlTest, LineEndsOfEveryKind) {
    for (const char* end : {"\r\n", "\n", "\r"}) {
        std::string text = std::string("[x]") + end + "[0x0407]" + end + "Deutsch=0x0407" + end +
                           "Englisch=0x0409";
        TempFile file("ends.txt", text);
        HINTL table = IntlCreate();
        ASSERT_EQ(IntlLoad(table, file.path()), 0);
        uint16_t id = 0;
        EXPECT_EQ(IntlGetLangId(table, "Deutsch", &id), 0);
        EXPECT_EQ(IntlGetLangId(table, "Englisch", &id), 0);
        EXPECT_EQ(id, 0x0409);
        IntlDestroy(table);
    }
}

TEST_F(IntlTest, SetLanguage) {
    TempFile file("set.txt", kLanguages);
    ASSERT_EQ(IntlLoad(m_table, file.path()), 0);
    EXPECT_EQ(IntlSetLanguage(m_table, 0x0409), 0);
    EXPECT_EQ(IntlSetLanguage(m_table, 0x0407), 0);
    EXPECT_EQ(current(), 0x0407);
    uint16_t id = 0;
    EXPECT_EQ(IntlGetLangId(m_table, "English", &id), -3);
    ASSERT_EQ(IntlGetLangId(m_table, "Deutsch", &id), 0);
    EXPECT_EQ(id, 0x0407);
    EXPECT_EQ(IntlSetLanguage(m_table, 0x0411), -4);
    EXPECT_EQ(current(), 0x0407);
    EXPECT_EQ(IntlSetLanguage(nullptr, 0x0407), -1);
}

TEST_F(IntlTest, SecondLoadAppendsAndKeepsTheFirstSectionCurrent) {
    TempFile first("first.txt", kLanguages);
    TempFile second("second.txt", "[0x0000]\n[0x0411]\nJapanese=0x0411\n[0x0409]\nOther=0x0001\n");
    ASSERT_EQ(IntlLoad(m_table, first.path()), 0);
    ASSERT_EQ(IntlLoad(m_table, second.path()), 0);
    EXPECT_EQ(current(), 0x0409);
    uint16_t id = 0;
    EXPECT_EQ(IntlGetLangId(m_table, "English", &id), 0);
    EXPECT_EQ(IntlSetLanguage(m_table, 0x0411), 0);
    EXPECT_EQ(IntlGetLangId(m_table, "Japanese", &id), 0);
    // The first 0x0409 section is found before the second file's one.
    EXPECT_EQ(IntlSetLanguage(m_table, 0x0409), 0);
    EXPECT_EQ(IntlGetLangId(m_table, "Other", &id), -3);
    // A further load after a change of language returns to the table's first section.
    EXPECT_EQ(IntlSetLanguage(m_table, 0x0407), 0);
    ASSERT_EQ(IntlLoad(m_table, second.path()), 0);
    EXPECT_EQ(current(), 0x0409);
}

TEST_F(IntlTest, LoadFailures) {
    TempFile one("one-section.txt", "[0x0409]\nEnglish=0x0409\n");
    TempFile none("no-section.txt", "English=0x0409\n");
    EXPECT_EQ(IntlLoad(m_table, one.path()), -11);
    EXPECT_EQ(IntlLoad(m_table, none.path()), -11);
    EXPECT_EQ(IntlLoad(m_table, "/no/such/dir/languages.txt"), -8);
    EXPECT_EQ(IntlLoad(nullptr, one.path()), -1);
    EXPECT_EQ(current(), 0);
}

TEST_F(IntlTest, HeaderWithoutClosingBracketAndInvalidHeaderText) {
    // The header text runs to the line's end; a header that is no "0x" number keeps the id of
    // the previous section (0 for the file's first).
    TempFile file("brackets.txt", "[\n[0x0407\nA=0x0407\n[junk]\nB=0x0409\n");
    ASSERT_EQ(IntlLoad(m_table, file.path()), 0);
    EXPECT_EQ(current(), 0x0407);
    uint16_t id = 0;
    EXPECT_EQ(IntlGetLangId(m_table, "A", &id), 0);
    EXPECT_EQ(IntlGetLangId(m_table, "B", &id), -3);
}

TEST_F(IntlTest, LongNamesAreCutTo259Bytes) {
    std::string name(300, 'n');
    TempFile file("long.txt", "[0]\n[0x0409]\n" + name + "=0x0409\n");
    ASSERT_EQ(IntlLoad(m_table, file.path()), 0);
    char found[260];
    ASSERT_EQ(IntlGetName(m_table, 0x0409, found), 0);
    EXPECT_EQ(std::string(found), name.substr(0, 259));
    uint16_t id = 0;
    EXPECT_EQ(IntlGetLangId(m_table, name.substr(0, 259).c_str(), &id), 0);
}

TEST_F(IntlTest, LookupArguments) {
    TempFile file("arguments.txt", kLanguages);
    ASSERT_EQ(IntlLoad(m_table, file.path()), 0);
    uint16_t id = 0;
    char name[260];
    EXPECT_EQ(IntlGetLangId(nullptr, "English", &id), -1);
    EXPECT_EQ(IntlGetLangId(m_table, "English", nullptr), -2);
    EXPECT_EQ(IntlGetLangId(m_table, "Klingon", &id), -3);
    EXPECT_EQ(IntlGetName(nullptr, 0x0409, name), -1);
    EXPECT_EQ(IntlGetName(m_table, 0x0409, nullptr), -2);
    EXPECT_EQ(IntlGetName(m_table, 0x0411, name), -4);
    EXPECT_EQ(IntlGetLanguage(nullptr, &id), -1);
    EXPECT_EQ(IntlGetLanguage(m_table, nullptr), -1);
}

TEST_F(IntlTest, LookupsBeforeAnyLoadFindNothing) {
    uint16_t id = 0;
    char name[260];
    EXPECT_EQ(IntlGetLangId(m_table, "English", &id), -3);
    EXPECT_EQ(IntlGetName(m_table, 0x0409, name), -4);
    EXPECT_EQ(IntlEnum(m_table, name, &id, 1, INTL_ENUM_FIRST), 0);
    EXPECT_EQ(IntlMakeDirName(m_table, 0x0409, name), 0);
    // A new table's language 0 counts as current.
    EXPECT_EQ(IntlSetLanguage(m_table, 0), 0);
    EXPECT_EQ(IntlSetLanguage(m_table, 0x0409), -4);
}

TEST_F(IntlTest, IsNeutral) {
    TempFile file("neutral.txt", kLanguages);
    ASSERT_EQ(IntlLoad(m_table, file.path()), 0);
    EXPECT_EQ(IntlIsNeutral(m_table, nullptr, 0x0009), 1);
    EXPECT_EQ(IntlIsNeutral(m_table, nullptr, 0x03FF), 1);
    EXPECT_EQ(IntlIsNeutral(m_table, nullptr, 0x0400), 0);
    EXPECT_EQ(IntlIsNeutral(m_table, nullptr, 0x0409), 0);
    EXPECT_EQ(IntlIsNeutral(m_table, "Neutral English", 0x0409), 1);
    EXPECT_EQ(IntlIsNeutral(m_table, "English", 0x0009), 0);
    EXPECT_EQ(IntlIsNeutral(m_table, "Klingon", 0x0009), 0);
    EXPECT_EQ(IntlIsNeutral(nullptr, nullptr, 0x0009), 0);
}

std::set<std::pair<std::string, uint16_t>> enumerate(HINTL table, int32_t includeAll) {
    std::set<std::pair<std::string, uint16_t>> seen;
    char name[260];
    uint16_t id = 0;
    for (int32_t mode = INTL_ENUM_FIRST; IntlEnum(table, name, &id, includeAll, mode) == 1;
         mode = INTL_ENUM_NEXT)
        seen.insert({name, id});
    return seen;
}

TEST_F(IntlTest, EnumWithAndWithoutIncludeAll) {
    TempFile file("enum.txt", kLanguages);
    ASSERT_EQ(IntlLoad(m_table, file.path()), 0);
    using Set = std::set<std::pair<std::string, uint16_t>>;
    EXPECT_EQ(enumerate(m_table, 0),
              (Set{{"Neutral English", 0x0009}, {"Neutral German", 0x0007}}));
    EXPECT_EQ(enumerate(m_table, 1), (Set{{"English", 0x0409},
                                          {"German ", 0x0407},
                                          {"French", 0x040c},
                                          {"Neutral English", 0x0009},
                                          {"Neutral German", 0x0007},
                                          {"US English", 0x0409}}));
}

TEST_F(IntlTest, EnumWithoutNameBufferAndBadModes) {
    TempFile file("enum-modes.txt", kLanguages);
    ASSERT_EQ(IntlLoad(m_table, file.path()), 0);
    uint16_t id = 0;
    int count = 0;
    for (int32_t mode = INTL_ENUM_FIRST; IntlEnum(m_table, nullptr, &id, 1, mode) == 1;
         mode = INTL_ENUM_NEXT)
        ++count;
    EXPECT_EQ(count, 6);
    EXPECT_EQ(IntlEnum(m_table, nullptr, &id, 1, 0), -6);
    EXPECT_EQ(IntlEnum(m_table, nullptr, &id, 1, 3), -6);
    EXPECT_EQ(IntlEnum(nullptr, nullptr, &id, 1, 1), -1);
}

TEST_F(IntlTest, MakeDirName) {
    TempFile file("dir.txt", kLanguages);
    ASSERT_EQ(IntlLoad(m_table, file.path()), 0);
    char directory[300] = "untouched";
    ASSERT_EQ(IntlMakeDirName(m_table, 0x0409, directory), 1);
    EXPECT_STREQ(directory, "0409-English");
    ASSERT_EQ(IntlMakeDirName(m_table, 0x0009, directory), 1);
    EXPECT_STREQ(directory, "0009-Neutral English");
    const char* name = "French";
    ASSERT_EQ(IntlMakeDirName(m_table, reinterpret_cast<uintptr_t>(name), directory), 1);
    EXPECT_STREQ(directory, "040c-French");
    EXPECT_EQ(IntlMakeDirName(m_table, 0x0411, directory), 0);
    const char* unknown = "Klingon";
    EXPECT_EQ(IntlMakeDirName(m_table, reinterpret_cast<uintptr_t>(unknown), directory), 0);
    EXPECT_EQ(IntlMakeDirName(nullptr, 0x0409, directory), 0);
    EXPECT_EQ(IntlMakeDirName(m_table, 0x0409, nullptr), 0);
}

TEST(IntlHexToDecimalTest, Values) {
    struct Case {
        const char* text;
        int32_t result;
        uint32_t value;
    };
    const Case cases[] = {
        {"0x1A", 1, 26},        {"0x1a", 1, 26},       {"0x", 1, 0},          {"0x0409", 1, 0x0409},
        {"0xFFFFFFFF", 1, ~0u}, {"0x100000000", 1, 0}, {"0xg", 1, 'g' - 48u}, {"1A", 0, 77},
        {"0X1A", 0, 77},        {" 0x1A", 0, 77},      {"", 0, 77},
    };
    for (const Case& c : cases) {
        uint32_t value = 77;
        EXPECT_EQ(IntlHexToDecimal(c.text, &value), c.result) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    uint32_t value = 0;
    EXPECT_EQ(IntlHexToDecimal(nullptr, &value), 0);
}

} // namespace
