// Shell icon extraction for Linux: icon files and the icon groups of PE files, read through the
// file layer (so Win32 paths work) and made into icons by the icon area.
#include "pe_resources.h"

#include <bwcore/win32/errors.h>
#include <bwcore/win32/files.h>
#include <bwcore/win32/icons.h>
#include <bwcore/win32/shell.h>

#include <algorithm>
#include <new>
#include <vector>

namespace {

// SM_CXICON and SM_CYICON of the headless display.
constexpr int kIconSize = 32;
constexpr DWORD kIconFormatVersion = 0x00030000;
constexpr WORD kRtIcon = 3;
constexpr WORD kRtGroupIcon = 14;

constexpr size_t kDirectoryHeaderSize = 6;
constexpr size_t kFileEntrySize = 16;  // in an .ico file: ends with the image's size and offset
constexpr size_t kGroupEntrySize = 14; // in an icon group: ends with the image's size and id

WORD get16(const BYTE* p) {
    return static_cast<WORD>(p[0] | p[1] << 8);
}

DWORD get32(const BYTE* p) {
    return static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 |
           static_cast<DWORD>(p[2]) << 16 | static_cast<DWORD>(p[3]) << 24;
}

void put16(BYTE* p, WORD value) {
    p[0] = static_cast<BYTE>(value);
    p[1] = static_cast<BYTE>(value >> 8);
}

// The header of an icon directory: reserved 0, type 1 (icons; cursors are 2), image count.
bool is_icon_directory(const BYTE* header) {
    return get16(header) == 0 && get16(header + 2) == 1;
}

HICON count_as_icon(size_t count) {
    return reinterpret_cast<HICON>(static_cast<ULONG_PTR>(count));
}

HICON icon_from_image(std::vector<BYTE>& image) {
    return CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                    kIconFormatVersion, kIconSize, kIconSize, LR_DEFAULTCOLOR);
}

// The icon of the group directory's best image for the icon size; image(id) reads that image.
template <typename ReadImage>
HICON icon_from_group(std::vector<BYTE>& group, ReadImage image) {
    if (group.size() < kDirectoryHeaderSize || !is_icon_directory(group.data()) ||
        (group.size() - kDirectoryHeaderSize) / kGroupEntrySize < get16(group.data() + 4))
        return nullptr;
    const int id =
        LookupIconIdFromDirectoryEx(group.data(), TRUE, kIconSize, kIconSize, LR_DEFAULTCOLOR);
    std::vector<BYTE> bits;
    if (id == 0 || !image(static_cast<WORD>(id), bits))
        return nullptr;
    return icon_from_image(bits);
}

// A PE file's icon groups; the position of group -index when the index is negative.
HICON extract_from_pe(const bwcompat::ByteSource& source, int index) {
    std::vector<uint32_t> groups;
    if (bwcompat::ListPeResources(source, kRtGroupIcon, groups) != ERROR_SUCCESS)
        return nullptr;
    if (index == -1)
        return groups.empty() ? nullptr : count_as_icon(groups.size());
    size_t position = static_cast<size_t>(index);
    if (index < 0) {
        const uint32_t id = 0u - static_cast<uint32_t>(index);
        position = 0;
        while (position < groups.size() && groups[position] != id)
            ++position;
    }
    std::vector<BYTE> group;
    if (position >= groups.size() ||
        bwcompat::ReadPeResourceAt(source, kRtGroupIcon, position, group) != ERROR_SUCCESS)
        return nullptr;
    return icon_from_group(group, [&](WORD id, std::vector<BYTE>& bits) {
        return bwcompat::ReadPeResource(source, kRtIcon, id, bits) == ERROR_SUCCESS;
    });
}

bool read_at(const bwcompat::ByteSource& source, uint64_t offset, std::vector<BYTE>& bytes) {
    return offset <= source.size && bytes.size() <= source.size - offset &&
           (bytes.empty() ||
            source.read(source.context, offset, bytes.data(), static_cast<uint32_t>(bytes.size())));
}

// An .ico file holds one icon, at index 0 and at every negative index but -1. Its directory is
// made into an icon group (image n with the id n + 1) so that the image is chosen as from a
// module's resources.
HICON extract_from_icon_file(const bwcompat::ByteSource& source, WORD count, int index) {
    if (count == 0 || index > 0)
        return nullptr;
    if (index == -1)
        return count_as_icon(1);
    std::vector<BYTE> entries(count * kFileEntrySize);
    if (!read_at(source, kDirectoryHeaderSize, entries))
        return nullptr;
    std::vector<BYTE> group(kDirectoryHeaderSize + count * kGroupEntrySize);
    put16(&group[2], 1);
    put16(&group[4], count);
    for (WORD i = 0; i < count; ++i) {
        BYTE* entry = &group[kDirectoryHeaderSize + i * kGroupEntrySize];
        std::copy_n(&entries[i * kFileEntrySize], 12, entry);
        put16(entry + 12, static_cast<WORD>(i + 1));
    }
    return icon_from_group(group, [&](WORD id, std::vector<BYTE>& bits) {
        const BYTE* entry = &entries[(id - 1) * kFileEntrySize];
        const DWORD size = get32(entry + 8);
        if (size > source.size)
            return false;
        bits.resize(size);
        return read_at(source, get32(entry + 12), bits);
    });
}

HICON extract(HANDLE file, int index) {
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS)
        return nullptr;
    const bwcompat::ByteSource source = bwcompat::FileSource(file, uint64_t{high} << 32 | low);
    std::vector<BYTE> header(kDirectoryHeaderSize);
    if (!read_at(source, 0, header))
        return nullptr;
    if (header[0] == 'M' && header[1] == 'Z')
        return extract_from_pe(source, index);
    if (is_icon_directory(header.data()))
        return extract_from_icon_file(source, get16(&header[4]), index);
    return nullptr;
}

} // namespace

HICON WINAPI ExtractIconA(HINSTANCE hInst, LPCSTR pszExeFileName, UINT nIconIndex) {
    if (!pszExeFileName || !*pszExeFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HANDLE file = CreateFileA(pszExeFileName, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    HICON icon = nullptr;
    try {
        icon = extract(file, static_cast<int>(nIconIndex));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    CloseHandle(file);
    return icon;
}
