#include "resources/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace Zarvo {

namespace {

void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

// Released whatever way the encode ends; it lives outside the frame that calls setjmp.
struct PngEncode {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_byte> row;

    ~PngEncode() {
        if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
        if (file) std::fclose(file);
    }
};

bool Encode(PngEncode& e, const uint32_t* pixels, int width, int height, int pitch) {
    if (setjmp(png_jmpbuf(e.png))) return false;
    png_init_io(e.png, e.file);
    png_set_IHDR(e.png, e.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(e.png, e.info);
    e.row.resize(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        const uint32_t* source = pixels + static_cast<size_t>(y) * pitch;
        for (int x = 0; x < width; ++x) {
            e.row[3 * x] = static_cast<png_byte>(source[x] >> 16);
            e.row[3 * x + 1] = static_cast<png_byte>(source[x] >> 8);
            e.row[3 * x + 2] = static_cast<png_byte>(source[x]);
        }
        png_write_row(e.png, e.row.data());
    }
    png_write_end(e.png, e.info);
    return true;
}

}  // namespace

bool PngWriter::WriteRgb(const std::string& path, const uint32_t* pixels, int width, int height,
                         int pitch) {
    if (pixels == nullptr || width <= 0 || height <= 0 || pitch < width) return false;
    bool written = false;
    {
        PngEncode e;
        e.file = std::fopen(path.c_str(), "wb");
        if (e.file == nullptr) return false;
        e.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
        e.info = e.png ? png_create_info_struct(e.png) : nullptr;
        written = e.info != nullptr && Encode(e, pixels, width, height, pitch);
        if (e.file != nullptr && std::fclose(e.file) != 0) written = false;
        e.file = nullptr;
    }
    if (!written) std::remove(path.c_str());
    return written;
}

}  // namespace Zarvo
