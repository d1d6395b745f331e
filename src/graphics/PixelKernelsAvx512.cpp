// The AVX-512 row kernels: sixteen pixels at a time, the red-blue and green-alpha bytes of each
// pixel in separate 16-bit lanes; the end of a row by masked loads and stores. Compiled for
// AVX-512 by function attributes and used only when the processor reports AVX-512 F, BW, VL
// and DQ.
#if defined(__x86_64__)

#include <immintrin.h>

#include <algorithm>
#include <cstdint>

// GCC 12 takes the deliberately undefined pass-through operand of some AVX-512 intrinsics for an
// uninitialised variable.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

#include "graphics/PixelKernelTable.h"

#define KELVANE_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl,avx512dq,bmi2")))

namespace Zarvo::PixelKernels {

namespace Avx512 {
namespace {

KELVANE_AVX512 inline __mmask16 TailMask(int n) {
    return n >= 16 ? __mmask16(0xFFFF) : n <= 0 ? __mmask16(0) : __mmask16((1u << n) - 1);
}

KELVANE_AVX512 inline __m512i LoadMasked(const uint32_t* p, __mmask16 m) {
    return _mm512_maskz_loadu_epi32(m, p);
}

// Each pixel's alpha in both of its 16-bit lanes (pshufb picks byte 4k + 3 of pixel k).
KELVANE_AVX512 inline __m512i SpreadAlpha(__m512i s) {
    const __m512i index =
        _mm512_set4_epi32(int(0x800F800Fu), int(0x800B800Bu), int(0x80078007u), int(0x80038003u));
    return _mm512_shuffle_epi8(s, index);
}

KELVANE_AVX512 inline __m512i EvenBytes(__m512i v) {
    return _mm512_and_si512(v, _mm512_set1_epi32(0x00FF00FF));
}
KELVANE_AVX512 inline __m512i OddBytes(__m512i v) {
    return _mm512_srli_epi16(v, 8);
}

// Puts the high bytes of the blue-red sums and the green sum together, alpha 255.
KELVANE_AVX512 inline __m512i Join(__m512i evenSums, __m512i oddSums) {
    const __m512i rb = _mm512_srli_epi16(evenSums, 8);
    // rb | (odd & 0x0000FF00) | 0xFF000000
    const __m512i joined =
        _mm512_ternarylogic_epi32(rb, oddSums, _mm512_set1_epi32(0x0000FF00), 0xF8);
    return _mm512_or_si512(joined, _mm512_set1_epi32(int(0xFF000000u)));
}

// Blend onto opaque: red and green (dst x (256 - a) + src x a) / 256, blue with the source
// term's fraction dropped before the sum (which is the two terms truncated apart), alpha 255.
KELVANE_AVX512 inline __m512i BlendOpaque16(__m512i s, __m512i d) {
    const __m512i a = SpreadAlpha(s);
    const __m512i ia = _mm512_sub_epi16(_mm512_set1_epi16(256), a);
    const __m512i blueFraction = _mm512_set1_epi32(int(0xFFFFFF00u));
    const __m512i even =
        _mm512_add_epi16(_mm512_mullo_epi16(EvenBytes(d), ia),
                         _mm512_and_si512(_mm512_mullo_epi16(EvenBytes(s), a), blueFraction));
    const __m512i odd =
        _mm512_add_epi16(_mm512_mullo_epi16(OddBytes(d), ia), _mm512_mullo_epi16(OddBytes(s), a));
    return Join(even, odd);
}

// The composite onto opaque pixels (oa = 255, w = m): every channel (src x m + dst x (256 - m))
// / 256, alpha 255. `m` holds the weight in both lanes of each pixel.
KELVANE_AVX512 inline __m512i CompositeOpaque16(__m512i s, __m512i d, __m512i m) {
    const __m512i im = _mm512_sub_epi16(_mm512_set1_epi16(256), m);
    const __m512i even =
        _mm512_add_epi16(_mm512_mullo_epi16(EvenBytes(d), im), _mm512_mullo_epi16(EvenBytes(s), m));
    const __m512i odd =
        _mm512_add_epi16(_mm512_mullo_epi16(OddBytes(d), im), _mm512_mullo_epi16(OddBytes(s), m));
    return Join(even, odd);
}

// CompositeOpaque16 on a source already split into its blue-red and green-alpha lanes.
KELVANE_AVX512 inline __m512i CompositeOpaqueSplit16(__m512i sEven, __m512i sOdd, __m512i d,
                                                     __m512i m) {
    const __m512i im = _mm512_sub_epi16(_mm512_set1_epi16(256), m);
    const __m512i even =
        _mm512_add_epi16(_mm512_mullo_epi16(EvenBytes(d), im), _mm512_mullo_epi16(sEven, m));
    const __m512i odd =
        _mm512_add_epi16(_mm512_mullo_epi16(OddBytes(d), im), _mm512_mullo_epi16(sOdd, m));
    return Join(even, odd);
}

KELVANE_AVX512 inline __mmask16 OpaqueLanes(__m512i v) {
    return _mm512_cmpge_epu32_mask(v, _mm512_set1_epi32(int(0xFF000000u)));
}

KELVANE_AVX512 void FillRowOpaque(uint32_t* p, int count, uint32_t packed) {
    const __m512i v = _mm512_set1_epi32(int(packed));
    int i = 0;
    for (; i + 64 <= count; i += 64) {
        _mm512_storeu_si512(p + i, v);
        _mm512_storeu_si512(p + i + 16, v);
        _mm512_storeu_si512(p + i + 32, v);
        _mm512_storeu_si512(p + i + 48, v);
    }
    for (; i < count; i += 16) _mm512_mask_storeu_epi32(p + i, TailMask(count - i), v);
}

KELVANE_AVX512 void FillRowBlend(uint32_t* p, int count, uint32_t packed, const uint16_t* blend) {
    const uint32_t sa = packed >> 24;
    const __m512i src = _mm512_set1_epi32(int(packed & 0x00FFFFFF));
    const __m512i w = _mm512_set1_epi16(short(sa));
    const __m512i iw = _mm512_set1_epi16(short(256 - sa));
    const __m512i srcEven = _mm512_mullo_epi16(EvenBytes(src), w);
    const __m512i srcOdd = _mm512_mullo_epi16(OddBytes(src), w);
    // Over opaque pixels oa = 255 and w = sa; groups with other pixels take the reference.
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m512i d = _mm512_loadu_si512(p + i);
        if (OpaqueLanes(d) != 0xFFFF) {
            Reference::FillRowBlend(p + i, 16, packed, blend);
            continue;
        }
        const __m512i even = _mm512_add_epi16(_mm512_mullo_epi16(EvenBytes(d), iw), srcEven);
        const __m512i odd = _mm512_add_epi16(_mm512_mullo_epi16(OddBytes(d), iw), srcOdd);
        _mm512_storeu_si512(p + i, Join(even, odd));
    }
    Reference::FillRowBlend(p + i, count - i, packed, blend);
}

KELVANE_AVX512 void BlendRowOntoOpaque(uint32_t* d, const uint32_t* s, int count) {
    int i = 0;
    if (count > 16 && count % 16 != 0) {
        // The last sixteen pixels are blended first, from the untouched destination, and
        // stored last over the end of the row: every pixel's result depends on its own two
        // pixels only, so the overlap gets the same values twice and no masked store is needed
        // (those are slow on some processors).
        const __m512i last =
            BlendOpaque16(_mm512_loadu_si512(s + count - 16), _mm512_loadu_si512(d + count - 16));
        for (; i + 32 <= count; i += 32) {
            const __m512i s0 = _mm512_loadu_si512(s + i), s1 = _mm512_loadu_si512(s + i + 16);
            const __m512i d0 = _mm512_loadu_si512(d + i), d1 = _mm512_loadu_si512(d + i + 16);
            _mm512_storeu_si512(d + i, BlendOpaque16(s0, d0));
            _mm512_storeu_si512(d + i + 16, BlendOpaque16(s1, d1));
        }
        for (; i + 16 <= count; i += 16) {
            _mm512_storeu_si512(
                d + i, BlendOpaque16(_mm512_loadu_si512(s + i), _mm512_loadu_si512(d + i)));
        }
        _mm512_storeu_si512(d + count - 16, last);
        return;
    }
    for (; i + 32 <= count; i += 32) {
        const __m512i s0 = _mm512_loadu_si512(s + i), s1 = _mm512_loadu_si512(s + i + 16);
        const __m512i d0 = _mm512_loadu_si512(d + i), d1 = _mm512_loadu_si512(d + i + 16);
        _mm512_storeu_si512(d + i, BlendOpaque16(s0, d0));
        _mm512_storeu_si512(d + i + 16, BlendOpaque16(s1, d1));
    }
    for (; i + 16 <= count; i += 16) {
        _mm512_storeu_si512(d + i,
                            BlendOpaque16(_mm512_loadu_si512(s + i), _mm512_loadu_si512(d + i)));
    }
    if (i < count) {
        const __mmask16 m = TailMask(count - i);
        _mm512_mask_storeu_epi32(d + i, m,
                                 BlendOpaque16(LoadMasked(s + i, m), LoadMasked(d + i, m)));
    }
}

// Whole groups of sixteen: transparent groups leave the destination alone, opaque groups need
// not read it.
KELVANE_AVX512 inline __attribute__((always_inline)) void CompositeOntoOpaqueGroups(
    uint32_t* d, const uint32_t* s, int count) {
    const __m512i one = _mm512_set1_epi32(0x01000000);
    for (int i = 0; i < count; i += 16) {
        const __m512i sv = _mm512_loadu_si512(s + i);
        const __mmask16 visible = _mm512_cmpge_epu32_mask(sv, one);
        if (visible == 0) continue;
        const __mmask16 opaque = OpaqueLanes(sv);
        if (opaque == 0xFFFF) {
            _mm512_storeu_si512(d + i, sv);
            continue;
        }
        const __m512i dv = _mm512_loadu_si512(d + i);
        const __m512i out = _mm512_mask_mov_epi32(BlendOpaque16(sv, dv), opaque, sv);
        _mm512_storeu_si512(d + i, _mm512_mask_mov_epi32(dv, visible, out));
    }
}

KELVANE_AVX512 inline __attribute__((always_inline)) void CompositeRowOntoOpaqueBody(
    uint32_t* d, const uint32_t* s, int count) {
    const __m512i one = _mm512_set1_epi32(0x01000000);
    const int whole = count & ~15;
    if (count > 16 && whole != count) {
        // The end of the row as in BlendRowOntoOpaque: computed first from the untouched
        // destination, stored last over the overlap.
        const __m512i sv = _mm512_loadu_si512(s + count - 16);
        const __m512i dv = _mm512_loadu_si512(d + count - 16);
        __m512i last = _mm512_mask_mov_epi32(BlendOpaque16(sv, dv), OpaqueLanes(sv), sv);
        last = _mm512_mask_mov_epi32(dv, _mm512_cmpge_epu32_mask(sv, one), last);
        CompositeOntoOpaqueGroups(d, s, whole);
        _mm512_storeu_si512(d + count - 16, last);
        return;
    }
    CompositeOntoOpaqueGroups(d, s, whole);
    if (whole < count) {
        const __mmask16 m = TailMask(count - whole);
        const __m512i sv = LoadMasked(s + whole, m);
        const __m512i out =
            _mm512_mask_mov_epi32(BlendOpaque16(sv, LoadMasked(d + whole, m)), OpaqueLanes(sv), sv);
        _mm512_mask_storeu_epi32(d + whole, _mm512_cmpge_epu32_mask(sv, one) & m, out);
    }
}

KELVANE_AVX512 void CompositeRowOntoOpaque(uint32_t* d, const uint32_t* s, int count) {
    CompositeRowOntoOpaqueBody(d, s, count);
}

KELVANE_AVX512 void CompositeRectOntoOpaque(uint32_t* d, int dPitch, const uint32_t* s, int sPitch,
                                            int width, int height) {
    if (width <= 16) {
        // One masked group per row, the constants set up once.
        const __mmask16 m = TailMask(width);
        const __m512i one = _mm512_set1_epi32(0x01000000);
        const __m512i opaqueAlpha = _mm512_set1_epi32(int(0xFF000000u));
        const __m512i alphaIndex = _mm512_set4_epi32(int(0x800F800Fu), int(0x800B800Bu),
                                                     int(0x80078007u), int(0x80038003u));
        const __m512i full = _mm512_set1_epi16(256);
        const __m512i lowBytes = _mm512_set1_epi32(0x00FF00FF);
        const __m512i blueFraction = _mm512_set1_epi32(int(0xFFFFFF00u));
        const __m512i green = _mm512_set1_epi32(0x0000FF00);
        for (int j = 0; j < height; ++j, d += dPitch, s += sPitch) {
            const __m512i sv = LoadMasked(s, m);
            const __mmask16 visible = _mm512_cmpge_epu32_mask(sv, one) & m;
            if (visible == 0) continue;
            const __m512i dv = LoadMasked(d, m);
            const __m512i a = _mm512_shuffle_epi8(sv, alphaIndex);
            const __m512i ia = _mm512_sub_epi16(full, a);
            const __m512i even = _mm512_add_epi16(
                _mm512_mullo_epi16(_mm512_and_si512(dv, lowBytes), ia),
                _mm512_and_si512(_mm512_mullo_epi16(_mm512_and_si512(sv, lowBytes), a),
                                 blueFraction));
            const __m512i odd = _mm512_add_epi16(_mm512_mullo_epi16(_mm512_srli_epi16(dv, 8), ia),
                                                 _mm512_mullo_epi16(_mm512_srli_epi16(sv, 8), a));
            const __m512i joined = _mm512_or_si512(
                _mm512_ternarylogic_epi32(_mm512_srli_epi16(even, 8), odd, green, 0xF8),
                opaqueAlpha);
            const __m512i out =
                _mm512_mask_mov_epi32(joined, _mm512_cmpge_epu32_mask(sv, opaqueAlpha), sv);
            _mm512_mask_storeu_epi32(d, visible, out);
        }
        return;
    }
    for (int j = 0; j < height; ++j) {
        CompositeRowOntoOpaqueBody(d + size_t(j) * size_t(dPitch), s + size_t(j) * size_t(sPitch),
                                   width);
    }
}

// Sixteen palettized pixels (those of mask m; the others 0) looked up in their table.
KELVANE_AVX512 inline __m512i GatherIndexed(const uint8_t* indices, const uint32_t* table,
                                            __mmask16 m) {
    const __m512i lanes = _mm512_cvtepu8_epi32(_mm_maskz_loadu_epi8(m, indices));
    return _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), m, lanes, table, 4);
}

KELVANE_AVX512 void CompositeRectOntoOpaqueIndexed(uint32_t* d, int dPitch, const SourceRect& s,
                                                   int width, int height) {
    const __m512i one = _mm512_set1_epi32(0x01000000);
    for (int j = 0; j < height; ++j, d += dPitch) {
        const uint8_t* indices = s.indices + size_t(j) * size_t(s.pitch);
        for (int i = 0; i < width; i += 16) {
            const __mmask16 m = TailMask(width - i);
            const __m512i sv = GatherIndexed(indices + i, s.table, m);
            // Lanes past the row were gathered as 0: never visible.
            const __mmask16 visible = _mm512_cmpge_epu32_mask(sv, one);
            if (visible == 0) continue;
            const __mmask16 opaque = OpaqueLanes(sv);
            if (opaque == visible) {
                _mm512_mask_storeu_epi32(d + i, visible, sv);
                continue;
            }
            const __m512i dv = LoadMasked(d + i, visible);
            _mm512_mask_storeu_epi32(d + i, visible,
                                     _mm512_mask_mov_epi32(BlendOpaque16(sv, dv), opaque, sv));
        }
    }
}

// Sixteen pixels in blend form composited onto opaque ones: each channel (dst x weight + share)
// / 256, alpha 255 (transparent lanes are the caller's to mask off).
KELVANE_AVX512 inline __m512i BlendForm16(__m512i blueRed, __m512i greenWeight, __m512i d) {
    // The weight, the high half of the green-weight word, into both halves.
    const __m512i weightIndex = _mm512_set4_epi32(0x0F0E0F0E, 0x0B0A0B0A, 0x07060706, 0x03020302);
    const __m512i weight = _mm512_shuffle_epi8(greenWeight, weightIndex);
    const __m512i even = _mm512_add_epi16(_mm512_mullo_epi16(EvenBytes(d), weight), blueRed);
    const __m512i odd = _mm512_add_epi16(_mm512_mullo_epi16(OddBytes(d), weight), greenWeight);
    return Join(even, odd);
}

constexpr int kNarrowBlendForm = 48;
// Rows at least this wide start with the pixels up to a cache line of the destination.
constexpr int kAlignedRow = 96;

// Join on eight pixels.
KELVANE_AVX512 inline __m256i Join8(__m256i evenSums, __m256i oddSums) {
    const __m256i joined = _mm256_ternarylogic_epi32(_mm256_srli_epi16(evenSums, 8), oddSums,
                                                     _mm256_set1_epi32(0x0000FF00), 0xF8);
    return _mm256_or_si256(joined, _mm256_set1_epi32(int(0xFF000000u)));
}

// BlendForm16 on eight pixels.
KELVANE_AVX512 inline __m256i BlendForm8(__m256i blueRed, __m256i greenWeight, __m256i d) {
    const __m256i weightIndex = _mm256_setr_epi32(0x03020302, 0x07060706, 0x0B0A0B0A, 0x0F0E0F0E,
                                                  0x03020302, 0x07060706, 0x0B0A0B0A, 0x0F0E0F0E);
    const __m256i weight = _mm256_shuffle_epi8(greenWeight, weightIndex);
    const __m256i even = _mm256_add_epi16(
        _mm256_mullo_epi16(_mm256_and_si256(d, _mm256_set1_epi32(0x00FF00FF)), weight), blueRed);
    const __m256i odd =
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(d, 8), weight), greenWeight);
    return Join8(even, odd);
}

// Whole groups of sixteen in blend form: transparent groups (weight 256) leave the destination
// alone, opaque groups (weight 0) need not read it.
KELVANE_AVX512 inline __attribute__((always_inline)) void BlendFormGroups(
    uint32_t* d, const uint32_t* blueRed, const uint32_t* greenWeight, int count) {
    const __m512i transparent = _mm512_set1_epi32(0x01000000);
    const __m512i opaque = _mm512_set1_epi32(0x00010000);
    for (int i = 0; i < count; i += 16) {
        const __m512i gw = _mm512_loadu_si512(greenWeight + i);
        const __mmask16 visible = _mm512_cmplt_epu32_mask(gw, transparent);
        if (visible == 0) continue;
        const __m512i br = _mm512_loadu_si512(blueRed + i);
        if (_mm512_cmplt_epu32_mask(gw, opaque) == 0xFFFF) {
            _mm512_storeu_si512(d + i, Join(br, gw));
            continue;
        }
        const __m512i dv = _mm512_loadu_si512(d + i);
        _mm512_storeu_si512(d + i, _mm512_mask_mov_epi32(dv, visible, BlendForm16(br, gw, dv)));
    }
}

// Up to eight pixels in blend form by masked loads and stores (`part` says which), in
// half-width vectors, which cost half the work of a whole group: the ends of rows.
KELVANE_AVX512 inline __attribute__((always_inline)) void BlendFormHalf(uint32_t* d,
                                                                        const uint32_t* blueRed,
                                                                        const uint32_t* greenWeight,
                                                                        __mmask8 part) {
    const __m256i gw = _mm256_maskz_loadu_epi32(part, greenWeight);
    const __mmask8 visible = _mm256_cmplt_epu32_mask(gw, _mm256_set1_epi32(0x01000000)) & part;
    if (visible == 0) return;
    const __m256i br = _mm256_maskz_loadu_epi32(part, blueRed);
    const __m256i dv = _mm256_maskz_loadu_epi32(part, d);
    _mm256_mask_storeu_epi32(d, visible, BlendForm8(br, gw, dv));
}

// Up to sixteen pixels the same way, in whole vectors.
KELVANE_AVX512 inline __attribute__((always_inline)) void BlendFormWhole(
    uint32_t* d, const uint32_t* blueRed, const uint32_t* greenWeight, __mmask16 part) {
    const __m512i gw = _mm512_maskz_loadu_epi32(part, greenWeight);
    const __mmask16 visible = _mm512_cmplt_epu32_mask(gw, _mm512_set1_epi32(0x01000000)) & part;
    if (visible == 0) return;
    const __m512i br = _mm512_maskz_loadu_epi32(part, blueRed);
    const __m512i dv = _mm512_maskz_loadu_epi32(part, d);
    _mm512_mask_storeu_epi32(d, visible, BlendForm16(br, gw, dv));
}

// The first or last `count` pixels of a row (1 to 16).
KELVANE_AVX512 inline __attribute__((always_inline)) void BlendFormPart(uint32_t* d,
                                                                        const uint32_t* blueRed,
                                                                        const uint32_t* greenWeight,
                                                                        int count) {
    if (count <= 8) {
        BlendFormHalf(d, blueRed, greenWeight, __mmask8((1u << count) - 1));
    } else {
        BlendFormWhole(d, blueRed, greenWeight, TailMask(count));
    }
}

// Narrow images (pieces, icons) in groups of eight: half-width vectors measured faster for
// these rows, which stay in the first-level cache; wide images, which stream from further out,
// are faster in whole groups. (A row of sixteen or fewer is one masked group of sixteen, which
// measured faster than two of eight.) Every group goes through the formula, opaque pixels
// (weight 0) included, and only the transparent lanes are masked off: a piece's rows change
// from transparent to opaque to mixed groups from one row to the next, and branching on the
// kind of each group measured slower than doing the work.
KELVANE_AVX512 void CompositeNarrowBlendForm(uint32_t* d, int dPitch, const BlendFormRect& s,
                                             int width, int height) {
    const __m256i transparent = _mm256_set1_epi32(0x01000000);
    const int whole = width & ~7;
    const __mmask8 tail = __mmask8((1u << (width - whole)) - 1);
    for (int j = 0; j < height; ++j) {
        uint32_t* row = d + size_t(j) * size_t(dPitch);
        const uint32_t* blueRed = s.blueRed + size_t(j) * size_t(s.pitch);
        const uint32_t* greenWeight = s.greenWeight + size_t(j) * size_t(s.pitch);
        for (int i = 0; i < whole; i += 8) {
            const __m256i gw =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(greenWeight + i));
            const __m256i br = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(blueRed + i));
            const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + i));
            const __mmask8 visible = _mm256_cmplt_epu32_mask(gw, transparent);
            _mm256_mask_storeu_epi32(row + i, visible, BlendForm8(br, gw, dv));
        }
        if (tail != 0) BlendFormHalf(row + whole, blueRed + whole, greenWeight + whole, tail);
    }
}

// Rows of `whole` pixels in groups of sixteen, then an end of the kind given, masked by `tail`
// (the kind is known before the first row).
enum class RowEnd { None, Half, Whole };
template <RowEnd kEnd>
KELVANE_AVX512 void BlendFormRows(uint32_t* d, int dPitch, const BlendFormRect& s, int whole,
                                  __mmask16 tail, int height) {
    for (int j = 0; j < height; ++j) {
        uint32_t* row = d + size_t(j) * size_t(dPitch);
        const uint32_t* blueRed = s.blueRed + size_t(j) * size_t(s.pitch);
        const uint32_t* greenWeight = s.greenWeight + size_t(j) * size_t(s.pitch);
        BlendFormGroups(row, blueRed, greenWeight, whole);
        if constexpr (kEnd == RowEnd::Half) {
            BlendFormHalf(row + whole, blueRed + whole, greenWeight + whole, __mmask8(tail));
        } else if constexpr (kEnd == RowEnd::Whole) {
            BlendFormWhole(row + whole, blueRed + whole, greenWeight + whole, tail);
        }
    }
}

KELVANE_AVX512 void CompositeBlendFormOntoOpaque(uint32_t* d, int dPitch, const BlendFormRect& s,
                                                 int width, int height) {
    if (width > 16 && width <= kNarrowBlendForm) {
        CompositeNarrowBlendForm(d, dPitch, s, width, height);
        return;
    }
    // The end of a row by masked loads and stores, measured faster here than the overlapping
    // last group of the pixel kernels, which cannot skip that group.
    if (width < kAlignedRow) {
        const int whole = width & ~15;
        const __mmask16 tail = TailMask(width - whole);
        if (tail == 0) {
            BlendFormRows<RowEnd::None>(d, dPitch, s, whole, tail, height);
        } else if ((tail >> 8) == 0) {
            BlendFormRows<RowEnd::Half>(d, dPitch, s, whole, tail, height);
        } else {
            BlendFormRows<RowEnd::Whole>(d, dPitch, s, whole, tail, height);
        }
        return;
    }
    for (int j = 0; j < height; ++j) {
        uint32_t* row = d + size_t(j) * size_t(dPitch);
        const uint32_t* blueRed = s.blueRed + size_t(j) * size_t(s.pitch);
        const uint32_t* greenWeight = s.greenWeight + size_t(j) * size_t(s.pitch);
        // A wide row starts with the pixels up to the destination's next cache line, so that
        // the whole groups store whole lines (a row drawn at any other offset measured up to a
        // sixth slower); the source is read across lines instead, which costs less. Rows of a
        // few groups are faster without the extra group.
        const int head = int(((64 - (reinterpret_cast<uintptr_t>(row) & 63)) & 63) / 4);
        if (head > 0) BlendFormPart(row, blueRed, greenWeight, head);
        const int whole = (width - head) & ~15;
        BlendFormGroups(row + head, blueRed + head, greenWeight + head, whole);
        const int done = head + whole;
        if (done < width)
            BlendFormPart(row + done, blueRed + done, greenWeight + done, width - done);
    }
}

// Black at full strength through the form's weights onto opaque pixels: each channel dst x
// weight / 256 (an opaque pixel's true weight 1 gives the same 0 as the form's 0); groups over
// pixels that are not opaque take the reference, transparent groups are skipped.
// Up to sixteen pixels of DarkenThroughBlendForm (`part` says which), in vectors of `V`.
template <typename V>
KELVANE_AVX512 inline __attribute__((always_inline)) void DarkenPart(uint32_t* d, int dPitch,
                                                                     const uint32_t* greenWeight,
                                                                     int count,
                                                                     const uint16_t* blend) {
    constexpr bool kWhole = sizeof(V) == 64;
    const __mmask16 part = TailMask(count);
    V gw, dv;
    __mmask16 visible, opaque;
    if constexpr (kWhole) {
        gw = _mm512_maskz_loadu_epi32(part, greenWeight);
        visible = _mm512_cmplt_epu32_mask(gw, _mm512_set1_epi32(0x01000000)) & part;
        if (visible == 0) return;
        dv = _mm512_maskz_loadu_epi32(part, d);
        opaque = OpaqueLanes(dv);
    } else {
        gw = _mm256_maskz_loadu_epi32(__mmask8(part), greenWeight);
        visible = _mm256_cmplt_epu32_mask(gw, _mm256_set1_epi32(0x01000000)) & part;
        if (visible == 0) return;
        dv = _mm256_maskz_loadu_epi32(__mmask8(part), d);
        opaque = _mm256_cmpge_epu32_mask(dv, _mm256_set1_epi32(int(0xFF000000u)));
    }
    if ((opaque & part) != part) {
        BlendFormRect rest;
        rest.greenWeight = greenWeight;
        rest.pitch = 0;
        Reference::DarkenThroughBlendForm(d, dPitch, rest, count, 1, blend);
        return;
    }
    if constexpr (kWhole) {
        const __m512i weight = _mm512_shuffle_epi8(
            gw, _mm512_set4_epi32(0x0F0E0F0E, 0x0B0A0B0A, 0x07060706, 0x03020302));
        const __m512i even = _mm512_mullo_epi16(EvenBytes(dv), weight);
        const __m512i odd = _mm512_mullo_epi16(OddBytes(dv), weight);
        _mm512_mask_storeu_epi32(d, visible, Join(even, odd));
    } else {
        const __m256i weight = _mm256_shuffle_epi8(
            gw, _mm256_setr_epi32(0x03020302, 0x07060706, 0x0B0A0B0A, 0x0F0E0F0E, 0x03020302,
                                  0x07060706, 0x0B0A0B0A, 0x0F0E0F0E));
        const __m256i even =
            _mm256_mullo_epi16(_mm256_and_si256(dv, _mm256_set1_epi32(0x00FF00FF)), weight);
        const __m256i odd = _mm256_mullo_epi16(_mm256_srli_epi16(dv, 8), weight);
        _mm256_mask_storeu_epi32(d, __mmask8(visible), Join8(even, odd));
    }
}

// Black at full strength through the form's weights onto opaque pixels: each channel dst x
// weight / 256 (an opaque pixel's true weight 1 gives the same 0 as the form's 0); groups over
// pixels that are not opaque take the reference, transparent groups are skipped. A row's last
// eight pixels or fewer go in half-width vectors (glyph rows are often a little over sixteen).
KELVANE_AVX512 void DarkenThroughBlendForm(uint32_t* d, int dPitch, const BlendFormRect& s,
                                           int width, int height, const uint16_t* blend) {
    const int whole = width & ~15;
    const int rest = width - whole;
    for (int j = 0; j < height; ++j) {
        uint32_t* row = d + size_t(j) * size_t(dPitch);
        const uint32_t* greenWeight = s.greenWeight + size_t(j) * size_t(s.pitch);
        for (int i = 0; i < whole; i += 16)
            DarkenPart<__m512i>(row + i, dPitch, greenWeight + i, 16, blend);
        if (rest > 8) {
            DarkenPart<__m512i>(row + whole, dPitch, greenWeight + whole, rest, blend);
        } else if (rest > 0) {
            DarkenPart<__m256i>(row + whole, dPitch, greenWeight + whole, rest, blend);
        }
    }
}

KELVANE_AVX512 void TintRect(uint32_t* d, int dPitch, const SourceRect& s, int width, int height,
                             const Color& c, const uint8_t* effAlpha, const uint32_t* tintR,
                             const uint32_t* tintG, const uint32_t* tintB, const uint16_t* blend) {
    const __m512i tintEven = _mm512_set1_epi32(int((uint32_t(c.red) << 16) | uint32_t(c.blue)));
    const __m512i tintOdd = _mm512_set1_epi32(c.green);
    const __m512i colorAlpha = _mm512_set1_epi16(short(c.alpha));
    const __m512i oneLane = _mm512_set1_epi16(1);
    const __m512i one = _mm512_set1_epi32(0x01000000);
    const __m512i opaqueAlpha = _mm512_set1_epi32(int(0xFF000000u));
    alignas(64) uint32_t group[16];
    for (int j = 0; j < height; ++j, d += dPitch) {
        const size_t rowStart = size_t(j) * size_t(s.pitch);
        for (int i = 0; i < width; i += 16) {
            const __mmask16 tail = TailMask(width - i);
            const __m512i sv = s.pixels
                                   ? LoadMasked(s.pixels + rowStart + size_t(i), tail)
                                   : GatherIndexed(s.indices + rowStart + size_t(i), s.table, tail);
            // Alpha 0 draws nothing whatever the tint.
            if (_mm512_cmpge_epu32_mask(sv, one) == 0) continue;
            const __m512i dv = _mm512_mask_loadu_epi32(opaqueAlpha, tail, d + i);
            if (OpaqueLanes(dv) != 0xFFFF) {
                _mm512_store_si512(group, sv);
                Reference::TintRow(d + i, group, std::min(16, width - i), c, effAlpha, tintR, tintG,
                                   tintB, blend);
                continue;
            }
            // m = colour alpha x source alpha / 255, the division exact as (x + 1 + x / 256) /
            // 256; tinted channels src x colour / 256 in their lanes (alpha lane 0); over opaque
            // pixels oa = 255 and w = m, and m = 0 gives the pixel back.
            const __m512i x = _mm512_mullo_epi16(SpreadAlpha(sv), colorAlpha);
            const __m512i m = _mm512_srli_epi16(
                _mm512_add_epi16(_mm512_add_epi16(x, oneLane), _mm512_srli_epi16(x, 8)), 8);
            const __m512i te = _mm512_srli_epi16(_mm512_mullo_epi16(EvenBytes(sv), tintEven), 8);
            const __m512i to = _mm512_srli_epi16(_mm512_mullo_epi16(OddBytes(sv), tintOdd), 8);
            _mm512_mask_storeu_epi32(d + i, tail, CompositeOpaqueSplit16(te, to, dv, m));
        }
    }
}

KELVANE_AVX512 void CompositeRowOverColor(uint32_t* d, const uint32_t* s, int count, uint32_t under,
                                          const uint16_t* blend) {
    if ((under >> 24) != 255) {
        Reference::CompositeRowOverColor(d, s, count, under, blend);
        return;
    }
    // As CompositeRow over opaque pixels, with the destination a constant.
    const __m512i uv = _mm512_set1_epi32(int(under));
    const __m512i oneByte = _mm512_set1_epi8(1);
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m512i sv = _mm512_loadu_si512(s + i);
        if (OpaqueLanes(sv) == 0xFFFF) {
            const __mmask64 less = _mm512_cmplt_epu8_mask(uv, sv);
            _mm512_storeu_si512(d + i, _mm512_mask_sub_epi8(sv, less, sv, oneByte));
            continue;
        }
        _mm512_storeu_si512(d + i, CompositeOpaque16(sv, uv, SpreadAlpha(sv)));
    }
    if (i < count) {
        const __mmask16 m = TailMask(count - i);
        const __m512i sv = LoadMasked(s + i, m);
        _mm512_mask_storeu_epi32(d + i, m, CompositeOpaque16(sv, uv, SpreadAlpha(sv)));
    }
}

KELVANE_AVX512 void CompositeRow(uint32_t* d, const uint32_t* s, int count, const uint16_t* blend) {
    // Over opaque pixels alpha 0 gives the destination back, so no pixel needs skipping;
    // groups with other pixels take the reference.
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m512i dv = _mm512_loadu_si512(d + i);
        if (OpaqueLanes(dv) != 0xFFFF) {
            Reference::CompositeRow(d + i, s + i, 16, blend);
            continue;
        }
        const __m512i sv = _mm512_loadu_si512(s + i);
        if (OpaqueLanes(sv) == 0xFFFF) {
            // Opaque over opaque the weight is 255: (src x 255 + dst) / 256 is src, less one
            // where dst < src (alpha stays 255).
            const __mmask64 less = _mm512_cmplt_epu8_mask(dv, sv);
            _mm512_storeu_si512(d + i, _mm512_mask_sub_epi8(sv, less, sv, _mm512_set1_epi8(1)));
            continue;
        }
        _mm512_storeu_si512(d + i, CompositeOpaque16(sv, dv, SpreadAlpha(sv)));
    }
    if (i < count) {
        // The end of the row as one masked group; the lanes past it count as opaque.
        const __mmask16 m = TailMask(count - i);
        const __m512i dv = _mm512_mask_loadu_epi32(_mm512_set1_epi32(int(0xFF000000u)), m, d + i);
        if (OpaqueLanes(dv) != 0xFFFF) {
            Reference::CompositeRow(d + i, s + i, count - i, blend);
            return;
        }
        const __m512i sv = LoadMasked(s + i, m);
        _mm512_mask_storeu_epi32(d + i, m, CompositeOpaque16(sv, dv, SpreadAlpha(sv)));
    }
}

KELVANE_AVX512 void TintRow(uint32_t* d, const uint32_t* s, int count, const Color& c,
                            const uint8_t* effAlpha, const uint32_t* tintR, const uint32_t* tintG,
                            const uint32_t* tintB, const uint16_t* blend) {
    SourceRect row;
    row.pixels = s;
    Avx512::TintRect(d, 0, row, count, 1, c, effAlpha, tintR, tintG, tintB, blend);
}

// The additive contribution of sixteen source pixels, bytes in place (alpha byte 0).
KELVANE_AVX512 inline __m512i Contribution16(__m512i sv, bool tinted, __m512i kEven, __m512i kOdd,
                                             bool srcAlpha) {
    __m512i even = EvenBytes(sv);
    __m512i odd = _mm512_and_si512(_mm512_srli_epi32(sv, 8), _mm512_set1_epi32(0xFF));
    if (tinted) {
        even = _mm512_srli_epi16(_mm512_mullo_epi16(even, kEven), 8);
        odd = _mm512_srli_epi16(_mm512_mullo_epi16(odd, kOdd), 8);
    }
    if (srcAlpha) {
        const __m512i a = SpreadAlpha(sv);
        even = _mm512_srli_epi16(_mm512_mullo_epi16(even, a), 8);
        odd = _mm512_srli_epi16(_mm512_mullo_epi16(odd, a), 8);
    }
    const __m512i add = _mm512_or_si512(even, _mm512_slli_epi16(odd, 8));
    if (srcAlpha) return add;
    // Alpha 0 adds nothing.
    return _mm512_maskz_mov_epi32(_mm512_cmpge_epu32_mask(sv, _mm512_set1_epi32(0x01000000)), add);
}

KELVANE_AVX512 void AddRow(uint32_t* d, const uint32_t* s, int count, int kR, int kG, int kB,
                           bool srcAlpha, const uint32_t* addR, const uint32_t* addG,
                           const uint32_t* addB, const uint8_t* sat) {
    (void)addR, (void)addG, (void)addB, (void)sat;
    const bool tinted = kR != 256 || kG != 256 || kB != 256;
    const __m512i kEven = _mm512_set1_epi32(int((uint32_t(kR) << 16) | uint32_t(kB)));
    const __m512i kOdd = _mm512_set1_epi32(kG);
    int i = 0;
    if (count > 16 && count % 16 != 0) {
        // The end of the row first, from the untouched destination, stored last over the
        // overlap (each pixel's result depends on its own two pixels only).
        const __m512i last = _mm512_adds_epu8(
            _mm512_loadu_si512(d + count - 16),
            Contribution16(_mm512_loadu_si512(s + count - 16), tinted, kEven, kOdd, srcAlpha));
        for (; i + 16 <= count; i += 16) {
            _mm512_storeu_si512(
                d + i, _mm512_adds_epu8(_mm512_loadu_si512(d + i),
                                        Contribution16(_mm512_loadu_si512(s + i), tinted, kEven,
                                                       kOdd, srcAlpha)));
        }
        _mm512_storeu_si512(d + count - 16, last);
        return;
    }
    for (; i + 16 <= count; i += 16) {
        _mm512_storeu_si512(d + i, _mm512_adds_epu8(_mm512_loadu_si512(d + i),
                                                    Contribution16(_mm512_loadu_si512(s + i),
                                                                   tinted, kEven, kOdd, srcAlpha)));
    }
    if (i < count) {
        const __mmask16 m = TailMask(count - i);
        _mm512_mask_storeu_epi32(
            d + i, m,
            _mm512_adds_epu8(LoadMasked(d + i, m),
                             Contribution16(LoadMasked(s + i, m), tinted, kEven, kOdd, srcAlpha)));
    }
}

KELVANE_AVX512 void AccumulateColumnTap(uint32_t* acc, const uint16_t* in, int count,
                                        uint32_t weight) {
    const __m512i w = _mm512_set1_epi32(int(weight));
    const int n = 4 * count;
    int k = 0;
    for (; k + 16 <= n; k += 16) {
        const __m512i v =
            _mm512_cvtepu16_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + k)));
        _mm512_storeu_si512(
            acc + k, _mm512_add_epi32(_mm512_loadu_si512(acc + k), _mm512_mullo_epi32(v, w)));
    }
    Reference::AccumulateColumnTap(acc + k, in + k, (n - k) / 4, weight);
}

// The sums of sixteen pixels as pixels: each channel sum / 65536, at most 255.
KELVANE_AVX512 inline __m512i SumsToPixels(const uint32_t* sums) {
    __m128i part[4];
    for (int q = 0; q < 4; ++q) {
        part[q] = _mm512_cvtusepi32_epi8(_mm512_srli_epi32(_mm512_loadu_si512(sums + 16 * q), 16));
    }
    const __m512i lo = _mm512_inserti32x4(_mm512_castsi128_si512(part[0]), part[1], 1);
    return _mm512_inserti32x4(_mm512_inserti32x4(lo, part[2], 2), part[3], 3);
}

KELVANE_AVX512 void FinishFilteredRow(uint32_t* d, const uint32_t* acc, int count) {
    const __m512i full = _mm512_set1_epi16(256);
    const __m512i opaque = _mm512_set1_epi16(255);
    const __m512i oneLane = _mm512_set1_epi16(1);
    const __mmask32 alphaLanes = 0xAAAAAAAAu;  // the high lane of each odd pair
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m512i c = SumsToPixels(acc + 4 * size_t(i));
        const __m512i dv = _mm512_loadu_si512(d + i);
        const __m512i a = SpreadAlpha(c);
        const __m512i ia = _mm512_sub_epi16(full, a);
        // Colours: c x a / 256 + dst x (256 - a) / 256, the two terms truncated apart.
        const __m512i de = EvenBytes(dv), dO = OddBytes(dv);
        const __m512i even =
            _mm512_add_epi16(_mm512_srli_epi16(_mm512_mullo_epi16(EvenBytes(c), a), 8),
                             _mm512_srli_epi16(_mm512_mullo_epi16(de, ia), 8));
        __m512i odd = _mm512_add_epi16(_mm512_srli_epi16(_mm512_mullo_epi16(OddBytes(c), a), 8),
                                       _mm512_srli_epi16(_mm512_mullo_epi16(dO, ia), 8));
        // Alpha: da + (255 - da) x a / 255, the division exact as (x + 1 + x / 256) / 256.
        const __m512i x = _mm512_mullo_epi16(_mm512_sub_epi16(opaque, dO), a);
        const __m512i q = _mm512_srli_epi16(
            _mm512_add_epi16(_mm512_add_epi16(x, oneLane), _mm512_srli_epi16(x, 8)), 8);
        odd = _mm512_mask_mov_epi16(odd, alphaLanes, _mm512_add_epi16(dO, q));
        _mm512_storeu_si512(d + i, _mm512_or_si512(even, _mm512_slli_epi16(odd, 8)));
    }
    Reference::FinishFilteredRow(d + i, acc + 4 * size_t(i), count - i);
}

KELVANE_AVX512 void ExpandIndices(uint32_t* out, const uint8_t* indices, const uint32_t* table,
                                  int count) {
    const int* entries = reinterpret_cast<const int*>(table);
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m512i index =
            _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(indices + i)));
        _mm512_storeu_si512(out + i, _mm512_i32gather_epi32(index, entries, 4));
    }
    if (i < count) {
        const __mmask16 m = TailMask(count - i);
        const __m512i index = _mm512_cvtepu8_epi32(_mm_maskz_loadu_epi8(m, indices + i));
        _mm512_mask_storeu_epi32(
            out + i, m, _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), m, index, entries, 4));
    }
}

KELVANE_AVX512 void GatherRow(uint32_t* out, const uint32_t* s, int srcCount,
                              const int32_t* columns, int count) {
    int i = 0;
    // Sixteen pixels at a time whose columns lie in a window of 32 source pixels: picked from
    // the window by a permute.
    for (; i + 16 <= count; i += 16) {
        const int base = columns[i];
        if (columns[i + 15] - base >= 32) {
            Reference::GatherRow(out + i, s, srcCount, columns + i, 16);
            continue;
        }
        const __m512i lowWindow = LoadMasked(s + base, TailMask(srcCount - base));
        const __m512i highWindow = LoadMasked(s + base + 16, TailMask(srcCount - base - 16));
        const __m512i index =
            _mm512_sub_epi32(_mm512_loadu_si512(columns + i), _mm512_set1_epi32(base));
        _mm512_storeu_si512(out + i, _mm512_permutex2var_epi32(lowWindow, index, highWindow));
    }
    Reference::GatherRow(out + i, s, srcCount, columns + i, count - i);
}

KELVANE_AVX512 void AccumulateRowPairs(uint16_t* out, const uint32_t* s, int srcCount,
                                       const TapPairs& pairs) {
    const int n = int(pairs.Count());
    const int32_t* i0 = pairs.src0.data();
    const int32_t* i1 = pairs.src1.data();
    const uint32_t* w0 = pairs.w0.data();
    const uint32_t* w1 = pairs.w1.data();
    const __m512i orderLo = _mm512_setr_epi64(0, 1, 8, 9, 2, 3, 10, 11);
    const __m512i orderHi = _mm512_setr_epi64(4, 5, 12, 13, 6, 7, 14, 15);
    int k = 0;
    // Sixteen columns at a time whose taps all lie in a window of 32 source pixels: the pixels
    // are picked from the window by permutes.
    for (; pairs.ascending && k + 16 <= n; k += 16) {
        const int base = std::min(i0[k], i1[k]);
        if (std::max(i0[k + 15], i1[k + 15]) - base >= 32) {
            Reference::AccumulateRowPairs(out + 4 * size_t(k), s, srcCount,
                                          TapPairs{{i0 + k, i0 + k + 16},
                                                   {i1 + k, i1 + k + 16},
                                                   {w0 + k, w0 + k + 16},
                                                   {w1 + k, w1 + k + 16},
                                                   true});
            continue;
        }
        const __m512i lowWindow = LoadMasked(s + base, TailMask(srcCount - base));
        const __m512i highWindow = LoadMasked(s + base + 16, TailMask(srcCount - base - 16));
        const __m512i b = _mm512_set1_epi32(base);
        const __m512i p0 = _mm512_permutex2var_epi32(
            lowWindow, _mm512_sub_epi32(_mm512_loadu_si512(i0 + k), b), highWindow);
        const __m512i p1 = _mm512_permutex2var_epi32(
            lowWindow, _mm512_sub_epi32(_mm512_loadu_si512(i1 + k), b), highWindow);
        const __m512i weight0 = _mm512_loadu_si512(w0 + k);
        const __m512i weight1 = _mm512_loadu_si512(w1 + k);
        const __m512i even = _mm512_add_epi16(_mm512_mullo_epi16(EvenBytes(p0), weight0),
                                              _mm512_mullo_epi16(EvenBytes(p1), weight1));
        const __m512i odd = _mm512_add_epi16(_mm512_mullo_epi16(OddBytes(p0), weight0),
                                             _mm512_mullo_epi16(OddBytes(p1), weight1));
        // Blue, green, red, alpha per column, columns back in order.
        const __m512i lo = _mm512_unpacklo_epi16(even, odd);
        const __m512i hi = _mm512_unpackhi_epi16(even, odd);
        _mm512_storeu_si512(out + 4 * size_t(k), _mm512_permutex2var_epi64(lo, orderLo, hi));
        _mm512_storeu_si512(out + 4 * size_t(k) + 32, _mm512_permutex2var_epi64(lo, orderHi, hi));
    }
    if (k < n) {
        Reference::AccumulateRowPairs(
            out + 4 * size_t(k), s, srcCount,
            TapPairs{{i0 + k, i0 + n}, {i1 + k, i1 + n}, {w0 + k, w0 + n}, {w1 + k, w1 + n}, true});
    }
}

KELVANE_AVX512 void FinishFilteredRowPair(uint32_t* d, const uint16_t* in0, uint32_t w0,
                                          const uint16_t* in1, uint32_t w1, int count) {
    const __m512i weight0 = _mm512_set1_epi16(short(w0));
    const __m512i weight1 = _mm512_set1_epi16(short(w1));
    const __m512i full = _mm512_set1_epi16(256);
    const __m512i opaque = _mm512_set1_epi16(255);
    const __m512i oneLane = _mm512_set1_epi16(1);
    const __m512i alphaIndex = _mm512_broadcast_i32x4(
        _mm_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15));
    const __mmask32 alphaLanes = 0x88888888u;
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        // Each channel (in0 x w0 + in1 x w1) / 65536 from the high and low halves of the
        // products, at most 255.
        const __m512i v0 = _mm512_loadu_si512(in0 + 4 * size_t(i));
        const __m512i v1 = _mm512_loadu_si512(in1 + 4 * size_t(i));
        const __m512i lo0 = _mm512_mullo_epi16(v0, weight0);
        const __m512i lo = _mm512_add_epi16(lo0, _mm512_mullo_epi16(v1, weight1));
        const __mmask32 carry = _mm512_cmplt_epu16_mask(lo, lo0);
        __m512i c =
            _mm512_add_epi16(_mm512_mulhi_epu16(v0, weight0), _mm512_mulhi_epu16(v1, weight1));
        c = _mm512_min_epu16(_mm512_mask_add_epi16(c, carry, c, oneLane), opaque);
        const __m512i d16 =
            _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i)));
        const __m512i a = _mm512_shuffle_epi8(c, alphaIndex);
        // Colours c x a / 256 + dst x (256 - a) / 256; alpha da + (255 - da) x a / 255, the
        // division exact as (x + 1 + x / 256) / 256. With a = 0 both give the pixel back.
        const __m512i colour = _mm512_add_epi16(
            _mm512_srli_epi16(_mm512_mullo_epi16(c, a), 8),
            _mm512_srli_epi16(_mm512_mullo_epi16(d16, _mm512_sub_epi16(full, a)), 8));
        const __m512i x = _mm512_mullo_epi16(_mm512_sub_epi16(opaque, d16), a);
        const __m512i q = _mm512_srli_epi16(
            _mm512_add_epi16(_mm512_add_epi16(x, oneLane), _mm512_srli_epi16(x, 8)), 8);
        const __m512i out = _mm512_mask_mov_epi16(colour, alphaLanes, _mm512_add_epi16(d16, q));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), _mm512_cvtepi16_epi8(out));
    }
    Reference::FinishFilteredRowPair(d + i, in0 + 4 * size_t(i), w0, in1 + 4 * size_t(i), w1,
                                     count - i);
}

}  // namespace
}  // namespace Avx512

KernelTable Avx512Kernels() {
    KernelTable table = Avx2Kernels();
    table.fillRowOpaque = Avx512::FillRowOpaque;
    table.fillRowBlend = Avx512::FillRowBlend;
    table.blendRowOntoOpaque = Avx512::BlendRowOntoOpaque;
    table.compositeRowOntoOpaque = Avx512::CompositeRowOntoOpaque;
    table.compositeRectOntoOpaque = Avx512::CompositeRectOntoOpaque;
    table.compositeRow = Avx512::CompositeRow;
    table.compositeRectOntoOpaqueIndexed = Avx512::CompositeRectOntoOpaqueIndexed;
    table.tintRect = Avx512::TintRect;
    table.compositeRowOverColor = Avx512::CompositeRowOverColor;
    table.gatherRow = Avx512::GatherRow;
    table.expandIndices = Avx512::ExpandIndices;
    table.tintRow = Avx512::TintRow;
    table.addRow = Avx512::AddRow;
    table.accumulateColumnTap = Avx512::AccumulateColumnTap;
    table.finishFilteredRow = Avx512::FinishFilteredRow;
    table.accumulateRowPairs = Avx512::AccumulateRowPairs;
    table.finishFilteredRowPair = Avx512::FinishFilteredRowPair;
    table.compositeBlendFormOntoOpaque = Avx512::CompositeBlendFormOntoOpaque;
    table.darkenThroughBlendForm = Avx512::DarkenThroughBlendForm;
    return table;
}

}  // namespace Zarvo::PixelKernels

#endif
