// Reading the sectioned data files of the language and platform tables.
//
// The file is read with ListReadFromFile, so CR LF, LF and CR all end lines. A line beginning
// with "[" in its first column heads a section; everything before the second such line is
// ignored, the first section included. Every other line of a section is trimmed of blanks and
// tabs and split at its first "=" into a name and a value; lines without "=" are skipped.
//
// Decisions for input outside the format:
// - A header without a closing "]" takes the rest of its line as its text.
// - Names and values are cut to 259 bytes (at a character boundary), the size of the 260-byte
//   buffers they pass through, so every key fits a caller's 260-byte name buffer.
#pragma once

#include <stdint.h>

// Longest name or value kept, in bytes, without the terminator.
constexpr uint32_t kSectionTextMax = 259;
// A buffer that holds any name or value with its terminator.
constexpr uint32_t kSectionKeyBuffer = kSectionTextMax + 1;

class SectionReader {
public:
    virtual ~SectionReader() = default;
    // A section starts; idText is the trimmed text between the brackets. A non-zero result ends
    // the reading with that result.
    virtual int32_t onSection(const char* idText) = 0;
    // An entry of the current section; both texts may be changed in place.
    virtual void onEntry(char* name, char* value) = 0;
};

// 0 when the file was read to its end; -9 the line list cannot be created; -8 the file cannot be
// read; -11 fewer than two section headers; or the first non-zero result of onSection.
int32_t SectionFileRead(const char* path, SectionReader& reader);
