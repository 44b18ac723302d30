// CBWPath, CStringEx and CSystem: the joins, extensions, pieces and hexadecimal values their
// callers rely on, with double-byte characters whose trail byte is the separator kept whole.
#include <bwcore/tools/CBWPath.h>
#include <bwcore/tools/CStringEx.h>
#include <bwcore/tools/CSystem.h>

#include "CodePage.h"

#include <gtest/gtest.h>

#include <string>

// In code page 932 "表" is 0x95 0x5C (trail byte the backslash), "ポ" 0x83 0x7C (the bar).
#define HYO "\x95\x5C"
#define PO "\x83\x7C"

namespace {

// Each case: left ^= right gives joined, and left's extension; text split at sep gives the
// pieces, written joined by '/' (with their count in front).
struct Case {
    const char* left;
    const char* right;
    const char* joined;
    const char* extension;
    char sep;
    const char* pieces;
};

void Check(const Case& c) {
    SCOPED_TRACE(std::string(c.left) + " ^ " + c.right);
    CBWPath path(c.left);
    EXPECT_STREQ(c.extension, static_cast<LPCSTR>(path.GetExtension()));
    path ^= CBWPath(CString(c.right));
    EXPECT_STREQ(c.joined, static_cast<LPCSTR>(path));
    CStringArray pieces;
    pieces.Add(CString("old"));
    std::string got =
        std::to_string(CStringEx(c.left).TokenizeStringIntoStringArray(pieces, c.sep, true));
    for (INT_PTR i = 0; i < pieces.GetSize(); ++i)
        got += std::string("/") + pieces[i].GetString();
    EXPECT_EQ(c.pieces, got);
}

TEST(TextTools, JoinsExtensionsAndPieces) {
    const Case cases[] = {
        {"dir", "*.*", "dir\\*.*", "", ',', "1/dir"},
        {"C:\\data\\sub", "file.txt", "C:\\data\\sub\\file.txt", "", '\\', "3/C:/data/sub"},
        {"dir\\", "\\x", "dir\\x", "", '\\', "2/dir/"},
        {"C:", "x", "C:\\x", "", ',', "1/C:"},
        {"", "x", "x", "", ',', "0"},
        {"a.b", "", "a.b", "b", '.', "2/a/b"},
        {"archive.tar.gz", "x", "archive.tar.gz\\x", "gz", ',', "1/archive.tar.gz"},
        {"dir.d\\file", "x", "dir.d\\file\\x", "", '.', "2/dir/d\\file"},
        {"\\.profile", "x", "\\.profile\\x", "profile", '\\', "2//.profile"},
        {",a,,", "x", ",a,,\\x", "", ',', "4//a//"},
    };
    for (const Case& c : cases)
        Check(c);
    CBWPath path("dir\\");
    path ^= path;
    EXPECT_STREQ("dir\\dir\\", static_cast<LPCSTR>(path));
}

TEST(TextToolsCp932, DoubleByteCharactersStayWhole) {
    BW_REQUIRE_ACP(932);
    const Case cases[] = {
        {"C:\\" HYO, "x", "C:\\" HYO "\\x", "", '\\', "2/C:/" HYO},
        {HYO "\\", "\\" HYO, HYO "\\" HYO, "", '\\', "2/" HYO "/"},
        {"a." HYO "b", "", "a." HYO "b", HYO "b", '.', "2/a/" HYO "b"},
        {"a.b\\" HYO, "", "a.b\\" HYO, "", '|', "1/a.b\\" HYO},
        {PO "|x", "", PO "|x", "", '|', "2/" PO "/x"},
        {"a,\x95", "", "a,\x95", "", ',', "2/a/\x95"},
    };
    for (const Case& c : cases)
        Check(c);
}

TEST(CSystem, HexadecimalValues) {
    const struct {
        const char* text;
        DWORD value;
    } cases[] = {
        {"1A", 0x1A},
        {"aBcDeF", 0xABCDEF},
        {"FFFFFFFF", 0xFFFFFFFF},
        {"123456789", 0x23456789},
        {"0x1F", 0x1F},
        {"0X1f", 0x1F},
        {"", 0},
        {"1G2", 0x1},
        {"12h", 0x12},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value, CSystem::ConvertHexStringToDecimalValue(CStringEx(c.text))) << c.text;
}

} // namespace
