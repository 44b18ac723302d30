// Shell icon extraction, for Linux.
#pragma once

#include <bwcore/win32/types.h>

// An icon of the system's icon size (32 by 32) from an icon file (.ico) or from the icon groups
// of a PE file (.exe, .dll). nIconIndex, taken as signed: n >= 0 the n-th icon group in the order
// of the file's resource directory (the icon of an .ico file is its only one, at 0); -1 the
// number of icons instead of an icon (null for none); another negative -n the group with the
// integer id n (for an .ico file, its icon). The image is chosen from the group as LoadImageA
// chooses it. The caller destroys the icon. hInst is not used.
//
// Null for an index past the last icon, a missing or unreadable file, an empty name (with
// ERROR_INVALID_PARAMETER), and for a file that is neither an icon file nor a PE file or holds no
// icons: Windows documents 1 for a file of another kind, Wine gives null, and this layer does as
// Wine does. Callers that test for an icon treat every value up to 1 as none.
BW_EXTERN_C BWAFX_API HICON WINAPI ExtractIconA(HINSTANCE hInst, LPCSTR pszExeFileName,
                                                UINT nIconIndex);

#define ExtractIcon ExtractIconA
