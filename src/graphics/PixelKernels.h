// The blend table and the row kernels of the software blitter. All arithmetic works on packed
// 0xAARRGGBB values; red and blue travel together as one 0x00RR00BB product where the formulas
// allow it.
//
// Every kernel exists as a plain scalar version (namespace Reference: the formulas as they
// stand, and the only version on processors other than x86-64) and in vector versions for SSE2,
// AVX2 and AVX-512 (PixelKernelsSse2.cpp, PixelKernelsAvx2.cpp, PixelKernelsAvx512.cpp, compiled
// for their instruction sets by function attributes), chosen once by what the processor
// reports, so that the build needs no special flags and runs on any x86-64. The vector versions
// work in 16-bit lanes (every intermediate product and sum stays below 65536) and give exactly
// the reference's result for every input; groups of pixels their fast case does not cover go
// through the reference formula.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/Color.h"

namespace Zarvo::PixelKernels {

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

const BlendTable& GetBlendTable();

// The instruction sets the kernels come in, in increasing order.
enum class SimdLevel { Scalar = 0, Sse2 = 1, Avx2 = 2, Avx512 = 3 };

// The best level this processor supports (Scalar on processors other than x86).
SimdLevel SupportedSimdLevel();
// The level the kernels currently run at; starts at the supported level.
SimdLevel GetSimdLevel();
// Makes the kernels run at `level`, or at the supported level if that is lower; returns the
// level now in use. For tests and measurements: not to be called while another thread draws.
SimdLevel SetSimdLevel(SimdLevel level);
const char* SimdLevelName(SimdLevel level);

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

// The row kernels. The dispatched versions below run at the current level; the reference
// versions in namespace Reference have the same contracts.

// Opaque fill of one row.
void FillRowOpaque(uint32_t* p, int count, uint32_t packed);
// Translucent fill (sa < 255) of one row; `blend` is the blend table's row of the fill's alpha.
void FillRowBlend(uint32_t* p, int count, uint32_t packed, const uint16_t* blend);
// Source pixels blended onto opaque destination pixels by the source alpha a (meant for
// 0 < a < 255): red and green as one sum / 256, blue as two truncated terms, alpha 255.
void BlendRowOntoOpaque(uint32_t* d, const uint32_t* s, int count);
// Any source pixels onto opaque destination pixels: alpha 255 copies, alpha 0 leaves the
// destination pixel untouched, anything between blends as BlendRowOntoOpaque.
void CompositeRowOntoOpaque(uint32_t* d, const uint32_t* s, int count);
// CompositeRowOntoOpaque on each of `height` rows of `width` pixels (pitches in pixels): one
// call for a narrow blit such as a glyph.
void CompositeRectOntoOpaque(uint32_t* d, int dPitch, const uint32_t* s, int sPitch, int width,
                             int height);
// A rectangle of source pixels: 32-bit pixels, or palette indices looked up in a 256-entry table;
// `pitch` counts pixels (or indices) between the starts of two rows.
struct SourceRect {
    const uint32_t* pixels = nullptr;
    const uint8_t* indices = nullptr;
    const uint32_t* table = nullptr;
    int pitch = 0;
};
// CompositeRowOntoOpaque on each row of a source rectangle of either form.
void CompositeRectOntoOpaque(uint32_t* d, int dPitch, const SourceRect& s, int width, int height);
// The blend form of source pixels, for compositing them onto opaque pixels with one product per
// destination channel: the source's share of each channel is worked out once, when the form is
// made. Per pixel of alpha a, two words:
// - blue-red: blue x a with its low byte cleared (blue's two terms are truncated apart) in the
//   low half, red x a in the high half;
// - green-weight: green x a in the low half, the destination's weight 256 - a in the high half.
// An opaque pixel is its channels x 256 with weight 0, a transparent one zeros with weight 256.
// Each out channel is then (dst x weight + share) / 256 with alpha 255, transparent pixels
// leaving the destination untouched: the result of CompositeRowOntoOpaque to the bit.
struct BlendFormRect {
    const uint32_t* blueRed = nullptr;
    const uint32_t* greenWeight = nullptr;
    int pitch = 0;  // words between the starts of two rows, in both planes
};
// The blend form of `count` source pixels.
void MakeBlendForm(uint32_t* blueRed, uint32_t* greenWeight, const uint32_t* s, int count);
// Whether the current level composites from the blend form (otherwise drawing from the pixels is
// the faster way, and the form need not be made).
bool HasBlendFormKernel();
// A rectangle in blend form composited onto opaque destination pixels (pitch in pixels).
void CompositeBlendFormOntoOpaque(uint32_t* d, int dPitch, const BlendFormRect& s, int width,
                                  int height);
// What TintRect draws in black at full strength (the colour 0, 0, 0, 255) from the pixels of a
// rectangle in blend form: black leaves only the destination's term, each channel dst x (256 -
// a) / 256 with a the source alpha (0 for an opaque pixel, as with the form's weight 0), and
// pixels of alpha 0 leave the destination alone. Destination pixels that are not opaque take
// the general formula through `blend`, as TintRow does. Only where the current level has a
// kernel for it (otherwise TintRect is the faster way).
bool HasDarkenKernel();
void DarkenThroughBlendForm(uint32_t* d, int dPitch, const BlendFormRect& s, int width, int height,
                            const uint16_t* blend);
// TintRow on each row of a source rectangle of either form.
void TintRect(uint32_t* d, int dPitch, const SourceRect& s, int width, int height, const Color& c,
              const uint8_t* effAlpha, const uint32_t* tintR, const uint32_t* tintG,
              const uint32_t* tintB, const uint16_t* blend);
// CompositeRow onto a row whose every pixel is `under`, without reading it: the result of filling
// the row with `under` and then compositing.
void CompositeRowOverColor(uint32_t* d, const uint32_t* s, int count, uint32_t under,
                           const uint16_t* blend);
// out[i] = s[columns[i]] for the nearest-pixel stretch; the columns never decrease and lie in
// [0, srcCount).
void GatherRow(uint32_t* out, const uint32_t* s, int srcCount, const int32_t* columns, int count);
// A palettized row in 32-bit pixels: out[i] = table[indices[i]] (the table has 256 entries).
void ExpandIndices(uint32_t* out, const uint8_t* indices, const uint32_t* table, int count);
// Untinted source pixels composited onto any destination: alpha 0 skipped, every other pixel
// by the blend table (out alpha, weight) as the translucent fill.
void CompositeRow(uint32_t* d, const uint32_t* s, int count, const uint16_t* blend);
// Tinted source pixels composited onto a row: `effAlpha` maps a source alpha to the alpha it
// draws with, the tint tables map each source channel to its tinted place in the pixel.
void TintRow(uint32_t* d, const uint32_t* s, int count, const Color& c, const uint8_t* effAlpha,
             const uint32_t* tintR, const uint32_t* tintG, const uint32_t* tintB,
             const uint16_t* blend);
// Additive row: each colour channel gains its contribution, saturating; alpha is kept.
// k = 256 means untinted; with `srcAlpha` the contribution is scaled by the pixel's alpha.
void AddRow(uint32_t* d, const uint32_t* s, int count, int kR, int kG, int kB, bool srcAlpha,
            const uint32_t* addR, const uint32_t* addG, const uint32_t* addB, const uint8_t* sat);

// The filtered stretch: taps along each axis, a pass along the rows into 16-bit sums, a pass
// along the columns into 32-bit sums, and the blend of those sums onto the destination.
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
std::vector<Tap> BuildTaps(double start, double length, int first, int last, int destLen, int full);
// The taps' weights in the form AccumulateRowTaps takes them.
std::vector<uint64_t> SpreadTapWeights(const std::vector<Tap>& taps);
// Adds the taps of one source row `s` (its first pixel is column `firstCol`) into four 16-bit
// sums per slot (blue, green, red, alpha). The taps come in slot order.
void AccumulateRowTaps(uint16_t* out, const uint32_t* s, int firstCol, const std::vector<Tap>& taps,
                       const std::vector<uint64_t>& weightLanes);
// acc[k] += weight x in[k] for `count` slots of four channels (32-bit sums of 16-bit values).
void AccumulateColumnTap(uint32_t* acc, const uint16_t* in, int count, uint32_t weight);
// Turns accumulated sums (blue, green, red, alpha; a full pixel weighs 65536) into pixels
// blended over `d`.
void FinishFilteredRow(uint32_t* d, const uint32_t* acc, int count);

// The common case of the filtered stretch: every destination column (and row) gathers at most
// two taps, as when enlarging. Column k of the destination (slot k + 1) takes source pixels
// src0[k] and src1[k] (relative to the row's first column) with weights w0[k] and w1[k]; a
// missing tap has weight 0. Each weight is held twice, in both 16-bit halves.
struct TapPairs {
    std::vector<int32_t> src0, src1;
    std::vector<uint32_t> w0, w1;
    bool ascending = true;  // src0 and src1 never decrease along the row
    size_t Count() const { return src0.size(); }
};

// The taps of one axis as pairs for destination slots 1 to destLen; false when some slot
// gathers more than two taps.
bool BuildTapPairs(const std::vector<Tap>& taps, int firstCol, int destLen, TapPairs* out);
// Whether the pair kernels below run vectorised at the current level (otherwise the general
// kernels above are the faster way).
bool HasVectorTapPairs();
// Pass 1 by pairs: out[4k + c] = channel c of the two taps of column k, the 16-bit sums of
// AccumulateRowTaps onto zero sums. `s` is the row from its first column on, `srcCount` pixels
// long.
void AccumulateRowPairs(uint16_t* out, const uint32_t* s, int srcCount, const TapPairs& pairs);
// Pass 2 and the finish by pairs: the sums in0 x w0 + in1 x w1 turned into pixels over `d`
// exactly as AccumulateColumnTap twice onto zero sums and FinishFilteredRow.
void FinishFilteredRowPair(uint32_t* d, const uint16_t* in0, uint32_t w0, const uint16_t* in1,
                           uint32_t w1, int count);

// The scalar kernels: the formulas as they stand.
namespace Reference {
void FillRowOpaque(uint32_t* p, int count, uint32_t packed);
void FillRowBlend(uint32_t* p, int count, uint32_t packed, const uint16_t* blend);
void BlendRowOntoOpaque(uint32_t* d, const uint32_t* s, int count);
void CompositeRowOntoOpaque(uint32_t* d, const uint32_t* s, int count);
void CompositeRectOntoOpaque(uint32_t* d, int dPitch, const uint32_t* s, int sPitch, int width,
                             int height);
void CompositeRectOntoOpaque(uint32_t* d, int dPitch, const SourceRect& s, int width, int height);
void CompositeBlendFormOntoOpaque(uint32_t* d, int dPitch, const BlendFormRect& s, int width,
                                  int height);
void DarkenThroughBlendForm(uint32_t* d, int dPitch, const BlendFormRect& s, int width, int height,
                            const uint16_t* blend);
void TintRect(uint32_t* d, int dPitch, const SourceRect& s, int width, int height, const Color& c,
              const uint8_t* effAlpha, const uint32_t* tintR, const uint32_t* tintG,
              const uint32_t* tintB, const uint16_t* blend);
void CompositeRowOverColor(uint32_t* d, const uint32_t* s, int count, uint32_t under,
                           const uint16_t* blend);
void GatherRow(uint32_t* out, const uint32_t* s, int srcCount, const int32_t* columns, int count);
// A palettized row in 32-bit pixels: out[i] = table[indices[i]] (the table has 256 entries).
void ExpandIndices(uint32_t* out, const uint8_t* indices, const uint32_t* table, int count);
void CompositeRow(uint32_t* d, const uint32_t* s, int count, const uint16_t* blend);
void TintRow(uint32_t* d, const uint32_t* s, int count, const Color& c, const uint8_t* effAlpha,
             const uint32_t* tintR, const uint32_t* tintG, const uint32_t* tintB,
             const uint16_t* blend);
void AddRow(uint32_t* d, const uint32_t* s, int count, int kR, int kG, int kB, bool srcAlpha,
            const uint32_t* addR, const uint32_t* addG, const uint32_t* addB, const uint8_t* sat);
void AccumulateRowTaps(uint16_t* out, const uint32_t* s, int firstCol, const std::vector<Tap>& taps,
                       const std::vector<uint64_t>& weightLanes);
void AccumulateColumnTap(uint32_t* acc, const uint16_t* in, int count, uint32_t weight);
void FinishFilteredRow(uint32_t* d, const uint32_t* acc, int count);
void AccumulateRowPairs(uint16_t* out, const uint32_t* s, int srcCount, const TapPairs& pairs);
void FinishFilteredRowPair(uint32_t* d, const uint16_t* in0, uint32_t w0, const uint16_t* in1,
                           uint32_t w1, int count);
}  // namespace Reference

}  // namespace Zarvo::PixelKernels
