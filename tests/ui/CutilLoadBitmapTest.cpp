// The bitmap loaders: every bitmap format accepted and refused, headers that claim more than the
// data holds, both palettes entry by entry on the palette display, none on true colour. The
// program runs on both displays (see CMakeLists.txt).
#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const bool kRealWin32 = BWCORE_TEST_REAL_WIN32;
const std::string kColours8 = BWCORE_TEST_BITMAPS_DIR "/colours8.bmp";

bool PaletteDisplay() {
    HDC screen = GetDC(nullptr);
    const bool palette = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    ReleaseDC(nullptr, screen);
    return palette;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string With(std::string file, size_t at, uint32_t value) {
    return file.replace(at, sizeof value, reinterpret_cast<const char*>(&value), sizeof value);
}

// A bitmap file of one grey; its info header starts at byte 14.
std::string BitmapFile(LONG width, LONG height, WORD bits, DWORD compression = BI_RGB) {
    const size_t table = bits <= 8 ? 4u << bits : 0;
    const size_t rows = static_cast<size_t>(height < 0 ? -height : height);
    std::string file(54 + table + (width * bits + 31) / 32 * 4 * rows, '\x5A');
    const BITMAPINFOHEADER header = {40, width, height, 1, bits, compression, 0, 0, 0, 0, 0};
    memcpy(&file[14], &header, sizeof header);
    return "BM" + file.substr(2);
}

// Each entry of the palette against the expected one: the colour table entry (from index
// `first`, with the flags) of the file, or the system palette's entry where `system` is set.
void ExpectEntries(HPALETTE palette, const std::string& file, int first, BYTE flags,
                   const PALETTEENTRY* system) {
    PALETTEENTRY entries[256];
    ASSERT_EQ(256u, GetPaletteEntries(palette, 0, 0, nullptr));
    GetPaletteEntries(palette, 0, 256, entries);
    for (int i = 0; i < 256; ++i) {
        const BYTE* quad = reinterpret_cast<const BYTE*>(file.data()) + 54 + 4 * (i - first);
        const PALETTEENTRY table = {quad[2], quad[1], quad[0], flags};
        const bool fixed = system && (i < 10 || i >= 246);
        EXPECT_EQ(0, memcmp(fixed ? &system[i] : &table, &entries[i], sizeof table)) << i;
    }
}

TEST(CutilLoadBitmapFileTest, FormatsAcceptedAndRefused) {
    const bool palette = PaletteDisplay();
    const struct {
        const char* what;
        std::string bytes;
        int result;
    } cases[] = {
        {"1 bit", BitmapFile(9, 2, 1), 1},
        {"4 bits", BitmapFile(3, 2, 4), 1},
        {"8 bits", BitmapFile(3, -2, 8), 1},
        {"24 bits", BitmapFile(2, 2, 24), 1},
        {"run-length 8 bits", BitmapFile(3, 2, 8, 1), 0},
        {"16 bits", BitmapFile(3, 2, 16), 0},
        {"32 bits", BitmapFile(3, 2, 32), 0},
        {"no BM", "BA" + BitmapFile(2, 2, 24).substr(2), 0},
        {"empty", "", 0},
        {"info header cut", BitmapFile(2, 2, 24).substr(0, 14 + 39), 0},
        {"last pixel row cut", BitmapFile(2, 2, 24).substr(0, 14 + 40 + 8 + 7), 0},
        {"colour table cut", BitmapFile(2, 2, 8).substr(0, 14 + 40 + 1000), 0},
        {"header size past the end", With(BitmapFile(2, 2, 24), 14, 0xFFFFFFF0u), 0},
        {"header size below 40", With(BitmapFile(2, 2, 24), 14, 12), 0},
        {"width whose rows overflow", With(BitmapFile(2, 2, 24), 18, 0x7FFFFFFF), 0},
        {"pixel bytes past 64 bits",
         With(With(BitmapFile(2, 2, 24), 18, 0x7FFFFFFF), 22, 0x7FFFFFFF), 0},
        {"height that cannot be negated", With(BitmapFile(2, 2, 24), 22, 0x80000000u), 0},
    };
    // The program runs once per display, maybe at the same time: each run has a file of its own.
    const char* displayBits = getenv("BWCORE_DISPLAY_BITS");
    const std::string path = ::testing::TempDir() + "cutil_bitmap" +
                             (displayBits != nullptr ? displayBits : "") + ".bmp";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(path, std::ios::binary) << c.bytes;
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);
        HPALETTE palettes = reinterpret_cast<HPALETTE>(1);
        EXPECT_EQ(c.result, CutilLoadBitmapFile(path.c_str(), &bitmap, &palettes));
        EXPECT_EQ(c.result == 1 && palette && c.bytes[28] == 8, palettes != nullptr);
        EXPECT_EQ(c.result == 1, bitmap != nullptr);
        BITMAP bm = {};
        GetObjectA(bitmap, sizeof bm, &bm);
        EXPECT_EQ(c.result == 1 ? 2 : 0, bm.bmHeight);
        EXPECT_EQ(c.result == 1 ? (palette ? 8 : 32) : 0, bm.bmBitsPixel);
        DeleteObject(bitmap);
        DeleteObject(palettes);
    }
}

// Entries 0 to 9 and 246 to 255 from the system palette, between them the file's first 236
// colours with PC_NOCOLLAPSE; realised, they place the picture's colours at 10 to 245 in order.
TEST(CutilLoadBitmapFileTest, FilePaletteEntryByEntry) {
    if (!PaletteDisplay())
        GTEST_SKIP() << "the display is not palette-based";
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    ASSERT_EQ(1, CutilLoadBitmapFile(kColours8.c_str(), &bitmap, &palette));
    HDC screen = GetDC(nullptr);
    PALETTEENTRY system[256];
    GetSystemPaletteEntries(screen, 0, 256, system);
    ReleaseDC(nullptr, screen);
    ExpectEntries(palette, ReadFile(kColours8), 10, PC_NOCOLLAPSE, system);
    if (kRealWin32)
        GTEST_SKIP() << "Wine does not map the colours of a device-independent bitmap through "
                        "the selected palette on a palette display";
    // The bottom row holds colours 0, 10, 235 and 255, the top row 236, 245, 1 and 2.
    BYTE pixels[8] = {};
    GetBitmapBits(bitmap, 8, pixels);
    const BYTE expected[] = {11, 12, 10, 20, 245};
    EXPECT_EQ(0, memcmp(expected, pixels + 2, sizeof expected));
    DeleteObject(bitmap);
    DeleteObject(palette);
}

// The resource is the file without its 14-byte file header. An 8-bit one gets a palette of its
// 256 colours, flags 0, on the palette display only; the result tells which path was taken.
TEST(CutilLoadBitmapTest, ResourcesAndTheirPalette) {
    const bool palette = PaletteDisplay();
    HMODULE program = GetModuleHandleA(nullptr);
    const std::string file = ReadFile(kColours8);
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), RT_BITMAP);
    const char* data = static_cast<const char*>(LockResource(LoadResource(program, found)));
    EXPECT_EQ(file.substr(14), std::string(data, SizeofResource(program, found)));
    const struct {
        LPCSTR name;
        int result;
        bool bitmap, palette;
    } cases[] = {
        {MAKEINTRESOURCEA(1), palette ? 1 : 0, true, palette},
        {"rgb24", 0, true, false},
        {MAKEINTRESOURCEA(99), 1, false, false},
    };
    for (const auto& c : cases) {
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);
        HPALETTE palettes = reinterpret_cast<HPALETTE>(1);
        EXPECT_EQ(c.result, CutilLoadBitmap(program, c.name, &bitmap, &palettes));
        EXPECT_EQ(c.bitmap, bitmap != nullptr);
        EXPECT_EQ(c.palette, palettes != nullptr);
        if (palettes)
            ExpectEntries(palettes, file, 0, 0, nullptr);
        DeleteObject(bitmap);
        DeleteObject(palettes);
    }
    EXPECT_EQ(1, CutilLoadBitmap(program, MAKEINTRESOURCEA(1), nullptr, nullptr));
    EXPECT_EQ(0, CutilLoadBitmapFile(nullptr, nullptr, nullptr));
}

} // namespace
