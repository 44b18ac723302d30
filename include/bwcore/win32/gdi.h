// GDI for Linux: bitmaps, palettes, the headless display's device contexts, device-independent
// bitmaps, with GetObjectA and DeleteObject over every kind of object.
//
// A GDI handle is the address of a heap object that the layer keeps in a process-wide table, so a
// handle that was never handed out, or was deleted, is recognised and refused. Bitmaps are
// device-dependent bitmaps of the headless display: they hold their size, bit depth and pixels in
// the row layout that CreateBitmap takes (rows from the top, each a whole number of 16-bit words).
//
// The display: true colour at 32 bits per pixel, unless the environment variable
// BWCORE_DISPLAY_BITS reads "8" at the first GDI call; then it is palette-based, 8 bits per pixel
// with a system palette of 256 entries whose entries 0 to 9 and 246 to 255 hold the 20 static
// colours (the values Wine's display driver reports on an 8-bit X screen, which are Windows'
// standard ones) and whose other entries start black. Bitmaps created for the true-colour display
// hold each pixel as blue, green, red and a zero byte; for the palette display, as an index into
// the system palette.
//
// Palettes follow Win32's model in small. A device context starts with the stock default palette
// (the 20 static colours) selected. RealizePalette of a palette selected in the foreground gives
// the palette's entries, in order, the system palette's entries 10 to 245: an entry without
// PC_NOCOLLAPSE or PC_RESERVED whose colour equals a static colour, or an entry placed before it,
// shares that entry instead; when none is free, an entry maps to the nearest system colour. A
// background palette, and a palette never realised, map each entry to the nearest system colour
// without changing the system palette. Nearest is by the squared distance of red, green and blue;
// of equal distances the lowest index wins.
#pragma once

#include <bwcore/win32/types.h>

typedef struct tagBITMAP {
    LONG bmType; // always 0
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes; // bytes per row, always even
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits; // null: the pixels of a device-dependent bitmap are not addressable
} BITMAP, *PBITMAP, *LPBITMAP;

// A bitmap of nWidth by nHeight pixels with one plane of 1, 4, 8, 16, 24 or 32 bits per pixel,
// initialised from lpBits (rows from the top, each padded to 16 bits) or zero-filled when lpBits
// is null. Another plane count, bit count or a size below 1 fails with ERROR_INVALID_PARAMETER
// (Windows answers a zero size with its stock 1-by-1 bitmap; no stock objects are kept here), and
// more than 2 GB of pixels with ERROR_NOT_ENOUGH_MEMORY.
BW_EXTERN_C BWAFX_API HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes,
                                                  UINT nBitCount, const VOID* lpBits);
// Copies the bitmap's pixels, in CreateBitmap's row layout, into lpvBits: cb bytes, or all of
// them when cb is negative or larger; the bytes copied. With a null lpvBits, the bitmap's size in
// bytes. An invalid handle gives 0.
BW_EXTERN_C BWAFX_API LONG WINAPI GetBitmapBits(HBITMAP hbit, LONG cb, LPVOID lpvBits);
// The object's description: for a bitmap a BITMAP, for a palette its number of entries as a WORD,
// for a device context nothing (0). With a null buffer, the size the description
// needs; with a buffer too small for it, 0; otherwise the bytes written. An invalid handle gives 0.
BW_EXTERN_C BWAFX_API int WINAPI GetObjectA(HGDIOBJ h, int c, LPVOID pv);
// Frees the object; FALSE for a handle that is not a live GDI object, or a device context (which
// ReleaseDC frees). The stock default palette stays: TRUE, as in Win32.
BW_EXTERN_C BWAFX_API BOOL WINAPI DeleteObject(HGDIOBJ ho);

#define RASTERCAPS 38
#define BITSPIXEL 12
#define PLANES 14
#define SIZEPALETTE 104
#define RC_PALETTE 0x0100

#define PC_RESERVED 0x01
#define PC_NOCOLLAPSE 0x04

#define BI_RGB 0
#define CBM_INIT 0x04
#define DIB_RGB_COLORS 0

typedef struct tagPALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
} PALETTEENTRY, *PPALETTEENTRY, *LPPALETTEENTRY;

typedef struct tagLOGPALETTE {
    WORD palVersion; // 0x300
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
} LOGPALETTE, *PLOGPALETTE, *LPLOGPALETTE;

typedef struct tagRGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
} RGBQUAD;

#pragma pack(push, 2)
typedef struct tagBITMAPFILEHEADER {
    WORD bfType; // "BM"
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
} BITMAPFILEHEADER;
#pragma pack(pop)

typedef struct tagBITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight; // negative for rows from the top
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER, *PBITMAPINFOHEADER, *LPBITMAPINFOHEADER;

typedef struct tagBITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
} BITMAPINFO, *PBITMAPINFO, *LPBITMAPINFO;

// A device context of the screen for a null window, each call a new one; no windows exist here,
// so any other window gives null.
BW_EXTERN_C BWAFX_API HDC WINAPI GetDC(HWND hWnd);
// Frees a device context that GetDC made: 1, or 0 for anything else.
BW_EXTERN_C BWAFX_API int WINAPI ReleaseDC(HWND hWnd, HDC hDC);
// RASTERCAPS (with RC_PALETTE on the palette display), BITSPIXEL, PLANES (1) and SIZEPALETTE (0
// on true colour, 256); other indexes, and an invalid device context, give 0.
BW_EXTERN_C BWAFX_API int WINAPI GetDeviceCaps(HDC hdc, int index);

// A palette of the entries given (1 or more; flags kept as given). Null for a null argument or no
// entries (ERROR_INVALID_PARAMETER).
BW_EXTERN_C BWAFX_API HPALETTE WINAPI CreatePalette(const LOGPALETTE* plpal);
// Copies up to nEntries entries from iStartIndex; the number copied (0 past the end or for an
// invalid handle). With a null buffer, the palette's number of entries.
BW_EXTERN_C BWAFX_API UINT WINAPI GetPaletteEntries(HPALETTE hpal, UINT iStartIndex, UINT nEntries,
                                                    LPPALETTEENTRY pPalEntries);
// Selects the palette into the device context, as a background palette when bForceBkgd is set;
// the palette selected before, or null for an invalid handle.
BW_EXTERN_C BWAFX_API HPALETTE WINAPI SelectPalette(HDC hdc, HPALETTE hPal, BOOL bForceBkgd);
// Maps the selected palette into the system palette (see above): the number of its entries
// mapped, 0 for the default palette, a background palette or the true-colour display, and
// GDI_ERROR for an invalid device context.
BW_EXTERN_C BWAFX_API UINT WINAPI RealizePalette(HDC hdc);
// Copies up to nEntries entries of the system palette from iStartIndex: the number copied. With a
// null buffer, 256. The true-colour display has no system palette: 0, nothing written.
BW_EXTERN_C BWAFX_API UINT WINAPI GetSystemPaletteEntries(HDC hdc, UINT iStart, UINT cEntries,
                                                          LPPALETTEENTRY pPalEntries);

// A device-dependent bitmap for the device context's display (32 bits per pixel, or 8 on the
// palette display) of the header's size; with CBM_INIT its pixels are lpbInit, laid out and
// coloured as pbmi describes (DIB_RGB_COLORS only): 1, 4, 8 or 24 bits per pixel, BI_RGB, rows of
// whole 32-bit words from the bottom (from the top for a negative height), a colour table of
// biClrUsed entries (of 1 << bits when 0 or more) directly after the header's biSize bytes, and
// an index past the table black. The planes field is not read. On the palette display each
// colour becomes the system index of the nearest entry of the selected palette. Without CBM_INIT
// the bitmap is black. Failures give null: a device context that is not one
// (ERROR_INVALID_HANDLE); a width below 1 or a height of 0 (Windows answers with its stock 1-by-1
// bitmap; no stock bitmaps are kept here), other bit counts, compression or colour uses
// (ERROR_INVALID_PARAMETER); more than 2 GB of pixels (ERROR_NOT_ENOUGH_MEMORY).
BW_EXTERN_C BWAFX_API HBITMAP WINAPI CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* pbmih,
                                                    DWORD flInit, const VOID* pjBits,
                                                    const BITMAPINFO* pbmi, UINT iUsage);
// The bitmap resource (RT_BITMAP: a BITMAPINFO and its pixels) as CreateDIBitmap makes it for the
// screen with the default palette selected. A missing resource fails with FindResourceA's error,
// one whose header, colour table or pixels do not fit its size with ERROR_RESOURCE_DATA_NOT_FOUND,
// and a null module (the system's own bitmaps) with ERROR_RESOURCE_NAME_NOT_FOUND, as none are
// carried.
BW_EXTERN_C BWAFX_API HBITMAP WINAPI LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName);

#define GDI_ERROR 0xFFFFFFFFu

#define GetObject GetObjectA
#define LoadBitmap LoadBitmapA
