#include "DataFile.h"

#include <bwcore/runtime/List.h>
#include <bwcore/runtime/ListStorage.h>
#include <bwcore/runtime/Strings.h>

#include <string.h>

namespace {

// Blanks and tabs are single bytes that no double-byte character of the code pages in use ends
// with, and "=" and "]" are never a second byte, so the line is cut byte by byte.
std::string trimmed(const char* text, size_t length) {
    size_t start = 0;
    while (start < length && (text[start] == ' ' || text[start] == '\t'))
        ++start;
    while (length > start && (text[length - 1] == ' ' || text[length - 1] == '\t'))
        --length;
    return std::string(text + start, length - start);
}

// Whether the header line opens the chosen section.
bool opensSection(const char* header, uint32_t headers, const SectionOptions& options,
                  int32_t (*readId)(const char*, uint32_t*)) {
    if (options.section.empty())
        return headers == 2;
    const char* close = strchr(header, ']');
    const std::string idText =
        trimmed(header + 1,
                close != nullptr ? static_cast<size_t>(close - header - 1) : strlen(header + 1));
    uint32_t id = 0;
    return headers >= 2 && readId(idText.c_str(), &id) != 0 &&
           static_cast<uint16_t>(id) == sectionId(options);
}

std::vector<std::string> entryNames(HLIST lines, const SectionOptions& options,
                                    int32_t (*readId)(const char*, uint32_t*)) {
    std::vector<std::string> names;
    uint32_t headers = 0;
    bool inSection = false;
    for (const char* line = static_cast<const char*>(ListFirst(lines)); line != nullptr;
         line = static_cast<const char*>(ListNext(lines))) {
        if (line[0] == '[') {
            if (inSection)
                break;
            inSection = opensSection(line, ++headers, options, readId);
        } else if (inSection && strchr(line, '=') != nullptr) {
            // Trimming the whole line first keeps blanks before the "=" in the name.
            names.push_back(trimmed(line, strlen(line)));
            names.back().resize(names.back().find('='));
        }
    }
    return names;
}

} // namespace

void addSectionOptions(CLI::App& app, SectionOptions& options, const char* fileKind) {
    app.add_option("FILE", options.file, fileKind)->required();
    app.add_option("--section", options.section,
                   "the section of this language id (hexadecimal), instead of the first")
        ->check(hexDigits(4, "a hexadecimal language id"));
    app.add_flag("--json", options.json, "write JSON (UTF-8)");
}

const char* describeLoadResult(int32_t result) {
    switch (result) {
    case -8:
        return "the file cannot be read";
    case -9:
        return "no memory for its lines";
    case -10:
        return "no numbered heap left for its names";
    case -11:
        return "it has no section after the first, which is ignored";
    default:
        return "it cannot be loaded";
    }
}

uint16_t sectionId(const SectionOptions& options) {
    uint32_t id = 0;
    _HexToDec(options.section.c_str(), &id);
    return static_cast<uint16_t>(id);
}

std::vector<std::string> namesInFileOrder(const SectionOptions& options,
                                          int32_t (*readId)(const char* text, uint32_t* id)) {
    HLIST lines = ListCreate(0);
    if (lines == nullptr)
        return {};
    std::vector<std::string> names;
    if (ListReadFromFile(lines, options.file.c_str()) != 0)
        names = entryNames(lines, options, readId);
    ListDestroy(lines);
    return names;
}
