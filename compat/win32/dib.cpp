// Device-independent bitmaps for Linux: CreateDIBitmap and the bitmap resources of LoadBitmapA.
#include "gdi_objects.h"

#include <bwcore/win32/errors.h>
#include <bwcore/win32/resources.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>

using namespace bwcompat;

namespace {

// The colour table entries that CreateDIBitmap reads: biClrUsed of them when that is below the
// bit count's full table, else the full table; none above 8 bits.
uint64_t table_entries(const BITMAPINFOHEADER& h) {
    if (h.biBitCount > 8) {
        return 0;
    }
    const uint64_t full = uint64_t{1} << h.biBitCount;
    return h.biClrUsed != 0 && h.biClrUsed < full ? h.biClrUsed : full;
}

bool is_supported_format(const BITMAPINFOHEADER& h) {
    const WORD bits = h.biBitCount;
    return h.biCompression == BI_RGB && (bits == 1 || bits == 4 || bits == 8 || bits == 24);
}

// Bytes of one row of the picture: whole 32-bit words.
uint64_t dib_stride(const BITMAPINFOHEADER& h) {
    return (static_cast<uint64_t>(h.biWidth) * h.biBitCount + 31) / 32 * 4;
}

uint64_t row_count(LONG height) {
    return static_cast<uint64_t>(height < 0 ? -int64_t{height} : int64_t{height});
}

// The device pixel (4 bytes, of which an 8-bit display uses the first) of a colour.
std::array<BYTE, 4> device_pixel(const PixelMapper& mapper, BYTE red, BYTE green, BYTE blue) {
    if (mapper.bits() == 8) {
        return {mapper.index_of(red, green, blue), 0, 0, 0};
    }
    return {blue, green, red, 0};
}

// Converts the picture into rows of the device's pixels, in CreateBitmap's layout.
void convert_pixels(const PixelMapper& mapper, const BITMAPINFO& info, const BYTE* bits,
                    uint64_t width_bytes, std::vector<BYTE>& out) {
    const BITMAPINFOHEADER& h = info.bmiHeader;
    const int depth = h.biBitCount;
    const int pixel_size = mapper.bits() / 8;
    // The device pixel of every index; those past the colour table are black.
    std::vector<std::array<BYTE, 4>> by_index;
    if (depth <= 8) {
        const auto* table =
            reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(&info) + h.biSize);
        const uint64_t entries = table_entries(h);
        for (uint64_t i = 0; i < (uint64_t{1} << depth); ++i) {
            const RGBQUAD c = i < entries ? table[i] : RGBQUAD{0, 0, 0, 0};
            by_index.push_back(device_pixel(mapper, c.rgbRed, c.rgbGreen, c.rgbBlue));
        }
    }
    const uint64_t rows = row_count(h.biHeight);
    const uint64_t stride = dib_stride(h);
    for (uint64_t y = 0; y < rows; ++y) {
        const BYTE* row = bits + stride * (h.biHeight < 0 ? y : rows - 1 - y);
        BYTE* target = out.data() + width_bytes * y;
        for (LONG x = 0; x < h.biWidth; ++x) {
            std::array<BYTE, 4> pixel;
            if (depth == 24) {
                const BYTE* p = row + 3 * static_cast<uint64_t>(x);
                pixel = device_pixel(mapper, p[2], p[1], p[0]);
            } else {
                // Indexes are packed from the most significant bits of each byte.
                const uint64_t bit = static_cast<uint64_t>(x) * depth;
                const int shift = 8 - depth - static_cast<int>(bit % 8);
                pixel = by_index[(row[bit / 8] >> shift) & ((1 << depth) - 1)];
            }
            std::copy_n(pixel.begin(), pixel_size, target + static_cast<uint64_t>(x) * pixel_size);
        }
    }
}

} // namespace

HBITMAP WINAPI CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* pbmih, DWORD flInit,
                              const VOID* pjBits, const BITMAPINFO* pbmi, UINT iUsage) {
    PixelMapper mapper;
    {
        std::lock_guard<std::mutex> guard(gdi_lock());
        try {
            if (!mapper.set_up(hdc)) {
                SetLastError(ERROR_INVALID_HANDLE);
                return nullptr;
            }
        } catch (const std::bad_alloc&) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
    }
    const bool init = (flInit & CBM_INIT) != 0;
    // Callers pass one header as both arguments; pictures of another size than the bitmap's are
    // refused rather than placed.
    if (!pbmih || pbmih->biWidth < 1 || pbmih->biHeight == 0 || pbmih->biHeight == INT32_MIN ||
        (init &&
         (!pjBits || !pbmi || iUsage != DIB_RGB_COLORS || !is_supported_format(pbmi->bmiHeader) ||
          pbmi->bmiHeader.biWidth != pbmih->biWidth ||
          pbmi->bmiHeader.biHeight != pbmih->biHeight))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const uint64_t width_bytes =
        (static_cast<uint64_t>(pbmih->biWidth) * mapper.bits() + 15) / 16 * 2;
    const uint64_t size = width_bytes * row_count(pbmih->biHeight);
    if (size > INT32_MAX) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    try {
        std::vector<BYTE> pixels(static_cast<size_t>(size));
        if (init) {
            convert_pixels(mapper, *pbmi, static_cast<const BYTE*>(pjBits), width_bytes, pixels);
        } else if (mapper.bits() == 8) {
            std::fill(pixels.begin(), pixels.end(), mapper.index_of(0, 0, 0));
        }
        return CreateBitmap(pbmih->biWidth, static_cast<int>(row_count(pbmih->biHeight)), 1,
                            static_cast<UINT>(mapper.bits()), pixels.data());
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

HBITMAP WINAPI LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName) {
    if (!hInstance) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    HRSRC found = FindResourceA(hInstance, lpBitmapName, RT_BITMAP);
    if (!found) {
        return nullptr;
    }
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(hInstance, found)));
    const uint64_t size = SizeofResource(hInstance, found);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(data);
    // The header, the colour table and every row must lie inside the resource. A 24-bit picture
    // may carry a table of biClrUsed colours too, which its pixels follow.
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const bool fits = size >= sizeof(BITMAPINFOHEADER) && h.biSize >= sizeof(BITMAPINFOHEADER) &&
                      h.biWidth > 0 && h.biHeight != 0 && h.biHeight != INT32_MIN &&
                      is_supported_format(h);
    const uint64_t offset =
        fits ? h.biSize + 4 * (h.biBitCount > 8 ? h.biClrUsed : table_entries(h)) : 0;
    if (!fits || offset > size || dib_stride(h) * row_count(h.biHeight) > size - offset) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &h, CBM_INIT, data + offset, info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}
