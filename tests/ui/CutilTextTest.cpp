// The text functions, one table: separators, the in-place line-break conversions (and their
// 4092-byte copy), replacement and tokenising.
#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

// The function named by fn on the input; replace turns "." into "--" and gives "result text",
// tokenize splits at ',' (passed with a high byte) and gives "count first last".
std::string Apply(const std::string& fn, const char* input) {
    CString str(input);
    if (fn == "comma") {
        CutilAddCommaToNumber(static_cast<long>(std::stoll(input, nullptr, 0)), str);
        return std::string(str);
    }
    if (fn == "replace") {
        const int result = CutilStringReplace(str, ".", "--");
        return std::to_string(result) + " " + std::string(str);
    }
    if (fn == "tokenize") {
        CStringArray arr;
        arr.Add("earlier");
        const int count = CutilTokenizeString(input, 0x100 | ',', arr);
        return std::to_string(count) + " " + std::string(arr[0]) + " " +
               std::string(arr[count - 1]);
    }
    std::vector<char> buffer(4092);
    strcpy(buffer.data(), input);
    (fn == "crlf" ? CutilConvertCRLFToSlashN : CutilConvertSlashNToCRLF)(buffer.data());
    return buffer.data();
}

// A comma takes only the low 32 bits, as in a Windows long (0x100000001 is 1); tokenize empties
// the array first.
TEST(CutilText, ExamplesAndEdges) {
    // clang-format off
    const struct { const char *fn, *input, *expected; } kCases[] = {
        {"comma", "0", "0"},                          {"comma", "999", "999"},
        {"comma", "1000", "1,000"},                   {"comma", "-100", "-100"},
        {"comma", "-123456", "-123,456"},             {"comma", "1234567", "1,234,567"},
        {"comma", "-2147483648", "-2,147,483,648"},   {"comma", "0x100000001", "1"},
        {"crlf", "a\r\nb\r\n", "a\\nb\\n"},             {"crlf", "\r\r\n\n", "\r\\n\n"},
        {"crlf", "lone\nfeed\rreturn", "lone\nfeed\rreturn"}, {"crlf", "kept\\n", "kept\\n"},
        {"slashn", "x\\ny\r\n", "x\r\ny\r\n"},          {"slashn", "\\\\n", "\\\r\n"},
        {"replace", "a.b.c", "1 a--b--c"},            {"replace", "abc", "0 abc"},
        {"tokenize", "a,,b", "3 a b"},
    };
    // clang-format on
    for (const auto& c : kCases)
        EXPECT_EQ(c.expected, Apply(c.fn, c.input)) << c.fn << " " << c.input;
}

TEST(CutilText, LineBreakCopyBackWritesExactly4092Bytes) {
    std::vector<char> buffer(4100, 'x');
    strcpy(buffer.data(), "a\r\nb");
    CutilConvertCRLFToSlashN(buffer.data());
    EXPECT_EQ("a\\nb" + std::string(4088, '\0') + "xxxxxxxx", std::string(buffer.data(), 4100));
}

} // namespace
