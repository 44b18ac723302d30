// The Win32 reference tables in tests/data/win32: tab-separated, one header row, values as
// measured on a real Win32 implementation.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

class ReferenceTable {
public:
    // Reads tests/data/win32/<fileName>; a file that cannot be read gives an empty table.
    explicit ReferenceTable(const std::string& fileName);

    size_t RowCount() const { return rows_.size(); }
    // The value in a row under a column of the header; fails the test for an unknown column.
    std::string Get(size_t row, const std::string& column) const;

private:
    std::vector<std::string> header_;
    std::vector<std::vector<std::string>> rows_;
};

// "0x8A" -> 0x8A.
int HexNumber(const std::string& text);
// "82A0" -> "\x82\xA0"; "(empty)" -> "".
std::string HexBytes(const std::string& text);
