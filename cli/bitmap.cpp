// bwcore bitmap [--json] [--png OUT] FILE: what CutilLoadBitmapFile makes of a bitmap file on
// the display that BWCORE_DISPLAY_BITS chooses.
//
// One line: the path, a tab, then "loaded", the size ("9 by 2"), the bitmap's bits per pixel and
// the palette ("palette of 256 entries" or "no palette"); "loaded, no bitmap made" when the
// bitmap could not be created; "not loaded: ..." for the result 0 (exit code 1).
// With --json an object {"path", "result", "width", "height", "depth", "palette"}, the last four
// null when there is no bitmap or palette. --png OUT writes the loaded bitmap's pixels, in the
// colours the display shows them with the palette realised, as a PNG file.
#include "Command.h"
#include "CommandLine.h"
#include "Output.h"
#include "PngFile.h"

#include <bwcore/bwcore.h>

#include <stdio.h>
#include <string>
#include <vector>

namespace {

struct Picture {
    int result = 0;
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    BITMAP info = {};
    UINT paletteEntries = 0;
};

// The bitmap's pixels as red, green and blue bytes, rows from the top: a true-colour bitmap holds
// them as blue, green, red and a spare byte, a palette display's one as system palette indexes,
// which the picture's palette decides once realised.
bool pixelsOf(const Picture& picture, std::vector<uint8_t>& rgb) {
    const BITMAP& bm = picture.info;
    if (bm.bmBitsPixel != 32 && bm.bmBitsPixel != 8)
        return false;
    std::vector<BYTE> bits(static_cast<size_t>(bm.bmWidthBytes) * bm.bmHeight);
    if (GetBitmapBits(picture.bitmap, static_cast<LONG>(bits.size()), bits.data()) !=
        static_cast<LONG>(bits.size()))
        return false;
    PALETTEENTRY system[256] = {};
    if (bm.bmBitsPixel == 8) {
        HDC screen = GetDC(nullptr);
        HPALETTE previous =
            picture.palette ? SelectPalette(screen, picture.palette, FALSE) : nullptr;
        RealizePalette(screen);
        GetSystemPaletteEntries(screen, 0, 256, system);
        if (previous)
            SelectPalette(screen, previous, FALSE);
        ReleaseDC(nullptr, screen);
    }
    rgb.clear();
    for (LONG y = 0; y < bm.bmHeight; ++y) {
        const BYTE* row = bits.data() + static_cast<size_t>(y) * bm.bmWidthBytes;
        for (LONG x = 0; x < bm.bmWidth; ++x) {
            if (bm.bmBitsPixel == 8) {
                const PALETTEENTRY& e = system[row[x]];
                rgb.insert(rgb.end(), {e.peRed, e.peGreen, e.peBlue});
            } else {
                const BYTE* p = row + 4 * x;
                rgb.insert(rgb.end(), {p[2], p[1], p[0]});
            }
        }
    }
    return true;
}

std::string describe(const Picture& picture) {
    if (picture.result == 0)
        return "not loaded: unreadable, or not a bitmap the loader takes";
    if (!picture.bitmap)
        return "loaded, no bitmap made";
    std::string text = "loaded, " + std::to_string(picture.info.bmWidth) + " by " +
                       std::to_string(picture.info.bmHeight) + ", " +
                       std::to_string(picture.info.bmBitsPixel) + " bits per pixel, ";
    return text + (picture.palette
                       ? "palette of " + std::to_string(picture.paletteEntries) + " entries"
                       : std::string("no palette"));
}

Json jsonOf(const std::string& path, const Picture& picture) {
    const bool bitmap = picture.bitmap != nullptr;
    return {{"path", utf8FromAnsi(path.c_str())},
            {"result", picture.result},
            {"width", bitmap ? Json(picture.info.bmWidth) : Json()},
            {"height", bitmap ? Json(picture.info.bmHeight) : Json()},
            {"depth", bitmap ? Json(picture.info.bmBitsPixel) : Json()},
            {"palette", picture.palette ? Json(picture.paletteEntries) : Json()}};
}

} // namespace

int runBitmap(int argc, char** argv) {
    CLI::App app("What the bitmap loader makes of a bitmap file, on the display that "
                 "BWCORE_DISPLAY_BITS chooses (8: palette-based; else true colour).",
                 "bwcore bitmap");
    bool json = false;
    std::string path;
    std::string png;
    app.add_flag("--json", json, "write JSON (UTF-8)");
    app.add_option("--png", png, "write the loaded bitmap as a PNG file")->type_name("OUT");
    app.add_option("FILE", path, "the bitmap file")->required();
    if (const int exitCode = parseCommandLine(app, argc, argv); exitCode >= 0)
        return exitCode;

    Picture picture;
    picture.result = CutilLoadBitmapFile(path.c_str(), &picture.bitmap, &picture.palette);
    if (picture.bitmap)
        GetObjectA(picture.bitmap, sizeof picture.info, &picture.info);
    if (picture.palette)
        picture.paletteEntries = GetPaletteEntries(picture.palette, 0, 0, nullptr);

    int exitCode = picture.result == 1 ? kExitOk : kExitFailure;
    if (!png.empty() && picture.bitmap) {
        std::vector<uint8_t> rgb;
        std::string error = "the bitmap's pixels cannot be read";
        if (!pixelsOf(picture, rgb) ||
            !writePng(png, picture.info.bmWidth, picture.info.bmHeight, rgb, error)) {
            fprintf(stderr, "bwcore bitmap: cannot write '%s': %s\n", png.c_str(), error.c_str());
            exitCode = kExitFailure;
        }
    } else if (!png.empty()) {
        fprintf(stderr, "bwcore bitmap: no bitmap to write to '%s'\n", png.c_str());
        exitCode = kExitFailure;
    }
    if (json) {
        writeJson(jsonOf(path, picture));
    } else {
        TextOutput out;
        out.field(path.c_str()).raw("\t").raw(describe(picture).c_str()).endLine();
    }
    DeleteObject(picture.bitmap);
    DeleteObject(picture.palette);
    if (!finishOutput("bitmap"))
        return kExitFailure;
    return exitCode;
}
