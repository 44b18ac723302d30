// GDI: the display's capabilities, device-dependent bitmaps made from device-independent ones,
// and logical palettes realised into the system palette. The program runs on the true-colour
// display and again with BWCORE_DISPLAY_BITS=8 (win32_tests_display8: under Wine on an 8-bit X
// screen), where the palette cases run.
#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

const bool kRealWin32 = BWCORE_TEST_REAL_WIN32;

bool WantsPaletteDisplay() {
    const char* bits = getenv("BWCORE_DISPLAY_BITS");
    return bits && strcmp(bits, "8") == 0;
}

struct Colour {
    BYTE red, green, blue;
    bool operator==(const Colour& o) const {
        return red == o.red && green == o.green && blue == o.blue;
    }
};

// The colour of each pixel of a device-dependent bitmap of the screen, rows from the top.
std::vector<Colour> PixelColours(HBITMAP bitmap) {
    BITMAP bm = {};
    EXPECT_EQ(static_cast<int>(sizeof bm), GetObjectA(bitmap, sizeof bm, &bm));
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
            const PALETTEENTRY& e = system[*p];
            colours.push_back(bm.bmBitsPixel == 8 ? Colour{e.peRed, e.peGreen, e.peBlue}
                                                  : Colour{p[2], p[1], p[0]});
        }
    }
    return colours;
}

struct Dib {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

HBITMAP MakeBitmap(HDC dc, LONG width, LONG height, WORD bits, std::vector<Colour> table,
                   const std::vector<BYTE>& pixels, DWORD used = 0) {
    Dib dib = {};
    dib.header = {sizeof(BITMAPINFOHEADER), width, height, 1, bits, BI_RGB, 0, 0, 0, used, 0};
    for (size_t i = 0; i < table.size(); ++i)
        dib.colours[i] = {table[i].blue, table[i].green, table[i].red, 0x55};
    return CreateDIBitmap(dc, &dib.header, CBM_INIT, pixels.data(),
                          reinterpret_cast<BITMAPINFO*>(&dib), DIB_RGB_COLORS);
}

const Colour kBlack = {0, 0, 0}, kWhite = {255, 255, 255}, kRed = {255, 0, 0}, kGreen = {0, 255, 0},
             kBlue = {0, 0, 255}, kGrey = {128, 128, 128};

TEST(GdiTest, DisplayCapabilities) {
    HDC screen = GetDC(nullptr);
    ASSERT_NE(nullptr, screen);
    const bool palette = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    if (palette != WantsPaletteDisplay())
        GTEST_SKIP() << "the display is not what BWCORE_DISPLAY_BITS asks for (an X screen of "
                        "another depth?)";
    EXPECT_EQ(palette ? 8 : 32, GetDeviceCaps(screen, BITSPIXEL));
    EXPECT_EQ(1, GetDeviceCaps(screen, PLANES));
    EXPECT_EQ(palette ? 256 : 0, GetDeviceCaps(screen, SIZEPALETTE));
    PALETTEENTRY system[256];
    EXPECT_EQ(palette ? 256u : 0u, GetSystemPaletteEntries(screen, 0, 256, system));
    if (palette) {
        // The static colours: black, dark red, ..., money green, sky blue; cream, ..., white.
        EXPECT_EQ((Colour{192, 220, 192}),
                  (Colour{system[8].peRed, system[8].peGreen, system[8].peBlue}));
        EXPECT_EQ((Colour{255, 251, 240}),
                  (Colour{system[246].peRed, system[246].peGreen, system[246].peBlue}));
        EXPECT_EQ(246u, GetSystemPaletteEntries(screen, 10, 300, system));
    }
    EXPECT_EQ(1, ReleaseDC(nullptr, screen));
}

// Each depth's pixels, rows from the bottom unless the height is negative, indexes from the high
// bits, a short colour table making the indexes past it black; colours the static ones, which
// the palette display holds exactly, and one that it shows as its nearest (black).
TEST(GdiTest, CreateDIBitmapColoursEachPixel) {
    const Colour kDark = {30, 20, 10};
    const Colour kDarkShown = WantsPaletteDisplay() ? kBlack : kDark;
    const struct {
        const char* what;
        LONG width, height;
        WORD bits;
        std::vector<Colour> table;
        std::vector<BYTE> pixels;
        DWORD used;
        std::vector<Colour> expected;
    } cases[] = {
        {"1 bit, 9 wide, from the top",
         9,
         -1,
         1,
         {kRed, kGreen},
         {0xA5, 0x80, 0, 0},
         0,
         {kGreen, kRed, kGreen, kRed, kRed, kGreen, kRed, kGreen, kGreen}},
        {"4 bits, from the bottom",
         3,
         2,
         4,
         {kBlack, kWhite, kGrey, kBlue},
         {0x01, 0x20, 0, 0, 0x33, 0x10, 0, 0},
         0,
         {kBlue, kBlue, kWhite, kBlack, kWhite, kGrey}},
        {"8 bits, two colours used",
         3,
         1,
         8,
         {kRed, kDark, kGreen},
         {1, 0, 2, 0},
         2,
         {kDarkShown, kRed, kBlack}},
        {"24 bits, from the bottom",
         2,
         2,
         24,
         {},
         {0, 0, 255, 0, 255, 0, 0, 0, 128, 128, 128, 10, 20, 30, 0, 0},
         0,
         {kGrey, kDarkShown, kRed, kGreen}},
    };
    HDC screen = GetDC(nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HBITMAP bitmap = MakeBitmap(screen, c.width, c.height, c.bits, c.table, c.pixels, c.used);
        ASSERT_NE(nullptr, bitmap);
        EXPECT_EQ(c.expected, PixelColours(bitmap));
        EXPECT_TRUE(DeleteObject(bitmap));
    }
    Dib rle = {{sizeof(BITMAPINFOHEADER), 1, 1, 1, 8, 1 /* BI_RLE8 */, 0, 0, 0, 0, 0}, {}};
    const BYTE pixels[4] = {};
    EXPECT_EQ(nullptr, CreateDIBitmap(screen, &rle.header, CBM_INIT, pixels,
                                      reinterpret_cast<BITMAPINFO*>(&rle), DIB_RGB_COLORS));
    ReleaseDC(nullptr, screen);
}

// A foreground palette takes the free system entries from 10 in order; an entry whose colour is
// a static one shares it unless it has PC_NOCOLLAPSE or PC_RESERVED. Bitmaps made with it
// selected take the system index of its nearest entry.
TEST(GdiTest, PalettesRealiseIntoTheSystemPalette) {
    HDC screen = GetDC(nullptr);
    if (!(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE)) {
        ReleaseDC(nullptr, screen);
        GTEST_SKIP() << "the display is not palette-based";
    }
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
    ASSERT_NE(nullptr, palette);
    PALETTEENTRY entries[5];
    EXPECT_EQ(5u, GetPaletteEntries(palette, 0, 0, nullptr));
    EXPECT_EQ(2u, GetPaletteEntries(palette, 3, 10, entries));
    EXPECT_EQ(PC_RESERVED, entries[0].peFlags);
    HPALETTE stock = SelectPalette(screen, palette, FALSE);
    ASSERT_NE(nullptr, stock);
    EXPECT_EQ(5u, RealizePalette(screen));
    PALETTEENTRY system[256];
    GetSystemPaletteEntries(screen, 0, 256, system);
    const Colour placed[] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {255, 0, 0}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(placed[i],
                  (Colour{system[10 + i].peRed, system[10 + i].peGreen, system[10 + i].peBlue}));
    }
    if (kRealWin32)
        GTEST_SKIP() << "Wine maps the colours of a device-independent bitmap to the static "
                        "colours on a palette display, whatever palette is selected";
    // (7, 6, 5) is nearest to (4, 5, 6), placed at 11; (3, 2, 1) to (1, 2, 3) at 10.
    HBITMAP bitmap = MakeBitmap(screen, 2, 1, 24, {}, {5, 6, 7, 1, 2, 3, 0, 0});
    BYTE bits[2] = {};
    GetBitmapBits(bitmap, 2, bits);
    EXPECT_EQ(11, bits[0]);
    EXPECT_EQ(10, bits[1]);
    DeleteObject(bitmap);
    EXPECT_EQ(palette, SelectPalette(screen, stock, FALSE));
    EXPECT_EQ(0u, RealizePalette(screen));
    EXPECT_TRUE(DeleteObject(palette));
    ReleaseDC(nullptr, screen);
}

} // namespace
