// ExtractIconA and the image lists (through CImageList and directly), as measured under Wine 8.0:
// the same source runs against the Linux layer and, in the Windows build, against Win32.
#include <bwcore/afx/CImageList.h>
#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kIconFile = BWCORE_TEST_DATA_DIR "/resources/test.ico"; // 16 and 32 pixels
const std::string kTextFile = BWCORE_TEST_DATA_DIR "/catalogue.tsv";
const std::string kPeWithoutIcons = BWCORE_PE_CORPUS_DIR "/pe32plus-strings";
// Wine's own PE files, reached through its drive Z: under Wine and through the drive mapping of
// the Linux layer natively: shell32.dll holds 184 icon groups (ids 1 to 4 among them),
// notepad.exe one.
const std::string kWinePe = "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\";

// An icon of that width, which the call destroys.
void ExpectIconOfWidth(HICON hIcon, LONG width) {
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(hIcon, &info));
    BITMAP colour = {};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, width);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    DestroyIcon(hIcon);
}

TEST(ExtractIconA, IconsCountsAndNone) {
    const UINT kCount = static_cast<UINT>(-1);
    constexpr ULONG_PTR kIcon = ~ULONG_PTR{0};
    const struct {
        std::string file;
        UINT index;
        ULONG_PTR expected; // kIcon for an icon, else the value itself
    } cases[] = {
        {kIconFile, 0, kIcon},
        {kIconFile, 1, 0},
        {kIconFile, kCount, 1},
        {kIconFile, static_cast<UINT>(-5), kIcon}, // an icon file's icon has every id
        {kWinePe + "shell32.dll", kCount, 184},
        {kWinePe + "shell32.dll", 0, kIcon},
        {kWinePe + "shell32.dll", 184, 0},
        {kWinePe + "shell32.dll", static_cast<UINT>(-3), kIcon}, // the group with id 3
        {kWinePe + "shell32.dll", static_cast<UINT>(-99999), 0},
        {kWinePe + "notepad.exe", kCount, 1},
        {kPeWithoutIcons, 0, 0},
        {kPeWithoutIcons, kCount, 0},
        {kTextFile, 0, 0},
        {BWCORE_TEST_DATA_DIR "/missing.ico", 0, 0},
        {"", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + " at " + std::to_string(static_cast<int>(c.index)));
        HICON hIcon = ExtractIconA(GetModuleHandleA(nullptr), c.file.c_str(), c.index);
        if (c.expected == kIcon)
            ExpectIconOfWidth(hIcon, 32);
        else
            EXPECT_EQ(reinterpret_cast<ULONG_PTR>(hIcon), c.expected);
    }
}

// Copies at the list's size, in order, outliving the icon added; bad sizes and handles refused.
TEST(ImageLists, KeepCopiesAtTheirSize) {
    HICON hIcon = ExtractIconA(nullptr, kIconFile.c_str(), 0);
    CImageList large, small, bad;
    ASSERT_TRUE(large.Create(32, 32, ILC_MASK, 1, 20));
    ASSERT_TRUE(small.Create(16, 16, ILC_MASK, 1, 4));
    EXPECT_FALSE(bad.Create(0, 16, ILC_MASK, 1, 1));
    EXPECT_EQ(large.Add(hIcon) + large.Add(hIcon) + small.Add(hIcon), 1);
    EXPECT_EQ(large.Add(nullptr), -1);
    EXPECT_EQ(ImageList_ReplaceIcon(large.m_hImageList, -2, hIcon), -1);
    EXPECT_EQ(ImageList_ReplaceIcon(nullptr, -1, hIcon), -1);
    DestroyIcon(hIcon);
    EXPECT_EQ(large.GetImageCount(), 2);
    ExpectIconOfWidth(large.ExtractIcon(1), 32);
    ExpectIconOfWidth(small.ExtractIcon(0), 16);
    EXPECT_EQ(large.ExtractIcon(2), nullptr);
    EXPECT_EQ(ImageList_GetIcon(nullptr, 0, ILD_NORMAL), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(nullptr), 0);
    EXPECT_TRUE(large.DeleteImageList());
    EXPECT_FALSE(large.DeleteImageList());
    EXPECT_FALSE(ImageList_Destroy(nullptr));
}

} // namespace
