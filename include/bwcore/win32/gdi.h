// GDI objects, for Linux: bitmaps, with GetObjectA and DeleteObject over every kind of object.
//
// A GDI handle is the address of a heap object that the layer keeps in a process-wide table, so a
// handle that was never handed out, or was deleted, is recognised and refused. Bitmaps are
// device-dependent bitmaps of the headless display: they hold their size, bit depth and pixels in
// the row layout that CreateBitmap takes (rows from the top, each a whole number of 16-bit words).
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
// The object's description: for a bitmap a BITMAP. With a null buffer, the size the description
// needs; with a buffer too small for it, 0; otherwise the bytes written. An invalid handle gives 0.
BW_EXTERN_C BWAFX_API int WINAPI GetObjectA(HGDIOBJ h, int c, LPVOID pv);
// Frees the object; FALSE for a handle that is not a live GDI object.
BW_EXTERN_C BWAFX_API BOOL WINAPI DeleteObject(HGDIOBJ ho);

#define GetObject GetObjectA
