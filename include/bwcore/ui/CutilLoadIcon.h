// Icons for the front end's windows, loaded at 16 by 16 or 32 by 32 pixels from the resources
// that the framework searches (the library's own icons among them).
#pragma once

#include <bwcore/platform.h>

// The icon group nId at 16 by 16 pixels; the caller owns the icon. Null when no module holds the
// group.
BW_EXTERN_C BWCORE_API HICON CutilLoadIcon16(int nId);
// The same at 32 by 32 pixels.
BW_EXTERN_C BWCORE_API HICON CutilLoadIcon32(int nId);
