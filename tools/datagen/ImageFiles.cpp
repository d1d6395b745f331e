#include "ImageFiles.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <fstream>
#include <map>

namespace datagen {

bool ImageFiles::writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

namespace {

bool writePngRows(const std::string& path, int w, int h, int colorType,
                  const std::vector<std::vector<uint8_t>>& rows) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, colorType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (const auto& row : rows) png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

}  // namespace

bool ImageFiles::writePng(const std::string& path, int w, int h,
                          const std::vector<uint32_t>& argb) {
    std::vector<std::vector<uint8_t>> rows(h, std::vector<uint8_t>(static_cast<size_t>(w) * 4));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t p = argb[y * w + x];
            rows[y][x * 4 + 0] = (p >> 16) & 0xFF;
            rows[y][x * 4 + 1] = (p >> 8) & 0xFF;
            rows[y][x * 4 + 2] = p & 0xFF;
            rows[y][x * 4 + 3] = p >> 24;
        }
    return writePngRows(path, w, h, PNG_COLOR_TYPE_RGB_ALPHA, rows);
}

bool ImageFiles::writeAlphaPng(const std::string& path, int w, int h,
                               const std::vector<uint32_t>& argb) {
    std::vector<std::vector<uint8_t>> rows(h, std::vector<uint8_t>(static_cast<size_t>(w)));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) rows[y][x] = argb[y * w + x] >> 24;
    return writePngRows(path, w, h, PNG_COLOR_TYPE_GRAY, rows);
}

bool ImageFiles::writeJpeg(const std::string& path, int w, int h, const std::vector<uint32_t>& argb,
                           int quality) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = static_cast<JDIMENSION>(w);
    cinfo.image_height = static_cast<JDIMENSION>(h);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t p = argb[y * w + x];
            row[x * 3 + 0] = (p >> 16) & 0xFF;
            row[x * 3 + 1] = (p >> 8) & 0xFF;
            row[x * 3 + 2] = p & 0xFF;
        }
        JSAMPROW rp = row.data();
        jpeg_write_scanlines(&cinfo, &rp, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(f) == 0;
}

namespace {

void put16(std::vector<uint8_t>& b, int v) {
    b.push_back(static_cast<uint8_t>(v & 0xFF));
    b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

// Packs variable-width codes least significant bit first into GIF data sub-blocks.
class CodeWriter {
public:
    void put(int code, int width) {
        acc_ |= static_cast<uint32_t>(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            bytes_.push_back(static_cast<uint8_t>(acc_ & 0xFF));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }
    std::vector<uint8_t> finish() {
        if (bits_ > 0) bytes_.push_back(static_cast<uint8_t>(acc_ & 0xFF));
        return bytes_;
    }

private:
    uint32_t acc_ = 0;
    int bits_ = 0;
    std::vector<uint8_t> bytes_;
};

}  // namespace

bool ImageFiles::writeGif(const std::string& path, int w, int h,
                          const std::vector<uint32_t>& argb) {
    // Palette: index 0 is transparent; the others are the image's distinct colours, or a uniform
    // 6 x 7 x 6 cube when there are more than 255 of them.
    std::map<uint32_t, int> exact;
    for (uint32_t p : argb)
        if ((p >> 24) >= 128) {
            exact.emplace(p & 0xFFFFFF, 0);
            if (exact.size() > 255) break;
        }
    std::vector<uint32_t> table(256, 0);
    const bool useCube = exact.size() > 255;
    if (!useCube) {
        int i = 1;
        for (auto& [rgb, index] : exact) {
            index = i;
            table[i++] = rgb;
        }
    } else {
        int i = 1;
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 7; ++g)
                for (int b = 0; b < 6; ++b)
                    table[i++] =
                        static_cast<uint32_t>((r * 51) << 16 | (g * 255 / 6) << 8 | (b * 51));
    }
    std::vector<uint8_t> indices(argb.size());
    for (size_t i = 0; i < argb.size(); ++i) {
        const uint32_t p = argb[i];
        if ((p >> 24) < 128) {
            indices[i] = 0;
        } else if (!useCube) {
            indices[i] = static_cast<uint8_t>(exact[p & 0xFFFFFF]);
        } else {
            const int r = (((p >> 16) & 0xFF) + 25) / 51, g = (((p >> 8) & 0xFF) * 6 + 127) / 255,
                      b = ((p & 0xFF) + 25) / 51;
            indices[i] = static_cast<uint8_t>(1 + r * 42 + g * 6 + b);
        }
    }

    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    put16(out, w);
    put16(out, h);
    out.push_back(0xF7);  // global table of 256 entries, 8 bits of colour resolution
    out.push_back(0);     // background index
    out.push_back(0);     // aspect
    for (uint32_t c : table) {
        out.push_back((c >> 16) & 0xFF);
        out.push_back((c >> 8) & 0xFF);
        out.push_back(c & 0xFF);
    }
    // Graphic control extension naming index 0 transparent.
    for (uint8_t b : {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00}) out.push_back(b);
    out.push_back(',');
    put16(out, 0);
    put16(out, 0);
    put16(out, w);
    put16(out, h);
    out.push_back(0);  // no local table, not interlaced

    // LZW without string matching: every pixel is sent as its own 9-bit code, and a clear code
    // restarts the table before it would grow past 9 bits. Any decoder reads this as valid LZW.
    const int minCodeSize = 8, clearCode = 256, endCode = 257;
    out.push_back(minCodeSize);
    CodeWriter codes;
    codes.put(clearCode, 9);
    int sinceClear = 0;
    for (uint8_t index : indices) {
        if (sinceClear == 254) {
            codes.put(clearCode, 9);
            sinceClear = 0;
        }
        codes.put(index, 9);
        ++sinceClear;
    }
    codes.put(endCode, 9);
    const std::vector<uint8_t> data = codes.finish();
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t n = std::min<size_t>(255, data.size() - i);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<long>(i),
                   data.begin() + static_cast<long>(i + n));
    }
    out.push_back(0);
    out.push_back(';');
    return writeFile(path, out);
}

bool ImageFiles::writeTga(const std::string& path, int w, int h,
                          const std::vector<uint32_t>& argb) {
    std::vector<uint8_t> out;
    out.push_back(0);  // no identification field
    out.push_back(0);  // no colour map
    out.push_back(2);  // uncompressed true colour
    put16(out, 0);
    put16(out, 0);
    out.push_back(0);
    put16(out, 0);
    put16(out, 0);
    put16(out, w);
    put16(out, h);
    out.push_back(32);
    out.push_back(0x28);  // 8 alpha bits, top-left origin
    for (uint32_t p : argb) {
        out.push_back(p & 0xFF);
        out.push_back((p >> 8) & 0xFF);
        out.push_back((p >> 16) & 0xFF);
        out.push_back(p >> 24);
    }
    return writeFile(path, out);
}

}  // namespace datagen
