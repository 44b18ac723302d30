// ResourceSet: the resources of one module in their binary forms, collected statement by
// statement and laid out as the Windows build's resource compiler lays them out.
#pragma once

#include "IconFile.h"
#include "RcError.h"

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace rc2c {

constexpr uint16_t ResourceTypeBitmap = 2;
constexpr uint16_t ResourceTypeIcon = 3;
constexpr uint16_t ResourceTypeDialog = 5;
constexpr uint16_t ResourceTypeString = 6;
constexpr uint16_t ResourceTypeGroupIcon = 14;

// A resource's name: an integer id, or (when Name is not empty) an upper-case name.
struct ResourceName {
    uint16_t Id = 0;
    std::string Name;
};

bool operator<(const ResourceName& A, const ResourceName& B);

struct Resource {
    uint16_t Type = 0;
    ResourceName Name;
    uint16_t Language = 0;
    std::vector<uint8_t> Data;
};

class ResourceSet {
public:
    // Adds string Id of the string table in Language; Text is ASCII.
    void addString(uint16_t Language, uint16_t Id, const std::string& Text,
                   const SourceLocation& Where);
    // Adds an icon group and its images; the images get the next free RT_ICON ids.
    void addIcon(uint16_t Language, const ResourceName& Name, const std::vector<IconImage>& Images,
                 const SourceLocation& Where);

    // Adds a resource of Type in its binary form: for a bitmap the file's bytes after its file
    // header, for a dialog the template.
    void add(uint16_t Type, uint16_t Language, const ResourceName& Name, std::vector<uint8_t> Data,
             const SourceLocation& Where);

    // Every resource, string tables built into blocks of 16 strings, sorted by type, then name
    // (ids before names), then language.
    std::vector<Resource> resources() const;

private:
    // Records that Name of Type is defined in Language; a second definition is an error.
    void claim(uint16_t Type, uint16_t Language, const ResourceName& Name,
               const SourceLocation& Where);

    struct StringEntry {
        std::string Text;
        SourceLocation Where;
    };
    std::map<std::pair<uint16_t, uint16_t>, StringEntry> Strings; // (language, id)
    std::map<std::tuple<uint16_t, uint16_t, ResourceName>, SourceLocation>
        Defined; // (type, language, name)
    std::vector<Resource> Others;
    uint32_t NextIconId = 1;
};

} // namespace rc2c
