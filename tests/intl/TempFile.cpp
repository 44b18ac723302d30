#include "TempFile.h"

#include <stdio.h>

TempFile::TempFile(const std::string& name, const std::string& bytes)
    : m_path(std::filesystem::temp_directory_path() / ("bwcore-intl-" + name)),
      m_pathText(m_path.string()) {
    FILE* file = fopen(m_pathText.c_str(), "wb");
    if (file != nullptr) {
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
}

TempFile::~TempFile() {
    std::error_code error;
    std::filesystem::remove(m_path, error);
}
