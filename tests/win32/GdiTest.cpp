// GDI: the display's capabilities, device-dependent bitmaps made from device-independent ones,
// and logical palettes realised into the system palette. The program runs on the true-colour
// display and again with BWCORE_DISPLAY_BITS=8 (win32_tests_display8: under Wine on an 8-bit X
// screen), where the palette cases run.
#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <array>
#include <vector>

namespace {

const bool kPaletteWanted =
    getenv("BWCORE_DISPLAY_BITS") && !strcmp(getenv("BWCORE_DISPLAY_BITS"), "8");

using Colour = std::array<BYTE, 3>; // red, green, blue

Colour ColourOf(const PALETTEENTRY& e) {
    return {e.peRed, e.peGreen, e.peBlue};
}

// The colour of each pixel of a bitmap of the screen, rows from the top.
std::vector<Colour> PixelColours(HBITMAP bitmap) {
    BITMAP bm = {};
    GetObjectA(bitmap, sizeof bm, &bm);
    std::vector<BYTE> bits(static_cast<size_t>(bm.bmWidthBytes * bm.bmHeight));
    EXPECT_EQ(static_cast<LONG>(bits.size()), GetBitmapBits(bitmap, -1, bits.data()));
    PALETTEENTRY system[256] = {};
    HDC screen = GetDC(nullptr);
    GetSystemPaletteEntries(screen, 0, 256, system);
    ReleaseDC(nullptr, screen);
    std::vector<Colour> colours;
    for (LONG y = 0; y < bm.bmHeight; ++y) {
        for (LONG x = 0; x < bm.bmWidth; ++x) {
            const BYTE* p = bits.data() + y * bm.bmWidthBytes + x * bm.bmBitsPixel / 8;
            colours.push_back(bm.bmBitsPixel == 8 ? ColourOf(system[*p])
                                                  : Colour{p[2], p[1], p[0]});
        }
    }
    return colours;
}

HBITMAP MakeBitmap(HDC dc, LONG width, LONG height, WORD bits, std::vector<Colour> table,
                   const std::vector<BYTE>& pixels, DWORD used = 0) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } dib = {{sizeof(BITMAPINFOHEADER), width, height, 1, bits, BI_RGB, 0, 0, 0, used, 0}, {}};
    for (size_t i = 0; i < table.size(); ++i)
        dib.colours[i] = {table[i][2], table[i][1], table[i][0], 0x55};
    return CreateDIBitmap(dc, &dib.header, CBM_INIT, pixels.data(),
                          reinterpret_cast<BITMAPINFO*>(&dib), DIB_RGB_COLORS);
}

const Colour kBlack = {0, 0, 0}, kWhite = {255, 255, 255}, kRed = {255, 0, 0}, kGreen = {0, 255, 0},
             kBlue = {0, 0, 255}, kYellow = {255, 255, 0};

// The static colours are Windows' (entries 8 and 246: money green and cream).
TEST(GdiTest, DisplayCapabilities) {
    HDC screen = GetDC(nullptr);
    const bool palette = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    if (palette != kPaletteWanted)
        GTEST_SKIP() << "the display is not what BWCORE_DISPLAY_BITS asks for";
    EXPECT_EQ(palette ? 8 : 32, GetDeviceCaps(screen, BITSPIXEL));
    EXPECT_EQ(palette ? 256 : 0, GetDeviceCaps(screen, SIZEPALETTE));
    PALETTEENTRY system[256];
    EXPECT_EQ(palette ? 256u : 0u, GetSystemPaletteEntries(screen, 0, 256, system));
    if (palette) {
        EXPECT_EQ((Colour{192, 220, 192}), ColourOf(system[8]));
        EXPECT_EQ((Colour{255, 251, 240}), ColourOf(system[246]));
    }
    EXPECT_EQ(1, ReleaseDC(nullptr, screen));
}

// Each depth's pixels, rows from the bottom unless the height is negative, indexes from the high
// bits, a short colour table making the indexes past it black; colours the static ones, which
// the palette display holds exactly, and one that it shows as its nearest (black).
TEST(GdiTest, CreateDIBitmapColoursEachPixel) {
    const Colour kDark = {30, 20, 10};
    const Colour kDarkShown = kPaletteWanted ? kBlack : kDark;
    const struct {
        LONG width, height;
        WORD bits;
        std::vector<Colour> table;
        std::vector<BYTE> pixels;
        DWORD used;
        std::vector<Colour> expected;
    } cases[] = {
        {9,
         -1,
         1,
         {kRed, kGreen},
         {0xA5, 0x80, 0, 0},
         0,
         {kGreen, kRed, kGreen, kRed, kRed, kGreen, kRed, kGreen, kGreen}},
        {3,
         2,
         4,
         {kBlack, kWhite, kYellow, kBlue},
         {0x01, 0x20, 0, 0, 0x33, 0x10, 0, 0},
         0,
         {kBlue, kBlue, kWhite, kBlack, kWhite, kYellow}},
        {3, 1, 8, {kRed, kDark, kGreen}, {1, 0, 2, 0}, 2, {kDarkShown, kRed, kBlack}},
        {2,
         2,
         24,
         {},
         {0, 0, 255, 0, 255, 0, 0, 0, 0, 255, 255, 10, 20, 30, 0, 0},
         0,
         {kYellow, kDarkShown, kRed, kGreen}},
    };
    HDC screen = GetDC(nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        HBITMAP bitmap = MakeBitmap(screen, c.width, c.height, c.bits, c.table, c.pixels, c.used);
        EXPECT_EQ(c.expected, PixelColours(bitmap));
        EXPECT_TRUE(DeleteObject(bitmap));
    }
    ReleaseDC(nullptr, screen);
}

// A foreground palette takes the free system entries from 10 in order; an entry whose colour is
// a static one shares it unless it has PC_NOCOLLAPSE or PC_RESERVED. (How bitmaps take their
// pixels through it is held in the loaders' tests.)
TEST(GdiTest, PalettesRealiseIntoTheSystemPalette) {
    HDC screen = GetDC(nullptr);
    if (!(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE))
        GTEST_SKIP() << "the display is not palette-based";
    struct {
        WORD version, count;
        PALETTEENTRY entries[5];
    } logical = {0x300,
                 5,
                 {{1, 2, 3, 0},
                  {4, 5, 6, PC_NOCOLLAPSE},
                  {255, 0, 0, 0},
                  {7, 8, 9, PC_RESERVED},
                  {255, 0, 0, PC_NOCOLLAPSE}}};
    HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    PALETTEENTRY entries[256];
    HPALETTE stock = SelectPalette(screen, palette, FALSE);
    EXPECT_EQ(5u, RealizePalette(screen));
    GetSystemPaletteEntries(screen, 0, 256, entries);
    const Colour placed[] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {255, 0, 0}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(placed[i], ColourOf(entries[10 + i])) << "system entry " << 10 + i;
    EXPECT_EQ(palette, SelectPalette(screen, stock, FALSE));
    EXPECT_EQ(0u, RealizePalette(screen));
    EXPECT_TRUE(DeleteObject(palette));
    ReleaseDC(nullptr, screen);
}

} // namespace
