// The thousands separators, the in-place line-break conversions with their 4092-byte copy, and
// the hexadecimal, replacement and tokenising wrappers.
#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

// A comma takes only the low 32 bits, as in a Windows long (0x100000001 is 1).
TEST(CutilText, CommaExamplesAndEdges) {
    // clang-format off
    const struct { long long value; const char* expected; } kCases[] = {
        {0, "0"}, {999, "999"}, {1000, "1,000"}, {-100, "-100"}, {-123456, "-123,456"},
        {1234567, "1,234,567"}, {INT32_MIN, "-2,147,483,648"}, {0x100000001LL, "1"},
    };
    // clang-format on
    for (const auto& c : kCases) {
        CString str("old");
        EXPECT_EQ(0, CutilAddCommaToNumber(static_cast<long>(c.value), str));
        EXPECT_STREQ(c.expected, str) << c.value;
    }
}

TEST(CutilText, LineBreaksPairsOnlyLeftToRightIn4092Bytes) {
    // clang-format off
    const struct { bool toSlashN; const char *text, *expected; } kCases[] = {
        {true, "a\r\nb\r\n", "a\\nb\\n"},             {true, "\r\r\n\n", "\r\\n\n"},
        {true, "lone\nfeed\rreturn", "lone\nfeed\rreturn"}, {true, "kept\\n", "kept\\n"},
        {false, "x\\ny\r\n", "x\r\ny\r\n"},           {false, "\\\\n", "\\\r\n"},
    };
    // clang-format on
    for (const auto& c : kCases) {
        std::vector<char> buffer(4092);
        strcpy(buffer.data(), c.text);
        (c.toSlashN ? CutilConvertCRLFToSlashN : CutilConvertSlashNToCRLF)(buffer.data());
        EXPECT_STREQ(c.expected, buffer.data()) << c.text;
    }
    // The copy back writes exactly 4092 bytes.
    std::vector<char> buffer(4100, 'x');
    strcpy(buffer.data(), "a\r\nb");
    CutilConvertCRLFToSlashN(buffer.data());
    EXPECT_EQ("a\\nb" + std::string(4088, '\0') + "xxxxxxxx", std::string(buffer.data(), 4100));
}

// The replacement reports whether anything changed; the tokeniser empties the array first and
// takes only the separator's low byte; the hexadecimal value is the 32-bit one.
TEST(CutilText, HexReplaceAndTokenizeResults) {
    unsigned long value = 1;
    EXPECT_EQ(0, CutilHexToDec("0xFFFFFFFF", &value));
    EXPECT_EQ(0xFFFFFFFFul, value);
    EXPECT_EQ(0, CutilHexToDec("1f", &value));
    EXPECT_EQ(31ul, value);

    CString text("a-b-a");
    EXPECT_EQ(1, CutilStringReplace(text, "a", "xy"));
    EXPECT_STREQ("xy-b-xy", text);
    EXPECT_EQ(0, CutilStringReplace(text, "a", "z"));
    EXPECT_STREQ("xy-b-xy", text);

    CStringArray arr;
    arr.Add("old");
    EXPECT_EQ(3, CutilTokenizeString("p,,q", 0x100 | ',', arr));
    EXPECT_STREQ("p", arr[0]);
    EXPECT_STREQ("", arr[1]);
    EXPECT_STREQ("q", arr[2]);
}

} // namespace
