#include "resources/PngReader.h"

#include <png.h>

#include <csetjmp>
#include <vector>

#include "files/FileFunctions.h"

namespace Zarvo {

namespace {

void ReadData(png_structp png, png_bytep out, png_size_t length) {
    auto* file = static_cast<PakFile*>(png_get_io_ptr(png));
    if (FRead(out, 1, length, file) != length) png_error(png, "Read Error");
}

void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

// Everything that must be released whatever way the decode ends. It lives outside the frame
// that calls setjmp, so a longjmp out of libpng skips no destructor.
struct PngDecode {
    PakFile* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::unique_ptr<DecodedImage> image;
    std::vector<png_bytep> rows;

    ~PngDecode() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        if (file) FClose(file);
    }
};

bool Decode(PngDecode& d) {
    if (setjmp(png_jmpbuf(d.png))) return false;
    png_set_read_fn(d.png, d.file, ReadData);
    png_set_user_limits(d.png, DecodedImage::kMaxPixels, DecodedImage::kMaxPixels);
    png_read_info(d.png, d.info);
    png_uint_32 width = png_get_image_width(d.png, d.info);
    png_uint_32 height = png_get_image_height(d.png, d.info);
    int colorType = png_get_color_type(d.png, d.info);
    int bitDepth = png_get_bit_depth(d.png, d.info);

    // To 8-bit R, G, B, A whatever the stored form.
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(d.png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(d.png);
    if (png_get_valid(d.png, d.info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(d.png);
    if (bitDepth == 16) png_set_strip_16(d.png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(d.png);
    }
    png_set_add_alpha(d.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(d.png);
    png_read_update_info(d.png, d.info);
    if (png_get_rowbytes(d.png, d.info) != size_t(width) * 4) return false;

    d.image = DecodedImage::Create(width, height);
    if (!d.image) return false;
    // Rows are decoded straight into the pixel buffer as bytes R, G, B, A and then packed
    // in place.
    d.rows.resize(height);
    auto* base = reinterpret_cast<png_bytep>(d.image->bits.get());
    for (png_uint_32 y = 0; y < height; ++y) d.rows[y] = base + size_t(y) * width * 4;
    png_read_image(d.png, d.rows.data());
    png_read_end(d.png, nullptr);
    return true;
}

}  // namespace

std::unique_ptr<DecodedImage> PngReader::Read(const std::string& name) {
    PngDecode d;
    d.file = FOpen(name.c_str(), "rb");
    if (!d.file) return nullptr;
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!d.png) return nullptr;
    d.info = png_create_info_struct(d.png);
    if (!d.info || !Decode(d)) return nullptr;

    DecodedImage& image = *d.image;
    const size_t count = size_t(image.width) * image.height;
    auto* bytes = reinterpret_cast<const uint8_t*>(image.bits.get());
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = bytes + i * 4;
        uint32_t pixel = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        image.bits[i] = pixel;
    }
    return std::move(d.image);
}

}  // namespace Zarvo
