// BitmapFile: a .bmp file as the BITMAP statement puts it into a module.
#pragma once

#include "RcError.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rc2c {

// The bitmap file at Path without its 14-byte file header (which starts with "BM"): the info
// header, colour table and pixels that an RT_BITMAP resource holds. A fault in the file is
// reported at Where, the BITMAP statement.
std::vector<uint8_t> readBitmapFile(const std::string& Path, const SourceLocation& Where);

} // namespace rc2c
