// Reading resources out of PE images. The layout is Microsoft's PE/COFF format: a DOS
// header whose e_lfanew points at the "PE\0\0" signature, the COFF file header, the optional
// header (PE32 or PE32+) with its data directories, the section table, and in the resource
// directory three levels of IMAGE_RESOURCE_DIRECTORY tables leading to an
// IMAGE_RESOURCE_DATA_ENTRY. All values are little-endian and read byte by byte, so nothing
// depends on the host's alignment or byte order.
#include "pe_resources.h"

#include <bwcore/win32/errors.h>
#include <bwcore/win32/files.h>

#include <string.h>

namespace bwcompat {
namespace {

// Not declared by the layer's error header; only the resource reader reports it.
constexpr DWORD error_read_fault = 30;

constexpr WORD language_neutral = 0x0000;
constexpr WORD language_us_english = 0x0409;

constexpr uint32_t dos_header_size = 64;
constexpr uint32_t lfanew_offset = 0x3C;
constexpr uint32_t file_header_size = 20;
constexpr uint32_t section_header_size = 40;
constexpr uint32_t directory_header_size = 16;
constexpr uint32_t directory_entry_size = 8;
constexpr uint32_t data_entry_size = 16;
constexpr uint32_t resource_directory_index = 2;
constexpr uint32_t high_bit = 0x80000000u;

uint16_t get16(const BYTE* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t get32(const BYTE* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

struct section {
    uint32_t virtual_address;
    uint32_t raw_size;
    uint32_t raw_offset;
};

struct directory_entry {
    uint32_t name;   // an id, or (high bit) the offset of a name string
    uint32_t target; // the offset of a data entry, or (high bit) of a subdirectory
};

// The first entry with an integer id `id`; the named entries come first and are skipped.
const directory_entry* find_id(const std::vector<directory_entry>& entries, uint32_t named_count,
                               WORD id) {
    for (size_t i = named_count; i < entries.size(); ++i) {
        if (entries[i].name == id)
            return &entries[i];
    }
    return nullptr;
}

class image {
public:
    explicit image(const ByteSource& source) : source_(source) {}

    // Copies `count` bytes at a file offset, if they are all inside the image.
    DWORD read(uint64_t offset, void* dest, uint64_t count) const {
        if (offset > source_.size || count > source_.size - offset || count > UINT32_MAX)
            return ERROR_RESOURCE_DATA_NOT_FOUND;
        if (count == 0)
            return ERROR_SUCCESS;
        if (!source_.read(source_.context, offset, dest, static_cast<uint32_t>(count)))
            return error_read_fault;
        return ERROR_SUCCESS;
    }

    // Reads the headers and the section table; fills the resource directory's address.
    DWORD read_headers() {
        BYTE dos[dos_header_size];
        if (DWORD error = read(0, dos, sizeof dos))
            return error;
        if (dos[0] != 'M' || dos[1] != 'Z')
            return ERROR_RESOURCE_DATA_NOT_FOUND;
        const uint64_t nt_offset = get32(dos + lfanew_offset);

        BYTE nt[4 + file_header_size];
        if (DWORD error = read(nt_offset, nt, sizeof nt))
            return error;
        if (memcmp(nt, "PE\0\0", 4) != 0)
            return ERROR_RESOURCE_DATA_NOT_FOUND;
        const uint32_t section_count = get16(nt + 4 + 2);
        const uint32_t optional_size = get16(nt + 4 + 16);

        // The optional header's magic says where the data directories start.
        const uint64_t optional_offset = nt_offset + sizeof nt;
        std::vector<BYTE> optional(optional_size);
        if (DWORD error = read(optional_offset, optional.data(), optional.size()))
            return error;
        if (optional_size < 2)
            return ERROR_RESOURCE_DATA_NOT_FOUND;
        uint32_t count_offset = 0;
        switch (get16(optional.data())) {
        case 0x10B: // PE32
            count_offset = 92;
            break;
        case 0x20B: // PE32+
            count_offset = 108;
            break;
        default:
            return ERROR_RESOURCE_DATA_NOT_FOUND;
        }
        const uint32_t directory_offset =
            count_offset + 4 + resource_directory_index * directory_entry_size;
        if (optional_size < directory_offset + directory_entry_size ||
            get32(optional.data() + count_offset) <= resource_directory_index)
            return ERROR_RESOURCE_DATA_NOT_FOUND;
        resource_rva_ = get32(optional.data() + directory_offset);
        if (resource_rva_ == 0)
            return ERROR_RESOURCE_DATA_NOT_FOUND; // no resources at all

        std::vector<BYTE> table(static_cast<size_t>(section_count) * section_header_size);
        if (DWORD error = read(optional_offset + optional_size, table.data(), table.size()))
            return error;
        for (uint32_t i = 0; i < section_count; ++i) {
            const BYTE* header = table.data() + i * section_header_size;
            sections_.push_back({get32(header + 12), get32(header + 16), get32(header + 20)});
        }
        return ERROR_SUCCESS;
    }

    // Reads `count` bytes at an address of the loaded image; they must lie inside one section's
    // data in the file.
    DWORD read_rva(uint64_t rva, void* dest, uint64_t count) const {
        for (const section& s : sections_) {
            if (rva < s.virtual_address)
                continue;
            const uint64_t start = rva - s.virtual_address;
            if (start < s.raw_size && count <= s.raw_size - start)
                return read(s.raw_offset + start, dest, count);
        }
        return ERROR_RESOURCE_DATA_NOT_FOUND;
    }

    // Reads the entries of the resource directory table at `offset` in the resource section.
    DWORD read_directory(uint32_t offset, std::vector<directory_entry>& entries,
                         uint32_t& named_count) const {
        BYTE header[directory_header_size];
        if (DWORD error = read_rva(uint64_t{resource_rva_} + offset, header, sizeof header))
            return error;
        named_count = get16(header + 12);
        const uint32_t count = named_count + get16(header + 14);
        std::vector<BYTE> raw(static_cast<size_t>(count) * directory_entry_size);
        if (DWORD error =
                read_rva(uint64_t{resource_rva_} + offset + sizeof header, raw.data(), raw.size()))
            return error;
        entries.clear();
        for (uint32_t i = 0; i < count; ++i) {
            const BYTE* entry = raw.data() + i * directory_entry_size;
            entries.push_back({get32(entry), get32(entry + 4)});
        }
        return ERROR_SUCCESS;
    }

    // Follows the entry with the id `id` to its subdirectory.
    DWORD find_subdirectory(uint32_t offset, WORD id, uint32_t& subdirectory) const {
        std::vector<directory_entry> entries;
        uint32_t named_count = 0;
        if (DWORD error = read_directory(offset, entries, named_count))
            return error;
        return subdirectory_of(find_id(entries, named_count, id), subdirectory);
    }

    static DWORD subdirectory_of(const directory_entry* entry, uint32_t& subdirectory) {
        if (entry == nullptr || !(entry->target & high_bit))
            return ERROR_RESOURCE_DATA_NOT_FOUND; // absent, or data where a level is missing
        subdirectory = entry->target & ~high_bit;
        return ERROR_SUCCESS;
    }

    // Picks the language in the directory at `offset` and reads its data.
    DWORD read_language_data(uint32_t offset, std::vector<BYTE>& data) const {
        std::vector<directory_entry> entries;
        uint32_t named_count = 0;
        if (DWORD error = read_directory(offset, entries, named_count))
            return error;
        if (entries.empty())
            return ERROR_RESOURCE_DATA_NOT_FOUND;
        const directory_entry* chosen = find_id(entries, named_count, language_neutral);
        if (chosen == nullptr)
            chosen = find_id(entries, named_count, language_us_english);
        if (chosen == nullptr)
            chosen = &entries.front();
        if (chosen->target & high_bit)
            return ERROR_RESOURCE_DATA_NOT_FOUND; // a further level where data belongs

        BYTE entry[data_entry_size];
        if (DWORD error = read_rva(uint64_t{resource_rva_} + chosen->target, entry, sizeof entry))
            return error;
        const uint32_t data_rva = get32(entry);
        const uint32_t size = get32(entry + 4);
        // The size is checked against the image before anything is allocated for it.
        if (size > source_.size)
            return ERROR_RESOURCE_DATA_NOT_FOUND;
        data.resize(size);
        return read_rva(data_rva, data.data(), size);
    }

private:
    const ByteSource& source_;
    uint32_t resource_rva_ = 0;
    std::vector<section> sections_;
};

bool read_memory(void* context, uint64_t offset, void* dest, uint32_t count) {
    memcpy(dest, static_cast<const BYTE*>(context) + offset, count);
    return true;
}

bool read_file(void* context, uint64_t offset, void* dest, uint32_t count) {
    HANDLE file = static_cast<HANDLE>(context);
    LONG high = static_cast<LONG>(offset >> 32);
    SetLastError(ERROR_SUCCESS);
    if (SetFilePointer(file, static_cast<LONG>(static_cast<DWORD>(offset)), &high, FILE_BEGIN) ==
            INVALID_SET_FILE_POINTER &&
        GetLastError() != ERROR_SUCCESS)
        return false;
    DWORD done = 0;
    return ReadFile(file, dest, count, &done, nullptr) && done == count;
}

// The entries of the directory of the resources of type `type`; an image without that type has
// none.
DWORD read_type_directory(const image& pe, WORD type, std::vector<directory_entry>& entries) {
    std::vector<directory_entry> types;
    uint32_t named_count = 0;
    if (DWORD error = pe.read_directory(0, types, named_count))
        return error;
    const directory_entry* entry = find_id(types, named_count, type);
    if (entry == nullptr) {
        entries.clear();
        return ERROR_SUCCESS;
    }
    uint32_t names = 0;
    if (DWORD error = image::subdirectory_of(entry, names))
        return error;
    return pe.read_directory(names, entries, named_count);
}

} // namespace

ByteSource MemorySource(const void* data, size_t size) {
    return ByteSource{size, read_memory, const_cast<void*>(data)};
}

ByteSource FileSource(HANDLE file, uint64_t size) {
    return ByteSource{size, read_file, file};
}

DWORD ReadPeResource(const ByteSource& source, WORD type, WORD name, std::vector<BYTE>& data) {
    image pe(source);
    if (DWORD error = pe.read_headers())
        return error;
    uint32_t names = 0;
    if (DWORD error = pe.find_subdirectory(0, type, names))
        return error;
    uint32_t languages = 0;
    if (DWORD error = pe.find_subdirectory(names, name, languages))
        return error;
    return pe.read_language_data(languages, data);
}

DWORD ListPeResources(const ByteSource& source, WORD type, std::vector<uint32_t>& names) {
    image pe(source);
    std::vector<directory_entry> entries;
    if (DWORD error = pe.read_headers())
        return error;
    if (DWORD error = read_type_directory(pe, type, entries))
        return error;
    names.clear();
    for (const directory_entry& entry : entries)
        names.push_back(entry.name);
    return ERROR_SUCCESS;
}

DWORD ReadPeResourceAt(const ByteSource& source, WORD type, size_t index, std::vector<BYTE>& data) {
    image pe(source);
    std::vector<directory_entry> entries;
    if (DWORD error = pe.read_headers())
        return error;
    if (DWORD error = read_type_directory(pe, type, entries))
        return error;
    uint32_t languages = 0;
    if (DWORD error =
            image::subdirectory_of(index < entries.size() ? &entries[index] : nullptr, languages))
        return error;
    return pe.read_language_data(languages, data);
}

} // namespace bwcompat
