#include "graphics/MemoryImage.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <unordered_map>

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
    return (a << 24) | PackChannel((pixel >> 16) & 0xFF, k, f.redMask, f.redBits, f.redShift) |
           PackChannel((pixel >> 8) & 0xFF, k, f.greenMask, f.greenBits, f.greenShift) |
           PackChannel(pixel & 0xFF, k, f.blueMask, f.blueBits, f.blueShift);
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
    return (a << 24) | (UnpackChannel(native, k, f.redMask, f.redBits, f.redShift) << 16) |
           (UnpackChannel(native, k, f.greenMask, f.greenBits, f.greenShift) << 8) |
           UnpackChannel(native, k, f.blueMask, f.blueBits, f.blueShift);
}

}  // namespace

MemoryImage::MemoryImage() : MemoryImage(gDefaultHost.load()) {}

MemoryImage::MemoryImage(MemoryImageHost* imageHost) : host(imageHost) {
    nativeFormat.SetFormat32();
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
    if (display && display->rgbBitCount != 0) {
        nativeFormat.rgbBitCount = display->rgbBitCount;
        nativeFormat.redMask = display->redMask;
        nativeFormat.greenMask = display->greenMask;
        nativeFormat.blueMask = display->blueMask;
        nativeFormat.redBits = display->redBits;
        nativeFormat.greenBits = display->greenBits;
        nativeFormat.blueBits = display->blueBits;
        nativeFormat.redShift = display->redShift;
        nativeFormat.greenShift = display->greenShift;
        nativeFormat.blueShift = display->blueShift;
    }
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

// ---- drawing (placeholder bodies) ----
namespace Zarvo {
void MemoryImage::FillRect(const Rect&, const Color&, int) {
    BitsChanged();
}
void MemoryImage::DrawLine(double, double, double, double, const Color&, int) {
    BitsChanged();
}
void MemoryImage::DrawLineAA(double, double, double, double, const Color&, int) {
    BitsChanged();
}
void MemoryImage::Blt(Image*, int, int, const Rect&, const Color&, int) {
    BitsChanged();
}
void MemoryImage::BltF(Image* image, float x, float y, const Rect& srcRect, const Rect& clipRect,
                       const Color& color, int drawMode) {
    BltRotated(image, x, y, srcRect, clipRect, color, drawMode, 0.0, 0.0f, 0.0f);
}
void MemoryImage::BltRotated(Image*, float, float, const Rect&, const Rect&, const Color&, int,
                             double, float, float) {}
void MemoryImage::StretchBlt(Image*, const Rect&, const Rect&, const Rect&, const Color&, int,
                             bool) {
    BitsChanged();
}
void MemoryImage::BltMatrix(Image*, float, float, const float*, const Rect&, const Color&, int,
                            const Rect&, bool) {}
void MemoryImage::BltTrianglesTex(Image*, const TriVertex*, int, const Rect&, const Color&, int,
                                  float, float, bool) {}
void MemoryImage::BltMirror(Image*, int, int, const Rect&, const Color&, int) {}
void MemoryImage::StretchBltMirror(Image*, const Rect&, const Rect&, const Rect&, const Color&, int,
                                   bool) {}
void MemoryImage::FillRectOpaque(uint32_t*, int, const Rect&, uint32_t) {}
void MemoryImage::FillRectBlend(uint32_t*, int, const Rect&, uint32_t) {}
void MemoryImage::BltNormal(MemoryImage*, int, int, const Rect&, const Color&) {}
void MemoryImage::BltAdditive(MemoryImage*, int, int, const Rect&, const Color&) {}
void MemoryImage::StretchBltFast(MemoryImage*, const Rect&, double, double, double, double,
                                 const Rect&) {}
void MemoryImage::StretchBltFiltered(MemoryImage*, const Rect&, double, double, double, double) {}
}  // namespace Zarvo
