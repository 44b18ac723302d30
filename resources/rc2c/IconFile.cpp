#include "IconFile.h"

#include <fstream>
#include <iterator>

namespace rc2c {

namespace {

uint16_t word(const std::vector<uint8_t>& B, size_t At) {
    return static_cast<uint16_t>(B[At] | (B[At + 1] << 8));
}

uint32_t dword(const std::vector<uint8_t>& B, size_t At) {
    return static_cast<uint32_t>(word(B, At)) | (static_cast<uint32_t>(word(B, At + 2)) << 16);
}

} // namespace

std::vector<IconImage> readIconFile(const std::string& Path, const SourceLocation& Where) {
    std::ifstream In(Path, std::ios::binary);
    if (!In)
        throw RcError(Where, "cannot open icon file '" + Path + "'");
    std::vector<uint8_t> B((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    auto fail = [&](const std::string& What) {
        return RcError(Where, "icon file '" + Path + "': " + What);
    };

    // ICONDIR: reserved (0), type (1 for icons, 2 for cursors), image count; then one 16-byte
    // entry per image: width, height, colour count, reserved, planes, bit count, size, offset.
    const size_t HeaderSize = 6, EntrySize = 16;
    if (B.size() < HeaderSize)
        throw fail("too short for an icon header");
    if (word(B, 0) != 0 || word(B, 2) != 1)
        throw fail(word(B, 2) == 2 ? "is a cursor file, not an icon" : "is not an icon file");
    size_t Count = word(B, 4);
    if (Count == 0)
        throw fail("holds no images");
    if (B.size() < HeaderSize + Count * EntrySize)
        throw fail("directory of " + std::to_string(Count) + " images is cut short");

    std::vector<IconImage> Images;
    for (size_t I = 0; I < Count; ++I) {
        size_t E = HeaderSize + I * EntrySize;
        IconImage Image;
        Image.Width = B[E];
        Image.Height = B[E + 1];
        Image.ColorCount = B[E + 2];
        Image.Planes = word(B, E + 4);
        Image.BitCount = word(B, E + 6);
        uint64_t Size = dword(B, E + 8);
        uint64_t Offset = dword(B, E + 12);
        if (Size == 0 || Offset + Size > B.size())
            throw fail("image " + std::to_string(I + 1) + " lies outside the file");
        Image.Data.assign(B.begin() + static_cast<std::ptrdiff_t>(Offset),
                          B.begin() + static_cast<std::ptrdiff_t>(Offset + Size));
        Images.push_back(std::move(Image));
    }
    return Images;
}

} // namespace rc2c
