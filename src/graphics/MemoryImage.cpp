#include "graphics/MemoryImage.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstring>
#include <new>
#include <unordered_map>
#include <vector>

#include "graphics/MemoryImageHost.h"

namespace Zarvo {

namespace {

std::atomic<MemoryImageHost*> gDefaultHost{nullptr};

struct SaturationTable {
    uint8_t entries[512];
    SaturationTable() {
        for (int i = 0; i < 512; ++i) entries[i] = uint8_t(std::min(i, 255));
    }
};

const SaturationTable gSaturation;

// Packs one premultiplied 8-bit channel into a display channel.
inline uint32_t PackChannel(uint32_t c, uint32_t k, uint32_t mask, int bits, int shift) {
    const uint32_t scaled = (c * k) / 256;
    const int drop = 8 - bits;
    const uint32_t v = drop >= 0 ? (scaled >> drop) : (scaled << -drop);
    return mask & (v << shift);
}

inline uint32_t ToNative(uint32_t pixel, const NativeDisplay& f) {
    const uint32_t a = pixel >> 24;
    const uint32_t k = a + 1;
    return (a << 24) | PackChannel((pixel >> 16) & 0xFF, k, f.redMask, f.redBitCount, f.redShift) |
           PackChannel((pixel >> 8) & 0xFF, k, f.greenMask, f.greenBitCount, f.greenShift) |
           PackChannel(pixel & 0xFF, k, f.blueMask, f.blueBitCount, f.blueShift);
}

// Undoes the premultiplication of one display channel (as far as the rounding allows).
inline uint32_t UnpackChannel(uint32_t native, uint32_t k, uint32_t mask, int bits, int shift) {
    uint32_t v = (native & mask) >> shift;
    const int drop = 8 - bits;
    v = drop >= 0 ? (v << drop) : (v >> -drop);
    return std::min<uint32_t>(255, (v * 256) / k);
}

inline uint32_t FromNative(uint32_t native, const NativeDisplay& f) {
    const uint32_t a = native >> 24;
    const uint32_t k = a + 1;
    return (a << 24) | (UnpackChannel(native, k, f.redMask, f.redBitCount, f.redShift) << 16) |
           (UnpackChannel(native, k, f.greenMask, f.greenBitCount, f.greenShift) << 8) |
           UnpackChannel(native, k, f.blueMask, f.blueBitCount, f.blueShift);
}

}  // namespace

MemoryImage::MemoryImage() : MemoryImage(gDefaultHost.load()) {}

MemoryImage::MemoryImage(MemoryImageHost* imageHost) : host(imageHost) {
    nativeFormat.SetArgb8888();
    if (host) host->AddMemoryImage(this);
}

MemoryImage::MemoryImage(const MemoryImage& other)
    : Image(other),
      bitsChangedCount(other.bitsChangedCount),
      hwFlags(other.hwFlags),
      forcedMode(other.forcedMode),
      hasTrans(other.hasTrans),
      hasAlpha(other.hasAlpha),
      isVolatile(other.isVolatile),
      purgeBits(other.purgeBits),
      wantPal(other.wantPal),
      bitsChangedFlag(other.bitsChangedFlag),
      host(other.host) {
    nativeFormat = other.nativeFormat;
    const size_t count = size_t(std::max(0, width)) * size_t(std::max(0, height));
    const uint32_t* srcBits = other.bits ? other.bits.get() : other.externalBits;
    if (srcBits && AllocateBits()) {
        const int srcPitch = other.bits ? width : other.pitch;
        for (int y = 0; y < height; ++y) {
            std::memcpy(bits.get() + size_t(y) * size_t(width),
                        srcBits + size_t(y) * size_t(srcPitch), size_t(width) * 4);
        }
    }
    if (other.colorTable) {
        colorTable = std::make_unique<uint32_t[]>(256);
        std::memcpy(colorTable.get(), other.colorTable.get(), 256 * 4);
    }
    if (other.colorIndices) {
        colorIndices = std::make_unique<uint8_t[]>(count);
        std::memcpy(colorIndices.get(), other.colorIndices.get(), count);
    }
    if (other.nativeAlphaData) {
        const size_t n = other.colorTable ? 256 : count;
        nativeAlphaData = std::make_unique<uint32_t[]>(n);
        std::memcpy(nativeAlphaData.get(), other.nativeAlphaData.get(), n * 4);
    }
    if (other.rlAlphaData) {
        rlAlphaData = std::make_unique<uint8_t[]>(count);
        std::memcpy(rlAlphaData.get(), other.rlAlphaData.get(), count);
    }
    if (other.rlAdditiveData) {
        rlAdditiveData = std::make_unique<uint8_t[]>(count);
        std::memcpy(rlAdditiveData.get(), other.rlAdditiveData.get(), count);
    }
    if (host) host->AddMemoryImage(this);
}

MemoryImage::~MemoryImage() {
    if (host) host->RemoveMemoryImage(this);
}

void MemoryImage::SetDefaultHost(MemoryImageHost* imageHost) {
    gDefaultHost.store(imageHost);
}

MemoryImageHost* MemoryImage::GetDefaultHost() {
    return gDefaultHost.load();
}

const uint8_t* MemoryImage::GetSaturationTable() {
    return gSaturation.entries;
}

size_t MemoryImage::GuardedPixelCount(int w, int h) {
    if (w < 0 || h < 0) return SIZE_MAX;
    const uint64_t words = uint64_t(w) * uint64_t(h) + 1;
    if (words * 4 > 0xFFFFFFFFull) return SIZE_MAX;
    return size_t(words);
}

bool MemoryImage::AllocateBits() {
    bits.reset();
    const size_t count = GuardedPixelCount(width, height);
    if (count == SIZE_MAX) return false;
    bits.reset(new (std::nothrow) uint32_t[count]);
    if (!bits) return false;
    bits[count - 1] = kGuardWord;
    pitch = width;
    return true;
}

void MemoryImage::FreeBits() {
    bits.reset();
}

uint32_t* MemoryImage::GetBits() {
    if (externalBits) return externalBits;
    if (bits) return bits.get();
    if (!AllocateBits()) return nullptr;
    const size_t count = size_t(width) * size_t(height);
    if (colorTable && colorIndices) {
        const uint32_t* table = colorTable.get();
        const uint8_t* indices = colorIndices.get();
        for (size_t i = 0; i < count; ++i) bits[i] = table[indices[i]];
        colorTable.reset();
        colorIndices.reset();
        nativeAlphaData.reset();
    } else if (nativeAlphaData && !colorTable) {
        for (size_t i = 0; i < count; ++i) bits[i] = FromNative(nativeAlphaData[i], nativeFormat);
    } else {
        std::fill_n(bits.get(), count, 0u);
    }
    return bits.get();
}

void MemoryImage::Create(int w, int h) {
    FreeBits();
    colorTable.reset();
    colorIndices.reset();
    width = std::max(0, w);
    height = std::max(0, h);
    pitch = width;
    hasTrans = true;
    hasAlpha = true;
    BitsChanged();
}

void MemoryImage::SetBits(const uint32_t* pixels, int w, int h, bool commit) {
    if (pixels && (pixels == bits.get() || pixels == externalBits)) return;
    colorTable.reset();
    colorIndices.reset();
    w = std::max(0, w);
    h = std::max(0, h);
    if (w != width || h != height || !bits) {
        width = w;
        height = h;
        if (!AllocateBits()) {
            BitsChanged();
            return;
        }
    }
    const size_t count = size_t(w) * size_t(h);
    if (pixels) {
        std::memcpy(bits.get(), pixels, count * 4);
    } else {
        std::fill_n(bits.get(), count, 0u);
    }
    bits[count] = kGuardWord;
    BitsChanged();
    if (commit) CommitBits();
}

void MemoryImage::BitsChanged() {
    ++bitsChangedCount;
    bitsChangedFlag = true;
    nativeAlphaData.reset();
    rlAlphaData.reset();
    rlAdditiveData.reset();
}

void MemoryImage::CommitBits() {
    if (!bitsChangedFlag || forcedMode) return;
    bitsChangedFlag = false;
    bool trans = false;
    bool alpha = false;
    auto classify = [&](uint32_t pixel) {
        const uint32_t a = pixel >> 24;
        if (a == 0) {
            trans = true;
        } else if (a != 255) {
            alpha = true;
        }
    };
    if (colorTable) {
        for (int i = 0; i < 256; ++i) classify(colorTable[i]);
    } else if (const uint32_t* src = bits ? bits.get() : externalBits) {
        for (int y = 0; y < height && !(trans && alpha); ++y) {
            const uint32_t* row = src + size_t(y) * size_t(pitch);
            for (int x = 0; x < width; ++x) classify(row[x]);
        }
    } else {
        trans = true;
    }
    hasTrans = trans;
    hasAlpha = alpha;
}

void MemoryImage::SetImageMode(bool hasTransparency, bool hasAlphaChannel) {
    forcedMode = true;
    hasTrans = hasTransparency;
    hasAlpha = hasAlphaChannel;
}

void MemoryImage::SetVolatile(bool isVolatileImage) {
    isVolatile = isVolatileImage;
}

void MemoryImage::Clear() {
    if (uint32_t* dst = GetBits()) {
        for (int y = 0; y < height; ++y) std::fill_n(dst + size_t(y) * size_t(pitch), width, 0u);
    }
    BitsChanged();
}

void MemoryImage::ClearRect(const Rect& rect) {
    const Rect r = rect.Intersection(Rect(0, 0, width, height));
    if (uint32_t* dst = GetBits(); dst && !r.IsEmpty()) {
        for (int y = r.y; y < r.y + r.height; ++y) {
            std::fill_n(dst + size_t(y) * size_t(pitch) + size_t(r.x), r.width, 0u);
        }
    }
    BitsChanged();
}

bool MemoryImage::Palletize() {
    CommitBits();
    if (colorTable) return true;
    const uint32_t* src = bits.get();
    if (!src) return false;

    auto table = std::make_unique<uint32_t[]>(256);
    const size_t count = size_t(width) * size_t(height);
    auto indices = std::make_unique<uint8_t[]>(count);
    std::unordered_map<uint32_t, uint8_t> seen;
    int used = 0;
    uint32_t lastPixel = 0;
    uint8_t lastIndex = 0;
    bool haveLast = false;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t pixel = src[i];
        if (haveLast && pixel == lastPixel) {
            indices[i] = lastIndex;
            continue;
        }
        auto it = seen.find(pixel);
        uint8_t index;
        if (it != seen.end()) {
            index = it->second;
        } else {
            if (used == 256) {
                wantPal = false;
                return false;
            }
            index = uint8_t(used);
            table[size_t(used++)] = pixel;
            seen.emplace(pixel, index);
        }
        indices[i] = index;
        lastPixel = pixel;
        lastIndex = index;
        haveLast = true;
    }
    for (int i = used; i < 256; ++i) table[size_t(i)] = 0;
    colorTable = std::move(table);
    colorIndices = std::move(indices);
    FreeBits();
    nativeAlphaData.reset();
    wantPal = true;
    return true;
}

uint32_t* MemoryImage::GetNativeAlphaData(const NativeDisplay* display) {
    if (nativeAlphaData) return nativeAlphaData.get();
    CommitBits();
    if (display && display->rgbBitCount != 0) nativeFormat = *display;
    if (colorTable) {
        nativeAlphaData = std::make_unique<uint32_t[]>(256);
        for (int i = 0; i < 256; ++i) nativeAlphaData[i] = ToNative(colorTable[i], nativeFormat);
        return nativeAlphaData.get();
    }
    const uint32_t* src = GetBits();
    if (!src) return nullptr;
    const size_t count = size_t(width) * size_t(height);
    nativeAlphaData.reset(new (std::nothrow) uint32_t[std::max<size_t>(count, 1)]);
    if (!nativeAlphaData) return nullptr;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = src + size_t(y) * size_t(pitch);
        uint32_t* out = nativeAlphaData.get() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) out[x] = ToNative(row[x], nativeFormat);
    }
    return nativeAlphaData.get();
}

void MemoryImage::BuildRunLengths(uint8_t* out, const uint32_t* data, int dataPitch,
                                  bool byColor) const {
    // data == null: read through the palette (colour table or native palette in `byColor`).
    for (int y = 0; y < height; ++y) {
        uint8_t* outRow = out + size_t(y) * size_t(width);
        int nextClass = -1;
        int run = 0;
        for (int x = width - 1; x >= 0; --x) {
            const size_t i = size_t(y) * size_t(dataPitch) + size_t(x);
            uint32_t pixel;
            if (data) {
                pixel = data[i];
            } else {
                const uint8_t index = colorIndices[size_t(y) * size_t(width) + size_t(x)];
                pixel = byColor ? nativeAlphaData[index] : colorTable[index];
            }
            int cls;
            if (byColor) {
                cls = (pixel & 0x00FFFFFF) == 0 ? 0 : 1;
            } else {
                const uint32_t a = pixel >> 24;
                cls = a == 0 ? 0 : (a == 255 ? 1 : 2);
            }
            run = cls == nextClass ? std::min(run + 1, 255) : 1;
            nextClass = cls;
            outRow[x] = uint8_t(run);
        }
    }
}

uint8_t* MemoryImage::GetRLAlphaData() {
    if (rlAlphaData) return rlAlphaData.get();
    CommitBits();
    const size_t count = size_t(width) * size_t(height);
    if (colorTable && colorIndices) {
        rlAlphaData.reset(new (std::nothrow) uint8_t[std::max<size_t>(count, 1)]);
        if (rlAlphaData) BuildRunLengths(rlAlphaData.get(), nullptr, width, false);
        return rlAlphaData.get();
    }
    const uint32_t* src = GetBits();
    if (!src) return nullptr;
    rlAlphaData.reset(new (std::nothrow) uint8_t[std::max<size_t>(count, 1)]);
    if (rlAlphaData) BuildRunLengths(rlAlphaData.get(), src, pitch, false);
    return rlAlphaData.get();
}

uint8_t* MemoryImage::GetRLAdditiveData(const NativeDisplay* display) {
    if (rlAdditiveData) return rlAdditiveData.get();
    const uint32_t* native = GetNativeAlphaData(display);
    if (!native) return nullptr;
    const size_t count = size_t(width) * size_t(height);
    rlAdditiveData.reset(new (std::nothrow) uint8_t[std::max<size_t>(count, 1)]);
    if (!rlAdditiveData) return nullptr;
    if (colorTable && colorIndices) {
        BuildRunLengths(rlAdditiveData.get(), nullptr, width, true);
    } else {
        BuildRunLengths(rlAdditiveData.get(), native, width, true);
    }
    return rlAdditiveData.get();
}

void MemoryImage::PurgeBits() {
    purgeBits = true;
    const bool hasTexture = host && host->HasTexture(this);
    if (host && host->Is3D()) {
        if (hasTexture) FreeBits();
        return;
    }
    if (bits || colorTable) GetNativeAlphaData(nullptr);
    if (!nativeAlphaData) return;  // nothing to restore the pixels from: keep them
    FreeBits();
    if (hasTexture) {
        colorTable.reset();
        colorIndices.reset();
    }
}

void MemoryImage::DeleteSWBuffers() {
    GetBits();
    nativeAlphaData.reset();
    rlAlphaData.reset();
    rlAdditiveData.reset();
}

void MemoryImage::Delete3DBuffers() {
    if (host) host->Remove3DData(this);
}

void MemoryImage::DeleteExtraBuffers() {
    DeleteSWBuffers();
    Delete3DBuffers();
}

void MemoryImage::ReInit() {
    if (wantPal) Palletize();
    if (purgeBits) PurgeBits();
}

void MemoryImage::DeleteNativeData() {
    GetBits();
    nativeAlphaData.reset();
    rlAdditiveData.reset();
}

}  // namespace Zarvo

// ---------------------------------------------------------------------------------------------
// Software drawing. All arithmetic works on packed 0xAARRGGBB values; red and blue travel
// together as one 0x00RR00BB product where the formulas allow it.

namespace Zarvo {

namespace {

// Out alpha and weight of compositing a source of alpha sa onto a destination of alpha da:
// oa = da + (255 - da) x sa / 255, w = sa x 255 / oa, packed as (oa << 8) | w. Both divisions
// are exact table look-ups. oa is 0 only when sa and da are both 0.
struct BlendTable {
    uint16_t entries[256 * 256];
    BlendTable() {
        for (int sa = 0; sa < 256; ++sa) {
            for (int da = 0; da < 256; ++da) {
                const int oa = da + ((255 - da) * sa) / 255;
                const int w = oa > 0 ? (sa * 255) / oa : 0;
                entries[sa * 256 + da] = uint16_t((oa << 8) | w);
            }
        }
    }
};

const BlendTable& GetBlendTable() {
    static const BlendTable table;
    return table;
}

// out channel = (src x w + dst x (256 - w)) / 256 with alpha oa; red and blue in one product.
inline uint32_t Composite(uint32_t src, uint32_t dst, uint32_t w, uint32_t oa) {
    const uint32_t iw = 256 - w;
    const uint32_t rb = (((src & 0x00FF00FF) * w + (dst & 0x00FF00FF) * iw) >> 8) & 0x00FF00FF;
    const uint32_t g = (((src & 0x0000FF00) * w + (dst & 0x0000FF00) * iw) >> 8) & 0x0000FF00;
    return (oa << 24) | rb | g;
}

// Blend onto an opaque destination: red and green as one sum / 256, blue as two truncated
// terms; alpha 255.
inline uint32_t BlendOntoOpaque(uint32_t src, uint32_t dst, uint32_t a) {
    const uint32_t ia = 256 - a;
    // Red in bits 16-23 and green in bits 0-7: one product for both.
    const uint32_t dstRG = (dst & 0x00FF0000) | ((dst >> 8) & 0xFF);
    const uint32_t srcRG = (src & 0x00FF0000) | ((src >> 8) & 0xFF);
    const uint32_t rg = dstRG * ia + srcRG * a;
    const uint32_t b = (((dst & 0xFF) * ia) >> 8) + (((src & 0xFF) * a) >> 8);
    return 0xFF000000u | ((rg >> 8) & 0x00FF0000) | (rg & 0x0000FF00) | b;
}

// Source rows of an image, straight from its 32-bit pixels or expanded through its palette.
class SourceRows {
public:
    explicit SourceRows(MemoryImage* image) : img(image) {
        if (image->colorTable && image->colorIndices) {
            table = image->colorTable.get();
            indices = image->colorIndices.get();
        } else {
            bits = image->GetBits();
            pitch = image->GetPitch();
        }
    }
    bool Valid() const { return bits || table; }
    // Pixels [x, x + count) of row y.
    const uint32_t* Row(int x, int y, int count) {
        if (bits) return bits + size_t(y) * size_t(pitch) + size_t(x);
        if (expanded.size() < size_t(count)) expanded.resize(size_t(count));
        const uint8_t* idx = indices + size_t(y) * size_t(img->width) + size_t(x);
        for (int i = 0; i < count; ++i) expanded[size_t(i)] = table[idx[i]];
        return expanded.data();
    }
    uint32_t Pixel(int x, int y) {
        if (bits) return bits[size_t(y) * size_t(pitch) + size_t(x)];
        return table[indices[size_t(y) * size_t(img->width) + size_t(x)]];
    }

private:
    MemoryImage* img;
    const uint32_t* bits = nullptr;
    int pitch = 0;
    const uint32_t* table = nullptr;
    const uint8_t* indices = nullptr;
    std::vector<uint32_t> expanded;
};

bool IsWhite(const Color& c) {
    return c.red == 255 && c.green == 255 && c.blue == 255 && c.alpha == 255;
}

int ClampChannel(int v) {
    return std::clamp(v, 0, 255);
}

// Row kernels. Each gives exactly the result of the scalar formulas above; the SSE2 versions
// do four pixels at a time in 16-bit lanes (every intermediate product and sum stays below
// 65536) and use the scalar formula for the remainder and for groups the fast case does not
// cover.

#if defined(__SSE2__)
inline __m128i AlphaBits() {
    return _mm_set1_epi32(int(0xFF000000u));
}

inline bool AllOpaque(__m128i d) {
    const __m128i mask = AlphaBits();
    return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(d, mask), mask)) == 0xFFFF;
}

// Broadcasts each pixel's alpha lane to its four 16-bit lanes.
inline __m128i SpreadAlpha(__m128i px16) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(px16, _MM_SHUFFLE(3, 3, 3, 3)),
                               _MM_SHUFFLE(3, 3, 3, 3));
}

inline __m128i Lo16(__m128i v) {
    return _mm_unpacklo_epi8(v, _mm_setzero_si128());
}
inline __m128i Hi16(__m128i v) {
    return _mm_unpackhi_epi8(v, _mm_setzero_si128());
}
#endif

// Translucent fill (sa < 255) of one row.
void FillRowBlend(uint32_t* p, int count, uint32_t packed, const uint16_t* blend) {
    const uint32_t sa = packed >> 24;
    const uint32_t src = packed & 0x00FFFFFF;
    const uint32_t srcRB = (src & 0x00FF00FF) * sa;
    const uint32_t srcG = (src & 0x0000FF00) * sa;
    const uint32_t iw = 256 - sa;
    auto one = [&](uint32_t& pixel) {
        const uint32_t d = pixel;
        const uint32_t da = d >> 24;
        if (da == 255) {
            // Over an opaque pixel oa = 255 and w = sa.
            const uint32_t rb = ((srcRB + (d & 0x00FF00FF) * iw) >> 8) & 0x00FF00FF;
            const uint32_t g = ((srcG + (d & 0x0000FF00) * iw) >> 8) & 0x0000FF00;
            pixel = 0xFF000000u | rb | g;
            return;
        }
        const uint32_t entry = blend[da];
        const uint32_t oa = entry >> 8;
        if (oa == 0) return;  // nothing over nothing stays untouched
        pixel = Composite(src, d, entry & 0xFF, oa);
    };
    int i = 0;
#if defined(__SSE2__)
    const __m128i srcTerm =
        _mm_mullo_epi16(Lo16(_mm_set1_epi32(int(src))), _mm_set1_epi16(short(sa)));
    const __m128i inverse = _mm_set1_epi16(short(iw));
    for (; i + 4 <= count; i += 4) {
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (!AllOpaque(d)) {
            for (int k = i; k < i + 4; ++k) one(p[k]);
            continue;
        }
        const __m128i lo =
            _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(Lo16(d), inverse), srcTerm), 8);
        const __m128i hi =
            _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(Hi16(d), inverse), srcTerm), 8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i),
                         _mm_or_si128(_mm_packus_epi16(lo, hi), AlphaBits()));
    }
#endif
    for (; i < count; ++i) one(p[i]);
}

// Translucent source pixels (0 < a < 255) onto opaque destination pixels.
void BlendRowOntoOpaque(uint32_t* d, const uint32_t* s, int count) {
    int k = 0;
#if defined(__SSE2__)
    const __m128i full = _mm_set1_epi16(256);
    const __m128i blueLanes = _mm_set_epi16(0, 0, 0, -1, 0, 0, 0, -1);
    auto half = [&](__m128i s16, __m128i d16) {
        const __m128i a = SpreadAlpha(s16);
        const __m128i t1 = _mm_mullo_epi16(d16, _mm_sub_epi16(full, a));
        const __m128i t2 = _mm_mullo_epi16(s16, a);
        const __m128i joint = _mm_srli_epi16(_mm_add_epi16(t1, t2), 8);
        const __m128i apart = _mm_add_epi16(_mm_srli_epi16(t1, 8), _mm_srli_epi16(t2, 8));
        return _mm_or_si128(_mm_and_si128(blueLanes, apart), _mm_andnot_si128(blueLanes, joint));
    };
    for (; k + 4 <= count; k += 4) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + k));
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + k));
        const __m128i out = _mm_packus_epi16(half(Lo16(sv), Lo16(dv)), half(Hi16(sv), Hi16(dv)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + k), _mm_or_si128(out, AlphaBits()));
    }
#endif
    for (; k < count; ++k) d[k] = BlendOntoOpaque(s[k], d[k], s[k] >> 24);
}

// Tinted source pixels composited onto a row; `effAlpha` and the tint tables as in BltNormal.
void TintRow(uint32_t* d, const uint32_t* s, int count, const Color& c, const uint8_t* effAlpha,
             const uint32_t* tintR, const uint32_t* tintG, const uint32_t* tintB,
             const uint16_t* blend) {
    auto one = [&](uint32_t sp, uint32_t& dp) {
        const uint32_t m = effAlpha[sp >> 24];
        if (m == 0) return;
        const uint32_t tinted =
            tintR[(sp >> 16) & 0xFF] | tintG[(sp >> 8) & 0xFF] | tintB[sp & 0xFF];
        const uint32_t entry = blend[m * 256 + (dp >> 24)];
        dp = Composite(tinted, dp, entry & 0xFF, entry >> 8);
    };
    int i = 0;
#if defined(__SSE2__)
    const __m128i full = _mm_set1_epi16(256);
    const __m128i oneLane = _mm_set1_epi16(1);
    const __m128i tint = _mm_set_epi16(0, short(c.red), short(c.green), short(c.blue), 0,
                                       short(c.red), short(c.green), short(c.blue));
    const __m128i colorAlpha = _mm_set1_epi16(short(c.alpha));
    auto half = [&](__m128i s16, __m128i d16) {
        // m = colour alpha x source alpha / 255, the division exact as (x + 1 + x / 256) / 256.
        const __m128i x = _mm_mullo_epi16(SpreadAlpha(s16), colorAlpha);
        const __m128i m =
            _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, oneLane), _mm_srli_epi16(x, 8)), 8);
        const __m128i tinted = _mm_srli_epi16(_mm_mullo_epi16(s16, tint), 8);
        // Over opaque pixels oa = 255 and w = m; m = 0 leaves the pixel as it is.
        const __m128i sum =
            _mm_add_epi16(_mm_mullo_epi16(tinted, m), _mm_mullo_epi16(d16, _mm_sub_epi16(full, m)));
        return _mm_srli_epi16(sum, 8);
    };
    for (; i + 4 <= count; i += 4) {
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        if (!AllOpaque(dv)) {
            for (int k = i; k < i + 4; ++k) one(s[k], d[k]);
            continue;
        }
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i out = _mm_packus_epi16(half(Lo16(sv), Lo16(dv)), half(Hi16(sv), Hi16(dv)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_or_si128(out, AlphaBits()));
    }
#else
    (void)c;
#endif
    for (; i < count; ++i) one(s[i], d[i]);
}

// Additive row: each colour channel gains its contribution, saturating; alpha is kept.
// k = 256 means untinted; with `srcAlpha` the contribution is scaled by the pixel's alpha.
void AddRow(uint32_t* d, const uint32_t* s, int count, int kR, int kG, int kB, bool srcAlpha,
            const uint32_t* addR, const uint32_t* addG, const uint32_t* addB, const uint8_t* sat) {
    int i = 0;
#if defined(__SSE2__)
    const bool tinted = kR != 256 || kG != 256 || kB != 256;
    const __m128i zero = _mm_setzero_si128();
    const __m128i k =
        _mm_set_epi16(0, short(kR), short(kG), short(kB), 0, short(kR), short(kG), short(kB));
    const __m128i colourLanes = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
    auto half = [&](__m128i x) {
        const __m128i a = SpreadAlpha(x);
        if (tinted) x = _mm_srli_epi16(_mm_mullo_epi16(x, k), 8);
        if (srcAlpha) {
            x = _mm_srli_epi16(_mm_mullo_epi16(x, a), 8);
        } else {
            x = _mm_andnot_si128(_mm_cmpeq_epi16(a, zero), x);  // alpha 0 adds nothing
        }
        return _mm_and_si128(x, colourLanes);
    };
    for (; i + 4 <= count; i += 4) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i add = _mm_packus_epi16(half(Lo16(sv)), half(Hi16(sv)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_adds_epu8(dv, add));
    }
#else
    (void)kR, (void)kG, (void)kB;
#endif
    for (; i < count; ++i) {
        const uint32_t sp = s[i];
        const uint32_t a = sp >> 24;
        // A fully transparent pixel adds nothing, whatever colour it carries.
        if (a == 0) continue;
        uint32_t r = addR[(sp >> 16) & 0xFF];
        uint32_t g = addG[(sp >> 8) & 0xFF];
        uint32_t b = addB[sp & 0xFF];
        if (srcAlpha) {
            r = (r * a) >> 8;
            g = (g * a) >> 8;
            b = (b * a) >> 8;
        }
        const uint32_t dp = d[i];
        d[i] = (dp & 0xFF000000u) | (uint32_t(sat[((dp >> 16) & 0xFF) + r]) << 16) |
               (uint32_t(sat[((dp >> 8) & 0xFF) + g]) << 8) | sat[(dp & 0xFF) + b];
    }
}

}  // namespace

void MemoryImage::FillRect(const Rect& rect, const Color& color, int drawMode) {
    (void)drawMode;  // additive fills draw like normal ones
    const Rect r = rect.Intersection(Rect(0, 0, width, height));
    uint32_t* dst = GetBits();
    if (dst && !r.IsEmpty()) {
        const Color c(ClampChannel(color.red), ClampChannel(color.green), ClampChannel(color.blue),
                      ClampChannel(color.alpha));
        if (c.alpha == 255) {
            FillRectOpaque(dst, pitch, r, c.ToInt());
        } else {
            FillRectBlend(dst, pitch, r, c.ToInt());
        }
    }
    BitsChanged();
}

void MemoryImage::FillRectOpaque(uint32_t* dst, int dstPitch, const Rect& rect, uint32_t packed) {
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        uint32_t* p = dst + size_t(y) * size_t(dstPitch) + size_t(rect.x);
        int i = 0;
#if defined(__SSE2__)
        const __m128i v = _mm_set1_epi32(int(packed));
        for (; i + 16 <= rect.width; i += 16) {
            __m128i* out = reinterpret_cast<__m128i*>(p + i);
            _mm_storeu_si128(out, v);
            _mm_storeu_si128(out + 1, v);
            _mm_storeu_si128(out + 2, v);
            _mm_storeu_si128(out + 3, v);
        }
#endif
        for (; i < rect.width; ++i) p[i] = packed;
    }
}

void MemoryImage::FillRectBlend(uint32_t* dst, int dstPitch, const Rect& rect, uint32_t packed) {
    const uint16_t* blend = GetBlendTable().entries + (packed >> 24) * 256;
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        FillRowBlend(dst + size_t(y) * size_t(dstPitch) + size_t(rect.x), rect.width, packed,
                     blend);
    }
}

void MemoryImage::Blt(Image* image, int x, int y, const Rect& srcRect, const Color& color,
                      int drawMode) {
    auto* src = dynamic_cast<MemoryImage*>(image);
    if (!src || src == this) return;
    src->drawn = true;
    // Defensive clipping: the context already clipped, but the pixels must never be overrun.
    if (srcRect.x < 0 || srcRect.y < 0 || int64_t(srcRect.x) + srcRect.width > src->width ||
        int64_t(srcRect.y) + srcRect.height > src->height) {
        return;
    }
    const Rect dest =
        Rect(x, y, srcRect.width, srcRect.height).Intersection(Rect(0, 0, width, height));
    if (dest.IsEmpty()) return;
    const Rect s(int(srcRect.x + (int64_t(dest.x) - x)), int(srcRect.y + (int64_t(dest.y) - y)),
                 dest.width, dest.height);
    if (drawMode == 1) {
        BltAdditive(src, dest.x, dest.y, s, color);
    } else {
        BltNormal(src, dest.x, dest.y, s, color);
    }
    BitsChanged();
}

void MemoryImage::BltNormal(MemoryImage* src, int x, int y, const Rect& srcRect,
                            const Color& color) {
    uint32_t* dstBits = GetBits();
    SourceRows rows(src);
    if (!dstBits || !rows.Valid()) return;
    const int w = srcRect.width;
    const bool white = IsWhite(color);

    if (white && !hasTrans && !hasAlpha) {
        // Opaque destination: whole runs of opaque or transparent source pixels are copied or
        // skipped at once.
        const uint8_t* rl = src->GetRLAlphaData();
        if (!rl) return;
        for (int j = 0; j < srcRect.height; ++j) {
            const uint32_t* s = rows.Row(srcRect.x, srcRect.y + j, w);
            const uint8_t* runs =
                rl + size_t(srcRect.y + j) * size_t(src->width) + size_t(srcRect.x);
            uint32_t* d = dstBits + size_t(y + j) * size_t(pitch) + size_t(x);
            int i = 0;
            while (i < w) {
                const int n = std::min<int>(runs[i], w - i);
                const uint32_t a = s[i] >> 24;
                if (a == 255) {
                    std::memcpy(d + i, s + i, size_t(n) * 4);
                } else if (a != 0) {
                    BlendRowOntoOpaque(d + i, s + i, n);
                }
                i += n;
            }
        }
        return;
    }

    const uint16_t* blend = GetBlendTable().entries;
    if (white) {
        for (int j = 0; j < srcRect.height; ++j) {
            const uint32_t* s = rows.Row(srcRect.x, srcRect.y + j, w);
            uint32_t* d = dstBits + size_t(y + j) * size_t(pitch) + size_t(x);
            for (int i = 0; i < w; ++i) {
                const uint32_t sp = s[i];
                const uint32_t sa = sp >> 24;
                if (sa == 0) continue;
                const uint32_t dp = d[i];
                const uint32_t entry = blend[sa * 256 + (dp >> 24)];
                d[i] = Composite(sp, dp, entry & 0xFF, entry >> 8);
            }
        }
        return;
    }

    // Tinted: effective alpha m = colour alpha x source alpha / 255, tinted source channels
    // src x colour channel / 256.
    const Color c(ClampChannel(color.red), ClampChannel(color.green), ClampChannel(color.blue),
                  ClampChannel(color.alpha));
    uint8_t effAlpha[256];
    uint32_t tintR[256], tintG[256], tintB[256];
    for (int v = 0; v < 256; ++v) {
        effAlpha[v] = uint8_t((c.alpha * v) / 255);
        tintR[v] = uint32_t((v * c.red) / 256) << 16;
        tintG[v] = uint32_t((v * c.green) / 256) << 8;
        tintB[v] = uint32_t((v * c.blue) / 256);
    }
    for (int j = 0; j < srcRect.height; ++j) {
        const uint32_t* s = rows.Row(srcRect.x, srcRect.y + j, w);
        uint32_t* d = dstBits + size_t(y + j) * size_t(pitch) + size_t(x);
        TintRow(d, s, w, c, effAlpha, tintR, tintG, tintB, blend);
    }
}

void MemoryImage::BltAdditive(MemoryImage* src, int x, int y, const Rect& srcRect,
                              const Color& color) {
    uint32_t* dstBits = GetBits();
    src->CommitBits();
    SourceRows rows(src);
    if (!dstBits || !rows.Valid()) return;
    const uint8_t* sat = GetSaturationTable();
    const int w = srcRect.width;
    const bool srcAlpha = src->hasAlpha;

    // Per-channel source contribution tables: contribution[channel value].
    uint32_t addR[256], addG[256], addB[256];
    int kR = 256, kG = 256, kB = 256;  // 256: untinted
    if (!IsWhite(color)) {
        const int a = ClampChannel(color.alpha);
        kR = (a * ClampChannel(color.red)) / 255;
        kG = (a * ClampChannel(color.green)) / 255;
        kB = (a * ClampChannel(color.blue)) / 255;
    }
    for (int v = 0; v < 256; ++v) {
        addR[v] = kR == 256 ? uint32_t(v) : uint32_t((kR * v) >> 8);
        addG[v] = kG == 256 ? uint32_t(v) : uint32_t((kG * v) >> 8);
        addB[v] = kB == 256 ? uint32_t(v) : uint32_t((kB * v) >> 8);
    }

    for (int j = 0; j < srcRect.height; ++j) {
        const uint32_t* s = rows.Row(srcRect.x, srcRect.y + j, w);
        uint32_t* d = dstBits + size_t(y + j) * size_t(pitch) + size_t(x);
        AddRow(d, s, w, kR, kG, kB, srcAlpha, addR, addG, addB, sat);
    }
}

void MemoryImage::StretchBlt(Image* image, const Rect& destRect, const Rect& srcRect,
                             const Rect& clipRect, const Color& color, int drawMode,
                             bool fastStretch) {
    (void)drawMode;  // stretching draws normally in both modes
    auto* src = dynamic_cast<MemoryImage*>(image);
    if (!src || src == this || destRect.IsEmpty() || srcRect.IsEmpty()) return;
    if (srcRect.x < 0 || srcRect.y < 0 || int64_t(srcRect.x) + srcRect.width > src->width ||
        int64_t(srcRect.y) + srcRect.height > src->height) {
        return;
    }
    src->drawn = true;
    const Rect clipped = destRect.Intersection(clipRect).Intersection(Rect(0, 0, width, height));
    if (clipped.IsEmpty()) return;

    const double ratioX = double(srcRect.width) / double(destRect.width);
    const double ratioY = double(srcRect.height) / double(destRect.height);
    const double srcX = srcRect.x + (double(clipped.x) - destRect.x) * ratioX;
    const double srcY = srcRect.y + (double(clipped.y) - destRect.y) * ratioY;
    const double srcW = srcRect.width + (double(clipped.width) - destRect.width) * ratioX;
    const double srcH = srcRect.height + (double(clipped.height) - destRect.height) * ratioY;
    if (srcW <= 0 || srcH <= 0) return;

    if (fastStretch) {
        // Nearest-pixel stretching knows no tint: a tinted fast stretch draws nothing.
        if (!IsWhite(color)) return;
        StretchBltFast(src, clipped, srcX, srcY, srcW, srcH, destRect);
    } else {
        StretchBltFiltered(src, clipped, srcX, srcY, srcW, srcH);
    }
    BitsChanged();
}

void MemoryImage::StretchBltFast(MemoryImage* src, const Rect& clipped, double srcX, double srcY,
                                 double srcW, double srcH, const Rect& destRect) {
    (void)destRect;
    uint32_t* dstBits = GetBits();
    SourceRows rows(src);
    if (!dstBits || !rows.Valid()) return;
    const uint16_t* blend = GetBlendTable().entries;
    const double stepX = srcW / clipped.width;
    const double stepY = srcH / clipped.height;
    std::vector<int> columnOf(size_t(clipped.width));
    for (int i = 0; i < clipped.width; ++i) {
        columnOf[size_t(i)] = std::clamp(int(srcX + i * stepX), 0, src->width - 1);
    }
    for (int j = 0; j < clipped.height; ++j) {
        const int sy = std::clamp(int(srcY + j * stepY), 0, src->height - 1);
        const uint32_t* s = rows.Row(0, sy, src->width);
        uint32_t* d = dstBits + size_t(clipped.y + j) * size_t(pitch) + size_t(clipped.x);
        for (int i = 0; i < clipped.width; ++i) {
            const uint32_t sp = s[columnOf[size_t(i)]];
            const uint32_t sa = sp >> 24;
            if (sa == 0) continue;
            const uint32_t dp = d[i];
            const uint32_t entry = blend[sa * 256 + (dp >> 24)];
            d[i] = Composite(sp, dp, entry & 0xFF, entry >> 8);
        }
    }
}

namespace {

// One weighted contribution of a source column (or row) to an accumulator slot.
struct Tap {
    int src;
    int slot;
    uint32_t weight;
};

// Taps along one axis for a filtered stretch of [start, start + length) of the source onto
// `destLen` destination pixels; destination pixel k is accumulator slot k + 1. `full` is the
// weight of a whole pixel (257 along rows, 256 along columns). Source indices are clamped to
// [first, last).
std::vector<Tap> BuildTaps(double start, double length, int first, int last, int destLen,
                           int full) {
    std::vector<Tap> taps;
    const int maxSlot = destLen + 3;
    auto add = [&](int srcIndex, int slot, double weight) {
        const int w = int(weight);
        if (w <= 0) return;
        taps.push_back(
            Tap{std::clamp(srcIndex, first, last - 1), std::clamp(slot, 0, maxSlot), uint32_t(w)});
    };
    if (double(destLen) <= length) {
        const double r = double(destLen) / length;
        for (int i = 0; i < last - first; ++i) {
            const double m = r * (first - start) + 1 + r * i;
            const double fm = std::floor(m);
            const double fmr = std::floor(m + r);
            if (fm == fmr) {
                add(first + i, int(fm), r * full);
            } else {
                add(first + i, int(fm), (fmr - m) * full);
                add(first + i, int(fm) + 1, (r + m - fmr) * full);
            }
        }
    } else {
        const double step = destLen == 1 ? length / destLen : (length - 1) / (destLen - 1);
        for (int k = 1; k <= destLen; ++k) {
            const double t = start + step * (k - 1);
            const int ti = int(t);
            const int h = int((1.0 - (t - std::floor(t))) * full);
            add(ti, k, h);
            add(ti + 1, k, full - h);
        }
    }
    return taps;
}

// Accumulates `weight` x the four channels of `pixel` into four 16-bit sums (blue, green, red,
// alpha). A slot's weights never add up to more than a full pixel (257), so 255 x 257 fits.
[[maybe_unused]] inline void AccumulateRowTap(uint16_t* sums, uint32_t pixel, uint32_t weight) {
    for (int c = 0; c < 4; ++c) {
        sums[c] = uint16_t(sums[c] + ((pixel >> (8 * c)) & 0xFF) * weight);
    }
}

// acc[k] += weight x in[k] for `count` slots of four channels (32-bit sums of 16-bit values).
inline void AccumulateColumnTap(uint32_t* acc, const uint16_t* in, int count, uint32_t weight) {
    int k = 0;
#if defined(__SSE2__)
    const __m128i w = _mm_set1_epi16(short(weight));
    for (; k + 2 <= count; k += 2) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * k));
        const __m128i lo = _mm_mullo_epi16(v, w);
        const __m128i hi = _mm_mulhi_epu16(v, w);
        __m128i* out = reinterpret_cast<__m128i*>(acc + 4 * k);
        _mm_storeu_si128(out, _mm_add_epi32(_mm_loadu_si128(out), _mm_unpacklo_epi16(lo, hi)));
        _mm_storeu_si128(out + 1,
                         _mm_add_epi32(_mm_loadu_si128(out + 1), _mm_unpackhi_epi16(lo, hi)));
    }
#endif
    for (; k < count; ++k) {
        for (int c = 0; c < 4; ++c) acc[4 * k + c] += uint32_t(in[4 * k + c]) * weight;
    }
}

// Turns accumulated sums (blue, green, red, alpha; a full pixel weighs 65536) into pixels
// blended over `d`: c x a / 256 + dst x (256 - a) / 256, alpha da + (255 - da) x a / 255.
// With a = 0 both formulas give the destination back unchanged.
inline void FinishFilteredRow(uint32_t* d, const uint32_t* acc, int count) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i full = _mm_set1_epi16(256);
    const __m128i opaque = _mm_set1_epi16(255);
    const __m128i oneLane = _mm_set1_epi16(1);
    const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    auto half = [&](const uint32_t* sums, __m128i d16) {
        const __m128i v0 =
            _mm_srli_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(sums)), 16);
        const __m128i v1 =
            _mm_srli_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + 4)), 16);
        const __m128i c = _mm_min_epi16(_mm_packs_epi32(v0, v1), opaque);
        const __m128i a = SpreadAlpha(c);
        const __m128i colour =
            _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(c, a), 8),
                          _mm_srli_epi16(_mm_mullo_epi16(d16, _mm_sub_epi16(full, a)), 8));
        const __m128i x = _mm_mullo_epi16(_mm_sub_epi16(opaque, d16), a);
        const __m128i q =
            _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, oneLane), _mm_srli_epi16(x, 8)), 8);
        const __m128i alpha = _mm_add_epi16(d16, q);
        return _mm_or_si128(_mm_and_si128(alphaLanes, alpha), _mm_andnot_si128(alphaLanes, colour));
    };
    for (; i + 4 <= count; i += 4) {
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i out =
            _mm_packus_epi16(half(acc + 4 * i, Lo16(dv)), half(acc + 4 * i + 8, Hi16(dv)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), out);
    }
#endif
    for (; i < count; ++i) {
        const uint32_t* sum = acc + 4 * size_t(i);
        const uint32_t a = std::min<uint32_t>(sum[3] >> 16, 255);
        if (a == 0) continue;
        const uint32_t r = std::min<uint32_t>(sum[2] >> 16, 255);
        const uint32_t g = std::min<uint32_t>(sum[1] >> 16, 255);
        const uint32_t b = std::min<uint32_t>(sum[0] >> 16, 255);
        const uint32_t dp = d[i];
        const uint32_t ia = 256 - a;
        const uint32_t da = dp >> 24;
        const uint32_t outR = ((r * a) >> 8) + ((((dp >> 16) & 0xFF) * ia) >> 8);
        const uint32_t outG = ((g * a) >> 8) + ((((dp >> 8) & 0xFF) * ia) >> 8);
        const uint32_t outB = ((b * a) >> 8) + (((dp & 0xFF) * ia) >> 8);
        const uint32_t outA = da + ((255 - da) * a) / 255;
        d[i] = (outA << 24) | (outR << 16) | (outG << 8) | outB;
    }
}

}  // namespace

void MemoryImage::StretchBltFiltered(MemoryImage* src, const Rect& clipped, double srcX,
                                     double srcY, double srcW, double srcH) {
    uint32_t* dstBits = GetBits();
    SourceRows rows(src);
    if (!dstBits || !rows.Valid()) return;

    const int firstCol = std::clamp(int(std::floor(srcX)), 0, src->width);
    const int lastCol = std::clamp(int(std::ceil(srcX + srcW)), 0, src->width);
    const int firstRow = std::clamp(int(std::floor(srcY)), 0, src->height);
    const int lastRow = std::clamp(int(std::ceil(srcY + srcH)), 0, src->height);
    if (lastCol <= firstCol || lastRow <= firstRow) return;

    const int destW = clipped.width;
    const int destH = clipped.height;
    const size_t slotsX = size_t(destW) + 4;
    const size_t srcRows = size_t(lastRow - firstRow);
    // The accumulators are bounded by the source and destination sizes; refuse absurd ones.
    if (srcRows * slotsX > (size_t(1) << 26)) return;

    const std::vector<Tap> tapsX = BuildTaps(srcX, srcW, firstCol, lastCol, destW, 257);
    std::vector<Tap> tapsY = BuildTaps(srcY, srcH, firstRow, lastRow, destH, 256);
    std::stable_sort(tapsY.begin(), tapsY.end(),
                     [](const Tap& a, const Tap& b) { return a.slot < b.slot; });

    // Pass 1: along rows, 16-bit sums per channel (destination column k in slot k + 1). The
    // taps come in slot order, so a slot's sum is built in a register and stored once.
    std::vector<uint16_t> across(srcRows * slotsX * 4, 0);
#if defined(__SSE2__)
    std::vector<uint64_t> weightLanes(tapsX.size());
    for (size_t t = 0; t < tapsX.size(); ++t) {
        weightLanes[t] = uint64_t(tapsX[t].weight) * 0x0001000100010001ull;
    }
#endif
    for (size_t row = 0; row < srcRows; ++row) {
        const uint32_t* s = rows.Row(firstCol, firstRow + int(row), lastCol - firstCol);
        uint16_t* out = across.data() + row * slotsX * 4;
#if defined(__SSE2__)
        auto flush = [&](int slot, __m128i sum) {
            __m128i* at = reinterpret_cast<__m128i*>(out + size_t(slot) * 4);
            _mm_storel_epi64(at, _mm_add_epi16(_mm_loadl_epi64(at), sum));
        };
        __m128i sum = _mm_setzero_si128();
        int slot = -1;
        for (size_t t = 0; t < tapsX.size(); ++t) {
            const Tap& tap = tapsX[t];
            const __m128i px = Lo16(_mm_cvtsi32_si128(int(s[tap.src - firstCol])));
            const __m128i w = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&weightLanes[t]));
            const __m128i product = _mm_mullo_epi16(px, w);
            if (tap.slot != slot) {
                if (slot >= 0) flush(slot, sum);
                slot = tap.slot;
                sum = product;
            } else {
                sum = _mm_add_epi16(sum, product);
            }
        }
        if (slot >= 0) flush(slot, sum);
#else
        for (const Tap& tap : tapsX) {
            AccumulateRowTap(out + size_t(tap.slot) * 4, s[tap.src - firstCol], tap.weight);
        }
#endif
    }

    // Pass 2: along columns, one destination row at a time; then each channel is its sum /
    // 65536 (a full pixel weighs 257 x 256, so 255 stays 255), blended by its own alpha.
    std::vector<uint32_t> acc(size_t(destW) * 4);
    auto tap = tapsY.begin();
    for (int j = 0; j < destH; ++j) {
        const int slot = j + 1;
        while (tap != tapsY.end() && tap->slot < slot) ++tap;
        std::fill(acc.begin(), acc.end(), 0u);
        for (; tap != tapsY.end() && tap->slot == slot; ++tap) {
            const uint16_t* in = across.data() + size_t(tap->src - firstRow) * slotsX * 4 + 4;
            AccumulateColumnTap(acc.data(), in, destW, tap->weight);
        }
        uint32_t* d = dstBits + size_t(clipped.y + j) * size_t(pitch) + size_t(clipped.x);
        FinishFilteredRow(d, acc.data(), destW);
    }
}

void MemoryImage::DrawLine(double startX, double startY, double endX, double endY,
                           const Color& color, int drawMode) {
    int x1 = int(startX), y1 = int(startY), x2 = int(endX), y2 = int(endY);
    if (y1 == y2) {
        FillRect(Rect(std::min(x1, x2), y1, std::abs(x2 - x1) + 1, 1), color, drawMode);
        return;
    }
    if (x1 == x2) {
        FillRect(Rect(x1, std::min(y1, y2), 1, std::abs(y2 - y1) + 1), color, drawMode);
        return;
    }
    uint32_t* dst = GetBits();
    if (!dst) return;
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const int alpha = ClampChannel(color.alpha);
    auto pack = [](int c) { return uint32_t((c * 255 + 127) / 256); };
    uint32_t pr, pg, pb;
    if (alpha == 255) {
        pr = pack(ClampChannel(color.red));
        pg = pack(ClampChannel(color.green));
        pb = pack(ClampChannel(color.blue));
    } else {
        pr = pack((alpha * ClampChannel(color.red) + 128) / 256);
        pg = pack((alpha * ClampChannel(color.green) + 128) / 256);
        pb = pack((alpha * ClampChannel(color.blue) + 128) / 256);
    }
    const uint8_t* sat = GetSaturationTable();
    auto plot = [&](int px, int py) {
        if (px < 0 || py < 0 || px >= width || py >= height) return;
        uint32_t& d = dst[size_t(py) * size_t(pitch) + size_t(px)];
        const uint32_t dr = (d >> 16) & 0xFF, dg = (d >> 8) & 0xFF, db = d & 0xFF;
        if (drawMode == 1) {
            d = (d & 0xFF000000u) | (uint32_t(sat[dr + pr]) << 16) | (uint32_t(sat[dg + pg]) << 8) |
                sat[db + pb];
        } else if (alpha == 255) {
            d = 0xFF000000u | (pr << 16) | (pg << 8) | pb;
        } else {
            const uint32_t ia = uint32_t(256 - alpha);
            const uint32_t r = std::min<uint32_t>(255, (dr * ia + 127) / 256 + pr);
            const uint32_t g = std::min<uint32_t>(255, (dg * ia + 127) / 256 + pg);
            const uint32_t b = std::min<uint32_t>(255, (db * ia + 127) / 256 + pb);
            d = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    };
    // Bresenham from the upper end; one pixel per step along the major axis.
    const int dx = std::abs(x2 - x1);
    const int dy = y2 - y1;
    const int stepX = x2 > x1 ? 1 : -1;
    int x = x1, y = y1;
    if (dx >= dy) {
        int err = 2 * dy - dx;
        for (int i = 0; i <= dx; ++i) {
            plot(x, y);
            if (err > 0) {
                ++y;
                err -= 2 * dx;
            }
            err += 2 * dy;
            x += stepX;
        }
    } else {
        int err = 2 * dx - dy;
        for (int i = 0; i <= dy; ++i) {
            plot(x, y);
            if (err > 0) {
                x += stepX;
                err -= 2 * dy;
            }
            err += 2 * dx;
            ++y;
        }
    }
    BitsChanged();
}

void MemoryImage::DrawLineAA(double startX, double startY, double endX, double endY,
                             const Color& color, int drawMode) {
    if (drawMode != 0) return;  // anti-aliased lines exist only in normal mode
    uint32_t* dst = GetBits();
    if (!dst) return;
    const Color c(ClampChannel(color.red), ClampChannel(color.green), ClampChannel(color.blue),
                  ClampChannel(color.alpha));
    const uint16_t* blend = GetBlendTable().entries;
    const uint32_t rgb = c.ToInt() & 0x00FFFFFF;
    // Each pixel is the translucent fill of the colour with alpha scaled by its coverage.
    auto plot = [&](int px, int py, double coverage) {
        if (px < 0 || py < 0 || px >= width || py >= height) return;
        const uint32_t sa = uint32_t(c.alpha * std::clamp(coverage, 0.0, 1.0));
        if (sa == 0) return;
        uint32_t& d = dst[size_t(py) * size_t(pitch) + size_t(px)];
        const uint32_t entry = blend[sa * 256 + (d >> 24)];
        if ((entry >> 8) != 0) d = Composite(rgb, d, entry & 0xFF, entry >> 8);
    };
    // Xiaolin Wu's method: two pixels across the minor axis per step, weighted by distance.
    const bool steep = std::abs(endY - startY) > std::abs(endX - startX);
    double x0 = startX, y0 = startY, x1 = endX, y1 = endY;
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const double gradient = x1 == x0 ? 0.0 : (y1 - y0) / (x1 - x0);
    const int first = int(std::lround(x0));
    const int last = int(std::lround(x1));
    for (int x = first; x <= last; ++x) {
        const double yy = y0 + gradient * (x - x0);
        const int iy = int(std::floor(yy));
        const double frac = yy - iy;
        if (steep) {
            plot(iy, x, 1.0 - frac);
            plot(iy + 1, x, frac);
        } else {
            plot(x, iy, 1.0 - frac);
            plot(x, iy + 1, frac);
        }
    }
    BitsChanged();
}

void MemoryImage::BltF(Image* image, float x, float y, const Rect& srcRect, const Rect& clipRect,
                       const Color& color, int drawMode) {
    BltRotated(image, x, y, srcRect, clipRect, color, drawMode, 0.0, 0.0f, 0.0f);
}

// The rotated, matrix, textured-triangle and mirrored blits have no caller in this system and
// draw nothing.
void MemoryImage::BltRotated(Image*, float, float, const Rect&, const Rect&, const Color&, int,
                             double, float, float) {}

void MemoryImage::BltMatrix(Image*, float, float, const float*, const Rect&, const Color&, int,
                            const Rect&, bool) {}

void MemoryImage::BltTrianglesTex(Image*, const TriVertex*, int, const Rect&, const Color&, int,
                                  float, float, bool) {}

void MemoryImage::BltMirror(Image*, int, int, const Rect&, const Color&, int) {}

void MemoryImage::StretchBltMirror(Image*, const Rect&, const Rect&, const Rect&, const Color&, int,
                                   bool) {}

}  // namespace Zarvo
