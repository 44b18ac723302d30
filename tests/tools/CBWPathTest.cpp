#include <bwcore/tools/CBWPath.h>

#include "CodePage.h"

#include <gtest/gtest.h>

#include <string>

// "表" in code page 932: lead byte 0x95, trail byte 0x5C, the same byte as the backslash.
#define CP932_HYO "\x95\x5C"

namespace {

struct JoinCase {
    const char* pszLeft;
    const char* pszRight;
    const char* pszExpected;
};

struct ExtensionCase {
    const char* pszPath;
    const char* pszExpected;
};

void CheckJoins(const JoinCase* pCases, size_t nCases) {
    for (size_t i = 0; i < nCases; ++i) {
        const JoinCase& c = pCases[i];
        SCOPED_TRACE(std::string("\"") + c.pszLeft + "\" ^ \"" + c.pszRight + "\"");
        CBWPath path(c.pszLeft);
        const CBWPath right(c.pszRight);
        path ^= right;
        EXPECT_STREQ(c.pszExpected, static_cast<LPCSTR>(path));
        EXPECT_STREQ(c.pszRight, static_cast<LPCSTR>(right));
    }
}

void CheckExtensions(const ExtensionCase* pCases, size_t nCases) {
    for (size_t i = 0; i < nCases; ++i) {
        const ExtensionCase& c = pCases[i];
        SCOPED_TRACE(std::string("\"") + c.pszPath + "\"");
        const CBWPath path(c.pszPath);
        const CBWPath extension = path.GetExtension();
        EXPECT_STREQ(c.pszExpected, static_cast<LPCSTR>(extension));
        EXPECT_STREQ(c.pszPath, static_cast<LPCSTR>(path));
    }
}

class CBWPathCp932 : public testing::Test {
protected:
    void SetUp() override { BW_REQUIRE_ACP(932); }
};

} // namespace

TEST(CBWPath, HoldsTheTextItWasGiven) {
    const CBWPath fromText("C:\\data\\file.txt");
    EXPECT_STREQ("C:\\data\\file.txt", static_cast<LPCSTR>(fromText));
    EXPECT_EQ(CString("C:\\data\\file.txt"), fromText.GetPath());

    const CString strDir("dir\\sub\\");
    const CBWPath fromString(strDir);
    EXPECT_STREQ("dir\\sub\\", static_cast<LPCSTR>(fromString));

    const CBWPath copy(fromString);
    EXPECT_STREQ("dir\\sub\\", static_cast<LPCSTR>(copy));

    const CBWPath empty("");
    EXPECT_STREQ("", static_cast<LPCSTR>(empty));
    EXPECT_TRUE(empty.GetPath().IsEmpty());
}

TEST(CBWPath, CopiesAreIndependent) {
    CBWPath original("dir");
    const CBWPath copy(original);
    original ^= CBWPath("x");
    EXPECT_STREQ("dir\\x", static_cast<LPCSTR>(original));
    EXPECT_STREQ("dir", static_cast<LPCSTR>(copy));
}

TEST(CBWPath, JoinPutsExactlyOneBackslashBetweenTheSides) {
    const JoinCase cases[] = {
        {"dir", "*.*", "dir\\*.*"},
        {"C:\\data\\sub", "file.txt", "C:\\data\\sub\\file.txt"},
        {"dir\\", "x", "dir\\x"},
        {"dir", "\\x", "dir\\x"},
        {"dir\\", "\\x", "dir\\x"},
        {"dir\\\\", "\\\\x", "dir\\x"},
        {"dir\\", "*.*", "dir\\*.*"},
        {"C:\\", "x", "C:\\x"},
        {"C:", "x", "C:\\x"},
        {"\\", "x", "\\x"},
        {"\\\\server\\share", "dir", "\\\\server\\share\\dir"},
        {"dir", "sub\\x", "dir\\sub\\x"},
        {"dir", "x\\", "dir\\x\\"},
        {"dir", "\\", "dir\\"},
        {"d.d", ".x", "d.d\\.x"},
        {"a/b", "c", "a/b\\c"},
    };
    CheckJoins(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(CBWPath, JoinWithAnEmptySide) {
    const JoinCase cases[] = {
        {"", "x", "x"},     {"", "\\x", "\\x"},     {"", "*.*", "*.*"},
        {"dir", "", "dir"}, {"dir\\", "", "dir\\"}, {"", "", ""},
    };
    CheckJoins(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(CBWPath, JoinsFromBothConstructorsAndChains) {
    const CString strDir("C:\\data");
    CBWPath path(strDir);
    (path ^= CBWPath("sub")) ^= CBWPath("*.*");
    EXPECT_STREQ("C:\\data\\sub\\*.*", static_cast<LPCSTR>(path));
    EXPECT_STREQ("C:\\data", static_cast<LPCSTR>(strDir));
}

TEST(CBWPath, JoinWithItself) {
    CBWPath path("dir\\");
    path ^= path;
    EXPECT_STREQ("dir\\dir\\", static_cast<LPCSTR>(path));
}

TEST(CBWPath, ExtensionIsTheTextAfterTheLastDotOfTheLastComponent) {
    const ExtensionCase cases[] = {
        {"file.txt", "txt"},
        {"C:\\data\\file.TXT", "TXT"},
        {"archive.tar.gz", "gz"},
        {"dir.d\\file.x", "x"},
        {"*.*", "*"},
        {".profile", "profile"},
        {"dir\\.profile", "profile"},
        {"file.longextension", "longextension"},
        {"file. x", " x"},
    };
    CheckExtensions(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST(CBWPath, ExtensionIsEmptyWhenTheLastComponentHasNone) {
    const ExtensionCase cases[] = {
        {"", ""},        {"name", ""}, {"name.", ""}, {"a.b\\c", ""}, {"C:\\dir.d\\file", ""},
        {"dir.d\\", ""}, {"..", ""},   {"\\", ""},
    };
    CheckExtensions(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST_F(CBWPathCp932, JoinKeepsADoubleByteCharacterWhoseTrailByteIsABackslash) {
    const JoinCase cases[] = {
        {"C:\\data\\" CP932_HYO, "x", "C:\\data\\" CP932_HYO "\\x"},
        {CP932_HYO, "*.*", CP932_HYO "\\*.*"},
        {CP932_HYO "\\", "x", CP932_HYO "\\x"},
        {CP932_HYO "\\\\", "\\x", CP932_HYO "\\x"},
        {"dir", CP932_HYO, "dir\\" CP932_HYO},
        {"dir", "\\" CP932_HYO, "dir\\" CP932_HYO},
        {"", CP932_HYO, CP932_HYO},
        {CP932_HYO, "", CP932_HYO},
    };
    CheckJoins(cases, sizeof(cases) / sizeof(cases[0]));
}

TEST_F(CBWPathCp932, ExtensionStepsOverDoubleByteCharacters) {
    const ExtensionCase cases[] = {
        {"a." CP932_HYO "b", CP932_HYO "b"},
        {"x." CP932_HYO, CP932_HYO},
        {"dir\\" CP932_HYO ".txt", "txt"},
        {"a.b\\" CP932_HYO, ""},
    };
    CheckExtensions(cases, sizeof(cases) / sizeof(cases[0]));
}
