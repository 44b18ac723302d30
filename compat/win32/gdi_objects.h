// The table of live GDI objects, and the display that device contexts draw on. Internal to
// compat/win32.
//
// One lock guards the table, every object in it and the system palette: functions look an object
// up and use it while they hold the lock, so an object is never freed under a caller.
#pragma once

#include <bwcore/win32/gdi.h>

#include <memory>
#include <mutex>
#include <vector>

namespace bwcompat {

// Every kind of GDI object describes itself for GetObjectA.
class GdiObject {
public:
    virtual ~GdiObject() = default;
    virtual int describe(int size, void* buffer) const = 0;
    // What DeleteObject does with the object: frees it; keeps it and reports success (stock
    // objects); or refuses (device contexts, which ReleaseDC frees).
    enum class Deletion { Free, Keep, Refuse };
    virtual Deletion deletion() const { return Deletion::Free; }
};

std::mutex& gdi_lock();
// Takes the object into the table; its address is its handle. Called with gdi_lock held.
HGDIOBJ gdi_add(std::unique_ptr<GdiObject> object);
// Removes it from the table and frees it. Called with gdi_lock held.
void gdi_remove(HGDIOBJ handle);
// The live object of that handle, or null. Called with gdi_lock held.
GdiObject* gdi_find(HGDIOBJ handle);

template <class T>
T* gdi_find_as(HGDIOBJ handle) {
    return dynamic_cast<T*>(gdi_find(handle));
}

class Palette : public GdiObject {
public:
    Palette(std::vector<PALETTEENTRY> entries, bool stock);

    int describe(int size, void* buffer) const override;
    Deletion deletion() const override { return stock_ ? Deletion::Keep : Deletion::Free; }
    bool stock() const { return stock_; }

    const std::vector<PALETTEENTRY>& entries() const { return entries_; }
    // The entry nearest to the colour (see gdi.h).
    size_t nearest(BYTE red, BYTE green, BYTE blue) const;

    // Each entry's system palette index as the last foreground realisation left it; empty before.
    std::vector<BYTE> system_index;

private:
    std::vector<PALETTEENTRY> entries_;
    bool stock_;
};

// The nearest of the colours (see gdi.h).
size_t nearest_colour(const PALETTEENTRY* colours, size_t count, BYTE red, BYTE green, BYTE blue);

// The stock default palette: the 20 static colours. Called with gdi_lock held.
HPALETTE default_palette();
// The 20 static colours, as the system palette's entries 0 to 9 and 246 to 255 hold them.
extern const PALETTEENTRY static_colours[20];

// Bits per pixel of the display: 32, or 8 for the palette display (BWCORE_DISPLAY_BITS=8 at the
// first call).
int display_bits();

// How a device context turns colours into pixels of its display (see gdi.h): on the palette
// display through the palette selected in it, as that palette maps into the system palette.
class PixelMapper {
public:
    // False for a handle that is not a device context. Called with gdi_lock held.
    bool set_up(HDC hdc);
    int bits() const { return bits_; }
    // The system palette index for the colour (palette display only).
    BYTE index_of(BYTE red, BYTE green, BYTE blue) const;

private:
    int bits_ = 32;
    std::vector<PALETTEENTRY> entries_; // the selected palette's
    std::vector<BYTE> system_index_;    // of each of those entries
};

} // namespace bwcompat
