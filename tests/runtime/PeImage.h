// Small PE images built in memory, for the version tests: the headers of a PE32 or PE32+ DLL and
// one resource section holding version resources. The layout tells where the parts are, so that
// a test can break one of them.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<uint8_t>;

// The content of one version resource (VS_VERSIONINFO in the 32-bit layout).
struct VersionFields {
    uint32_t fileVersionMS = 0;
    uint32_t fileVersionLS = 0;
    uint32_t productVersionMS = 0;
    uint32_t productVersionLS = 0;
    uint32_t fileFlags = 0;
    uint32_t fileOS = 0x40004; // VOS_NT_WINDOWS32
    uint32_t fileType = 2;     // VFT_DLL
    uint32_t fileSubtype = 0;
    std::string stringTable = "040904B0";
    // Keys and values (ASCII, or bytes taken one per UTF-16 unit).
    std::vector<std::pair<std::string, std::string>> strings;
    uint32_t translation = 0x04B00409;
};

Bytes BuildVersionData(const VersionFields& fields);

struct PeResource {
    uint16_t language;
    Bytes data;
};

struct PeLayout {
    size_t ntHeaders; // the "PE\0\0" signature
    size_t optionalHeader;
    size_t resourceDirectory; // data directory 2 in the optional header
    size_t sectionTable;
    size_t resourceSection;   // the resource section's data; its first bytes are the root table
    size_t typeTable;         // the table of names under RT_VERSION
    size_t nameTable;         // the table of languages under name 1
    size_t dataEntries;       // the IMAGE_RESOURCE_DATA_ENTRY of each resource, in order
    std::vector<size_t> data; // each resource's data
};

// An image whose only resources are version resources (type 16, name 1) in the given languages.
Bytes BuildPeImage(bool pe32Plus, const std::vector<PeResource>& versions,
                   PeLayout* layout = nullptr);

void Put16(Bytes& bytes, size_t offset, uint16_t value);
void Put32(Bytes& bytes, size_t offset, uint32_t value);
uint32_t Get32(const Bytes& bytes, size_t offset);
