// Bitmap loaders: a bitmap from a module's resources or from a bitmap file, made for the screen,
// with a logical palette of the picture's colours on a palette-based display (RASTERCAPS with
// RC_PALETTE) so that an 8-bit picture shows in its own colours. The caller owns the bitmap and
// palette handed out and deletes them with DeleteObject; it selects and realises the palette when
// it draws. Both outputs are set to null first.
//
// CutilLoadBitmap(module, name, &bitmap, &palette): the bitmap of LoadBitmapA. For an 8-bit
// resource (planes times bit count) on a palette display, the palette's 256 entries are the
// resource's 256 colours (flags 0), and the bitmap is made again with that palette realised.
// Results (no caller reads them; callers judge by the bitmap output):
// - 1 when LoadBitmapA fails (both outputs null), and when either output pointer is null
//   (nothing is done);
// - 0 with LoadBitmapA's bitmap and no palette when the resource is not 8-bit, the display is not
//   palette-based, or the raw resource cannot be found, locked or trusted: it is then not read
//   (shorter than its info header, a header size other than 40, since the info header is copied
//   with a colour table of 256 entries directly after 40 bytes, a width below 1, a height of 0 or
//   one that cannot be negated, or fewer bytes than 1064 and the rows of pixels after them);
// - 1 with the new bitmap (null when its creation failed) and the palette, and 1 with
//   LoadBitmapA's bitmap and no palette when the memory for the palette could not be had.
//
// CutilLoadBitmapFile(path, &bitmap, &palette): 1 with the bitmap of the file (null when its
// creation failed) and, for an 8-bit picture on a palette display, a palette whose entries 0 to 9
// and 246 to 255 are the system palette's and whose entries 10 to 245 are the picture's first 236
// colours with PC_NOCOLLAPSE (null when it could not be made); 0 with both outputs null on any
// failure: a null argument, a file that cannot be opened, read whole, or is empty or of 4 GiB or
// more, no memory, no "BM" at its start, compression, a bit count other than 1, 4, 8 or 24. The
// headers are never trusted past the end of the data; also refused with 0: a file shorter than
// its two headers (14 and 40 bytes), a header size below 40, a width below 1, a height of 0 or
// one that cannot be negated, and a header size, colour table or pixel rows that reach past the
// end of the file.
#pragma once

#include <bwcore/export.h>
#include <bwcore/platform.h>

BW_EXTERN_C BWCORE_API int CutilLoadBitmap(HINSTANCE hInstance, LPCSTR lpszName, HBITMAP* phBitmap,
                                           HPALETTE* phPalette);
BW_EXTERN_C BWCORE_API int CutilLoadBitmapFile(LPCSTR lpszPath, HBITMAP* phBitmap,
                                               HPALETTE* phPalette);
