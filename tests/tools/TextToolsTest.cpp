// CBWPath, CStringEx and CSystem: the joins, extensions, pieces and hexadecimal values their
// callers rely on, with double-byte characters whose trail byte is the separator kept whole.
#include <bwcore/tools/CBWPath.h>
#include <bwcore/tools/CStringEx.h>
#include <bwcore/tools/CSystem.h>

#include "CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// In code page 932 "表" is 0x95 0x5C (trail byte the backslash), "ポ" 0x83 0x7C (the bar).
#define HYO "\x95\x5C"
#define PO "\x83\x7C"

namespace {

struct PathCase {
    const char* left;
    const char* right; // joined to left with ^=
    const char* joined;
    const char* extension; // of left
};

void CheckPaths(const std::vector<PathCase>& cases) {
    for (const PathCase& c : cases) {
        SCOPED_TRACE(std::string(c.left) + " ^ " + c.right);
        CBWPath path(c.left);
        EXPECT_STREQ(c.extension, static_cast<LPCSTR>(path.GetExtension()));
        path ^= CBWPath(CString(c.right));
        EXPECT_STREQ(c.joined, static_cast<LPCSTR>(path));
    }
}

struct PiecesCase {
    const char* text;
    char separator;
    std::vector<std::string> pieces;
};

void CheckPieces(const std::vector<PiecesCase>& cases) {
    for (const PiecesCase& c : cases) {
        SCOPED_TRACE(c.text);
        CStringArray pieces;
        pieces.Add(CString("old"));
        const int count =
            CStringEx(c.text).TokenizeStringIntoStringArray(pieces, c.separator, true);
        EXPECT_EQ(static_cast<int>(c.pieces.size()), count);
        std::vector<std::string> got;
        for (INT_PTR i = 0; i < pieces.GetSize(); ++i)
            got.emplace_back(pieces[i].GetString());
        EXPECT_EQ(c.pieces, got);
    }
}

class TextToolsCp932 : public testing::Test {
protected:
    void SetUp() override { BW_REQUIRE_ACP(932); }
};

TEST(CBWPath, JoinPutsExactlyOneBackslashAndExtensionIsAfterTheLastDot) {
    CheckPaths({
        {"dir", "*.*", "dir\\*.*", ""},
        {"C:\\data\\sub", "file.txt", "C:\\data\\sub\\file.txt", ""},
        {"dir\\", "\\x", "dir\\x", ""},
        {"C:", "x", "C:\\x", ""},
        {"", "x", "x", ""},
        {"dir", "", "dir", ""},
        {"archive.tar.gz", "x", "archive.tar.gz\\x", "gz"},
        {"dir.d\\file", "x", "dir.d\\file\\x", ""},
        {"dir\\.profile", "x", "dir\\.profile\\x", "profile"},
        {"name.", "x", "name.\\x", ""},
    });
    CBWPath path("dir\\");
    path ^= path;
    EXPECT_STREQ("dir\\dir\\", static_cast<LPCSTR>(path));
}

TEST_F(TextToolsCp932, PathsKeepDoubleByteCharacters) {
    CheckPaths({
        {"C:\\" HYO, "x", "C:\\" HYO "\\x", ""},
        {HYO "\\", "x", HYO "\\x", ""},
        {"dir", "\\" HYO, "dir\\" HYO, ""},
        {"a." HYO "b", "x", "a." HYO "b\\x", HYO "b"},
        {"a.b\\" HYO, "", "a.b\\" HYO, ""},
    });
}

TEST(CStringEx, TokenizeReplacesTheArrayWithEveryPiece) {
    CheckPieces({
        {"a,b,c", ',', {"a", "b", "c"}},
        {"abc", ',', {"abc"}},
        {"C:\\dir\\file", '\\', {"C:", "dir", "file"}},
        {"", ',', {}},
        {",a,,", ',', {"", "a", "", ""}},
    });
}

TEST_F(TextToolsCp932, TokenizeKeepsDoubleByteCharacters) {
    CheckPieces({
        {"C:\\" HYO "\\" HYO, '\\', {"C:", HYO, HYO}},
        {PO "|x", '|', {PO, "x"}},
        {"a,\x95", ',', {"a", "\x95"}},
    });
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
        {"", 0},
        {"1G2", 0x1},
        {"12h", 0x12},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value, CSystem::ConvertHexStringToDecimalValue(CStringEx(c.text))) << c.text;
}

} // namespace
