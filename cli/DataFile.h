// What lang and platform share: the file and section options, and loading the file with a
// section made current.
#pragma once

#include "CommandLine.h"

#include <stdint.h>
#include <stdio.h>
#include <string>

struct SectionOptions {
    std::string file;
    std::string section; // empty: the file's first section
    bool json = false;
};

// Adds "FILE [--section ID] [--json]" to the command's parser.
void addSectionOptions(CLI::App& app, SectionOptions& options, const char* fileKind);

// What a result of IntlLoad or PlatformLoad means, in words.
const char* describeLoadResult(int32_t result);

// The section's language id; the option's validator has checked the digits.
uint16_t sectionId(const SectionOptions& options);

// Loads the file into the table and makes the chosen section current; false after a message.
template <class Table>
bool loadSection(const char* command, Table table, int32_t (*load)(Table, const char*),
                 int32_t (*setLanguage)(Table, uint16_t), const SectionOptions& options) {
    const char* file = options.file.c_str();
    const int32_t result = load(table, file);
    if (result != 0) {
        fprintf(stderr, "bwcore %s: cannot load '%s': %s (error %d)\n", command, file,
                describeLoadResult(result), static_cast<int>(result));
        return false;
    }
    if (!options.section.empty() && setLanguage(table, sectionId(options)) != 0) {
        fprintf(stderr, "bwcore %s: no section %s in '%s'\n", command, options.section.c_str(),
                file);
        return false;
    }
    return true;
}
