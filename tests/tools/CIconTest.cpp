// CIcon and the icon functions under it, on the library's own icons (resources/icons: each a
// 32 and a 16 pixel image in 16 colours, then the same two in 32-bit colour). The same
// expectations hold for the platform's icon functions (under Wine) and for the Linux layer.
#include <bwcore/tools/CIcon.h>

#include <bwcore/BWCoreInit.h>
#include <bwcore/afx/CDynLinkLibrary.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <type_traits>
#include <vector>

static_assert(std::is_standard_layout<CIcon>::value && offsetof(CIcon, m_hIcon) == 0,
              "callers find the icon handle at the object's address");

namespace {

constexpr int kFolder = 30336;

// A colour icon of that size: a 1-bit mask and 32-bit colours, the hotspot in the middle.
void ExpectIconOfSize(HICON hIcon, int size) {
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(hIcon, &info));
    BITMAP mask = {}, colour = {};
    EXPECT_EQ(GetObjectA(info.hbmMask, sizeof mask, &mask), static_cast<int>(sizeof mask));
    EXPECT_EQ(GetObjectA(info.hbmColor, sizeof colour, &colour), static_cast<int>(sizeof colour));
    EXPECT_TRUE(info.fIcon);
    EXPECT_EQ(info.xHotspot, static_cast<DWORD>(size / 2));
    EXPECT_EQ(mask.bmWidth, size);
    EXPECT_EQ(mask.bmHeight, size);
    EXPECT_EQ(mask.bmBitsPixel, 1);
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_EQ(colour.bmHeight, size);
    EXPECT_EQ(colour.bmBitsPixel, 32);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
}

std::vector<BYTE> Bits(HBITMAP hbm) {
    std::vector<BYTE> bits(GetBitmapBits(hbm, 0, nullptr));
    bits.resize(GetBitmapBits(hbm, static_cast<LONG>(bits.size()), bits.data()));
    DeleteObject(hbm);
    return bits;
}

// The folder at that size: its top left corner is transparent (mask set, colour 0) and the
// middle of its front flap (8 by 10 on the 16-unit grid) is opaque, of the colour given (blue,
// green, red, alpha). Rows come from the top, mask rows padded to 16 bits.
void ExpectFolderPixels(HICON hIcon, size_t size, const std::vector<BYTE>& flap) {
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(hIcon, &info));
    const std::vector<BYTE> mask = Bits(info.hbmMask), colour = Bits(info.hbmColor);
    ASSERT_EQ(colour.size(), size * size * 4);
    const size_t maskStride = (size + 15) / 16 * 2, x = size / 2, y = size * 10 / 16;
    EXPECT_EQ(mask[0] & 0x80, 0x80);
    EXPECT_EQ(std::vector<BYTE>(colour.begin(), colour.begin() + 4), std::vector<BYTE>(4));
    EXPECT_EQ(mask[y * maskStride + x / 8] & (0x80 >> x % 8), 0);
    const size_t at = (y * size + x) * 4;
    EXPECT_EQ(std::vector<BYTE>(colour.begin() + at, colour.begin() + at + 4), flap);
}

class CoreIcons : public ::testing::Test {
protected:
    // The front end starts the core library, which puts its resources on the framework's chain.
    static void SetUpTestSuite() { BWCoreInit(); }
    static HINSTANCE Core() {
        return AfxFindResourceHandle(MAKEINTRESOURCEA(kFolder), RT_GROUP_ICON);
    }
    static BYTE* Resource(int id, LPCSTR type, DWORD* size) {
        HRSRC found = FindResourceA(Core(), MAKEINTRESOURCEA(id), type);
        *size = SizeofResource(Core(), found);
        return static_cast<BYTE*>(LockResource(LoadResource(Core(), found)));
    }
};

TEST_F(CoreIcons, ImagesDecodeTrueColourAndPalette) {
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        HICON loaded = static_cast<HICON>(
            LoadImageA(Core(), MAKEINTRESOURCEA(kFolder), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ExpectFolderPixels(loaded, size, {0x5A, 0xD7, 0xFF, 0xFF});
        DestroyIcon(loaded);
        // The 16-colour image (the folder's are the images 1 and 2, at 32 and 16 pixels): palette
        // entry 11 (yellow), whose alpha stays 0.
        DWORD bytes = 0;
        BYTE* image = Resource(size == 16 ? 2 : 1, RT_ICON, &bytes);
        HICON indexed = CreateIconFromResourceEx(image, bytes, TRUE, 0x00030000, 0, 0, 0);
        ExpectIconOfSize(indexed, size);
        ExpectFolderPixels(indexed, size, {0x00, 0xFF, 0xFF, 0x00});
        DestroyIcon(indexed);
    }
}

TEST_F(CoreIcons, CIconLoadsEveryIconAtBothSizesAndLeavesItToTheCaller) {
    for (int id : {30336, 30337, 30355, 31264, 31265, 31266, 31267, 31268, 31269, 31270, 31271}) {
        for (int size : {16, 32}) {
            SCOPED_TRACE(testing::Message() << id << " at " << size);
            HICON hIcon = nullptr;
            {
                CIcon icon(id, size, size);
                hIcon = icon.m_hIcon;
            }
            ASSERT_NE(hIcon, nullptr);
            ExpectIconOfSize(hIcon, size);
            EXPECT_TRUE(DestroyIcon(hIcon));
        }
    }
    for (int id : {30338, 1, 0})
        EXPECT_EQ(CIcon(id, 16, 16).m_hIcon, nullptr) << id;
}

} // namespace
