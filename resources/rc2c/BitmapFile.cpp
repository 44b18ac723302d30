#include "BitmapFile.h"

#include <fstream>
#include <iterator>

namespace rc2c {

std::vector<uint8_t> readBitmapFile(const std::string& Path, const SourceLocation& Where) {
    std::ifstream In(Path, std::ios::binary);
    if (!In)
        throw RcError(Where, "cannot open bitmap file '" + Path + "'");
    std::vector<uint8_t> B((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    // The file header (type, size, two reserved words, offset of the pixels) is 14 bytes, and
    // an info header of 40 follows.
    const size_t FileHeaderSize = 14, InfoHeaderSize = 40;
    if (B.size() < 2 || B[0] != 'B' || B[1] != 'M')
        throw RcError(Where, "bitmap file '" + Path + "': does not start with \"BM\"");
    if (B.size() < FileHeaderSize + InfoHeaderSize)
        throw RcError(Where, "bitmap file '" + Path + "': too short for its headers");
    B.erase(B.begin(), B.begin() + FileHeaderSize);
    return B;
}

} // namespace rc2c
