// A data file written for one test and removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

struct TempFile {
    TempFile(const std::string& name, const std::string& bytes)
        : m_path((std::filesystem::temp_directory_path() / ("bwcore-intl-" + name)).string()) {
        std::ofstream(m_path, std::ios::binary) << bytes;
    }
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    const char* path() const { return m_path.c_str(); }
    const std::string m_path;
};
