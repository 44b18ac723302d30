// IconFile: the images of an .ico file, as the ICON statement puts them into a module.
#pragma once

#include "RcError.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rc2c {

// One image of an icon file: its directory entry and its bytes (a DIB or a PNG, copied as is).
struct IconImage {
    uint8_t Width = 0;
    uint8_t Height = 0;
    uint8_t ColorCount = 0;
    uint16_t Planes = 0;
    uint16_t BitCount = 0;
    std::vector<uint8_t> Data;
};

// Reads the icon file at Path; a fault in it is reported at Where, the ICON statement.
std::vector<IconImage> readIconFile(const std::string& Path, const SourceLocation& Where);

} // namespace rc2c
