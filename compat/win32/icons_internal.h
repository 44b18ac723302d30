// What the other Win32 areas of the Linux layer take from the icon area (icons.cpp). Internal to
// compat/win32.
#pragma once

#include <bwcore/win32/types.h>

namespace bwcompat {

// A new icon (not shared) of cx by cy pixels with the icon's picture, repeating or leaving out
// pixels where the sizes differ, as image lists keep their images. Null, with
// ERROR_INVALID_CURSOR_HANDLE, when the handle is not a live icon, and for sizes below 1.
HICON StretchIcon(HICON icon, int cx, int cy);

} // namespace bwcompat
