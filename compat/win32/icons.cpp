// Icons for Linux: icon group directories, icon images, and the table of live icons.
#include "icons_internal.h"

#include <bwcore/win32/errors.h>
#include <bwcore/win32/gdi.h>
#include <bwcore/win32/icons.h>
#include <bwcore/win32/resources.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// SM_CXICON and SM_CYICON of the headless display.
constexpr int kSystemIconSize = 32;
// The headless display is true colour; images are chosen for its depth.
constexpr int kDisplayBitsPerPixel = 32;
constexpr DWORD kIconFormatVersion = 0x00030000;
constexpr DWORD kBiRgb = 0;

WORD read_word(const BYTE* p) {
    return static_cast<WORD>(p[0] | p[1] << 8);
}

DWORD read_dword(const BYTE* p) {
    return static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 |
           static_cast<DWORD>(p[2]) << 16 | static_cast<DWORD>(p[3]) << 24;
}

// --- Icon group directories: a 6-byte header (reserved 0, type 1 for icons, entry count), then
// one 14-byte entry per image: width and height (0 standing for 256), colour count, reserved,
// planes, bits per pixel, image size, and the image's RT_ICON id.

constexpr size_t kGroupHeaderSize = 6;
constexpr size_t kGroupEntrySize = 14;

struct GroupEntry {
    int width;
    int height;
    int bitsPixel;
    WORD id;
};

// The directory's entries; empty when it is not an icon group or is shorter than its count says
// (size is 0 for no directory, SIZE_MAX when the caller does not know it).
std::vector<GroupEntry> read_group(const BYTE* dir, size_t size) {
    std::vector<GroupEntry> entries;
    if (size < kGroupHeaderSize || read_word(dir) != 0 || read_word(dir + 2) != 1) {
        return entries;
    }
    const WORD count = read_word(dir + 4);
    if ((size - kGroupHeaderSize) / kGroupEntrySize < count) {
        return entries;
    }
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = dir + kGroupHeaderSize + i * kGroupEntrySize;
        entries.push_back({entry[0] ? entry[0] : 256, entry[1] ? entry[1] : 256,
                           read_word(entry + 6), read_word(entry + 12)});
    }
    return entries;
}

// The best image for cx by cy: the first one nearest in size (width and height differences
// added), then among the images that differ from cx and cy by as much as that one does, the
// first one nearest in depth. Null when there are no entries.
const GroupEntry* choose_image(const std::vector<GroupEntry>& entries, int cx, int cy, int depth) {
    // In 64 bits, as the sizes asked for may be anything.
    const auto distance = [](int a, int b) { return std::llabs(static_cast<int64_t>(a) - b); };
    const GroupEntry* nearest = nullptr;
    for (const GroupEntry& entry : entries) {
        if (!nearest || distance(cx, entry.width) + distance(cy, entry.height) <
                            distance(cx, nearest->width) + distance(cy, nearest->height)) {
            nearest = &entry;
        }
    }
    const GroupEntry* best = nullptr;
    for (const GroupEntry& entry : entries) {
        if (distance(cx, entry.width) == distance(cx, nearest->width) &&
            distance(cy, entry.height) == distance(cy, nearest->height) &&
            (!best || distance(depth, entry.bitsPixel) < distance(depth, best->bitsPixel))) {
            best = &entry;
        }
    }
    return best;
}

// --- Icons

struct Icon {
    int width;
    int height;
    std::vector<BYTE> colour; // 32 bits per pixel, rows from the top
    std::vector<BYTE> mask;   // 1 bit per pixel, rows from the top padded to 16 bits
    bool shared;
};

size_t mask_stride(int width) {
    return (static_cast<size_t>(width) + 15) / 16 * 2;
}

// An icon image is a device-independent bitmap whose height counts both halves: the colour
// (XOR) rows, then the 1-bit AND mask rows, both from the bottom and padded to 32 bits. The icon
// is made at cx by cy (0: the image's own size), repeating or leaving out source pixels when the
// sizes differ. Null when the data is malformed or of a kind not handled, or when the icon's
// colours would take more than 2 GB (beyond what a bitmap can hold).
std::unique_ptr<Icon> decode_image(const BYTE* bits, DWORD size, int cx, int cy) {
    constexpr DWORD kInfoHeaderSize = 40;
    if (size < kInfoHeaderSize) {
        return nullptr;
    }
    const DWORD headerSize = read_dword(bits);
    const auto width = static_cast<int32_t>(read_dword(bits + 4));
    const int32_t height = static_cast<int32_t>(read_dword(bits + 8)) / 2;
    const WORD planes = read_word(bits + 12);
    const WORD bitCount = read_word(bits + 14);
    const DWORD compression = read_dword(bits + 16);
    const DWORD coloursUsed = read_dword(bits + 32);
    const bool indexed = bitCount == 1 || bitCount == 4 || bitCount == 8;
    if (headerSize < kInfoHeaderSize || headerSize > size || width < 1 || height < 1 ||
        planes != 1 || compression != kBiRgb || !(indexed || bitCount == 24 || bitCount == 32) ||
        (indexed && coloursUsed > (1u << bitCount))) {
        return nullptr;
    }
    // Without a count, an indexed image has a full colour table.
    const uint64_t tableEntries = indexed && coloursUsed == 0 ? 1u << bitCount : coloursUsed;
    const uint64_t xorStride = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
    const uint64_t andStride = (static_cast<uint64_t>(width) + 31) / 32 * 4;
    const uint64_t tableBytes = tableEntries * 4;
    if (tableBytes > size - headerSize || xorStride + andStride > size - headerSize - tableBytes ||
        (xorStride + andStride) * height > size - headerSize - tableBytes) {
        return nullptr;
    }
    const BYTE* table = bits + headerSize;
    const BYTE* xorRows = table + tableBytes;
    const BYTE* andRows = xorRows + xorStride * height;

    auto icon = std::make_unique<Icon>();
    icon->width = cx ? cx : width;
    icon->height = cy ? cy : height;
    icon->shared = false;
    if (static_cast<uint64_t>(icon->width) * static_cast<uint64_t>(icon->height) * 4 > INT32_MAX) {
        return nullptr;
    }
    const size_t maskStride = mask_stride(icon->width);
    icon->colour.resize(static_cast<size_t>(icon->width) * icon->height * 4);
    icon->mask.resize(maskStride * icon->height);
    for (int y = 0; y < icon->height; ++y) {
        const auto row = height - 1 - static_cast<int64_t>(y) * height / icon->height;
        const BYTE* xorRow = xorRows + row * xorStride;
        const BYTE* andRow = andRows + row * andStride;
        for (int x = 0; x < icon->width; ++x) {
            const auto sx = static_cast<size_t>(static_cast<int64_t>(x) * width / icon->width);
            BYTE* out = &icon->colour[(static_cast<size_t>(y) * icon->width + x) * 4];
            if (indexed) {
                const unsigned perByte = 8 / bitCount;
                const unsigned shift = 8 - bitCount * (sx % perByte + 1);
                const unsigned index = xorRow[sx / perByte] >> shift & ((1u << bitCount) - 1);
                // An index past the table shows as black.
                const BYTE* entry = index < tableEntries ? table + index * 4 : nullptr;
                for (int c = 0; c < 3; ++c) {
                    out[c] = entry ? entry[c] : 0;
                }
                out[3] = 0;
            } else {
                const BYTE* in = xorRow + sx * (bitCount / 8);
                for (int c = 0; c < 3; ++c) {
                    out[c] = in[c];
                }
                out[3] = bitCount == 32 ? in[3] : 0;
            }
            if (andRow[sx / 8] & 0x80 >> sx % 8) {
                icon->mask[y * maskStride + x / 8] |= static_cast<BYTE>(0x80 >> x % 8);
            }
        }
    }
    return icon;
}

// The icon at cx by cy pixels, sampled as decode_image does.
std::unique_ptr<Icon> stretch(const Icon& source, int cx, int cy) {
    auto icon = std::make_unique<Icon>();
    icon->width = cx;
    icon->height = cy;
    icon->shared = false;
    const size_t maskStride = mask_stride(cx), sourceStride = mask_stride(source.width);
    icon->colour.resize(static_cast<size_t>(cx) * cy * 4);
    icon->mask.resize(maskStride * cy);
    for (int y = 0; y < cy; ++y) {
        const auto sy = static_cast<size_t>(static_cast<int64_t>(y) * source.height / cy);
        for (int x = 0; x < cx; ++x) {
            const auto sx = static_cast<size_t>(static_cast<int64_t>(x) * source.width / cx);
            const BYTE* in = &source.colour[(sy * source.width + sx) * 4];
            std::copy(in, in + 4, &icon->colour[(static_cast<size_t>(y) * cx + x) * 4]);
            if (source.mask[sy * sourceStride + sx / 8] & 0x80 >> sx % 8) {
                icon->mask[y * maskStride + x / 8] |= static_cast<BYTE>(0x80 >> x % 8);
            }
        }
    }
    return icon;
}

// Icons loaded with LR_SHARED: one per module, group resource and size.
using SharedKey = std::tuple<HINSTANCE, HRSRC, int, int>;

// Handles are the icons' addresses; the table tells live handles from anything else.
struct IconTable {
    std::mutex lock;
    std::unordered_map<HICON, std::unique_ptr<Icon>> icons;
    std::map<SharedKey, HICON> shared;
};

// Never destroyed, so that icons may still be destroyed while the process ends.
IconTable& icon_table() {
    static IconTable* table = new IconTable;
    return *table;
}

HICON add_icon(std::unique_ptr<Icon> icon) {
    IconTable& table = icon_table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto handle = reinterpret_cast<HICON>(icon.get());
    table.icons.emplace(handle, std::move(icon));
    return handle;
}

HICON find_shared(const SharedKey& key) {
    IconTable& table = icon_table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.shared.find(key);
    return it == table.shared.end() ? nullptr : it->second;
}

// Another thread may have made the same shared icon meanwhile; then that one is kept.
HICON add_shared_icon(std::unique_ptr<Icon> icon, const SharedKey& key) {
    IconTable& table = icon_table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.shared.find(key);
    if (it != table.shared.end()) {
        return it->second;
    }
    icon->shared = true;
    auto handle = reinterpret_cast<HICON>(icon.get());
    table.icons.emplace(handle, std::move(icon));
    table.shared.emplace(key, handle);
    return handle;
}

// The locked resource's bytes and size; null when it cannot be loaded.
const BYTE* resource_bytes(HINSTANCE module, HRSRC resource, DWORD* size) {
    *size = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

HICON load_icon(HINSTANCE module, LPCSTR name, int cx, int cy, UINT flags) {
    HRSRC group = FindResourceA(module, name, RT_GROUP_ICON);
    if (!group) {
        return nullptr;
    }
    DWORD groupSize = 0;
    const BYTE* dir = resource_bytes(module, group, &groupSize);
    const std::vector<GroupEntry> entries = read_group(dir, dir ? groupSize : 0);
    if (entries.empty()) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    if (cx == 0) {
        cx = flags & LR_DEFAULTSIZE ? kSystemIconSize : entries.front().width;
    }
    if (cy == 0) {
        cy = flags & LR_DEFAULTSIZE ? kSystemIconSize : entries.front().height;
    }
    const SharedKey key(module, group, cx, cy);
    if (flags & LR_SHARED) {
        if (HICON icon = find_shared(key)) {
            return icon;
        }
    }
    const GroupEntry* best = choose_image(entries, cx, cy, kDisplayBitsPerPixel);
    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(best->id), RT_ICON);
    if (!image) {
        return nullptr;
    }
    DWORD imageSize = 0;
    const BYTE* bits = resource_bytes(module, image, &imageSize);
    std::unique_ptr<Icon> icon = bits ? decode_image(bits, imageSize, cx, cy) : nullptr;
    if (!icon) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return flags & LR_SHARED ? add_shared_icon(std::move(icon), key) : add_icon(std::move(icon));
}

} // namespace

int WINAPI LookupIconIdFromDirectoryEx(BYTE* presbits, BOOL fIcon, int cxDesired, int cyDesired,
                                       UINT Flags) try {
    if (!presbits || !fIcon) {
        return 0;
    }
    const std::vector<GroupEntry> entries = read_group(presbits, SIZE_MAX);
    const GroupEntry* best = choose_image(entries, cxDesired ? cxDesired : kSystemIconSize,
                                          cyDesired ? cyDesired : kSystemIconSize,
                                          Flags & LR_MONOCHROME ? 1 : kDisplayBitsPerPixel);
    return best ? best->id : 0;
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
}

HICON WINAPI CreateIconFromResourceEx(BYTE* presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer,
                                      int cxDesired, int cyDesired, UINT Flags) {
    if ((Flags & ~static_cast<UINT>(LR_DEFAULTSIZE)) != 0 || cxDesired < 0 || cyDesired < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!presbits || !fIcon || dwVer != kIconFormatVersion) {
        return nullptr;
    }
    if (Flags & LR_DEFAULTSIZE) {
        cxDesired = cxDesired ? cxDesired : kSystemIconSize;
        cyDesired = cyDesired ? cyDesired : kSystemIconSize;
    }
    try {
        std::unique_ptr<Icon> icon = decode_image(presbits, dwResSize, cxDesired, cyDesired);
        return icon ? add_icon(std::move(icon)) : nullptr;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

HANDLE WINAPI LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad) {
    if (type != IMAGE_ICON || (fuLoad & ~static_cast<UINT>(LR_DEFAULTSIZE | LR_SHARED)) != 0 ||
        cx < 0 || cy < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!hInst) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    try {
        return load_icon(hInst, name, cx, cy, fuLoad);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    return static_cast<HICON>(
        LoadImageA(hInstance, lpIconName, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

HICON WINAPI CopyIcon(HICON hIcon) {
    std::unique_ptr<Icon> copy;
    try {
        IconTable& table = icon_table();
        std::lock_guard<std::mutex> guard(table.lock);
        auto it = table.icons.find(hIcon);
        if (it == table.icons.end()) {
            SetLastError(ERROR_INVALID_CURSOR_HANDLE);
            return nullptr;
        }
        copy = std::make_unique<Icon>(*it->second);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    copy->shared = false;
    return add_icon(std::move(copy));
}

BOOL WINAPI DestroyIcon(HICON hIcon) {
    std::unique_ptr<Icon> icon;
    {
        IconTable& table = icon_table();
        std::lock_guard<std::mutex> guard(table.lock);
        auto it = table.icons.find(hIcon);
        if (it == table.icons.end()) {
            SetLastError(ERROR_INVALID_CURSOR_HANDLE);
            return FALSE;
        }
        if (it->second->shared) {
            return TRUE;
        }
        icon = std::move(it->second);
        table.icons.erase(it);
    }
    return TRUE;
}

HICON bwcompat::StretchIcon(HICON hIcon, int cx, int cy) {
    if (cx < 1 || cy < 1 || static_cast<uint64_t>(cx) * static_cast<uint64_t>(cy) * 4 > INT32_MAX) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    try {
        std::unique_ptr<Icon> copy;
        {
            IconTable& table = icon_table();
            std::lock_guard<std::mutex> guard(table.lock);
            auto it = table.icons.find(hIcon);
            if (it == table.icons.end()) {
                SetLastError(ERROR_INVALID_CURSOR_HANDLE);
                return nullptr;
            }
            copy = stretch(*it->second, cx, cy);
        }
        return add_icon(std::move(copy));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo) {
    IconTable& table = icon_table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.icons.find(hIcon);
    if (it == table.icons.end()) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    if (!piconinfo) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const Icon& icon = *it->second;
    HBITMAP mask = CreateBitmap(icon.width, icon.height, 1, 1, icon.mask.data());
    HBITMAP colour =
        mask ? CreateBitmap(icon.width, icon.height, 1, 32, icon.colour.data()) : nullptr;
    if (!colour) {
        DeleteObject(mask);
        return FALSE;
    }
    piconinfo->fIcon = TRUE;
    piconinfo->xHotspot = static_cast<DWORD>(icon.width / 2);
    piconinfo->yHotspot = static_cast<DWORD>(icon.height / 2);
    piconinfo->hbmMask = mask;
    piconinfo->hbmColor = colour;
    return TRUE;
}
