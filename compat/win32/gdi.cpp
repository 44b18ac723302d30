// GDI objects for Linux: the table of live objects, and bitmaps.
#include "gdi_objects.h"

#include <bwcore/win32/errors.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>
#include <utility>
#include <vector>

namespace bwcompat {

namespace {

// Never destroyed, so that objects may still be deleted while the process ends.
std::unordered_map<HGDIOBJ, std::unique_ptr<GdiObject>>& object_table() {
    static auto* table = new std::unordered_map<HGDIOBJ, std::unique_ptr<GdiObject>>;
    return *table;
}

} // namespace

std::mutex& gdi_lock() {
    static auto* lock = new std::mutex;
    return *lock;
}

HGDIOBJ gdi_add(std::unique_ptr<GdiObject> object) {
    HGDIOBJ handle = object.get();
    object_table().emplace(handle, std::move(object));
    return handle;
}

void gdi_remove(HGDIOBJ handle) {
    object_table().erase(handle);
}

GdiObject* gdi_find(HGDIOBJ handle) {
    auto it = object_table().find(handle);
    return it == object_table().end() ? nullptr : it->second.get();
}

} // namespace bwcompat

using namespace bwcompat;

namespace {

class Bitmap : public GdiObject {
public:
    Bitmap(LONG width, LONG height, LONG widthBytes, WORD bitsPixel, std::vector<BYTE> bits)
        : width_(width), height_(height), widthBytes_(widthBytes), bitsPixel_(bitsPixel),
          bits_(std::move(bits)) {}

    const std::vector<BYTE>& bits() const { return bits_; }

    int describe(int size, void* buffer) const override {
        if (!buffer) {
            return sizeof(BITMAP);
        }
        if (size < static_cast<int>(sizeof(BITMAP))) {
            return 0;
        }
        BITMAP bm = {};
        bm.bmWidth = width_;
        bm.bmHeight = height_;
        bm.bmWidthBytes = widthBytes_;
        bm.bmPlanes = 1;
        bm.bmBitsPixel = bitsPixel_;
        std::memcpy(buffer, &bm, sizeof bm);
        return sizeof bm;
    }

private:
    LONG width_;
    LONG height_;
    LONG widthBytes_;
    WORD bitsPixel_;
    std::vector<BYTE> bits_;
};

bool is_bit_count(UINT bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

} // namespace

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount,
                            const VOID* lpBits) {
    if (nWidth < 1 || nHeight < 1 || nPlanes != 1 || !is_bit_count(nBitCount)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Rows are padded to whole 16-bit words.
    const uint64_t widthBytes = (static_cast<uint64_t>(nWidth) * nBitCount + 15) / 16 * 2;
    const uint64_t size = widthBytes * static_cast<uint64_t>(nHeight);
    // Sizes are counted in LONGs (GetBitmapBits).
    if (widthBytes > INT32_MAX || size > INT32_MAX) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    try {
        std::vector<BYTE> bits(static_cast<size_t>(size));
        if (lpBits) {
            std::memcpy(bits.data(), lpBits, bits.size());
        }
        std::lock_guard<std::mutex> guard(gdi_lock());
        return static_cast<HBITMAP>(
            gdi_add(std::make_unique<Bitmap>(nWidth, nHeight, static_cast<LONG>(widthBytes),
                                             static_cast<WORD>(nBitCount), std::move(bits))));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

LONG WINAPI GetBitmapBits(HBITMAP hbit, LONG cb, LPVOID lpvBits) {
    std::lock_guard<std::mutex> guard(gdi_lock());
    const auto* bitmap = gdi_find_as<Bitmap>(hbit);
    if (!bitmap) {
        return 0;
    }
    const std::vector<BYTE>& bits = bitmap->bits();
    if (!lpvBits) {
        return static_cast<LONG>(bits.size());
    }
    const size_t count =
        cb >= 0 && static_cast<size_t>(cb) < bits.size() ? static_cast<size_t>(cb) : bits.size();
    std::memcpy(lpvBits, bits.data(), count);
    return static_cast<LONG>(count);
}

int WINAPI GetObjectA(HGDIOBJ h, int c, LPVOID pv) {
    std::lock_guard<std::mutex> guard(gdi_lock());
    const GdiObject* object = gdi_find(h);
    return object ? object->describe(c, pv) : 0;
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    std::lock_guard<std::mutex> guard(gdi_lock());
    const GdiObject* object = gdi_find(ho);
    if (!object) {
        return FALSE;
    }
    switch (object->deletion()) {
    case GdiObject::Deletion::Free:
        gdi_remove(ho);
        return TRUE;
    case GdiObject::Deletion::Keep:
        return TRUE;
    case GdiObject::Deletion::Refuse:
        break;
    }
    return FALSE;
}
