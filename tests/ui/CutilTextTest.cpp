// The text functions: separators, the in-place line-break conversions with their 4092-byte copy,
// replacement and tokenising.
#include <bwcore/bwcore.h>

#include "CodePage.h"

#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

TEST(CutilAddCommaToNumber, GroupsOfThreeWithoutACommaBeforeTheSign) {
    const struct {
        int64_t value;
        const char* expected;
    } kCases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {-100, "-100"},
        {-1000, "-1,000"},
        {-123456, "-123,456"},
        {1234567, "1,234,567"},
        {INT32_MIN, "-2,147,483,648"},
        // Only the low 32 bits count, as in a Windows long.
        {0x100000001LL, "1"},
        {0x80000000LL, "-2,147,483,648"},
    };
    for (const auto& c : kCases) {
        CString str("old");
        EXPECT_EQ(0, CutilAddCommaToNumber(static_cast<long>(c.value), str));
        EXPECT_STREQ(c.expected, str) << c.value;
    }
}

TEST(CutilConvertLineBreaks, PairsOnlyAndBothWays) {
    const struct {
        const char* text;
        const char* slashN;   // CutilConvertCRLFToSlashN of text
        const char* backCRLF; // CutilConvertSlashNToCRLF of that
    } kCases[] = {
        {"a\r\nb\r\n", "a\\nb\\n", "a\r\nb\r\n"},
        {"lone\nfeed\rreturn", "lone\nfeed\rreturn", "lone\nfeed\rreturn"},
        {"\r\r\n\n", "\r\\n\n", "\r\r\n\n"},
        // An escape already there becomes a line break on the way back.
        {"x\\ny\r\n", "x\\ny\\n", "x\r\ny\r\n"},
        {"\\\\n", "\\\\n", "\\\r\n"},
        {"", "", ""},
    };
    for (const auto& c : kCases) {
        std::vector<char> buffer(4092);
        strcpy(buffer.data(), c.text);
        CutilConvertCRLFToSlashN(buffer.data());
        EXPECT_STREQ(c.slashN, buffer.data()) << c.text;
        CutilConvertSlashNToCRLF(buffer.data());
        EXPECT_STREQ(c.backCRLF, buffer.data()) << c.text;
    }
    CutilConvertCRLFToSlashN(nullptr);
    CutilConvertSlashNToCRLF(nullptr);
}

TEST(CutilConvertLineBreaks, CopyBackWritesExactly4092Bytes) {
    std::vector<char> buffer(4100, 'x');
    strcpy(buffer.data(), "a\r\nb");
    CutilConvertCRLFToSlashN(buffer.data());
    EXPECT_STREQ("a\\nb", buffer.data());
    EXPECT_EQ(std::string(4092 - 4, '\0'), std::string(&buffer[4], 4092 - 4));
    EXPECT_EQ(std::string(8, 'x'), std::string(&buffer[4092], 8));

    // The longest text allowed comes back whole and terminated.
    std::string longest(4089, 'L');
    longest += "\\n";
    strcpy(buffer.data(), longest.c_str());
    CutilConvertSlashNToCRLF(buffer.data());
    EXPECT_EQ(std::string(4089, 'L') + "\r\n", std::string(buffer.data()));
}

TEST(CutilConvertLineBreaks, Cp932BackslashTrailByteIsNoEscape) {
    BW_REQUIRE_ACP(932);
    // 0x95 0x5C is one character; the 'n' after it is not part of an escape.
    char buffer[4092] = "\x95\\n\\n";
    CutilConvertSlashNToCRLF(buffer);
    EXPECT_STREQ("\x95\\n\r\n", buffer);
}

TEST(CutilHexToDec, StoresTheConversion) {
    unsigned long value = 7;
    EXPECT_EQ(0, CutilHexToDec("1A2b", &value));
    EXPECT_EQ(0x1A2Bul, value);
    EXPECT_EQ(0, CutilHexToDec(nullptr, &value));
    EXPECT_EQ(0x1A2Bul, value);
    EXPECT_EQ(0, CutilHexToDec("ff", nullptr));
}

TEST(CutilStringReplace, OneWhenSomethingWasReplaced) {
    const struct {
        const char *text, *oldText, *newText, *expected;
        int result;
    } kCases[] = {
        {"a.b.c", ".", "--", "a--b--c", 1},
        {"aaa", "aa", "b", "ba", 1},
        {"abc", "x", "y", "abc", 0},
        {"abc", "", "y", "abc", 0},
    };
    for (const auto& c : kCases) {
        CString str(c.text);
        EXPECT_EQ(c.result, CutilStringReplace(str, c.oldText, c.newText)) << c.text;
        EXPECT_STREQ(c.expected, str) << c.text;
    }
}

TEST(CutilTokenizeString, EmptiesTheArrayAndUsesTheLowByte) {
    CStringArray arr;
    arr.Add("earlier");
    EXPECT_EQ(3, CutilTokenizeString("a,,b", 0x100 | ',', arr));
    ASSERT_EQ(3, arr.GetSize());
    EXPECT_STREQ("a", arr[0]);
    EXPECT_STREQ("", arr[1]);
    EXPECT_STREQ("b", arr[2]);
}

} // namespace
