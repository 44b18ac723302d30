// GDI objects for Linux: the table of live objects, and bitmaps.
#include <bwcore/win32/errors.h>
#include <bwcore/win32/gdi.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// Every kind of GDI object describes itself for GetObjectA.
class GdiObject {
public:
    virtual ~GdiObject() = default;
    virtual int describe(int size, void* buffer) const = 0;
};

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

// Handles are the objects' addresses; the table tells live handles from anything else.
struct ObjectTable {
    std::mutex lock;
    std::unordered_map<HGDIOBJ, std::unique_ptr<GdiObject>> objects;
};

// Never destroyed, so that objects may still be deleted while the process ends.
ObjectTable& object_table() {
    static ObjectTable* table = new ObjectTable;
    return *table;
}

HGDIOBJ add_object(std::unique_ptr<GdiObject> object) {
    ObjectTable& table = object_table();
    std::lock_guard<std::mutex> guard(table.lock);
    HGDIOBJ handle = object.get();
    table.objects.emplace(handle, std::move(object));
    return handle;
}

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
        return static_cast<HBITMAP>(
            add_object(std::make_unique<Bitmap>(nWidth, nHeight, static_cast<LONG>(widthBytes),
                                                static_cast<WORD>(nBitCount), std::move(bits))));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

LONG WINAPI GetBitmapBits(HBITMAP hbit, LONG cb, LPVOID lpvBits) {
    ObjectTable& table = object_table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.objects.find(hbit);
    const auto* bitmap =
        it == table.objects.end() ? nullptr : dynamic_cast<Bitmap*>(it->second.get());
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
    ObjectTable& table = object_table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.objects.find(h);
    return it == table.objects.end() ? 0 : it->second->describe(c, pv);
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    std::unique_ptr<GdiObject> object;
    {
        ObjectTable& table = object_table();
        std::lock_guard<std::mutex> guard(table.lock);
        auto it = table.objects.find(ho);
        if (it == table.objects.end()) {
            return FALSE;
        }
        object = std::move(it->second);
        table.objects.erase(it);
    }
    return TRUE;
}
