#include <bwcore/tools/CStringEx.h>

#include "CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TokenizeCase {
    const char* pszText;
    char chSeparator;
    std::vector<std::string> expected;
};

std::vector<std::string> Elements(const CStringArray& arr) {
    std::vector<std::string> elements;
    for (INT_PTR i = 0; i < arr.GetSize(); ++i) {
        const CString& str = arr.GetAt(i);
        elements.emplace_back(str.GetString(), static_cast<size_t>(str.GetLength()));
    }
    return elements;
}

void CheckTokenize(const std::vector<TokenizeCase>& cases) {
    for (const TokenizeCase& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.pszText + "\" at '" + c.chSeparator + "'");
        const CStringEx str(c.pszText);
        CStringArray arr;
        const int nAdded = str.TokenizeStringIntoStringArray(arr, c.chSeparator, true);
        EXPECT_EQ(c.expected, Elements(arr));
        EXPECT_EQ(static_cast<int>(c.expected.size()), nAdded);
        EXPECT_STREQ(c.pszText, str.GetString());
    }
}

class CStringExCp932 : public testing::Test {
protected:
    void SetUp() override { BW_REQUIRE_ACP(932); }
};

} // namespace

TEST(CStringEx, HoldsACopyOfItsText) {
    const char szText[] = "alpha";
    const CStringEx fromText(szText);
    EXPECT_STREQ("alpha", fromText.GetString());

    CString str("beta");
    const CStringEx fromString(str);
    str = "changed";
    EXPECT_STREQ("beta", fromString.GetString());
    EXPECT_EQ(4, fromString.GetLength());

    const CString& base = fromString;
    EXPECT_EQ(CString("beta"), base);
}

TEST(CStringEx, TokenizeSplitsAtEverySeparator) {
    CheckTokenize({
        {"a,b,c", ',', {"a", "b", "c"}},
        {"abc", ',', {"abc"}},
        {"one two", ' ', {"one", "two"}},
        {"a;b,c", ';', {"a", "b,c"}},
        {" a , b ", ',', {" a ", " b "}},
        {"C:\\dir\\file", '\\', {"C:", "dir", "file"}},
    });
}

TEST(CStringEx, TokenizeKeepsEmptyPieces) {
    CheckTokenize({
        {"", ',', {}},
        {",", ',', {"", ""}},
        {",,", ',', {"", "", ""}},
        {"a,,b", ',', {"a", "", "b"}},
        {",a", ',', {"", "a"}},
        {"a,", ',', {"a", ""}},
        {",a,", ',', {"", "a", ""}},
    });
}

TEST(CStringExTokenize, TrueEmptiesTheArrayFirst) {
    CStringArray arr;
    arr.Add(CString("old"));
    const CStringEx str("x|y");
    EXPECT_EQ(2, str.TokenizeStringIntoStringArray(arr, '|', true));
    EXPECT_EQ((std::vector<std::string>{"x", "y"}), Elements(arr));

    const CStringEx empty("");
    EXPECT_EQ(0, empty.TokenizeStringIntoStringArray(arr, '|', true));
    EXPECT_EQ(0, arr.GetSize());
}

TEST(CStringExTokenize, FalseAppendsToTheArray) {
    CStringArray arr;
    arr.Add(CString("old"));
    const CStringEx str("x|y");
    EXPECT_EQ(2, str.TokenizeStringIntoStringArray(arr, '|', false));
    EXPECT_EQ((std::vector<std::string>{"old", "x", "y"}), Elements(arr));
}

TEST(CStringExTokenize, AZeroInsideTheStringIsAnOrdinaryCharacter) {
    const CStringEx str(CString("a\0b,c", 5));
    CStringArray arr;
    EXPECT_EQ(2, str.TokenizeStringIntoStringArray(arr, ',', true));
    EXPECT_EQ((std::vector<std::string>{std::string("a\0b", 3), "c"}), Elements(arr));
}

// In code page 932, "表" is 0x95 0x5C (trail byte the backslash) and "ポ" is 0x83 0x7C (trail
// byte the vertical bar).
TEST_F(CStringExCp932, TokenizeDoesNotSplitADoubleByteCharacter) {
    CheckTokenize({
        {"\x95\x5C\\b", '\\', {"\x95\x5C", "b"}},
        {"C:\\\x95\x5C\\\x95\x5C", '\\', {"C:", "\x95\x5C", "\x95\x5C"}},
        {"\x83\x7C|x|\x83\x7C", '|', {"\x83\x7C", "x", "\x83\x7C"}},
        {"\x83\x7C", '|', {"\x83\x7C"}},
        {"a,\x95", ',', {"a", "\x95"}},
    });
}
