// The headless display for Linux: its depth, its system palette and its device contexts, with
// the selection and realisation of palettes (the rules are in gdi.h).
#include "gdi_objects.h"

#include <bwcore/win32/errors.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <new>

namespace bwcompat {

namespace {

class DeviceContext : public GdiObject {
public:
    int describe(int, void*) const override { return 0; }
    Deletion deletion() const override { return Deletion::Refuse; }

    HPALETTE palette = nullptr; // null: the default palette
    bool background = false;
};

// The system palette of the palette display: the static colours at both ends, black between.
// Guarded by gdi_lock.
std::array<PALETTEENTRY, 256>& system_palette() {
    static auto* entries = [] {
        auto* table = new std::array<PALETTEENTRY, 256>();
        std::memcpy(table->data(), static_colours, 10 * sizeof(PALETTEENTRY));
        std::memcpy(table->data() + 246, static_colours + 10, 10 * sizeof(PALETTEENTRY));
        return table;
    }();
    return *entries;
}

// The palette selected in the device context; the default one when it was deleted meanwhile.
// Called with gdi_lock held.
Palette* selected_palette(const DeviceContext& dc) {
    Palette* palette = dc.palette ? gdi_find_as<Palette>(dc.palette) : nullptr;
    return palette ? palette : gdi_find_as<Palette>(default_palette());
}

// Each entry's nearest system colour, the system palette unchanged.
std::vector<BYTE> nearest_system_indexes(const Palette& palette) {
    std::vector<BYTE> indexes;
    for (const PALETTEENTRY& e : palette.entries()) {
        indexes.push_back(static_cast<BYTE>(
            nearest_colour(system_palette().data(), 256, e.peRed, e.peGreen, e.peBlue)));
    }
    return indexes;
}

bool same_colour(const PALETTEENTRY& a, const PALETTEENTRY& b) {
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

// A foreground realisation: the entries 10 to 245 are the palette's, in order, except where an
// entry that may collapse finds its colour among the statics or the entries already placed.
void realise_in_foreground(Palette& palette) {
    std::array<PALETTEENTRY, 256>& system = system_palette();
    std::vector<BYTE> indexes;
    int next_free = 10;
    for (const PALETTEENTRY& e : palette.entries()) {
        int index = -1;
        if (!(e.peFlags & (PC_NOCOLLAPSE | PC_RESERVED))) {
            for (int i = 0; i < 256 && index < 0; ++i) {
                const bool in_use = i < 10 || i >= 246 || i < next_free;
                if (in_use && same_colour(system[i], e)) {
                    index = i;
                }
            }
        }
        if (index < 0 && next_free < 246) {
            index = next_free++;
            system[index] = {e.peRed, e.peGreen, e.peBlue, 0};
        }
        if (index < 0) {
            index =
                static_cast<int>(nearest_colour(system.data(), 256, e.peRed, e.peGreen, e.peBlue));
        }
        indexes.push_back(static_cast<BYTE>(index));
    }
    palette.system_index = std::move(indexes);
}

} // namespace

int display_bits() {
    static const int bits = [] {
        const char* value = std::getenv("BWCORE_DISPLAY_BITS");
        return value && std::strcmp(value, "8") == 0 ? 8 : 32;
    }();
    return bits;
}

bool PixelMapper::set_up(HDC hdc) {
    const auto* dc = gdi_find_as<DeviceContext>(hdc);
    if (!dc) {
        return false;
    }
    bits_ = display_bits();
    if (bits_ == 8) {
        const Palette& palette = *selected_palette(*dc);
        entries_ = palette.entries();
        system_index_ = palette.system_index.size() == entries_.size()
                            ? palette.system_index
                            : nearest_system_indexes(palette);
    }
    return true;
}

BYTE PixelMapper::index_of(BYTE red, BYTE green, BYTE blue) const {
    return system_index_[nearest_colour(entries_.data(), entries_.size(), red, green, blue)];
}

} // namespace bwcompat

using namespace bwcompat;

HDC WINAPI GetDC(HWND hWnd) {
    if (hWnd) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    try {
        auto dc = std::make_unique<DeviceContext>();
        std::lock_guard<std::mutex> guard(gdi_lock());
        display_bits();
        return static_cast<HDC>(gdi_add(std::move(dc)));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

int WINAPI ReleaseDC(HWND, HDC hDC) {
    std::lock_guard<std::mutex> guard(gdi_lock());
    if (!gdi_find_as<DeviceContext>(hDC)) {
        return 0;
    }
    gdi_remove(hDC);
    return 1;
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
    std::lock_guard<std::mutex> guard(gdi_lock());
    if (!gdi_find_as<DeviceContext>(hdc)) {
        return 0;
    }
    const bool palette = display_bits() == 8;
    switch (index) {
    case RASTERCAPS:
        // What Wine's display driver reports: block transfers, device-independent bitmaps,
        // stretching, large fonts, flood fill; and the palette on an 8-bit screen.
        return 0xBE99 | (palette ? RC_PALETTE : 0);
    case BITSPIXEL:
        return display_bits();
    case PLANES:
        return 1;
    case SIZEPALETTE:
        return palette ? 256 : 0;
    default:
        return 0;
    }
}

HPALETTE WINAPI SelectPalette(HDC hdc, HPALETTE hPal, BOOL bForceBkgd) {
    std::lock_guard<std::mutex> guard(gdi_lock());
    auto* dc = gdi_find_as<DeviceContext>(hdc);
    if (!dc || !gdi_find_as<Palette>(hPal)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HPALETTE previous = dc->palette ? dc->palette : default_palette();
    dc->palette = hPal;
    dc->background = bForceBkgd != FALSE;
    return previous;
}

UINT WINAPI RealizePalette(HDC hdc) {
    std::lock_guard<std::mutex> guard(gdi_lock());
    const auto* dc = gdi_find_as<DeviceContext>(hdc);
    if (!dc) {
        return GDI_ERROR;
    }
    Palette& palette = *selected_palette(*dc);
    if (display_bits() != 8 || palette.stock() || dc->background) {
        return 0;
    }
    try {
        realise_in_foreground(palette);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return GDI_ERROR;
    }
    return static_cast<UINT>(palette.entries().size());
}

UINT WINAPI GetSystemPaletteEntries(HDC hdc, UINT iStart, UINT cEntries,
                                    LPPALETTEENTRY pPalEntries) {
    std::lock_guard<std::mutex> guard(gdi_lock());
    if (!gdi_find_as<DeviceContext>(hdc) || display_bits() != 8) {
        return 0;
    }
    if (!pPalEntries) {
        return 256;
    }
    if (iStart >= 256) {
        return 0;
    }
    const UINT count = cEntries < 256 - iStart ? cEntries : 256 - iStart;
    std::memcpy(pPalEntries, system_palette().data() + iStart, count * sizeof(PALETTEENTRY));
    return count;
}
