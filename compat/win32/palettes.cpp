// Logical palettes for Linux: CreatePalette, GetPaletteEntries and the stock default palette.
#include "gdi_objects.h"

#include <bwcore/win32/errors.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>

namespace bwcompat {

// Windows' standard static colours, as Wine's display driver reports them on an 8-bit X screen.
const PALETTEENTRY static_colours[20] = {
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
    {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
    {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
    {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
};

Palette::Palette(std::vector<PALETTEENTRY> entries, bool stock)
    : entries_(std::move(entries)), stock_(stock) {}

int Palette::describe(int size, void* buffer) const {
    if (!buffer) {
        return sizeof(WORD);
    }
    if (size < static_cast<int>(sizeof(WORD))) {
        return 0;
    }
    const WORD count = static_cast<WORD>(entries_.size());
    std::memcpy(buffer, &count, sizeof count);
    return sizeof count;
}

size_t Palette::nearest(BYTE red, BYTE green, BYTE blue) const {
    return nearest_colour(entries_.data(), entries_.size(), red, green, blue);
}

size_t nearest_colour(const PALETTEENTRY* colours, size_t count, BYTE red, BYTE green, BYTE blue) {
    size_t best = 0;
    long best_distance = -1;
    for (size_t i = 0; i < count; ++i) {
        const long dr = colours[i].peRed - red;
        const long dg = colours[i].peGreen - green;
        const long db = colours[i].peBlue - blue;
        const long distance = dr * dr + dg * dg + db * db;
        if (best_distance < 0 || distance < best_distance) {
            best = i;
            best_distance = distance;
        }
    }
    return best;
}

HPALETTE default_palette() {
    // Made on first use and never freed; the lock the caller holds guards the first use.
    static HPALETTE stock = nullptr;
    if (!stock) {
        auto palette = std::make_unique<Palette>(
            std::vector<PALETTEENTRY>(std::begin(static_colours), std::end(static_colours)), true);
        // Its entries are the static colours wherever the system palette holds them.
        for (BYTE i = 0; i < 20; ++i) {
            palette->system_index.push_back(static_cast<BYTE>(i < 10 ? i : i + 236));
        }
        stock = static_cast<HPALETTE>(gdi_add(std::move(palette)));
    }
    return stock;
}

} // namespace bwcompat

using namespace bwcompat;

HPALETTE WINAPI CreatePalette(const LOGPALETTE* plpal) {
    if (!plpal || plpal->palNumEntries == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    try {
        std::vector<PALETTEENTRY> entries(plpal->palPalEntry,
                                          plpal->palPalEntry + plpal->palNumEntries);
        auto palette = std::make_unique<Palette>(std::move(entries), false);
        std::lock_guard<std::mutex> guard(gdi_lock());
        return static_cast<HPALETTE>(gdi_add(std::move(palette)));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

UINT WINAPI GetPaletteEntries(HPALETTE hpal, UINT iStartIndex, UINT nEntries,
                              LPPALETTEENTRY pPalEntries) {
    std::lock_guard<std::mutex> guard(gdi_lock());
    const Palette* palette = gdi_find_as<Palette>(hpal);
    if (!palette) {
        return 0;
    }
    const std::vector<PALETTEENTRY>& entries = palette->entries();
    if (!pPalEntries) {
        return static_cast<UINT>(entries.size());
    }
    if (iStartIndex >= entries.size()) {
        return 0;
    }
    const UINT count = std::min<UINT>(nEntries, static_cast<UINT>(entries.size()) - iStartIndex);
    std::copy_n(entries.begin() + iStartIndex, count, pPalEntries);
    return count;
}
