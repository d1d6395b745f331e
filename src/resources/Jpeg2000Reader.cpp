#include "resources/Jpeg2000Reader.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "files/FileFunctions.h"
#include "platform/DynamicLibrary.h"

namespace Zarvo {

namespace {

// The parts of OpenJPEG's C interface (version 2) used here, declared by hand because the
// library is only loaded at run time.
struct OpjImageComp {
    uint32_t dx, dy, w, h, x0, y0, prec, bpp, sgnd, resnoDecoded, factor;
    int32_t* data;
    uint16_t alpha;
};
struct OpjImage {
    uint32_t x0, y0, x1, y1, numcomps;
    int colorSpace;
    OpjImageComp* comps;
    uint8_t* iccProfileBuf;
    uint32_t iccProfileLen;
};
constexpr int kCodecJ2K = 0;
constexpr int kCodecJP2 = 2;
// The decoder parameter block is filled by the library itself; this is comfortably larger
// than its real size (about 8.3 KB).
constexpr size_t kParameterBlockWords = 8192;

using ReadFn = size_t (*)(void*, size_t, void*);
using SkipFn = int64_t (*)(int64_t, void*);
using SeekFn = int (*)(int64_t, void*);
using MessageFn = void (*)(const char*, void*);

struct OpenJpeg {
    std::unique_ptr<DynamicLibrary> library;
    const char* (*version)();
    void* (*streamCreate)(size_t, int);
    void (*streamDestroy)(void*);
    void (*setRead)(void*, ReadFn);
    void (*setSkip)(void*, SkipFn);
    void (*setSeek)(void*, SeekFn);
    void (*setUserData)(void*, void*, void (*)(void*));
    void (*setUserDataLength)(void*, uint64_t);
    void* (*createDecompress)(int);
    void (*destroyCodec)(void*);
    void (*setDefaultParameters)(void*);
    int (*setupDecoder)(void*, void*);
    int (*setErrorHandler)(void*, MessageFn, void*);
    int (*setWarningHandler)(void*, MessageFn, void*);
    int (*setInfoHandler)(void*, MessageFn, void*);
    int (*readHeader)(void*, void*, OpjImage**);
    int (*decode)(void*, void*, OpjImage*);
    int (*endDecompress)(void*, void*);
    void (*imageDestroy)(OpjImage*);
};

std::mutex gMutex;
std::unique_ptr<OpenJpeg> gCodec;
bool gTried = false;

template <typename T>
bool Bind(const DynamicLibrary& library, const char* name, T* out) {
    *out = reinterpret_cast<T>(library.Symbol(name));
    return *out != nullptr;
}

std::unique_ptr<OpenJpeg> Load(const std::string& name) {
    auto codec = std::make_unique<OpenJpeg>();
    codec->library = DynamicLibrary::Open(name);
    if (!codec->library) return nullptr;
    const DynamicLibrary& l = *codec->library;
    bool ok = Bind(l, "opj_version", &codec->version) &&
              Bind(l, "opj_stream_create", &codec->streamCreate) &&
              Bind(l, "opj_stream_destroy", &codec->streamDestroy) &&
              Bind(l, "opj_stream_set_read_function", &codec->setRead) &&
              Bind(l, "opj_stream_set_skip_function", &codec->setSkip) &&
              Bind(l, "opj_stream_set_seek_function", &codec->setSeek) &&
              Bind(l, "opj_stream_set_user_data", &codec->setUserData) &&
              Bind(l, "opj_stream_set_user_data_length", &codec->setUserDataLength) &&
              Bind(l, "opj_create_decompress", &codec->createDecompress) &&
              Bind(l, "opj_destroy_codec", &codec->destroyCodec) &&
              Bind(l, "opj_set_default_decoder_parameters", &codec->setDefaultParameters) &&
              Bind(l, "opj_setup_decoder", &codec->setupDecoder) &&
              Bind(l, "opj_set_error_handler", &codec->setErrorHandler) &&
              Bind(l, "opj_set_warning_handler", &codec->setWarningHandler) &&
              Bind(l, "opj_set_info_handler", &codec->setInfoHandler) &&
              Bind(l, "opj_read_header", &codec->readHeader) &&
              Bind(l, "opj_decode", &codec->decode) &&
              Bind(l, "opj_end_decompress", &codec->endDecompress) &&
              Bind(l, "opj_image_destroy", &codec->imageDestroy);
    // The structures above are those of the version 2 interface.
    if (!ok || !codec->version() || codec->version()[0] != '2') return nullptr;
    return codec;
}

size_t StreamRead(void* buffer, size_t count, void* user) {
    size_t n = FRead(buffer, 1, count, static_cast<PakFile*>(user));
    return n == 0 ? static_cast<size_t>(-1) : n;
}

int64_t StreamSkip(int64_t count, void* user) {
    auto* file = static_cast<PakFile*>(user);
    long before = FTell(file);
    if (before < 0 || FSeek(file, static_cast<long>(count), SEEK_CUR) != 0) return -1;
    long after = FTell(file);
    return after == before + count ? count : -1;
}

int StreamSeek(int64_t position, void* user) {
    auto* file = static_cast<PakFile*>(user);
    if (FSeek(file, static_cast<long>(position), SEEK_SET) != 0) return 0;
    return FTell(file) == position ? 1 : 0;
}

void Quiet(const char*, void*) {}

uint8_t To8Bits(int32_t value, const OpjImageComp& comp) {
    int64_t v = value;
    if (comp.sgnd && comp.prec > 0 && comp.prec < 32) v += int64_t(1) << (comp.prec - 1);
    if (comp.prec > 8 && comp.prec < 32) {
        v >>= comp.prec - 8;
    } else if (comp.prec > 0 && comp.prec < 8) {
        v = v * 255 / ((1 << comp.prec) - 1);
    }
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Owns the library objects of one decode.
struct Decode {
    const OpenJpeg& codec;
    PakFile* file = nullptr;
    void* stream = nullptr;
    void* decoder = nullptr;
    OpjImage* image = nullptr;

    explicit Decode(const OpenJpeg& c) : codec(c) {}
    ~Decode() {
        if (image) codec.imageDestroy(image);
        if (decoder) codec.destroyCodec(decoder);
        if (stream) codec.streamDestroy(stream);
        if (file) FClose(file);
    }
};

std::unique_ptr<DecodedImage> DecodeFile(const OpenJpeg& codec, const std::string& name) {
    Decode d(codec);
    d.file = FOpen(name.c_str(), "rb");
    if (!d.file) return nullptr;
    uint8_t head[12] = {};
    size_t headLength = FRead(head, 1, sizeof head, d.file);
    static const uint8_t kJp2[12] = {0, 0, 0, 0x0C, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
    static const uint8_t kJ2k[4] = {0xFF, 0x4F, 0xFF, 0x51};
    int format;
    if (headLength == 12 && std::memcmp(head, kJp2, 12) == 0) {
        format = kCodecJP2;
    } else if (headLength >= 4 && std::memcmp(head, kJ2k, 4) == 0) {
        format = kCodecJ2K;
    } else {
        return nullptr;
    }
    FSeek(d.file, 0, SEEK_END);
    long size = FTell(d.file);
    FSeek(d.file, 0, SEEK_SET);
    if (size <= 0) return nullptr;

    d.stream = codec.streamCreate(65536, 1);
    d.decoder = codec.createDecompress(format);
    if (!d.stream || !d.decoder) return nullptr;
    codec.setRead(d.stream, StreamRead);
    codec.setSkip(d.stream, StreamSkip);
    codec.setSeek(d.stream, StreamSeek);
    codec.setUserData(d.stream, d.file, nullptr);
    codec.setUserDataLength(d.stream, static_cast<uint64_t>(size));
    codec.setErrorHandler(d.decoder, Quiet, nullptr);
    codec.setWarningHandler(d.decoder, Quiet, nullptr);
    codec.setInfoHandler(d.decoder, Quiet, nullptr);
    std::vector<uint64_t> parameters(kParameterBlockWords, 0);
    codec.setDefaultParameters(parameters.data());
    if (!codec.setupDecoder(d.decoder, parameters.data())) return nullptr;
    if (!codec.readHeader(d.stream, d.decoder, &d.image) || !d.image) return nullptr;

    // The full-resolution size, checked before the library allocates anything for it.
    const OpjImage& header = *d.image;
    if (header.x1 <= header.x0 || header.y1 <= header.y0 || header.numcomps == 0) return nullptr;
    const int64_t width = int64_t(header.x1) - header.x0;
    const int64_t height = int64_t(header.y1) - header.y0;
    auto result = DecodedImage::Create(width, height);
    if (!result) return nullptr;
    if (!codec.decode(d.decoder, d.stream, d.image) || !codec.endDecompress(d.decoder, d.stream)) {
        return nullptr;
    }

    const OpjImage& image = *d.image;
    const uint32_t channels = image.numcomps >= 3 ? 3 : 1;
    for (uint32_t c = 0; c < channels; ++c) {
        const OpjImageComp& comp = image.comps[c];
        if (!comp.data || comp.w != width || comp.h != height) return nullptr;
    }
    const size_t count = size_t(width) * height;
    for (size_t i = 0; i < count; ++i) {
        uint32_t r = To8Bits(image.comps[0].data[i], image.comps[0]);
        uint32_t g = channels == 3 ? To8Bits(image.comps[1].data[i], image.comps[1]) : r;
        uint32_t b = channels == 3 ? To8Bits(image.comps[2].data[i], image.comps[2]) : r;
        result->bits[i] = 0xFF000000 | r << 16 | g << 8 | b;
    }
    return result;
}

}  // namespace

bool Jpeg2000Reader::LoadLibrary(const std::string& name) {
    std::lock_guard<std::mutex> lock(gMutex);
    gCodec = Load(name);
    gTried = true;
    return gCodec != nullptr;
}

void Jpeg2000Reader::UnloadLibrary() {
    std::lock_guard<std::mutex> lock(gMutex);
    gCodec.reset();
    gTried = false;
}

bool Jpeg2000Reader::IsAvailable() {
    std::lock_guard<std::mutex> lock(gMutex);
    return gCodec != nullptr;
}

std::unique_ptr<DecodedImage> Jpeg2000Reader::Read(const std::string& name) {
    // Decodes hold the lock: the library cannot be released under a running decode.
    std::lock_guard<std::mutex> lock(gMutex);
    if (!gTried) {
        gCodec = Load("libopenjp2.so.7");
        gTried = true;
    }
    if (!gCodec) return nullptr;
    return DecodeFile(*gCodec, name);
}

}  // namespace Zarvo
