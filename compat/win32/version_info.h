// The version reader of versions.cpp over an image in memory, for the fuzz target, which feeds it
// arbitrary bytes. Internal to compat/win32 and not exported: the fuzz target compiles
// versions.cpp and pe_resources.cpp in itself.
#pragma once

#include <bwcore/win32/types.h>

#include <stddef.h>

#include <vector>

namespace bwcompat {

// What GetFileVersionInfoSizeA and GetFileVersionInfoA give for a file holding these bytes:
// `info` gets the size the first returns and is filled as the second fills a buffer of that size
// (the rest zero), ready for VerQueryValueA. ERROR_SUCCESS, or the error they would report.
DWORD VersionInfoFromImage(const void* image, size_t size, std::vector<BYTE>& info);

} // namespace bwcompat
