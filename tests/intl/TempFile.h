// A data file written for one test and removed afterwards.
#pragma once

#include <filesystem>
#include <string>

class TempFile {
public:
    TempFile(const std::string& name, const std::string& bytes);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const char* path() const { return m_pathText.c_str(); }

private:
    std::filesystem::path m_path;
    std::string m_pathText;
};
