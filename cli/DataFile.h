// What lang and platform share: the file and section options, loading the file with a section
// made current, and listing that section's records in file order.
#pragma once

#include "CommandLine.h"

#include <stdint.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

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

// The names of the chosen section's entries in the order they stand in the file, each once:
// the section the library makes current (the file's first after the ignored one, or the first
// whose header readId reads as options.section), each line trimmed of blanks and tabs and cut
// at its first "=". Empty when the file cannot be read again.
std::vector<std::string> namesInFileOrder(const SectionOptions& options,
                                          int32_t (*readId)(const char* text, uint32_t* id));

// The library enumerates a section in the order of its hash tables; the tool lists records
// (anything with a `name`) in the order of the file. A record whose name the file does not show
// as the reading above does keeps its place after the others.
template <class Record>
void sortInFileOrder(std::vector<Record>& records, const std::vector<std::string>& names) {
    std::unordered_map<std::string, size_t> position;
    for (size_t i = 0; i < names.size(); ++i)
        position.emplace(names[i], i);
    const auto positionOf = [&](const Record& record) {
        const auto found = position.find(record.name);
        return found == position.end() ? names.size() : found->second;
    };
    std::stable_sort(records.begin(), records.end(), [&](const Record& a, const Record& b) {
        return positionOf(a) < positionOf(b);
    });
}
