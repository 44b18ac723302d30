// Version resources for Linux, read from the file's PE image (pe_resources.cpp).
//
// The version data is a tree of blocks, each: wLength (bytes of the whole block), wValueLength,
// wType (1 for text, whose value length then counts UTF-16 units, 0 for binary), a
// zero-terminated UTF-16 key, the value on the next 4-byte boundary, and the children, each on a
// 4-byte boundary, up to wLength. Offsets are counted from the root block's start. The buffer
// that GetFileVersionInfoA fills is twice the data plus 4 bytes: the data, the mark "FE2X", and
// the area where VerQueryValueA writes the 8-bit copy of a text value, at the same distance from
// the area's start as the value from the data's start.
#include <bwcore/win32/errors.h>
#include <bwcore/win32/files.h>
#include <bwcore/win32/strings.h>
#include <bwcore/win32/versions.h>

#include "pe_resources.h"
#include "version_info.h"

#include <string.h>

#include <new>
#include <string>

namespace {

constexpr WORD rt_version = 16;
constexpr WORD vs_version_info = 1;
constexpr BYTE conversion_mark[4] = {'F', 'E', '2', 'X'};
constexpr uint32_t block_header_size = 6; // wLength, wValueLength, wType
constexpr WORD text_type = 1;
// The largest resource whose buffer size (twice it plus the mark) a DWORD can hold.
constexpr size_t max_resource_size = (0xFFFFFFFFu - sizeof conversion_mark) / 2;

uint16_t get16(const BYTE* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t align4(uint32_t offset) {
    return (offset + 3u) & ~3u;
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Reading the resource

// Version data must be in the 32-bit layout, with its root block inside the resource. (The
// 16-bit layout of old executables has the key where the type is, so the type tells them apart.)
DWORD check_version_data(const std::vector<BYTE>& resource) {
    if (resource.size() < block_header_size || resource.size() > max_resource_size)
        return ERROR_RESOURCE_DATA_NOT_FOUND;
    const WORD length = get16(resource.data());
    const WORD type = get16(resource.data() + 4);
    if (length < block_header_size || length > resource.size() || type > text_type)
        return ERROR_RESOURCE_DATA_NOT_FOUND;
    return ERROR_SUCCESS;
}

DWORD read_version_resource(const bwcompat::ByteSource& source, std::vector<BYTE>& resource) {
    if (DWORD error = bwcompat::ReadPeResource(source, rt_version, vs_version_info, resource))
        return error;
    return check_version_data(resource);
}

DWORD load_version_resource(LPCSTR path, std::vector<BYTE>& resource) {
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    DWORD error = GetLastError();
    if (low != INVALID_FILE_SIZE || error == ERROR_SUCCESS) {
        const bwcompat::ByteSource source =
            bwcompat::FileSource(file, (uint64_t{high} << 32) | low);
        try {
            error = read_version_resource(source, resource);
        } catch (const std::bad_alloc&) {
            error = ERROR_NOT_ENOUGH_MEMORY; // and the file is still closed
        }
    }
    CloseHandle(file);
    return error;
}

DWORD info_size(const std::vector<BYTE>& resource) {
    return static_cast<DWORD>(resource.size() * 2 + sizeof conversion_mark);
}

// Fills a caller's buffer as GetFileVersionInfoA does.
DWORD fill_info(const std::vector<BYTE>& resource, DWORD size, BYTE* info) {
    const WORD length = get16(resource.data());
    if (size < length)
        return ERROR_INSUFFICIENT_BUFFER;
    memcpy(info, resource.data(), size < resource.size() ? size : resource.size());
    if (size >= 2u * length + sizeof conversion_mark)
        memcpy(info + length, conversion_mark, sizeof conversion_mark);
    return ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------------------------
// Queries

struct block {
    uint32_t end;         // offset just past the block
    uint32_t key;         // offset of the key
    uint32_t key_length;  // in UTF-16 units, without the terminator
    WORD type;            // text_type or binary
    WORD value_length;    // as stored: UTF-16 units for text, bytes otherwise
    uint32_t value;       // offset of the value
    uint32_t first_child; // offset of the first child (at or past `end` when there is none)
};

// Reads the block at `start`, which must fit between `start` and `limit` with its key and value.
bool read_block(const BYTE* data, uint32_t start, uint32_t limit, block& b) {
    if (start > limit || limit - start < block_header_size)
        return false;
    const WORD length = get16(data + start);
    if (length < block_header_size || length > limit - start)
        return false;
    b.end = start + length;
    b.value_length = get16(data + start + 2);
    b.type = get16(data + start + 4);
    if (b.type > text_type)
        return false;
    b.key = start + block_header_size;
    uint32_t p = b.key;
    for (;;) {
        if (b.end - p < 2)
            return false; // the key runs past the block
        if (get16(data + p) == 0)
            break;
        p += 2;
    }
    b.key_length = (p - b.key) / 2;
    b.value = align4(p + 2);
    const uint32_t value_bytes = b.type == text_type ? 2u * b.value_length : b.value_length;
    if (value_bytes > 0 && (b.value > b.end || value_bytes > b.end - b.value))
        return false;
    b.first_child = align4(b.value + value_bytes);
    return true;
}

bool ascii_lower_equal(char16_t a, char16_t b) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    return lower(a) == lower(b);
}

bool key_equals(const BYTE* data, const block& b, const std::u16string& name) {
    if (b.key_length != name.size())
        return false;
    for (uint32_t i = 0; i < b.key_length; ++i) {
        if (!ascii_lower_equal(get16(data + b.key + 2 * i), name[i]))
            return false;
    }
    return true;
}

// Finds the child of `parent` with the key `name`; false when there is none or the children are
// malformed.
bool find_child(const BYTE* data, const block& parent, const std::u16string& name, block& child) {
    uint32_t offset = parent.first_child;
    while (offset < parent.end) {
        if (!read_block(data, offset, parent.end, child))
            return false;
        if (key_equals(data, child, name))
            return true;
        offset = align4(child.end);
    }
    return false;
}

// The sub-block path's keys, in UTF-16; empty keys (from leading, doubled or trailing
// backslashes) are skipped.
bool split_keys(LPCSTR sub_block, std::vector<std::u16string>& keys) {
    const int count = MultiByteToWideChar(CP_ACP, 0, sub_block, -1, nullptr, 0);
    if (count <= 0)
        return false;
    std::u16string path(static_cast<size_t>(count), u'\0');
    MultiByteToWideChar(CP_ACP, 0, sub_block, -1, path.data(), count);
    path.resize(static_cast<size_t>(count) - 1);
    std::u16string key;
    for (char16_t c : path) {
        if (c == u'\\') {
            if (!key.empty())
                keys.push_back(key);
            key.clear();
        } else {
            key += c;
        }
    }
    if (!key.empty())
        keys.push_back(key);
    return true;
}

// Hands out a text value through its 8-bit copy in the block's conversion area.
BOOL convert_text(BYTE* data, WORD root_length, const block& b, LPVOID* value, UINT* length) {
    if (memcmp(data + root_length, conversion_mark, sizeof conversion_mark) != 0)
        return fail(ERROR_INSUFFICIENT_BUFFER);
    std::u16string text(b.value_length, u'\0');
    for (uint32_t i = 0; i < b.value_length; ++i)
        text[i] = get16(data + b.value + 2 * i);
    // The copy has as many bytes as the original from its place to the end of the data, and one
    // UTF-16 unit never becomes more than two bytes, so it always fits.
    char* copy = reinterpret_cast<char*>(data + root_length + sizeof conversion_mark + b.value);
    const int room = static_cast<int>(root_length - b.value);
    const int written = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                            copy, room, nullptr, nullptr);
    if (written <= 0)
        return FALSE;
    *value = copy;
    if (length != nullptr)
        *length = static_cast<UINT>(written);
    return TRUE;
}

} // namespace

DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR lptstrFilename, LPDWORD lpdwHandle) {
    if (lpdwHandle != nullptr)
        *lpdwHandle = 0;
    std::vector<BYTE> resource;
    if (DWORD error = load_version_resource(lptstrFilename, resource)) {
        SetLastError(error);
        return 0;
    }
    return info_size(resource);
}

BOOL WINAPI GetFileVersionInfoA(LPCSTR lptstrFilename, DWORD dwHandle, DWORD dwLen, LPVOID lpData) {
    if (lpData == nullptr)
        return fail(ERROR_INVALID_PARAMETER);
    std::vector<BYTE> resource;
    if (DWORD error = load_version_resource(lptstrFilename, resource))
        return fail(error);
    if (DWORD error = fill_info(resource, dwLen, static_cast<BYTE*>(lpData)))
        return fail(error);
    return TRUE;
}

BOOL WINAPI VerQueryValueA(LPCVOID pBlock, LPCSTR lpSubBlock, LPVOID* lplpBuffer, UINT* puLen) try {
    if (puLen != nullptr)
        *puLen = 0;
    if (pBlock == nullptr || lpSubBlock == nullptr || lplpBuffer == nullptr)
        return fail(ERROR_INVALID_PARAMETER);
    // Win32 writes the text copies into the caller's block, though it takes it as const.
    BYTE* data = static_cast<BYTE*>(const_cast<void*>(pBlock));
    const WORD root_length = get16(data);
    block current;
    if (!read_block(data, 0, root_length, current))
        return fail(ERROR_RESOURCE_DATA_NOT_FOUND);
    std::vector<std::u16string> keys;
    if (!split_keys(lpSubBlock, keys))
        return fail(ERROR_INVALID_PARAMETER);
    for (const std::u16string& key : keys) {
        block child;
        if (!find_child(data, current, key, child))
            return fail(ERROR_RESOURCE_TYPE_NOT_FOUND);
        current = child;
    }
    if (current.type == text_type && current.value_length > 0)
        return convert_text(data, root_length, current, lplpBuffer, puLen);
    *lplpBuffer = data + current.value;
    if (puLen != nullptr)
        *puLen = current.value_length;
    return TRUE;
} catch (const std::bad_alloc&) {
    return fail(ERROR_NOT_ENOUGH_MEMORY);
}

namespace bwcompat {

DWORD VersionInfoFromImage(const void* image, size_t size, std::vector<BYTE>& info) {
    std::vector<BYTE> resource;
    if (DWORD error = read_version_resource(MemorySource(image, size), resource))
        return error;
    info.assign(info_size(resource), 0);
    return fill_info(resource, static_cast<DWORD>(info.size()), info.data());
}

} // namespace bwcompat
