// The bitmap loaders: every bitmap format accepted and refused, headers that claim more than the
// data holds, both palettes entry by entry on the palette display, none on true colour. The
// program runs on both displays (see CMakeLists.txt).
#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <stdint.h>
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

std::string WriteTemp(const std::string& bytes) {
    const std::string path = ::testing::TempDir() + "cutil_bitmap.bmp";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

template <class T>
void Put(std::string& bytes, size_t at, T value) {
    memcpy(&bytes[at], &value, sizeof value);
}

// A bitmap file of grey colours; its info header starts at byte 14.
std::string BitmapFile(LONG width, LONG height, WORD bits, DWORD compression = BI_RGB) {
    const size_t table = bits <= 8 ? 4u << bits : 0;
    const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    std::string file(14 + 40 + table + stride * static_cast<size_t>(height < 0 ? -height : height),
                     '\x5A');
    file[0] = 'B';
    file[1] = 'M';
    const BITMAPINFOHEADER header = {40, width, height, 1, bits, compression, 0, 0, 0, 0, 0};
    Put(file, 14, header);
    return file;
}

std::string With(std::string file, size_t at, uint32_t value) {
    Put(file, at, value);
    return file;
}

struct Loaded {
    int result;
    HBITMAP bitmap;
    HPALETTE palette;
};

Loaded LoadFile(const std::string& path) {
    Loaded l = {-1, reinterpret_cast<HBITMAP>(1), reinterpret_cast<HPALETTE>(1)};
    l.result = CutilLoadBitmapFile(path.c_str(), &l.bitmap, &l.palette);
    return l;
}

std::vector<PALETTEENTRY> Entries(HPALETTE palette) {
    std::vector<PALETTEENTRY> entries(GetPaletteEntries(palette, 0, 0, nullptr));
    GetPaletteEntries(palette, 0, static_cast<UINT>(entries.size()), entries.data());
    return entries;
}

// Entry i of the colour table of a file's bytes, as a palette entry with the flags.
PALETTEENTRY TableEntry(const std::string& file, size_t offset, int i, BYTE flags) {
    const BYTE* quad = reinterpret_cast<const BYTE*>(file.data()) + offset + 40 + 4 * i;
    return PALETTEENTRY{quad[2], quad[1], quad[0], flags};
}

void ExpectSameEntry(const PALETTEENTRY& expected, const PALETTEENTRY& actual) {
    EXPECT_EQ(0, memcmp(&expected, &actual, sizeof expected));
}

TEST(CutilLoadBitmapFileTest, FormatsAcceptedAndRefused) {
    const bool palette = PaletteDisplay();
    const struct {
        const char* what;
        std::string bytes;
        int result;
    } cases[] = {
        {"1 bit", BitmapFile(9, 2, 1), 1},
        {"4 bits", BitmapFile(3, 1, 4), 1},
        {"8 bits", BitmapFile(3, -2, 8), 1},
        {"24 bits", BitmapFile(2, 2, 24), 1},
        {"run-length 8 bits", BitmapFile(3, 2, 8, 1), 0},
        {"16 bits", BitmapFile(3, 2, 16), 0},
        {"32 bits", BitmapFile(3, 2, 32), 0},
        {"no BM", "BA" + BitmapFile(2, 2, 24).substr(2), 0},
        {"empty", "", 0},
        {"B and M only", "BM", 0},
        {"info header cut", BitmapFile(2, 2, 24).substr(0, 14 + 39), 0},
        {"last pixel row cut", BitmapFile(2, 2, 24).substr(0, 14 + 40 + 8 + 7), 0},
        {"colour table cut", BitmapFile(2, 2, 8).substr(0, 14 + 40 + 1000), 0},
        {"header size past the end", With(BitmapFile(2, 2, 24), 14, 0xFFFFFFF0u), 0},
        {"header size below 40", With(BitmapFile(2, 2, 24), 14, 12), 0},
        {"width whose rows overflow", With(BitmapFile(2, 2, 24), 18, 0x7FFFFFFF), 0},
        {"height that cannot be negated", With(BitmapFile(2, 2, 24), 22, 0x80000000u), 0},
        {"no width", With(BitmapFile(2, 2, 24), 18, 0), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Loaded l = LoadFile(WriteTemp(c.bytes));
        EXPECT_EQ(c.result, l.result);
        const BITMAPINFOHEADER* header =
            reinterpret_cast<const BITMAPINFOHEADER*>(c.bytes.data() + 14);
        EXPECT_EQ(c.result == 1 && palette && header->biBitCount == 8, l.palette != nullptr);
        if (c.result == 0) {
            EXPECT_EQ(nullptr, l.bitmap);
            continue;
        }
        BITMAP bm = {};
        ASSERT_EQ(static_cast<int>(sizeof bm), GetObjectA(l.bitmap, sizeof bm, &bm));
        EXPECT_EQ(header->biWidth, bm.bmWidth);
        EXPECT_EQ(header->biHeight < 0 ? -header->biHeight : header->biHeight, bm.bmHeight);
        EXPECT_EQ(palette ? 8 : 32, bm.bmBitsPixel);
        DeleteObject(l.bitmap);
        DeleteObject(l.palette);
    }
    EXPECT_EQ(0, LoadFile(::testing::TempDir() + "no_such.bmp").result);
    EXPECT_EQ(0, CutilLoadBitmapFile(nullptr, nullptr, nullptr));
}

// Entries 0 to 9 and 246 to 255 from the system palette, between them the file's first 236
// colours with PC_NOCOLLAPSE; realised, they place the picture's colours at 10 to 245 in order.
TEST(CutilLoadBitmapFileTest, FilePaletteEntryByEntry) {
    if (!PaletteDisplay())
        GTEST_SKIP() << "the display is not palette-based";
    const std::string file = ReadFile(kColours8);
    const Loaded l = LoadFile(kColours8);
    ASSERT_EQ(1, l.result);
    const std::vector<PALETTEENTRY> entries = Entries(l.palette);
    ASSERT_EQ(256u, entries.size());
    HDC screen = GetDC(nullptr);
    PALETTEENTRY system[256];
    GetSystemPaletteEntries(screen, 0, 256, system);
    for (int i = 0; i < 256; ++i) {
        SCOPED_TRACE(i);
        const bool fixed = i < 10 || i >= 246;
        ExpectSameEntry(fixed ? system[i] : TableEntry(file, 14, i - 10, PC_NOCOLLAPSE),
                        entries[i]);
    }
    if (kRealWin32) {
        ReleaseDC(nullptr, screen);
        GTEST_SKIP() << "Wine maps the colours of a device-independent bitmap to the static "
                        "colours on a palette display, whatever palette is selected";
    }
    // The bottom row holds colours 0, 10, 235 and 255, the top row 236, 245, 1 and 2.
    BYTE pixels[8] = {};
    ASSERT_EQ(8, GetBitmapBits(l.bitmap, 8, pixels));
    const int placed[][2] = {{4, 10}, {5, 20}, {6, 245}, {2, 11}, {3, 12}};
    for (const auto& p : placed)
        EXPECT_EQ(p[1], pixels[p[0]]) << "pixel " << p[0];
    ReleaseDC(nullptr, screen);
    DeleteObject(l.bitmap);
    DeleteObject(l.palette);
}

// The resource is the file without its 14-byte file header. An 8-bit one gets a palette of its
// 256 colours, flags 0, on the palette display only; the result tells which path was taken.
TEST(CutilLoadBitmapTest, ResourcesAndTheirPalette) {
    const bool palette = PaletteDisplay();
    HMODULE program = GetModuleHandleA(nullptr);
    const std::string file = ReadFile(kColours8);
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), RT_BITMAP);
    ASSERT_NE(nullptr, found);
    ASSERT_EQ(file.size() - 14, SizeofResource(program, found));
    EXPECT_EQ(
        0, memcmp(file.data() + 14, LockResource(LoadResource(program, found)), file.size() - 14));
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
        SCOPED_TRACE(IS_INTRESOURCE(c.name) ? std::to_string(LOWORD(c.name)) : c.name);
        Loaded l = {-1, reinterpret_cast<HBITMAP>(1), reinterpret_cast<HPALETTE>(1)};
        l.result = CutilLoadBitmap(program, c.name, &l.bitmap, &l.palette);
        EXPECT_EQ(c.result, l.result);
        EXPECT_EQ(c.bitmap, l.bitmap != nullptr);
        EXPECT_EQ(c.palette, l.palette != nullptr);
        if (l.palette) {
            const std::vector<PALETTEENTRY> entries = Entries(l.palette);
            ASSERT_EQ(256u, entries.size());
            for (int i = 0; i < 256; ++i) {
                SCOPED_TRACE(i);
                ExpectSameEntry(TableEntry(file, 14, i, 0), entries[i]);
            }
        }
        DeleteObject(l.bitmap);
        DeleteObject(l.palette);
    }
    EXPECT_EQ(1, CutilLoadBitmap(program, MAKEINTRESOURCEA(1), nullptr, nullptr));
}

} // namespace
