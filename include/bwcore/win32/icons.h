// Icons, for Linux: choosing an image from an icon group, creating icons from icon resources,
// loading them out of a module's resources, and their bitmaps.
//
// An icon group (RT_GROUP_ICON) is a directory of the images (RT_ICON) of one icon at several
// sizes and colour depths. The image chosen is found in two rounds: first the earliest image
// closest in size (the width and height differences added); then, among the images whose width
// and height differ from the size asked for exactly as that one's do, the earliest one closest in
// colour depth to the display, a true-colour display of 32 bits per pixel (1 with LR_MONOCHROME).
// The icon is created at the size asked for, stretching the image when it has another size.
//
// An icon handle is the address of a heap object holding the icon's size and pixels: colours at
// 32 bits per pixel and the 1-bit AND mask. Functions given a handle that is not a live icon fail
// with ERROR_INVALID_CURSOR_HANDLE. Icons loaded with LR_SHARED (and by LoadIconA) are made once
// per module, resource and size, live as long as the process, and survive DestroyIcon.
//
// Images are uncompressed device-independent bitmaps of 1, 4, 8, 24 or 32 bits per pixel;
// cursors are not handled.
#pragma once

#include <bwcore/win32/types.h>

#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2

#define LR_DEFAULTCOLOR 0x00000000
#define LR_MONOCHROME 0x00000001
#define LR_DEFAULTSIZE 0x00000040
#define LR_SHARED 0x00008000

typedef struct _ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
} ICONINFO, *PICONINFO;

// The resource id of the image in the icon group directory presbits that best fits cx by cy
// (0 for either means the system's icon size, 32); 0 when presbits is not an icon group.
// Flags: LR_DEFAULTCOLOR or LR_MONOCHROME.
BW_EXTERN_C BWAFX_API int WINAPI LookupIconIdFromDirectoryEx(BYTE* presbits, BOOL fIcon,
                                                             int cxDesired, int cyDesired,
                                                             UINT Flags);
// An icon from one icon image (an RT_ICON resource) of dwResSize bytes, in format version
// 0x00030000, at cxDesired by cyDesired pixels. A zero size is the image's own, or with
// LR_DEFAULTSIZE the system's icon size. Null for malformed data or another version.
BW_EXTERN_C BWAFX_API HICON WINAPI CreateIconFromResourceEx(BYTE* presbits, DWORD dwResSize,
                                                            BOOL fIcon, DWORD dwVer, int cxDesired,
                                                            int cyDesired, UINT Flags);
// Loads icon group name from the module's resources (IMAGE_ICON only) at cx by cy pixels. A zero
// size is that of the group's first image, or with LR_DEFAULTSIZE the system's icon size. Flags:
// LR_DEFAULTCOLOR, LR_DEFAULTSIZE, LR_SHARED; other types and flags fail with
// ERROR_INVALID_PARAMETER. A missing resource fails with FindResourceA's error, a malformed one
// with ERROR_RESOURCE_DATA_NOT_FOUND, and a null module (the system's own images) with
// ERROR_RESOURCE_NAME_NOT_FOUND, as none are carried.
BW_EXTERN_C BWAFX_API HANDLE WINAPI LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx,
                                               int cy, UINT fuLoad);
// The shared icon of the system's icon size: LoadImageA with LR_DEFAULTSIZE | LR_SHARED.
BW_EXTERN_C BWAFX_API HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);
// A new icon (not shared) with the same size and pixels.
BW_EXTERN_C BWAFX_API HICON WINAPI CopyIcon(HICON hIcon);
// Frees the icon; a shared icon stays valid and TRUE is returned.
BW_EXTERN_C BWAFX_API BOOL WINAPI DestroyIcon(HICON hIcon);
// Describes the icon: its hotspot is its centre, and hbmMask (1 bit per pixel) and hbmColor
// (32 bits per pixel) are new bitmaps of the icon's size, which the caller deletes.
BW_EXTERN_C BWAFX_API BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo);

#define LoadImage LoadImageA
#define LoadIcon LoadIconA
