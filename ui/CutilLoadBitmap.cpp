#include <bwcore/ui/CutilLoadBitmap.h>

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

namespace {

// A logical palette of 256 entries, as CreatePalette takes it.
struct Palette256 {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[256];
};

// An 8-bit resource is read with a full colour table: its pixels start 40 + 1024 bytes in.
constexpr size_t kHeaderSize = sizeof(BITMAPINFOHEADER);
constexpr size_t kResourceHeaderAndTable = kHeaderSize + 256 * sizeof(RGBQUAD);

// Bytes of the colour table before the pixels of a file, by bit count alone; -1 for a bit count
// that is not read.
int64_t colourTableSize(WORD bitCount) {
    switch (bitCount) {
    case 1:
        return 8;
    case 4:
        return 64;
    case 8:
        return 1024;
    case 24:
        return 0;
    default:
        return -1;
    }
}

// Bytes of the pixel rows the header describes (each row whole 32-bit words); -1 when the size
// is not one a picture can have, or more than 64 bits count.
int64_t pixelBytes(const BITMAPINFOHEADER& header) {
    if (header.biWidth < 1 || header.biHeight == 0 || header.biHeight == INT32_MIN)
        return -1;
    const int64_t rows = header.biHeight < 0 ? -int64_t{header.biHeight} : header.biHeight;
    // At most 2^31 pixels of at most 65535 bits: the stride fits, the product may not.
    const int64_t stride = (int64_t{header.biWidth} * header.biBitCount + 31) / 32 * 4;
    if (stride > INT64_MAX / rows)
        return -1;
    return stride * rows;
}

PALETTEENTRY entryOf(const RGBQUAD& colour, BYTE flags) {
    return PALETTEENTRY{colour.rgbRed, colour.rgbGreen, colour.rgbBlue, flags};
}

// The file palette: the system palette's ten static colours at each end, the picture's first 236
// colours between them. The colour table stands directly after a 40-byte header.
HPALETTE createFilePalette(const BITMAPINFOHEADER* header) {
    Palette256* block = static_cast<Palette256*>(calloc(1, sizeof(Palette256)));
    if (!block)
        return nullptr;
    block->palVersion = 0x300;
    block->palNumEntries = 256;
    const RGBQUAD* colours =
        reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + kHeaderSize);
    HDC screen = GetDC(nullptr);
    GetSystemPaletteEntries(screen, 0, 10, block->palPalEntry);
    GetSystemPaletteEntries(screen, 246, 10, block->palPalEntry + 246);
    ReleaseDC(nullptr, screen);
    for (int i = 10; i < 246; ++i)
        block->palPalEntry[i] = entryOf(colours[i - 10], PC_NOCOLLAPSE);
    HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(block));
    free(block);
    return palette;
}

bool isPaletteDisplay(HDC screen) {
    return (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
}

} // namespace

int CutilLoadBitmap(HINSTANCE hInstance, LPCSTR lpszName, HBITMAP* phBitmap, HPALETTE* phPalette) {
    if (!phBitmap || !phPalette)
        return 1;
    *phBitmap = nullptr;
    *phPalette = nullptr;
    HBITMAP loaded = LoadBitmapA(hInstance, lpszName);
    if (!loaded)
        return 1;
    *phBitmap = loaded;

    // The raw resource is read only when it is there and holds what is read of it.
    HRSRC found = FindResourceA(hInstance, lpszName, RT_BITMAP);
    HGLOBAL data = found ? LoadResource(hInstance, found) : nullptr;
    const BYTE* resource = data ? static_cast<const BYTE*>(LockResource(data)) : nullptr;
    const uint64_t size = found ? SizeofResource(hInstance, found) : 0;
    if (!resource || size < kHeaderSize)
        return 0;
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(resource);
    const int bits = header->biPlanes * header->biBitCount;

    HDC screen = GetDC(nullptr);
    if (bits != 8 || !isPaletteDisplay(screen) || header->biSize != kHeaderSize ||
        pixelBytes(*header) < 0 ||
        size < kResourceHeaderAndTable + static_cast<uint64_t>(pixelBytes(*header))) {
        ReleaseDC(nullptr, screen);
        return 0;
    }

    void* headerCopy = malloc(kResourceHeaderAndTable);
    Palette256* block = static_cast<Palette256*>(malloc(sizeof(Palette256)));
    if (!headerCopy || !block) {
        ReleaseDC(nullptr, screen);
        free(headerCopy);
        free(block);
        return 1;
    }
    memcpy(headerCopy, resource, kResourceHeaderAndTable);
    block->palVersion = 0x300;
    block->palNumEntries = 256;
    const RGBQUAD* colours = reinterpret_cast<const RGBQUAD*>(resource + kHeaderSize);
    for (int i = 0; i < 256; ++i)
        block->palPalEntry[i] = entryOf(colours[i], 0);
    *phPalette = CreatePalette(reinterpret_cast<LOGPALETTE*>(block));
    free(block);

    HPALETTE previous = SelectPalette(screen, *phPalette, FALSE);
    RealizePalette(screen);
    const BITMAPINFOHEADER* copy = static_cast<const BITMAPINFOHEADER*>(headerCopy);
    *phBitmap = CreateDIBitmap(screen, copy, CBM_INIT, resource + kResourceHeaderAndTable,
                               reinterpret_cast<const BITMAPINFO*>(copy), DIB_RGB_COLORS);
    SelectPalette(screen, previous, FALSE);
    RealizePalette(screen);
    ReleaseDC(nullptr, screen);
    free(headerCopy);
    DeleteObject(loaded);
    return 1;
}

int CutilLoadBitmapFile(LPCSTR lpszPath, HBITMAP* phBitmap, HPALETTE* phPalette) {
    if (!lpszPath || !phBitmap || !phPalette)
        return 0;
    *phBitmap = nullptr;
    *phPalette = nullptr;
    HANDLE file = CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;

    // Files of 4 GiB and more (a high part) are refused with the empty ones.
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    HGLOBAL memory = size == 0 || size == INVALID_FILE_SIZE || high != 0
                         ? nullptr
                         : GlobalAlloc(GHND, static_cast<SIZE_T>(size) + 10);
    BYTE* block = memory ? static_cast<BYTE*>(GlobalLock(memory)) : nullptr;
    if (!block) {
        if (memory)
            GlobalFree(memory);
        CloseHandle(file);
        return 0;
    }
    DWORD read = 0;
    const bool whole = ReadFile(file, block, size, &read, nullptr) && read == size;
    CloseHandle(file);
    auto fail = [&] {
        GlobalUnlock(memory);
        GlobalFree(memory);
        return 0;
    };
    if (!whole || size < 2 || block[0] != 0x42 || block[1] != 0x4D)
        return fail();

    // The info header and all it claims must lie inside the data.
    const uint64_t length = size - sizeof(BITMAPFILEHEADER);
    if (size < sizeof(BITMAPFILEHEADER) + kHeaderSize)
        return fail();
    memmove(block, block + sizeof(BITMAPFILEHEADER), static_cast<size_t>(length));
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(block);
    const int64_t tableSize = colourTableSize(header->biBitCount);
    if (header->biCompression != BI_RGB || tableSize < 0)
        return fail();
    const int64_t pixels = pixelBytes(*header);
    // Pixels lie after the header size and the table; CreateDIBitmap reads its colour table of
    // at most that size directly after the header size too.
    const uint64_t pixelOffset = uint64_t{header->biSize} + static_cast<uint64_t>(tableSize);
    if (header->biSize < kHeaderSize || pixels < 0 || pixelOffset > length ||
        static_cast<uint64_t>(pixels) > length - pixelOffset)
        return fail();

    HDC screen = GetDC(nullptr);
    HPALETTE previous = nullptr;
    if (header->biBitCount == 8 && isPaletteDisplay(screen)) {
        *phPalette = createFilePalette(header);
        if (*phPalette) {
            previous = SelectPalette(screen, *phPalette, FALSE);
            RealizePalette(screen);
        }
    }
    *phBitmap = CreateDIBitmap(screen, header, CBM_INIT, block + pixelOffset,
                               reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);
    if (previous)
        SelectPalette(screen, previous, FALSE);
    ReleaseDC(nullptr, screen);
    GlobalUnlock(memory);
    GlobalFree(memory);
    return 1;
}
