// Reading resources out of PE images (PE32 and PE32+) without loading them. Internal to
// compat/win32.
//
// The parser trusts nothing in the image: every structure is read through the source with its
// offset and size checked against the image's size first, offsets are mapped through the
// section table, and the resource directory is walked for exactly its three levels (type, name,
// language), so malformed images are refused instead of being read out of bounds.
#pragma once

#include <bwcore/win32/types.h>

#include <stdint.h>

#include <vector>

namespace bwcompat {

// Where the bytes of an image come from: a file or memory.
struct ByteSource {
    uint64_t size;
    // Copies `count` bytes from `offset` to `dest`; false on a read error. The parser calls it
    // only for ranges inside `size`.
    bool (*read)(void* context, uint64_t offset, void* dest, uint32_t count);
    void* context;
};

// A source over bytes in memory.
ByteSource MemorySource(const void* data, size_t size);
// A source over an open file of `size` bytes, read with SetFilePointer and ReadFile.
ByteSource FileSource(HANDLE file, uint64_t size);

// The language chosen when a resource has several: the neutral language if present, else
// US English, else the first in the directory.
//
// Reads the data of the resource with integer type and name. ERROR_SUCCESS with `data` filled;
// ERROR_RESOURCE_DATA_NOT_FOUND when the source is not a PE image, its headers or resource
// directory are inconsistent, or it has no such resource; ERROR_READ_FAULT when the source
// fails to read.
DWORD ReadPeResource(const ByteSource& source, WORD type, WORD name, std::vector<BYTE>& data);

// The name fields of the resources of integer type `type`, in the directory's order (named
// entries first, their fields with the high bit set): ERROR_SUCCESS, or the errors of
// ReadPeResource; an image without resources of that type gives an empty list.
DWORD ListPeResources(const ByteSource& source, WORD type, std::vector<uint32_t>& names);
// Reads the data of the resource of type `type` at position `index` of that list.
DWORD ReadPeResourceAt(const ByteSource& source, WORD type, size_t index, std::vector<BYTE>& data);

} // namespace bwcompat
