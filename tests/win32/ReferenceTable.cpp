#include "ReferenceTable.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, separator))
        fields.push_back(field);
    return fields;
}

} // namespace

ReferenceTable::ReferenceTable(const std::string& fileName) {
    const std::string path = std::string(BWCORE_TEST_DATA_DIR) + "/win32/" + fileName;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << "cannot read " << path;
    std::string line;
    if (!std::getline(in, line))
        return;
    header_ = Split(line, '\t');
    while (std::getline(in, line)) {
        if (!line.empty())
            rows_.push_back(Split(line, '\t'));
    }
}

std::string ReferenceTable::Get(size_t row, const std::string& column) const {
    for (size_t i = 0; i < header_.size(); ++i) {
        if (header_[i] == column)
            return i < rows_[row].size() ? rows_[row][i] : std::string();
    }
    ADD_FAILURE() << "no column " << column;
    return std::string();
}

int HexNumber(const std::string& text) {
    return static_cast<int>(strtol(text.c_str(), nullptr, 16));
}

std::string HexBytes(const std::string& text) {
    std::string bytes;
    if (text == "(empty)")
        return bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        bytes += static_cast<char>(strtol(text.substr(i, 2).c_str(), nullptr, 16));
    return bytes;
}
