#include "DataFile.h"

#include <bwcore/runtime/Strings.h>

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
