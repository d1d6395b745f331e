#include "resources/JpegReader.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "files/FileFunctions.h"

namespace Zarvo {

namespace {

constexpr size_t kBufferSize = 4096;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void OnError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(errors->jump, 1);
}
void OnMessage(j_common_ptr) {}

// A data source that pulls from the archive-aware file functions.
struct Source {
    jpeg_source_mgr base;
    PakFile* file;
    bool truncated;
    JOCTET buffer[kBufferSize];
};

void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr info) {
    auto* src = reinterpret_cast<Source*>(info->src);
    size_t n = FRead(src->buffer, 1, kBufferSize, src->file);
    if (n == 0) {
        // A truncated file: hand the decoder an end-of-image marker so that it stops, and
        // remember that the image is incomplete.
        src->truncated = true;
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        n = 2;
    }
    src->base.next_input_byte = src->buffer;
    src->base.bytes_in_buffer = n;
    return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
    auto* src = reinterpret_cast<Source*>(info->src);
    if (count <= 0) return;
    while (count > static_cast<long>(src->base.bytes_in_buffer)) {
        count -= static_cast<long>(src->base.bytes_in_buffer);
        FillInputBuffer(info);
        if (src->truncated) return;
    }
    src->base.next_input_byte += count;
    src->base.bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

// Everything that must be released whatever way the decode ends; it lives outside the frame
// that calls setjmp, so a longjmp out of the library skips no destructor.
struct JpegDecode {
    PakFile* file = nullptr;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    Source source{};
    bool created = false;
    std::unique_ptr<DecodedImage> image;
    std::vector<JSAMPLE> row;

    ~JpegDecode() {
        if (created) jpeg_destroy_decompress(&info);
        if (file) FClose(file);
    }
};

bool Decode(JpegDecode& d) {
    d.info.err = jpeg_std_error(&d.errors.base);
    d.errors.base.error_exit = OnError;
    d.errors.base.output_message = OnMessage;
    if (setjmp(d.errors.jump)) return false;
    jpeg_create_decompress(&d.info);
    d.created = true;
    d.source.file = d.file;
    d.source.base.init_source = InitSource;
    d.source.base.fill_input_buffer = FillInputBuffer;
    d.source.base.skip_input_data = SkipInputData;
    d.source.base.resync_to_restart = jpeg_resync_to_restart;
    d.source.base.term_source = TermSource;
    d.info.src = &d.source.base;

    jpeg_read_header(&d.info, TRUE);
    if (int64_t(d.info.image_width) * d.info.image_height > DecodedImage::kMaxPixels) {
        return false;
    }
    const bool grey = d.info.jpeg_color_space == JCS_GRAYSCALE;
    d.info.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&d.info);
    const int width = static_cast<int>(d.info.output_width);
    const int height = static_cast<int>(d.info.output_height);
    const int components = d.info.output_components;
    if ((grey && components != 1) || (!grey && components != 3)) return false;
    d.image = DecodedImage::Create(width, height);
    if (!d.image) return false;
    d.row.resize(size_t(width) * components);
    while (d.info.output_scanline < d.info.output_height) {
        const size_t y = d.info.output_scanline;
        JSAMPROW rowPointer = d.row.data();
        if (jpeg_read_scanlines(&d.info, &rowPointer, 1) != 1) return false;
        uint32_t* out = d.image->bits.get() + y * width;
        for (int x = 0; x < width; ++x) {
            if (grey) {
                out[x] = 0xFF000000 | uint32_t(d.row[x]) * 0x010101;
            } else {
                const JSAMPLE* p = &d.row[size_t(x) * 3];
                out[x] = 0xFF000000 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
            }
        }
    }
    jpeg_finish_decompress(&d.info);
    return !d.source.truncated;
}

}  // namespace

std::unique_ptr<DecodedImage> JpegReader::Read(const std::string& name) {
    JpegDecode d;
    d.file = FOpen(name.c_str(), "rb");
    if (!d.file) return nullptr;
    if (!Decode(d)) return nullptr;
    return std::move(d.image);
}

}  // namespace Zarvo
