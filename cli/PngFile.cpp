#include "PngFile.h"

#include <png.h>

#include <errno.h>
#include <stdio.h>
#include <string.h>

namespace {

// libpng reports its errors through a long jump; the message is kept for the caller.
void onError(png_structp png, png_const_charp message) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

} // namespace

bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
              std::string& error) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) {
        error = strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool written = false;
    if (info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                     8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        // Rows stay unfiltered: the files are for looking at, and writing is a straight copy.
        png_set_filter(png, 0, PNG_FILTER_NONE);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y)
            png_write_row(png, rgb.data() + static_cast<size_t>(y) * width * 3);
        png_write_end(png, info);
        written = true;
    } else if (!info) {
        error = "out of memory";
    }
    png_destroy_write_struct(&png, &info);
    if (fclose(file) != 0 && written) {
        error = strerror(errno);
        written = false;
    }
    return written;
}
