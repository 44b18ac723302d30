// Writing pictures as PNG files, for people to look at what the library loaded. Builds without
// libpng (the Windows cross build) compile PngUnavailable.cpp instead, which says so.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

// Writes width by height pixels, rows from the top, three bytes each (red, green, blue), as an
// 8-bit RGB PNG file; false with the reason in words.
bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
              std::string& error);
