// libFuzzer target: arbitrary bytes as a bitmap file, loaded by CutilLoadBitmapFile on the
// display that BWCORE_DISPLAY_BITS chooses (run it with 8 too, for the palette path).
//
// Besides the sanitizers' checks (a header that claims more than the file holds must never be
// read past the block), the target aborts when a property fails:
//  - a result of 0 leaves both outputs null, and a result of 1 needs "BM" at the start;
//  - a bitmap is the size the info header gives, at the display's depth;
//  - a palette comes only with an 8-bit picture, and has 256 entries.
#include "FuzzFile.h"

#include <bwcore/bwcore.h>

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

void Check(bool holds, const char* what) {
    if (!holds) {
        fprintf(stderr, "bitmap loader property violated: %s\n", what);
        abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = WriteFuzzFile("bmp", data, size);
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    const int result = CutilLoadBitmapFile(path.c_str(), &bitmap, &palette);
    if (result == 0) {
        Check(!bitmap && !palette, "a refusal leaves both outputs null");
        return 0;
    }
    Check(result == 1 && size >= 14 + 40 && data[0] == 'B' && data[1] == 'M',
          "only a file with both headers and \"BM\" loads");
    BITMAPINFOHEADER header;
    memcpy(&header, data + 14, sizeof header);
    if (bitmap) {
        BITMAP bm = {};
        Check(GetObjectA(bitmap, sizeof bm, &bm) == sizeof bm, "the bitmap describes itself");
        Check(bm.bmWidth == header.biWidth &&
                  bm.bmHeight == (header.biHeight < 0 ? -header.biHeight : header.biHeight),
              "the bitmap has the header's size");
        HDC screen = GetDC(nullptr);
        Check(bm.bmBitsPixel == GetDeviceCaps(screen, BITSPIXEL), "the bitmap is the display's");
        ReleaseDC(nullptr, screen);
    }
    Check(!palette || (header.biBitCount == 8 && GetPaletteEntries(palette, 0, 0, nullptr) == 256),
          "a palette of 256 entries comes with an 8-bit picture only");
    DeleteObject(bitmap);
    DeleteObject(palette);
    return 0;
}
