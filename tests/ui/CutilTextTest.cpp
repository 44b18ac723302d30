// The thousands separators and the in-place line-break conversions with their 4092-byte copy.
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

} // namespace
