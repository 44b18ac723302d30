#include "PeImage.h"

#include <string.h>

namespace {

const uint32_t kFileAlignment = 0x200;
const uint32_t kSectionAlignment = 0x1000;
const uint32_t kResourceRva = 0x1000;

size_t Align(size_t value, size_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

void Pad4(Bytes& bytes) {
    bytes.resize(Align(bytes.size(), 4), 0);
}

void Append16(Bytes& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void Append32(Bytes& bytes, uint32_t value) {
    Append16(bytes, static_cast<uint16_t>(value));
    Append16(bytes, static_cast<uint16_t>(value >> 16));
}

void AppendText(Bytes& bytes, const std::string& text) {
    for (char c : text)
        Append16(bytes, static_cast<uint8_t>(c));
    Append16(bytes, 0);
}

// One block: header, key, value on a 4-byte boundary, then the children, each on a 4-byte
// boundary. A block with children ends on a 4-byte boundary; a leaf ends with its value.
Bytes Block(const std::string& key, bool text, const Bytes& value, uint16_t valueLength,
            const std::vector<Bytes>& children) {
    Bytes block(6, 0);
    AppendText(block, key);
    Pad4(block);
    block.insert(block.end(), value.begin(), value.end());
    for (const Bytes& child : children) {
        Pad4(block);
        block.insert(block.end(), child.begin(), child.end());
    }
    if (!children.empty())
        Pad4(block);
    Put16(block, 0, static_cast<uint16_t>(block.size()));
    Put16(block, 2, valueLength);
    Put16(block, 4, text ? 1 : 0);
    return block;
}

} // namespace

void Put16(Bytes& bytes, size_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(Bytes& bytes, size_t offset, uint32_t value) {
    Put16(bytes, offset, static_cast<uint16_t>(value));
    Put16(bytes, offset + 2, static_cast<uint16_t>(value >> 16));
}

uint32_t Get32(const Bytes& bytes, size_t offset) {
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
           (static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

Bytes BuildVersionData(const VersionFields& fields) {
    Bytes fixed;
    for (uint32_t value :
         {0xFEEF04BDu, 0x00010000u, fields.fileVersionMS, fields.fileVersionLS,
          fields.productVersionMS, fields.productVersionLS, 0x3Fu, fields.fileFlags, fields.fileOS,
          fields.fileType, fields.fileSubtype, 0u, 0u})
        Append32(fixed, value);

    std::vector<Bytes> strings;
    for (const auto& entry : fields.strings) {
        Bytes value;
        AppendText(value, entry.second);
        strings.push_back(
            Block(entry.first, true, value, static_cast<uint16_t>(entry.second.size() + 1), {}));
    }
    Bytes translation;
    Append32(translation, fields.translation);

    const Bytes table = Block(fields.stringTable, true, {}, 0, strings);
    const Bytes stringInfo = Block("StringFileInfo", true, {}, 0, {table});
    const Bytes var = Block("Translation", false, translation, 4, {});
    const Bytes varInfo = Block("VarFileInfo", true, {}, 0, {var});
    return Block("VS_VERSION_INFO", false, fixed, static_cast<uint16_t>(fixed.size()),
                 {stringInfo, varInfo});
}

Bytes BuildPeImage(bool pe32Plus, const std::vector<PeResource>& versions, PeLayout* layout) {
    PeLayout where;

    // The resource section: root table -> RT_VERSION table -> name 1 table -> data entries ->
    // data. Offsets in the tables count from the section's start.
    Bytes section;
    auto table = [&section](uint16_t idCount) {
        Bytes header(16, 0);
        Put16(header, 14, idCount);
        section.insert(section.end(), header.begin(), header.end());
    };
    const uint32_t typeTable = 16 + 8;
    const uint32_t nameTable = typeTable + 16 + 8;
    const uint32_t dataEntries = nameTable + 16 + 8 * static_cast<uint32_t>(versions.size());
    table(1);
    Append32(section, 16);
    Append32(section, 0x80000000u | typeTable);
    table(1);
    Append32(section, 1);
    Append32(section, 0x80000000u | nameTable);
    table(static_cast<uint16_t>(versions.size()));
    for (size_t i = 0; i < versions.size(); ++i) {
        Append32(section, versions[i].language);
        Append32(section, dataEntries + 16 * static_cast<uint32_t>(i));
    }
    size_t dataOffset = Align(dataEntries + 16 * versions.size(), 8);
    std::vector<size_t> dataOffsets;
    for (const PeResource& resource : versions) {
        Append32(section, kResourceRva + static_cast<uint32_t>(dataOffset));
        Append32(section, static_cast<uint32_t>(resource.data.size()));
        Append32(section, 0);
        Append32(section, 0);
        dataOffsets.push_back(dataOffset);
        dataOffset = Align(dataOffset + resource.data.size(), 8);
    }
    for (size_t i = 0; i < versions.size(); ++i) {
        section.resize(dataOffsets[i], 0);
        section.insert(section.end(), versions[i].data.begin(), versions[i].data.end());
    }
    const uint32_t virtualSize = static_cast<uint32_t>(section.size());
    section.resize(Align(section.size(), kFileAlignment), 0);

    // The headers.
    Bytes image(kFileAlignment, 0);
    image[0] = 'M';
    image[1] = 'Z';
    where.ntHeaders = 0x40;
    Put32(image, 0x3C, static_cast<uint32_t>(where.ntHeaders));
    image[0x40] = 'P';
    image[0x41] = 'E';
    const size_t file = where.ntHeaders + 4;
    const uint16_t optionalSize = pe32Plus ? 240 : 224;
    Put16(image, file, pe32Plus ? 0x8664 : 0x014C);
    Put16(image, file + 2, 1);
    Put16(image, file + 16, optionalSize);
    Put16(image, file + 18, pe32Plus ? 0x2022 : 0x2102);

    const size_t opt = file + 20;
    where.optionalHeader = opt;
    Put16(image, opt, pe32Plus ? 0x20B : 0x10B);
    image[opt + 2] = 2;
    Put32(image, opt + 8, static_cast<uint32_t>(section.size()));
    Put32(image, opt + 20, kResourceRva);
    if (pe32Plus) {
        Put32(image, opt + 24, 0x80000000u);
        Put32(image, opt + 28, 1); // image base 0x180000000
    } else {
        Put32(image, opt + 24, kResourceRva);
        Put32(image, opt + 28, 0x10000000u);
    }
    Put32(image, opt + 32, kSectionAlignment);
    Put32(image, opt + 36, kFileAlignment);
    Put16(image, opt + 40, 6);
    Put16(image, opt + 48, 6);
    Put32(image, opt + 56,
          static_cast<uint32_t>(kResourceRva + Align(virtualSize, kSectionAlignment)));
    Put32(image, opt + 60, kFileAlignment);
    Put16(image, opt + 68, 2);
    Put16(image, opt + 70, pe32Plus ? 0x160 : 0x140);
    const size_t sizes = opt + 72;
    const size_t count = pe32Plus ? opt + 108 : opt + 92;
    for (size_t i = 0; i < 4; ++i) {
        const uint32_t value = i % 2 == 0 ? 0x100000 : 0x1000;
        Put32(image, sizes + i * (pe32Plus ? 8 : 4), value);
    }
    Put32(image, count, 16);
    where.resourceDirectory = count + 4 + 2 * 8;
    Put32(image, where.resourceDirectory, kResourceRva);
    Put32(image, where.resourceDirectory + 4, virtualSize);

    where.sectionTable = opt + optionalSize;
    const size_t s = where.sectionTable;
    memcpy(&image[s], ".rsrc", 5);
    Put32(image, s + 8, virtualSize);
    Put32(image, s + 12, kResourceRva);
    Put32(image, s + 16, static_cast<uint32_t>(section.size()));
    Put32(image, s + 20, kFileAlignment);
    Put32(image, s + 36, 0x40000040u);

    where.resourceSection = image.size();
    where.typeTable = where.resourceSection + typeTable;
    where.nameTable = where.resourceSection + nameTable;
    where.dataEntries = where.resourceSection + dataEntries;
    for (size_t offset : dataOffsets)
        where.data.push_back(where.resourceSection + offset);
    image.insert(image.end(), section.begin(), section.end());
    if (layout != nullptr)
        *layout = where;
    return image;
}
