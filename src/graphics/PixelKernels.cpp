#include "graphics/PixelKernels.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "graphics/PixelKernelTable.h"

namespace Zarvo::PixelKernels {

const BlendTable& GetBlendTable() {
    static const BlendTable table;
    return table;
}

// ---- the scalar kernels ----

namespace Reference {

void FillRowOpaque(uint32_t* p, int count, uint32_t packed) {
    for (int i = 0; i < count; ++i) p[i] = packed;
}

void FillRowBlend(uint32_t* p, int count, uint32_t packed, const uint16_t* blend) {
    const uint32_t src = packed & 0x00FFFFFF;
    for (int i = 0; i < count; ++i) {
        const uint32_t entry = blend[p[i] >> 24];
        const uint32_t oa = entry >> 8;
        if (oa == 0) continue;  // nothing over nothing stays untouched
        p[i] = Composite(src, p[i], entry & 0xFF, oa);
    }
}

void BlendRowOntoOpaque(uint32_t* d, const uint32_t* s, int count) {
    for (int i = 0; i < count; ++i) d[i] = BlendOntoOpaque(s[i], d[i], s[i] >> 24);
}

void CompositeRowOntoOpaque(uint32_t* d, const uint32_t* s, int count) {
    for (int i = 0; i < count; ++i) {
        const uint32_t a = s[i] >> 24;
        if (a == 255) {
            d[i] = s[i];
        } else if (a != 0) {
            d[i] = BlendOntoOpaque(s[i], d[i], a);
        }
    }
}

void CompositeRectOntoOpaque(uint32_t* d, int dPitch, const uint32_t* s, int sPitch, int width,
                             int height) {
    for (int j = 0; j < height; ++j) {
        CompositeRowOntoOpaque(d + size_t(j) * size_t(dPitch), s + size_t(j) * size_t(sPitch),
                               width);
    }
}

// One row of a source rectangle as 32-bit pixels; indexed rows are expanded into `buffer`.
const uint32_t* SourceRow(const SourceRect& s, int j, int width, std::vector<uint32_t>& buffer) {
    if (s.pixels) return s.pixels + size_t(j) * size_t(s.pitch);
    if (buffer.size() < size_t(width)) buffer.resize(size_t(width));
    ExpandIndices(buffer.data(), s.indices + size_t(j) * size_t(s.pitch), s.table, width);
    return buffer.data();
}

void CompositeRectOntoOpaque(uint32_t* d, int dPitch, const SourceRect& s, int width, int height) {
    std::vector<uint32_t> buffer;
    for (int j = 0; j < height; ++j) {
        CompositeRowOntoOpaque(d + size_t(j) * size_t(dPitch), SourceRow(s, j, width, buffer),
                               width);
    }
}

void CompositeBlendFormOntoOpaque(uint32_t* d, int dPitch, const BlendFormRect& s, int width,
                                  int height) {
    for (int j = 0; j < height; ++j) {
        uint32_t* row = d + size_t(j) * size_t(dPitch);
        const uint32_t* blueRed = s.blueRed + size_t(j) * size_t(s.pitch);
        const uint32_t* greenWeight = s.greenWeight + size_t(j) * size_t(s.pitch);
        for (int i = 0; i < width; ++i) {
            const uint32_t weight = greenWeight[i] >> 16;
            if (weight == 256) continue;  // transparent
            const uint32_t dst = row[i];
            const uint32_t b = ((dst & 0xFF) * weight + (blueRed[i] & 0xFFFF)) >> 8;
            const uint32_t g = (((dst >> 8) & 0xFF) * weight + (greenWeight[i] & 0xFFFF)) >> 8;
            const uint32_t r = (((dst >> 16) & 0xFF) * weight + (blueRed[i] >> 16)) >> 8;
            row[i] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
}

void DarkenThroughBlendForm(uint32_t* d, int dPitch, const BlendFormRect& s, int width, int height,
                            const uint16_t* blend) {
    for (int j = 0; j < height; ++j) {
        uint32_t* row = d + size_t(j) * size_t(dPitch);
        const uint32_t* greenWeight = s.greenWeight + size_t(j) * size_t(s.pitch);
        for (int i = 0; i < width; ++i) {
            const uint32_t weight = greenWeight[i] >> 16;
            if (weight == 256) continue;  // alpha 0
            // The effective alpha is the source alpha (the colour's alpha is 255).
            const uint32_t m = weight == 0 ? 255 : 256 - weight;
            const uint32_t entry = blend[m * 256 + (row[i] >> 24)];
            row[i] = Composite(0, row[i], entry & 0xFF, entry >> 8);
        }
    }
}

void TintRect(uint32_t* d, int dPitch, const SourceRect& s, int width, int height, const Color& c,
              const uint8_t* effAlpha, const uint32_t* tintR, const uint32_t* tintG,
              const uint32_t* tintB, const uint16_t* blend) {
    std::vector<uint32_t> buffer;
    for (int j = 0; j < height; ++j) {
        TintRow(d + size_t(j) * size_t(dPitch), SourceRow(s, j, width, buffer), width, c, effAlpha,
                tintR, tintG, tintB, blend);
    }
}

void CompositeRowOverColor(uint32_t* d, const uint32_t* s, int count, uint32_t under,
                           const uint16_t* blend) {
    for (int i = 0; i < count; ++i) {
        const uint32_t sp = s[i];
        const uint32_t sa = sp >> 24;
        if (sa == 0) {
            d[i] = under;
            continue;
        }
        const uint32_t entry = blend[sa * 256 + (under >> 24)];
        d[i] = Composite(sp, under, entry & 0xFF, entry >> 8);
    }
}

void GatherRow(uint32_t* out, const uint32_t* s, int srcCount, const int32_t* columns, int count) {
    (void)srcCount;
    for (int i = 0; i < count; ++i) out[i] = s[columns[i]];
}

void ExpandIndices(uint32_t* out, const uint8_t* indices, const uint32_t* table, int count) {
    for (int i = 0; i < count; ++i) out[i] = table[indices[i]];
}

void CompositeRow(uint32_t* d, const uint32_t* s, int count, const uint16_t* blend) {
    for (int i = 0; i < count; ++i) {
        const uint32_t sp = s[i];
        const uint32_t sa = sp >> 24;
        if (sa == 0) continue;
        const uint32_t dp = d[i];
        const uint32_t entry = blend[sa * 256 + (dp >> 24)];
        d[i] = Composite(sp, dp, entry & 0xFF, entry >> 8);
    }
}

void TintRow(uint32_t* d, const uint32_t* s, int count, const Color& c, const uint8_t* effAlpha,
             const uint32_t* tintR, const uint32_t* tintG, const uint32_t* tintB,
             const uint16_t* blend) {
    (void)c;
    for (int i = 0; i < count; ++i) {
        const uint32_t sp = s[i];
        const uint32_t m = effAlpha[sp >> 24];
        if (m == 0) continue;
        const uint32_t tinted =
            tintR[(sp >> 16) & 0xFF] | tintG[(sp >> 8) & 0xFF] | tintB[sp & 0xFF];
        const uint32_t entry = blend[m * 256 + (d[i] >> 24)];
        d[i] = Composite(tinted, d[i], entry & 0xFF, entry >> 8);
    }
}

void AddRow(uint32_t* d, const uint32_t* s, int count, int kR, int kG, int kB, bool srcAlpha,
            const uint32_t* addR, const uint32_t* addG, const uint32_t* addB, const uint8_t* sat) {
    (void)kR, (void)kG, (void)kB;
    for (int i = 0; i < count; ++i) {
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

// A slot's weights never add up to more than a full pixel (257), so 255 x 257 fits in 16 bits.
void AccumulateRowTaps(uint16_t* out, const uint32_t* s, int firstCol, const std::vector<Tap>& taps,
                       const std::vector<uint64_t>& weightLanes) {
    (void)weightLanes;
    for (const Tap& tap : taps) {
        uint16_t* sums = out + size_t(tap.slot) * 4;
        const uint32_t pixel = s[tap.src - firstCol];
        for (int c = 0; c < 4; ++c) {
            sums[c] = uint16_t(sums[c] + ((pixel >> (8 * c)) & 0xFF) * tap.weight);
        }
    }
}

void AccumulateColumnTap(uint32_t* acc, const uint16_t* in, int count, uint32_t weight) {
    for (int k = 0; k < 4 * count; ++k) acc[k] += uint32_t(in[k]) * weight;
}

// c x a / 256 + dst x (256 - a) / 256, alpha da + (255 - da) x a / 255. With a = 0 both
// formulas give the destination back unchanged.
void FinishFilteredRow(uint32_t* d, const uint32_t* acc, int count) {
    for (int i = 0; i < count; ++i) {
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

void AccumulateRowPairs(uint16_t* out, const uint32_t* s, int srcCount, const TapPairs& pairs) {
    (void)srcCount;
    for (size_t k = 0; k < pairs.Count(); ++k) {
        const uint32_t p0 = s[pairs.src0[k]], p1 = s[pairs.src1[k]];
        const uint32_t w0 = pairs.w0[k] & 0xFFFF, w1 = pairs.w1[k] & 0xFFFF;
        for (int c = 0; c < 4; ++c) {
            out[4 * k + c] =
                uint16_t(((p0 >> (8 * c)) & 0xFF) * w0 + ((p1 >> (8 * c)) & 0xFF) * w1);
        }
    }
}

void FinishFilteredRowPair(uint32_t* d, const uint16_t* in0, uint32_t w0, const uint16_t* in1,
                           uint32_t w1, int count) {
    for (int i = 0; i < count; ++i) {
        uint32_t sums[4];
        for (int c = 0; c < 4; ++c) sums[c] = in0[4 * i + c] * w0 + in1[4 * i + c] * w1;
        FinishFilteredRow(d + i, sums, 1);
    }
}

}  // namespace Reference

bool BuildTapPairs(const std::vector<Tap>& taps, int firstCol, int destLen, TapPairs* out) {
    const size_t n = size_t(std::max(destLen, 0));
    out->src0.assign(n, -1);
    out->src1.assign(n, -1);
    out->w0.assign(n, 0);
    out->w1.assign(n, 0);
    for (const Tap& tap : taps) {
        if (tap.slot < 1 || tap.slot > destLen) continue;  // slots no pass reads
        const size_t k = size_t(tap.slot - 1);
        const uint32_t w = tap.weight * 0x00010001u;
        if (out->src0[k] < 0) {
            out->src0[k] = tap.src - firstCol;
            out->w0[k] = w;
        } else if (out->src1[k] < 0) {
            out->src1[k] = tap.src - firstCol;
            out->w1[k] = w;
        } else {
            return false;
        }
    }
    out->ascending = true;
    int32_t last0 = 0, last1 = 0;
    for (size_t k = 0; k < n; ++k) {
        if (out->src0[k] < 0) out->src0[k] = last0;  // no tap: weight 0 on a pixel in range
        if (out->src1[k] < 0) out->src1[k] = out->src0[k];
        if (out->src0[k] < last0 || out->src1[k] < last1) out->ascending = false;
        last0 = out->src0[k];
        last1 = out->src1[k];
    }
    return true;
}

KernelTable ScalarKernels() {
    return KernelTable{Reference::FillRowOpaque,
                       Reference::FillRowBlend,
                       Reference::BlendRowOntoOpaque,
                       Reference::CompositeRowOntoOpaque,
                       Reference::CompositeRow,
                       Reference::TintRow,
                       Reference::AddRow,
                       Reference::AccumulateRowTaps,
                       Reference::AccumulateColumnTap,
                       Reference::FinishFilteredRow,
                       nullptr,
                       Reference::GatherRow,
                       Reference::ExpandIndices,
                       nullptr,
                       nullptr,
                       nullptr,
                       nullptr,
                       nullptr,
                       nullptr,
                       nullptr};
}

// ---- dispatch ----

namespace {

SimdLevel DetectSimdLevel() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512dq")) {
        return SimdLevel::Avx512;
    }
    if (__builtin_cpu_supports("avx2")) return SimdLevel::Avx2;
    return SimdLevel::Sse2;
#else
    return SimdLevel::Scalar;
#endif
}

struct Dispatch {
    SimdLevel supported = DetectSimdLevel();
    KernelTable tables[4];
    std::atomic<const KernelTable*> active{nullptr};
    std::atomic<SimdLevel> level{SimdLevel::Scalar};
    Dispatch() {
        tables[0] = ScalarKernels();
#if defined(__x86_64__)
        tables[1] = Sse2Kernels();
        tables[2] = supported >= SimdLevel::Avx2 ? Avx2Kernels() : tables[1];
        tables[3] = supported >= SimdLevel::Avx512 ? Avx512Kernels() : tables[2];
#else
        tables[1] = tables[2] = tables[3] = tables[0];
#endif
        level = supported;
        active = &tables[int(supported)];
    }
};

Dispatch& Kernels() {
    static Dispatch dispatch;
    return dispatch;
}

// The table in use, kept outside the dispatch object so that a kernel call costs one load.
std::atomic<const KernelTable*> gActive{nullptr};

const KernelTable& Active() {
    const KernelTable* table = gActive.load(std::memory_order_relaxed);
    if (table == nullptr) {
        table = Kernels().active.load();
        gActive.store(table, std::memory_order_relaxed);
    }
    return *table;
}

}  // namespace

SimdLevel SupportedSimdLevel() {
    return Kernels().supported;
}

SimdLevel GetSimdLevel() {
    return Kernels().level.load();
}

SimdLevel SetSimdLevel(SimdLevel level) {
    Dispatch& dispatch = Kernels();
    const SimdLevel used = std::min(level, dispatch.supported);
    dispatch.level = used;
    dispatch.active = &dispatch.tables[int(used)];
    gActive = dispatch.active.load();
    return used;
}

const char* SimdLevelName(SimdLevel level) {
    switch (level) {
        case SimdLevel::Scalar:
            return "scalar";
        case SimdLevel::Sse2:
            return "SSE2";
        case SimdLevel::Avx2:
            return "AVX2";
        case SimdLevel::Avx512:
            return "AVX-512";
    }
    return "?";
}

void FillRowOpaque(uint32_t* p, int count, uint32_t packed) {
    Active().fillRowOpaque(p, count, packed);
}
void FillRowBlend(uint32_t* p, int count, uint32_t packed, const uint16_t* blend) {
    Active().fillRowBlend(p, count, packed, blend);
}
void BlendRowOntoOpaque(uint32_t* d, const uint32_t* s, int count) {
    Active().blendRowOntoOpaque(d, s, count);
}
void CompositeRowOntoOpaque(uint32_t* d, const uint32_t* s, int count) {
    Active().compositeRowOntoOpaque(d, s, count);
}
void CompositeRectOntoOpaque(uint32_t* d, int dPitch, const uint32_t* s, int sPitch, int width,
                             int height) {
    const KernelTable& table = Active();
    if (table.compositeRectOntoOpaque != nullptr) {
        table.compositeRectOntoOpaque(d, dPitch, s, sPitch, width, height);
        return;
    }
    for (int j = 0; j < height; ++j) {
        table.compositeRowOntoOpaque(d + size_t(j) * size_t(dPitch), s + size_t(j) * size_t(sPitch),
                                     width);
    }
}
void CompositeRectOntoOpaque(uint32_t* d, int dPitch, const SourceRect& s, int width, int height) {
    if (s.pixels) {
        CompositeRectOntoOpaque(d, dPitch, s.pixels, s.pitch, width, height);
        return;
    }
    const KernelTable& table = Active();
    if (table.compositeRectOntoOpaqueIndexed != nullptr) {
        table.compositeRectOntoOpaqueIndexed(d, dPitch, s, width, height);
        return;
    }
    thread_local std::vector<uint32_t> row;
    if (row.size() < size_t(width)) row.resize(size_t(width));
    for (int j = 0; j < height; ++j) {
        table.expandIndices(row.data(), s.indices + size_t(j) * size_t(s.pitch), s.table, width);
        table.compositeRowOntoOpaque(d + size_t(j) * size_t(dPitch), row.data(), width);
    }
}
void MakeBlendForm(uint32_t* blueRed, uint32_t* greenWeight, const uint32_t* s, int count) {
    for (int i = 0; i < count; ++i) {
        const uint32_t p = s[i], a = p >> 24;
        const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (a == 255) {
            blueRed[i] = (b << 8) | (r << 24);
            greenWeight[i] = g << 8;
        } else if (a == 0) {
            blueRed[i] = 0;
            greenWeight[i] = 256u << 16;
        } else {
            blueRed[i] = ((b * a) & 0xFF00) | ((r * a) << 16);
            greenWeight[i] = (g * a) | ((256 - a) << 16);
        }
    }
}
bool HasBlendFormKernel() {
    return Active().compositeBlendFormOntoOpaque != nullptr;
}
void CompositeBlendFormOntoOpaque(uint32_t* d, int dPitch, const BlendFormRect& s, int width,
                                  int height) {
    const auto kernel = Active().compositeBlendFormOntoOpaque;
    (kernel ? kernel : Reference::CompositeBlendFormOntoOpaque)(d, dPitch, s, width, height);
}
bool HasDarkenKernel() {
    return Active().darkenThroughBlendForm != nullptr;
}
void DarkenThroughBlendForm(uint32_t* d, int dPitch, const BlendFormRect& s, int width, int height,
                            const uint16_t* blend) {
    const auto kernel = Active().darkenThroughBlendForm;
    (kernel ? kernel : Reference::DarkenThroughBlendForm)(d, dPitch, s, width, height, blend);
}
void TintRect(uint32_t* d, int dPitch, const SourceRect& s, int width, int height, const Color& c,
              const uint8_t* effAlpha, const uint32_t* tintR, const uint32_t* tintG,
              const uint32_t* tintB, const uint16_t* blend) {
    const KernelTable& table = Active();
    if (table.tintRect != nullptr) {
        table.tintRect(d, dPitch, s, width, height, c, effAlpha, tintR, tintG, tintB, blend);
        return;
    }
    thread_local std::vector<uint32_t> row;
    if (!s.pixels && row.size() < size_t(width)) row.resize(size_t(width));
    for (int j = 0; j < height; ++j) {
        const uint32_t* source = row.data();
        if (s.pixels) {
            source = s.pixels + size_t(j) * size_t(s.pitch);
        } else {
            table.expandIndices(row.data(), s.indices + size_t(j) * size_t(s.pitch), s.table,
                                width);
        }
        table.tintRow(d + size_t(j) * size_t(dPitch), source, width, c, effAlpha, tintR, tintG,
                      tintB, blend);
    }
}
void CompositeRowOverColor(uint32_t* d, const uint32_t* s, int count, uint32_t under,
                           const uint16_t* blend) {
    const KernelTable& table = Active();
    if (table.compositeRowOverColor != nullptr) {
        table.compositeRowOverColor(d, s, count, under, blend);
        return;
    }
    table.fillRowOpaque(d, count, under);
    table.compositeRow(d, s, count, blend);
}
void GatherRow(uint32_t* out, const uint32_t* s, int srcCount, const int32_t* columns, int count) {
    Active().gatherRow(out, s, srcCount, columns, count);
}
void ExpandIndices(uint32_t* out, const uint8_t* indices, const uint32_t* table, int count) {
    Active().expandIndices(out, indices, table, count);
}
void CompositeRow(uint32_t* d, const uint32_t* s, int count, const uint16_t* blend) {
    Active().compositeRow(d, s, count, blend);
}
void TintRow(uint32_t* d, const uint32_t* s, int count, const Color& c, const uint8_t* effAlpha,
             const uint32_t* tintR, const uint32_t* tintG, const uint32_t* tintB,
             const uint16_t* blend) {
    Active().tintRow(d, s, count, c, effAlpha, tintR, tintG, tintB, blend);
}
void AddRow(uint32_t* d, const uint32_t* s, int count, int kR, int kG, int kB, bool srcAlpha,
            const uint32_t* addR, const uint32_t* addG, const uint32_t* addB, const uint8_t* sat) {
    Active().addRow(d, s, count, kR, kG, kB, srcAlpha, addR, addG, addB, sat);
}
void AccumulateRowTaps(uint16_t* out, const uint32_t* s, int firstCol, const std::vector<Tap>& taps,
                       const std::vector<uint64_t>& weightLanes) {
    Active().accumulateRowTaps(out, s, firstCol, taps, weightLanes);
}
void AccumulateColumnTap(uint32_t* acc, const uint16_t* in, int count, uint32_t weight) {
    Active().accumulateColumnTap(acc, in, count, weight);
}
void FinishFilteredRow(uint32_t* d, const uint32_t* acc, int count) {
    Active().finishFilteredRow(d, acc, count);
}
bool HasVectorTapPairs() {
    return Active().accumulateRowPairs != nullptr;
}
void AccumulateRowPairs(uint16_t* out, const uint32_t* s, int srcCount, const TapPairs& pairs) {
    const auto kernel = Active().accumulateRowPairs;
    (kernel ? kernel : Reference::AccumulateRowPairs)(out, s, srcCount, pairs);
}
void FinishFilteredRowPair(uint32_t* d, const uint16_t* in0, uint32_t w0, const uint16_t* in1,
                           uint32_t w1, int count) {
    const auto kernel = Active().finishFilteredRowPair;
    (kernel ? kernel : Reference::FinishFilteredRowPair)(d, in0, w0, in1, w1, count);
}

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

// Weights of the taps spread to four 16-bit lanes each, for AccumulateRowTaps.
std::vector<uint64_t> SpreadTapWeights(const std::vector<Tap>& taps) {
    std::vector<uint64_t> weightLanes(taps.size());
    for (size_t t = 0; t < taps.size(); ++t) {
        weightLanes[t] = uint64_t(taps[t].weight) * 0x0001000100010001ull;
    }
    return weightLanes;
}

}  // namespace Zarvo::PixelKernels
