// Icons: choosing an image from a group, creating icons from images, icon handles, loading icon
// groups from the core library's resources, and CIcon. The same expectations hold for the
// platform's own icon functions (under Wine) and for the Linux layer.
#include <bwcore/tools/CIcon.h>

#include <bwcore/BWCoreInit.h>
#include <bwcore/afx/CDynLinkLibrary.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

constexpr DWORD kSentinelError = 0xDEADBEEF;
constexpr DWORD kIconFormat = 0x00030000;

void PutWord(std::vector<BYTE>& out, unsigned value) {
    out.push_back(static_cast<BYTE>(value));
    out.push_back(static_cast<BYTE>(value >> 8));
}

void PutDword(std::vector<BYTE>& out, unsigned value) {
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

// An icon image resource: info header (height doubled), colour table for 1 to 8 bits per pixel,
// colour rows and mask rows, all rows from the bottom and padded to 32 bits. Colour table entry i
// is blue i * 16, green i * 16 + 1, red i * 16 + 2 (each modulo 256); byte i of the colour rows is
// i * 7 + 1 and byte i of the mask rows 0x55 + i.
std::vector<BYTE> IconImage(int width, int height, unsigned bits) {
    const unsigned colours = bits <= 8 ? 1u << bits : 0;
    const size_t colourStride = (width * bits + 31) / 32 * 4;
    const size_t maskStride = (width + 31) / 32 * 4;
    std::vector<BYTE> out;
    PutDword(out, 40);
    PutDword(out, width);
    PutDword(out, 2 * height);
    PutWord(out, 1);
    PutWord(out, bits);
    PutDword(out, 0); // BI_RGB
    PutDword(out, static_cast<unsigned>((colourStride + maskStride) * height));
    PutDword(out, 0);
    PutDword(out, 0);
    PutDword(out, 0);
    PutDword(out, 0);
    for (unsigned i = 0; i < colours; ++i) {
        out.push_back(static_cast<BYTE>(i * 16));
        out.push_back(static_cast<BYTE>(i * 16 + 1));
        out.push_back(static_cast<BYTE>(i * 16 + 2));
        out.push_back(0);
    }
    for (size_t i = 0; i < colourStride * height; ++i) {
        out.push_back(static_cast<BYTE>(i * 7 + 1));
    }
    for (size_t i = 0; i < maskStride * height; ++i) {
        out.push_back(static_cast<BYTE>(0x55 + i));
    }
    return out;
}

struct GroupEntry {
    int width;
    int height;
    unsigned bits;
    WORD id;
};

// An icon group directory of the given images.
std::vector<BYTE> IconGroup(const std::vector<GroupEntry>& entries, unsigned reserved = 0) {
    std::vector<BYTE> out;
    PutWord(out, reserved);
    PutWord(out, 1);
    PutWord(out, static_cast<unsigned>(entries.size()));
    for (const GroupEntry& entry : entries) {
        out.push_back(static_cast<BYTE>(entry.width));
        out.push_back(static_cast<BYTE>(entry.height));
        out.push_back(static_cast<BYTE>(entry.bits < 8 ? 1u << entry.bits : 0));
        out.push_back(0);
        PutWord(out, 1);
        PutWord(out, entry.bits);
        PutDword(out, 0x1000);
        PutWord(out, entry.id);
    }
    return out;
}

// What GetIconInfo and GetObjectA tell of an icon; its bitmaps are deleted again.
struct IconDescription {
    bool valid;
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    BITMAP mask;
    bool hasColour;
    BITMAP colour;
};

IconDescription Describe(HICON hIcon) {
    IconDescription d = {};
    ICONINFO info = {};
    if (!GetIconInfo(hIcon, &info)) {
        return d;
    }
    d.valid = GetObjectA(info.hbmMask, sizeof d.mask, &d.mask) == sizeof d.mask;
    d.fIcon = info.fIcon;
    d.xHotspot = info.xHotspot;
    d.yHotspot = info.yHotspot;
    d.hasColour = info.hbmColor != nullptr &&
                  GetObjectA(info.hbmColor, sizeof d.colour, &d.colour) == sizeof d.colour;
    EXPECT_TRUE(DeleteObject(info.hbmMask));
    if (info.hbmColor) {
        EXPECT_TRUE(DeleteObject(info.hbmColor));
    }
    return d;
}

// A colour icon of width by height: a 1-bit mask and 32-bit colours of that size, the hotspot in
// the middle.
void ExpectIconOfSize(HICON hIcon, int width, int height) {
    ASSERT_NE(hIcon, nullptr);
    const IconDescription d = Describe(hIcon);
    ASSERT_TRUE(d.valid);
    EXPECT_TRUE(d.fIcon);
    EXPECT_EQ(d.xHotspot, static_cast<DWORD>(width / 2));
    EXPECT_EQ(d.yHotspot, static_cast<DWORD>(height / 2));
    EXPECT_EQ(d.mask.bmWidth, width);
    EXPECT_EQ(d.mask.bmHeight, height);
    EXPECT_EQ(d.mask.bmBitsPixel, 1);
    EXPECT_EQ(d.mask.bmPlanes, 1);
    ASSERT_TRUE(d.hasColour);
    EXPECT_EQ(d.colour.bmWidth, width);
    EXPECT_EQ(d.colour.bmHeight, height);
    EXPECT_EQ(d.colour.bmBitsPixel, 32);
}

// The pixels of an icon's bitmaps, as GetBitmapBits gives them: rows from the top, the mask at
// 1 bit and the colours at 32 bits (blue, green, red, alpha) per pixel, rows padded to 16 bits.
struct IconPixels {
    std::vector<BYTE> mask;
    std::vector<BYTE> colour;
};

IconPixels PixelsOf(HICON hIcon) {
    IconPixels pixels;
    ICONINFO info = {};
    if (!GetIconInfo(hIcon, &info)) {
        return pixels;
    }
    for (auto [hbm, out] : {std::make_pair(info.hbmMask, &pixels.mask),
                            std::make_pair(info.hbmColor, &pixels.colour)}) {
        out->resize(GetBitmapBits(hbm, 0, nullptr));
        out->resize(GetBitmapBits(hbm, static_cast<LONG>(out->size()), out->data()));
        EXPECT_TRUE(DeleteObject(hbm));
    }
    return pixels;
}

// The core library's module, found as CIcon finds it: through the framework's resource chain.
HINSTANCE CoreModule() {
    return AfxFindResourceHandle(MAKEINTRESOURCEA(30336), RT_GROUP_ICON);
}

class CoreIcons : public ::testing::Test {
protected:
    // The front end starts the core library, which puts its resources on the framework's chain.
    static void SetUpTestSuite() { BWCoreInit(); }
};

// --- Choosing an image from a group.

struct LookupCase {
    int cx;
    int cy;
    UINT flags;
    int expected;
};

TEST(LookupIconIdFromDirectoryExTest, ChoosesNearestSizeThenNearestDepth) {
    std::vector<BYTE> group = IconGroup(
        {{32, 32, 4, 11}, {16, 16, 4, 12}, {32, 32, 32, 13}, {16, 16, 32, 14}, {48, 48, 32, 15}});
    const LookupCase cases[] = {
        {16, 16, LR_DEFAULTCOLOR, 14},
        {32, 32, LR_DEFAULTCOLOR, 13},
        {48, 48, LR_DEFAULTCOLOR, 15},
        {64, 64, LR_DEFAULTCOLOR, 15},
        {8, 8, LR_DEFAULTCOLOR, 14},
        {20, 20, LR_DEFAULTCOLOR, 14},
        // A zero size is the system's icon size, 32.
        {0, 0, LR_DEFAULTCOLOR, 13},
        {0, 16, LR_DEFAULTCOLOR, 13},
        // Equally near in size: the depth decides, then the order of the entries.
        {24, 24, LR_DEFAULTCOLOR, 13},
        {40, 40, LR_DEFAULTCOLOR, 13},
        // Monochrome prefers the fewest colours among the nearest sizes.
        {16, 16, LR_MONOCHROME, 12},
        {32, 32, LR_MONOCHROME, 11},
        {48, 48, LR_MONOCHROME, 15},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.cx << "x" << c.cy << " flags " << c.flags);
        EXPECT_EQ(LookupIconIdFromDirectoryEx(group.data(), TRUE, c.cx, c.cy, c.flags), c.expected);
    }
}

TEST(LookupIconIdFromDirectoryExTest, DepthDecidesOnlyAmongImagesDifferingAlike) {
    std::vector<BYTE> group = IconGroup({{32, 32, 4, 31}, {16, 16, 32, 32}});
    const LookupCase cases[] = {
        // Both images are 32 away from 16 by 48, but the second differs by 0 and 32 where the
        // first one found differs by 16 and 16, so its better depth does not count.
        {16, 48, LR_DEFAULTCOLOR, 31},
        {48, 16, LR_DEFAULTCOLOR, 31},
        // Both differ from 24 by 24 by 8 and 8.
        {24, 24, LR_DEFAULTCOLOR, 32},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.cx << "x" << c.cy);
        EXPECT_EQ(LookupIconIdFromDirectoryEx(group.data(), TRUE, c.cx, c.cy, c.flags), c.expected);
    }
}

TEST(LookupIconIdFromDirectoryExTest, FirstEntryWinsFullTies) {
    std::vector<BYTE> group = IconGroup({{16, 16, 32, 21}, {16, 16, 32, 22}});
    EXPECT_EQ(LookupIconIdFromDirectoryEx(group.data(), TRUE, 16, 16, LR_DEFAULTCOLOR), 21);
}

TEST(LookupIconIdFromDirectoryExTest, RejectsWhatIsNoIconGroup) {
    std::vector<BYTE> reserved = IconGroup({{16, 16, 32, 1}}, 1);
    EXPECT_EQ(LookupIconIdFromDirectoryEx(reserved.data(), TRUE, 16, 16, LR_DEFAULTCOLOR), 0);
    std::vector<BYTE> empty = IconGroup({});
    EXPECT_EQ(LookupIconIdFromDirectoryEx(empty.data(), TRUE, 16, 16, LR_DEFAULTCOLOR), 0);
}

// --- Creating icons from images.

struct CreateCase {
    int width;
    int height;
    unsigned bits;
};

TEST(CreateIconFromResourceExTest, TakesEveryDepthAtItsOwnSize) {
    const CreateCase cases[] = {{16, 16, 1}, {32, 32, 4},  {7, 5, 4},   {16, 16, 8},
                                {9, 3, 24},  {32, 32, 32}, {48, 48, 32}};
    for (const CreateCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << "x" << c.bits);
        std::vector<BYTE> image = IconImage(c.width, c.height, c.bits);
        HICON hIcon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                               kIconFormat, 0, 0, LR_DEFAULTCOLOR);
        ExpectIconOfSize(hIcon, c.width, c.height);
        EXPECT_TRUE(DestroyIcon(hIcon));
    }
}

TEST(CreateIconFromResourceExTest, StretchesToTheSizeAskedFor) {
    std::vector<BYTE> image = IconImage(32, 32, 32);
    const CreateCase sizes[] = {{16, 16, 0}, {32, 32, 0}, {48, 48, 0}, {20, 10, 0}};
    for (const CreateCase& size : sizes) {
        SCOPED_TRACE(::testing::Message() << size.width << "x" << size.height);
        HICON hIcon =
            CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                     kIconFormat, size.width, size.height, LR_DEFAULTCOLOR);
        ExpectIconOfSize(hIcon, size.width, size.height);
        EXPECT_TRUE(DestroyIcon(hIcon));
    }
}

TEST(CreateIconFromResourceExTest, DefaultSizeIsTheSystemIconSize) {
    std::vector<BYTE> image = IconImage(16, 16, 32);
    HICON hIcon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                           kIconFormat, 0, 0, LR_DEFAULTSIZE);
    ExpectIconOfSize(hIcon, 32, 32);
    EXPECT_TRUE(DestroyIcon(hIcon));
}

struct PixelCase {
    int width;
    int height;
    unsigned bits;
    std::vector<BYTE> mask;
    std::vector<BYTE> colour;
};

// Rows are read from the bottom; indexed pixels take their colour table entry with alpha 0, the
// first pixel in the high bits of a byte; 24-bit pixels get alpha 0; 32-bit pixels keep theirs.
// Mask bits past the width are cleared.
TEST(CreateIconFromResourceExTest, DecodesColoursAndMask) {
    const PixelCase cases[] = {
        {8,
         2,
         1,
         {0x59, 0x00, 0x55, 0x00},
         {0x00, 0x01, 0x02, 0, 0x00, 0x01, 0x02, 0, 0x00, 0x01, 0x02, 0, 0x10, 0x11, 0x12, 0,
          0x10, 0x11, 0x12, 0, 0x10, 0x11, 0x12, 0, 0x00, 0x01, 0x02, 0, 0x10, 0x11, 0x12, 0,
          0x00, 0x01, 0x02, 0, 0x00, 0x01, 0x02, 0, 0x00, 0x01, 0x02, 0, 0x00, 0x01, 0x02, 0,
          0x00, 0x01, 0x02, 0, 0x00, 0x01, 0x02, 0, 0x00, 0x01, 0x02, 0, 0x10, 0x11, 0x12, 0}},
        {4, 2, 4, {0x50, 0x00, 0x50, 0x00}, {0x10, 0x11, 0x12, 0, 0xD0, 0xD1, 0xD2, 0,
                                             0x20, 0x21, 0x22, 0, 0x40, 0x41, 0x42, 0,
                                             0x00, 0x01, 0x02, 0, 0x10, 0x11, 0x12, 0,
                                             0x00, 0x01, 0x02, 0, 0x80, 0x81, 0x82, 0}},
        {2,
         2,
         8,
         {0x40, 0x00, 0x40, 0x00},
         {0xD0, 0xD1, 0xD2, 0, 0x40, 0x41, 0x42, 0, 0x10, 0x11, 0x12, 0, 0x80, 0x81, 0x82, 0}},
        {2,
         2,
         24,
         {0x40, 0x00, 0x40, 0x00},
         {0x39, 0x40, 0x47, 0, 0x4E, 0x55, 0x5C, 0, 0x01, 0x08, 0x0F, 0, 0x16, 0x1D, 0x24, 0}},
        {2,
         2,
         32,
         {0x40, 0x00, 0x40, 0x00},
         {0x39, 0x40, 0x47, 0x4E, 0x55, 0x5C, 0x63, 0x6A, 0x01, 0x08, 0x0F, 0x16, 0x1D, 0x24, 0x2B,
          0x32}},
    };
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << "x" << c.bits);
        std::vector<BYTE> image = IconImage(c.width, c.height, c.bits);
        HICON hIcon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                               kIconFormat, 0, 0, LR_DEFAULTCOLOR);
        ASSERT_NE(hIcon, nullptr);
        const IconPixels pixels = PixelsOf(hIcon);
        EXPECT_EQ(pixels.mask, c.mask);
        EXPECT_EQ(pixels.colour, c.colour);
        EXPECT_TRUE(DestroyIcon(hIcon));
    }
}

TEST(CreateIconFromResourceExTest, DoublingRepeatsEveryPixel) {
    std::vector<BYTE> image = IconImage(4, 2, 4);
    HICON hIcon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                           kIconFormat, 8, 4, LR_DEFAULTCOLOR);
    ASSERT_NE(hIcon, nullptr);
    const IconPixels pixels = PixelsOf(hIcon);
    // Mask rows 0101 become 00110011.
    EXPECT_EQ(pixels.mask, std::vector<BYTE>({0x33, 0, 0x33, 0, 0x33, 0, 0x33, 0}));
    const BYTE rows[2][4] = {{0x10, 0xD0, 0x20, 0x40}, {0x00, 0x10, 0x00, 0x80}};
    std::vector<BYTE> expected;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            const BYTE blue = rows[y / 2][x / 2];
            expected.insert(expected.end(),
                            {blue, static_cast<BYTE>(blue + 1), static_cast<BYTE>(blue + 2), 0});
        }
    }
    EXPECT_EQ(pixels.colour, expected);
    EXPECT_TRUE(DestroyIcon(hIcon));
}

TEST(CreateIconFromResourceExTest, RejectsOldFormatAndShortData) {
    std::vector<BYTE> image = IconImage(16, 16, 32);
    const auto size = static_cast<DWORD>(image.size());
    EXPECT_EQ(CreateIconFromResourceEx(image.data(), size, TRUE, 0x00020000, 0, 0, 0), nullptr);
    EXPECT_EQ(CreateIconFromResourceEx(image.data(), 40, TRUE, kIconFormat, 0, 0, 0), nullptr);
    EXPECT_EQ(CreateIconFromResourceEx(nullptr, 0, TRUE, kIconFormat, 0, 0, 0), nullptr);
}

// --- Icon handles.

HICON NewIcon(int size) {
    std::vector<BYTE> image = IconImage(size, size, 32);
    return CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                    kIconFormat, 0, 0, LR_DEFAULTCOLOR);
}

TEST(IconHandleTest, InvalidHandlesAreRefused) {
    HICON bad = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(0xBADBAD));
    ICONINFO info = {};
    SetLastError(kSentinelError);
    EXPECT_FALSE(GetIconInfo(bad, &info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_CURSOR_HANDLE));
    SetLastError(kSentinelError);
    EXPECT_FALSE(GetIconInfo(nullptr, &info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_CURSOR_HANDLE));
    SetLastError(kSentinelError);
    EXPECT_EQ(CopyIcon(bad), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_CURSOR_HANDLE));
    EXPECT_FALSE(DestroyIcon(bad));
    EXPECT_FALSE(DestroyIcon(nullptr));
}

TEST(IconHandleTest, DestroyedIconIsGone) {
    HICON hIcon = NewIcon(16);
    ASSERT_NE(hIcon, nullptr);
    EXPECT_TRUE(DestroyIcon(hIcon));
    EXPECT_FALSE(DestroyIcon(hIcon));
}

TEST(IconHandleTest, CopyIsIndependentOfTheOriginal) {
    HICON original = NewIcon(16);
    ASSERT_NE(original, nullptr);
    HICON copy = CopyIcon(original);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, original);
    EXPECT_TRUE(DestroyIcon(original));
    ExpectIconOfSize(copy, 16, 16);
    EXPECT_TRUE(DestroyIcon(copy));
}

TEST(IconHandleTest, EachGetIconInfoGivesNewBitmaps) {
    HICON hIcon = NewIcon(32);
    ASSERT_NE(hIcon, nullptr);
    ICONINFO first = {};
    ICONINFO second = {};
    ASSERT_TRUE(GetIconInfo(hIcon, &first));
    ASSERT_TRUE(GetIconInfo(hIcon, &second));
    EXPECT_NE(first.hbmMask, second.hbmMask);
    EXPECT_NE(first.hbmColor, second.hbmColor);
    for (HBITMAP hbm : {first.hbmMask, first.hbmColor, second.hbmMask, second.hbmColor}) {
        EXPECT_TRUE(DeleteObject(hbm));
    }
    EXPECT_TRUE(DestroyIcon(hIcon));
}

// --- Bitmaps, as GetIconInfo hands them out.

struct BitmapCase {
    int width;
    int height;
    UINT bits;
    LONG widthBytes;
};

TEST(CreateBitmapTest, RowsArePaddedToWords) {
    const BitmapCase cases[] = {{9, 3, 1, 2}, {16, 1, 1, 2},  {17, 1, 1, 4}, {3, 2, 4, 2},
                                {3, 2, 8, 4}, {3, 2, 24, 10}, {3, 2, 32, 12}};
    for (const BitmapCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << "x" << c.bits);
        HBITMAP hbm = CreateBitmap(c.width, c.height, 1, c.bits, nullptr);
        ASSERT_NE(hbm, nullptr);
        BITMAP bm = {};
        EXPECT_EQ(GetObjectA(hbm, sizeof bm, &bm), static_cast<int>(sizeof bm));
        EXPECT_EQ(bm.bmType, 0);
        EXPECT_EQ(bm.bmWidth, c.width);
        EXPECT_EQ(bm.bmHeight, c.height);
        EXPECT_EQ(bm.bmWidthBytes, c.widthBytes);
        EXPECT_EQ(bm.bmPlanes, 1);
        EXPECT_EQ(bm.bmBitsPixel, c.bits);
        EXPECT_EQ(bm.bmBits, nullptr);
        EXPECT_TRUE(DeleteObject(hbm));
    }
}

TEST(CreateBitmapTest, GetBitmapBitsCopiesAsMuchAsAskedFor) {
    const BYTE bits[] = {1, 2, 3, 4};
    HBITMAP hbm = CreateBitmap(16, 2, 1, 1, bits);
    ASSERT_NE(hbm, nullptr);
    EXPECT_EQ(GetBitmapBits(hbm, 0, nullptr), 4);
    BYTE out[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(GetBitmapBits(hbm, 3, out), 3);
    EXPECT_EQ(std::vector<BYTE>(out, out + 6), std::vector<BYTE>({1, 2, 3, 0xEE, 0xEE, 0xEE}));
    EXPECT_EQ(GetBitmapBits(hbm, sizeof out, out), 4);
    EXPECT_EQ(std::vector<BYTE>(out, out + 6), std::vector<BYTE>({1, 2, 3, 4, 0xEE, 0xEE}));
    EXPECT_TRUE(DeleteObject(hbm));
    EXPECT_EQ(GetBitmapBits(hbm, sizeof out, out), 0);
}

TEST(CreateBitmapTest, GetObjectNeedsRoomForTheWholeDescription) {
    HBITMAP hbm = CreateBitmap(4, 4, 1, 1, nullptr);
    ASSERT_NE(hbm, nullptr);
    EXPECT_EQ(GetObjectA(hbm, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
    BITMAP bm[2] = {};
    EXPECT_EQ(GetObjectA(hbm, sizeof(BITMAP) - 1, bm), 0);
    EXPECT_EQ(GetObjectA(hbm, sizeof bm, bm), static_cast<int>(sizeof(BITMAP)));
    EXPECT_TRUE(DeleteObject(hbm));
}

TEST(CreateBitmapTest, DeletedAndInvalidHandlesAreRefused) {
    HBITMAP hbm = CreateBitmap(4, 4, 1, 1, nullptr);
    ASSERT_NE(hbm, nullptr);
    EXPECT_TRUE(DeleteObject(hbm));
    EXPECT_FALSE(DeleteObject(hbm));
    BITMAP bm = {};
    EXPECT_EQ(GetObjectA(hbm, sizeof bm, &bm), 0);
    EXPECT_FALSE(DeleteObject(nullptr));
    SetLastError(kSentinelError);
    EXPECT_EQ(CreateBitmap(4, 4, 2, 1, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// --- Loading icon groups from the core library's resources.

TEST_F(CoreIcons, LoadImageTakesTheSizeAskedFor) {
    HINSTANCE hInst = CoreModule();
    ASSERT_NE(hInst, nullptr);
    const CreateCase sizes[] = {{16, 16, 0}, {32, 32, 0}, {24, 24, 0}, {48, 48, 0}};
    for (const CreateCase& size : sizes) {
        SCOPED_TRACE(::testing::Message() << size.width << "x" << size.height);
        HICON hIcon = static_cast<HICON>(LoadImageA(hInst, MAKEINTRESOURCEA(30336), IMAGE_ICON,
                                                    size.width, size.height, LR_DEFAULTCOLOR));
        ExpectIconOfSize(hIcon, size.width, size.height);
        EXPECT_TRUE(DestroyIcon(hIcon));
    }
}

TEST_F(CoreIcons, LoadImageWithoutSizeTakesTheFirstImagesSize) {
    HICON hIcon = static_cast<HICON>(
        LoadImageA(CoreModule(), MAKEINTRESOURCEA(30337), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    ExpectIconOfSize(hIcon, 32, 32);
    EXPECT_TRUE(DestroyIcon(hIcon));
}

TEST_F(CoreIcons, LoadImageOfAMissingGroupFails) {
    EXPECT_EQ(
        LoadImageA(CoreModule(), MAKEINTRESOURCEA(30338), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR),
        nullptr);
}

TEST_F(CoreIcons, UnsharedLoadsGiveNewIcons) {
    HINSTANCE hInst = CoreModule();
    HANDLE first = LoadImageA(hInst, MAKEINTRESOURCEA(30336), IMAGE_ICON, 16, 16, 0);
    HANDLE second = LoadImageA(hInst, MAKEINTRESOURCEA(30336), IMAGE_ICON, 16, 16, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
    EXPECT_TRUE(DestroyIcon(static_cast<HICON>(first)));
    EXPECT_TRUE(DestroyIcon(static_cast<HICON>(second)));
}

TEST_F(CoreIcons, SharedIconsAreMadeOncePerSizeAndOutliveDestroyIcon) {
    HINSTANCE hInst = CoreModule();
    HICON large = LoadIconA(hInst, MAKEINTRESOURCEA(30355));
    ExpectIconOfSize(large, 32, 32);
    EXPECT_EQ(LoadIconA(hInst, MAKEINTRESOURCEA(30355)), large);
    HANDLE small = LoadImageA(hInst, MAKEINTRESOURCEA(30355), IMAGE_ICON, 16, 16, LR_SHARED);
    ExpectIconOfSize(static_cast<HICON>(small), 16, 16);
    EXPECT_NE(small, large);
    EXPECT_EQ(LoadImageA(hInst, MAKEINTRESOURCEA(30355), IMAGE_ICON, 16, 16, LR_SHARED), small);
    EXPECT_TRUE(DestroyIcon(large));
    ExpectIconOfSize(large, 32, 32);
    // A copy of a shared icon is an icon of its own.
    HICON copy = CopyIcon(large);
    EXPECT_NE(copy, large);
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_FALSE(DestroyIcon(copy));
}

// The true-colour image is the one loaded: the folder's front keeps its colour and full alpha,
// and the corner is transparent.
TEST_F(CoreIcons, LoadImageTakesTheTrueColourImage) {
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        HICON hIcon = static_cast<HICON>(LoadImageA(CoreModule(), MAKEINTRESOURCEA(30336),
                                                    IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(hIcon, nullptr);
        const IconPixels pixels = PixelsOf(hIcon);
        ASSERT_EQ(pixels.colour.size(), static_cast<size_t>(size * size * 4));
        const size_t maskStride = (size + 15) / 16 * 2;
        EXPECT_EQ(pixels.mask[0] & 0x80, 0x80);
        EXPECT_EQ(std::vector<BYTE>(pixels.colour.begin(), pixels.colour.begin() + 4),
                  std::vector<BYTE>({0, 0, 0, 0}));
        // The middle of the front flap, 8 by 10 on the 16-unit grid.
        const size_t x = size / 2;
        const size_t y = size * 10 / 16;
        EXPECT_EQ(pixels.mask[y * maskStride + x / 8] & (0x80 >> x % 8), 0);
        const size_t at = (y * size + x) * 4;
        EXPECT_EQ(std::vector<BYTE>(pixels.colour.begin() + at, pixels.colour.begin() + at + 4),
                  std::vector<BYTE>({0x5A, 0xD7, 0xFF, 0xFF}));
        EXPECT_TRUE(DestroyIcon(hIcon));
    }
}

// --- CIcon

static_assert(std::is_standard_layout<CIcon>::value && offsetof(CIcon, m_hIcon) == 0,
              "callers find the icon handle at the object's address");

TEST_F(CoreIcons, CIconLoadsEveryIconAtBothSizes) {
    const int ids[] = {30336, 30337, 30355, 31264, 31265, 31266, 31267, 31268, 31269, 31270, 31271};
    for (int id : ids) {
        for (int size : {16, 32}) {
            SCOPED_TRACE(::testing::Message() << id << " at " << size);
            CIcon icon(id, size, size);
            ExpectIconOfSize(icon.m_hIcon, size, size);
            EXPECT_TRUE(DestroyIcon(icon.m_hIcon));
        }
    }
}

TEST_F(CoreIcons, CIconLeavesTheIconToTheCaller) {
    HICON hIcon = nullptr;
    {
        CIcon icon(30336, 16, 16);
        hIcon = icon.m_hIcon;
        ASSERT_NE(hIcon, nullptr);
        EXPECT_EQ(*reinterpret_cast<HICON*>(&icon), hIcon);
    }
    ExpectIconOfSize(hIcon, 16, 16);
    EXPECT_TRUE(DestroyIcon(hIcon));
}

TEST_F(CoreIcons, CIconOfAMissingIdHasNoHandle) {
    const int ids[] = {30338, 1, 0};
    for (int id : ids) {
        SCOPED_TRACE(id);
        CIcon icon(id, 16, 16);
        EXPECT_EQ(icon.m_hIcon, nullptr);
    }
}

} // namespace
