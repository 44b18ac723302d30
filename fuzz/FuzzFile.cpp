#include "FuzzFile.h"

#include <filesystem>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

std::string WriteFuzzFile(const char* kind, const uint8_t* data, size_t size) {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("bwcore-fuzz-" + std::to_string(getpid()) + "-" + kind);
    std::string text = path.string();
    FILE* file = fopen(text.c_str(), "wb");
    if (file == nullptr || fwrite(data, 1, size, file) != size) {
        fprintf(stderr, "cannot write %s\n", text.c_str());
        abort();
    }
    fclose(file);
    return text;
}

size_t CountHeaders(const uint8_t* data, size_t size) {
    size_t headers = 0;
    bool lineStart = true;
    for (size_t i = 0; i < size; ++i) {
        if (lineStart && data[i] == '[')
            ++headers;
        lineStart = data[i] == '\r' || data[i] == '\n';
    }
    return headers;
}
