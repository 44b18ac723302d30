#include "PngFile.h"

bool writePng(const std::string&, int, int, const std::vector<uint8_t>&, std::string& error) {
    error = "this build cannot write PNG files (it was made without libpng)";
    return false;
}
