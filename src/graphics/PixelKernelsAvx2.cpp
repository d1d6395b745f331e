// The AVX2 row kernels: eight pixels at a time, the red-blue and green-alpha bytes of each pixel
// in separate 16-bit lanes; the end of a row by the reference formula. Compiled for AVX2 by
// function attributes and used only when the processor reports AVX2.
#if defined(__x86_64__)

#include <immintrin.h>

#include "graphics/PixelKernelTable.h"

#define KELVANE_AVX2 __attribute__((target("avx2,bmi2")))

namespace Zarvo::PixelKernels {

namespace Avx2 {
namespace {

KELVANE_AVX2 inline __m256i Load(const uint32_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
KELVANE_AVX2 inline void Store(uint32_t* p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

KELVANE_AVX2 inline __m256i AlphaBits() {
    return _mm256_set1_epi32(int(0xFF000000u));
}

KELVANE_AVX2 inline bool AllOpaque(__m256i d) {
    const __m256i alpha = AlphaBits();
    return _mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(d, alpha), alpha)) == -1;
}

// Each pixel's alpha in both of its 16-bit lanes (pshufb picks byte 4k + 3 of pixel k).
KELVANE_AVX2 inline __m256i SpreadAlpha(__m256i s) {
    const __m256i index =
        _mm256_setr_epi32(int(0x80038003u), int(0x80078007u), int(0x800B800Bu), int(0x800F800Fu),
                          int(0x80038003u), int(0x80078007u), int(0x800B800Bu), int(0x800F800Fu));
    return _mm256_shuffle_epi8(s, index);
}

KELVANE_AVX2 inline __m256i EvenBytes(__m256i v) {
    return _mm256_and_si256(v, _mm256_set1_epi32(0x00FF00FF));
}
KELVANE_AVX2 inline __m256i OddBytes(__m256i v) {
    return _mm256_srli_epi16(v, 8);
}

// Puts the high bytes of the blue-red sums and the green sum together, alpha 255.
KELVANE_AVX2 inline __m256i Join(__m256i evenSums, __m256i oddSums) {
    const __m256i rb = _mm256_srli_epi16(evenSums, 8);
    const __m256i g = _mm256_and_si256(oddSums, _mm256_set1_epi32(0x0000FF00));
    return _mm256_or_si256(_mm256_or_si256(rb, g), AlphaBits());
}

// Blend onto opaque: red and green (dst x (256 - a) + src x a) / 256, blue with the source
// term's fraction dropped before the sum (which is the two terms truncated apart), alpha 255.
KELVANE_AVX2 inline __m256i BlendOpaque8(__m256i s, __m256i d) {
    const __m256i a = SpreadAlpha(s);
    const __m256i ia = _mm256_sub_epi16(_mm256_set1_epi16(256), a);
    const __m256i blueFraction = _mm256_set1_epi32(int(0xFFFFFF00u));
    const __m256i even =
        _mm256_add_epi16(_mm256_mullo_epi16(EvenBytes(d), ia),
                         _mm256_and_si256(_mm256_mullo_epi16(EvenBytes(s), a), blueFraction));
    const __m256i odd =
        _mm256_add_epi16(_mm256_mullo_epi16(OddBytes(d), ia), _mm256_mullo_epi16(OddBytes(s), a));
    return Join(even, odd);
}

// The composite onto opaque pixels (oa = 255, w = m): every channel (src x m + dst x (256 - m))
// / 256, alpha 255. `m` holds the weight in both lanes of each pixel.
KELVANE_AVX2 inline __m256i CompositeOpaque8(__m256i s, __m256i d, __m256i m) {
    const __m256i im = _mm256_sub_epi16(_mm256_set1_epi16(256), m);
    const __m256i even =
        _mm256_add_epi16(_mm256_mullo_epi16(EvenBytes(d), im), _mm256_mullo_epi16(EvenBytes(s), m));
    const __m256i odd =
        _mm256_add_epi16(_mm256_mullo_epi16(OddBytes(d), im), _mm256_mullo_epi16(OddBytes(s), m));
    return Join(even, odd);
}

// CompositeOpaque8 on a source already split into its blue-red and green-alpha lanes.
KELVANE_AVX2 inline __m256i CompositeOpaqueSplit8(__m256i sEven, __m256i sOdd, __m256i d,
                                                  __m256i m) {
    const __m256i im = _mm256_sub_epi16(_mm256_set1_epi16(256), m);
    const __m256i even =
        _mm256_add_epi16(_mm256_mullo_epi16(EvenBytes(d), im), _mm256_mullo_epi16(sEven, m));
    const __m256i odd =
        _mm256_add_epi16(_mm256_mullo_epi16(OddBytes(d), im), _mm256_mullo_epi16(sOdd, m));
    return Join(even, odd);
}

// Eight pixels in blend form composited onto opaque ones: each channel (dst x weight + share) /
// 256, alpha 255 (transparent lanes are the caller's to leave alone).
KELVANE_AVX2 inline __m256i BlendForm8(__m256i blueRed, __m256i greenWeight, __m256i d) {
    // The weight, the high half of the green-weight word, into both halves.
    const __m256i weightIndex = _mm256_setr_epi32(0x03020302, 0x07060706, 0x0B0A0B0A, 0x0F0E0F0E,
                                                  0x03020302, 0x07060706, 0x0B0A0B0A, 0x0F0E0F0E);
    const __m256i weight = _mm256_shuffle_epi8(greenWeight, weightIndex);
    const __m256i even = _mm256_add_epi16(_mm256_mullo_epi16(EvenBytes(d), weight), blueRed);
    const __m256i odd = _mm256_add_epi16(_mm256_mullo_epi16(OddBytes(d), weight), greenWeight);
    return Join(even, odd);
}

KELVANE_AVX2 void FillRowOpaque(uint32_t* p, int count, uint32_t packed) {
    const __m256i v = _mm256_set1_epi32(int(packed));
    int i = 0;
    for (; i + 32 <= count; i += 32) {
        Store(p + i, v);
        Store(p + i + 8, v);
        Store(p + i + 16, v);
        Store(p + i + 24, v);
    }
    for (; i + 8 <= count; i += 8) Store(p + i, v);
    for (; i < count; ++i) p[i] = packed;
}

KELVANE_AVX2 void FillRowBlend(uint32_t* p, int count, uint32_t packed, const uint16_t* blend) {
    const uint32_t sa = packed >> 24;
    const __m256i src = _mm256_set1_epi32(int(packed & 0x00FFFFFF));
    const __m256i w = _mm256_set1_epi16(short(sa));
    const __m256i iw = _mm256_set1_epi16(short(256 - sa));
    const __m256i srcEven = _mm256_mullo_epi16(EvenBytes(src), w);
    const __m256i srcOdd = _mm256_mullo_epi16(OddBytes(src), w);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i d = Load(p + i);
        if (!AllOpaque(d)) {
            Reference::FillRowBlend(p + i, 8, packed, blend);
            continue;
        }
        // Over opaque pixels oa = 255 and w = sa.
        const __m256i even = _mm256_add_epi16(_mm256_mullo_epi16(EvenBytes(d), iw), srcEven);
        const __m256i odd = _mm256_add_epi16(_mm256_mullo_epi16(OddBytes(d), iw), srcOdd);
        Store(p + i, Join(even, odd));
    }
    Reference::FillRowBlend(p + i, count - i, packed, blend);
}

KELVANE_AVX2 void BlendRowOntoOpaque(uint32_t* d, const uint32_t* s, int count) {
    if (count <= 8 || count % 8 == 0) {
        int i = 0;
        for (; i + 8 <= count; i += 8) Store(d + i, BlendOpaque8(Load(s + i), Load(d + i)));
        Reference::BlendRowOntoOpaque(d + i, s + i, count - i);
        return;
    }
    // The last eight pixels are blended first, from the untouched destination, and stored last
    // over the end of the row: every pixel's result depends on its own two pixels only, so the
    // overlap gets the same values twice.
    const __m256i last = BlendOpaque8(Load(s + count - 8), Load(d + count - 8));
    for (int i = 0; i + 8 <= count; i += 8) Store(d + i, BlendOpaque8(Load(s + i), Load(d + i)));
    Store(d + count - 8, last);
}

// Eight pixels onto opaque ones: opaque pixels take the source, transparent ones keep the
// destination.
KELVANE_AVX2 inline __m256i CompositeOpaqueMixed8(__m256i sv, __m256i dv) {
    const __m256i alpha = AlphaBits();
    const __m256i sa = _mm256_and_si256(sv, alpha);
    const __m256i out = _mm256_blendv_epi8(BlendOpaque8(sv, dv), sv, _mm256_cmpeq_epi32(sa, alpha));
    return _mm256_blendv_epi8(out, dv, _mm256_cmpeq_epi32(sa, _mm256_setzero_si256()));
}

KELVANE_AVX2 inline __attribute__((always_inline)) void CompositeRowOntoOpaqueBody(
    uint32_t* d, const uint32_t* s, int count) {
    const __m256i alpha = AlphaBits();
    // The end of the row as in BlendRowOntoOpaque: computed first, stored last.
    const bool overlap = count > 8 && count % 8 != 0;
    __m256i last = _mm256_setzero_si256();
    if (overlap) last = CompositeOpaqueMixed8(Load(s + count - 8), Load(d + count - 8));
    // Groups of transparent pixels leave the destination alone, groups of opaque ones need
    // not read it.
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i sv = Load(s + i);
        const __m256i sa = _mm256_and_si256(sv, alpha);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(sa, _mm256_setzero_si256())) == -1) continue;
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(sa, alpha)) == -1) {
            Store(d + i, sv);
            continue;
        }
        Store(d + i, CompositeOpaqueMixed8(sv, Load(d + i)));
    }
    if (overlap) {
        Store(d + count - 8, last);
    } else {
        Reference::CompositeRowOntoOpaque(d + i, s + i, count - i);
    }
}

KELVANE_AVX2 void CompositeRowOntoOpaque(uint32_t* d, const uint32_t* s, int count) {
    CompositeRowOntoOpaqueBody(d, s, count);
}

KELVANE_AVX2 void CompositeRectOntoOpaque(uint32_t* d, int dPitch, const uint32_t* s, int sPitch,
                                          int width, int height) {
    for (int j = 0; j < height; ++j) {
        CompositeRowOntoOpaqueBody(d + size_t(j) * size_t(dPitch), s + size_t(j) * size_t(sPitch),
                                   width);
    }
}

// Opaque over opaque the weight is 255: (src x 255 + dst) / 256 is src, less one where
// dst < src (alpha stays 255).
KELVANE_AVX2 inline __m256i OpaqueOverOpaque8(__m256i s, __m256i d) {
    const __m256i notAbove = _mm256_cmpeq_epi8(_mm256_max_epu8(s, d), d);  // s <= d
    return _mm256_add_epi8(s, _mm256_xor_si256(notAbove, _mm256_set1_epi8(-1)));
}

KELVANE_AVX2 void CompositeRow(uint32_t* d, const uint32_t* s, int count, const uint16_t* blend) {
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i dv = Load(d + i);
        if (!AllOpaque(dv)) {
            Reference::CompositeRow(d + i, s + i, 8, blend);
            continue;
        }
        // Over opaque pixels alpha 0 gives the destination back, so no pixel needs skipping.
        const __m256i sv = Load(s + i);
        Store(d + i, AllOpaque(sv) ? OpaqueOverOpaque8(sv, dv)
                                   : CompositeOpaque8(sv, dv, SpreadAlpha(sv)));
    }
    Reference::CompositeRow(d + i, s + i, count - i, blend);
}

KELVANE_AVX2 void CompositeRowOverColor(uint32_t* d, const uint32_t* s, int count, uint32_t under,
                                        const uint16_t* blend) {
    if ((under >> 24) != 255) {
        Reference::CompositeRowOverColor(d, s, count, under, blend);
        return;
    }
    // As CompositeRow over opaque pixels, with the destination a constant.
    const __m256i uv = _mm256_set1_epi32(int(under));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i sv = Load(s + i);
        Store(d + i, AllOpaque(sv) ? OpaqueOverOpaque8(sv, uv)
                                   : CompositeOpaque8(sv, uv, SpreadAlpha(sv)));
    }
    Reference::CompositeRowOverColor(d + i, s + i, count - i, under, blend);
}

// Eight source pixels tinted onto eight opaque ones.
KELVANE_AVX2 inline __m256i TintOpaque8(__m256i sv, __m256i dv, __m256i tintEven, __m256i tintOdd,
                                        __m256i colorAlpha) {
    // m = colour alpha x source alpha / 255, the division exact as (x + 1 + x / 256) / 256.
    const __m256i x = _mm256_mullo_epi16(SpreadAlpha(sv), colorAlpha);
    const __m256i m = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_add_epi16(x, _mm256_set1_epi16(1)), _mm256_srli_epi16(x, 8)), 8);
    const __m256i te = _mm256_srli_epi16(_mm256_mullo_epi16(EvenBytes(sv), tintEven), 8);
    const __m256i to = _mm256_srli_epi16(_mm256_mullo_epi16(OddBytes(sv), tintOdd), 8);
    // Over opaque pixels oa = 255 and w = m; m = 0 gives the pixel back.
    return CompositeOpaqueSplit8(te, to, dv, m);
}

KELVANE_AVX2 void TintRow(uint32_t* d, const uint32_t* s, int count, const Color& c,
                          const uint8_t* effAlpha, const uint32_t* tintR, const uint32_t* tintG,
                          const uint32_t* tintB, const uint16_t* blend) {
    const __m256i tintEven = _mm256_set1_epi32(int((uint32_t(c.red) << 16) | uint32_t(c.blue)));
    const __m256i tintOdd = _mm256_set1_epi32(c.green);
    const __m256i colorAlpha = _mm256_set1_epi16(short(c.alpha));
    // A row longer than eight pixels over opaque ones ends with its last eight: computed first,
    // from the untouched destination, and stored last over the overlap (glyph rows are often
    // a little over eight pixels wide).
    bool overlap = false;
    __m256i last = _mm256_setzero_si256();
    if (count > 8 && count % 8 != 0) {
        const __m256i dv = Load(d + count - 8);
        overlap = AllOpaque(dv);
        if (overlap) last = TintOpaque8(Load(s + count - 8), dv, tintEven, tintOdd, colorAlpha);
    }
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i dv = Load(d + i);
        if (!AllOpaque(dv)) {
            Reference::TintRow(d + i, s + i, 8, c, effAlpha, tintR, tintG, tintB, blend);
            continue;
        }
        Store(d + i, TintOpaque8(Load(s + i), dv, tintEven, tintOdd, colorAlpha));
    }
    if (overlap) {
        Store(d + count - 8, last);
        return;
    }
    Reference::TintRow(d + i, s + i, count - i, c, effAlpha, tintR, tintG, tintB, blend);
}

KELVANE_AVX2 void AddRow(uint32_t* d, const uint32_t* s, int count, int kR, int kG, int kB,
                         bool srcAlpha, const uint32_t* addR, const uint32_t* addG,
                         const uint32_t* addB, const uint8_t* sat) {
    const bool tinted = kR != 256 || kG != 256 || kB != 256;
    const __m256i kEven = _mm256_set1_epi32(int((uint32_t(kR) << 16) | uint32_t(kB)));
    const __m256i kOdd = _mm256_set1_epi32(kG);
    const __m256i alpha = AlphaBits();
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i sv = Load(s + i);
        __m256i even = EvenBytes(sv);
        __m256i odd = _mm256_and_si256(_mm256_srli_epi32(sv, 8), _mm256_set1_epi32(0xFF));
        if (tinted) {
            even = _mm256_srli_epi16(_mm256_mullo_epi16(even, kEven), 8);
            odd = _mm256_srli_epi16(_mm256_mullo_epi16(odd, kOdd), 8);
        }
        __m256i add = _mm256_or_si256(even, _mm256_slli_epi16(odd, 8));
        if (srcAlpha) {
            const __m256i a = SpreadAlpha(sv);
            even = _mm256_srli_epi16(_mm256_mullo_epi16(even, a), 8);
            odd = _mm256_srli_epi16(_mm256_mullo_epi16(odd, a), 8);
            add = _mm256_or_si256(even, _mm256_slli_epi16(odd, 8));
        } else {
            // Alpha 0 adds nothing.
            const __m256i clear =
                _mm256_cmpeq_epi32(_mm256_and_si256(sv, alpha), _mm256_setzero_si256());
            add = _mm256_andnot_si256(clear, add);
        }
        Store(d + i, _mm256_adds_epu8(Load(d + i), add));
    }
    Reference::AddRow(d + i, s + i, count - i, kR, kG, kB, srcAlpha, addR, addG, addB, sat);
}

KELVANE_AVX2 void AccumulateColumnTap(uint32_t* acc, const uint16_t* in, int count,
                                      uint32_t weight) {
    const __m256i w = _mm256_set1_epi32(int(weight));
    const int n = 4 * count;
    int k = 0;
    for (; k + 8 <= n; k += 8) {
        const __m256i v =
            _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + k)));
        Store(acc + k, _mm256_add_epi32(Load(acc + k), _mm256_mullo_epi32(v, w)));
    }
    Reference::AccumulateColumnTap(acc + k, in + k, (n - k) / 4, weight);
}

KELVANE_AVX2 void GatherRow(uint32_t* out, const uint32_t* s, int srcCount, const int32_t* columns,
                            int count) {
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i index = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + i));
        Store(out + i, _mm256_i32gather_epi32(reinterpret_cast<const int*>(s), index, 4));
    }
    Reference::GatherRow(out + i, s, srcCount, columns + i, count - i);
}

KELVANE_AVX2 void ExpandIndices(uint32_t* out, const uint8_t* indices, const uint32_t* table,
                                int count) {
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i index =
            _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(indices + i)));
        Store(out + i, _mm256_i32gather_epi32(reinterpret_cast<const int*>(table), index, 4));
    }
    Reference::ExpandIndices(out + i, indices + i, table, count - i);
}

KELVANE_AVX2 void AccumulateRowPairs(uint16_t* out, const uint32_t* s, int srcCount,
                                     const TapPairs& pairs) {
    const int n = int(pairs.Count());
    int k = 0;
    for (; k + 8 <= n; k += 8) {
        const __m256i p0 = _mm256_i32gather_epi32(
            reinterpret_cast<const int*>(s),
            Load(reinterpret_cast<const uint32_t*>(pairs.src0.data() + k)), 4);
        const __m256i p1 = _mm256_i32gather_epi32(
            reinterpret_cast<const int*>(s),
            Load(reinterpret_cast<const uint32_t*>(pairs.src1.data() + k)), 4);
        const __m256i weight0 = Load(pairs.w0.data() + k);
        const __m256i weight1 = Load(pairs.w1.data() + k);
        const __m256i even = _mm256_add_epi16(_mm256_mullo_epi16(EvenBytes(p0), weight0),
                                              _mm256_mullo_epi16(EvenBytes(p1), weight1));
        const __m256i odd = _mm256_add_epi16(_mm256_mullo_epi16(OddBytes(p0), weight0),
                                             _mm256_mullo_epi16(OddBytes(p1), weight1));
        // Blue, green, red, alpha per column, columns back in order.
        const __m256i lo = _mm256_unpacklo_epi16(even, odd);
        const __m256i hi = _mm256_unpackhi_epi16(even, odd);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * size_t(k)),
                            _mm256_permute2x128_si256(lo, hi, 0x20));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * size_t(k) + 16),
                            _mm256_permute2x128_si256(lo, hi, 0x31));
    }
    if (k < n) {
        const int32_t* i0 = pairs.src0.data();
        const int32_t* i1 = pairs.src1.data();
        const uint32_t* w0 = pairs.w0.data();
        const uint32_t* w1 = pairs.w1.data();
        Reference::AccumulateRowPairs(
            out + 4 * size_t(k), s, srcCount,
            TapPairs{{i0 + k, i0 + n}, {i1 + k, i1 + n}, {w0 + k, w0 + n}, {w1 + k, w1 + n}, true});
    }
}

KELVANE_AVX2 void FinishFilteredRowPair(uint32_t* d, const uint16_t* in0, uint32_t w0,
                                        const uint16_t* in1, uint32_t w1, int count) {
    const __m256i weight0 = _mm256_set1_epi16(short(w0));
    const __m256i weight1 = _mm256_set1_epi16(short(w1));
    const __m256i full = _mm256_set1_epi16(256);
    const __m256i opaque = _mm256_set1_epi16(255);
    const __m256i oneLane = _mm256_set1_epi16(1);
    const __m256i alphaIndex =
        _mm256_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15, 6, 7, 6, 7, 6, 7,
                         6, 7, 14, 15, 14, 15, 14, 15, 14, 15);
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        // Each channel (in0 x w0 + in1 x w1) / 65536 from the high and low halves of the
        // products, at most 255.
        const __m256i v0 =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in0 + 4 * size_t(i)));
        const __m256i v1 =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in1 + 4 * size_t(i)));
        const __m256i lo0 = _mm256_mullo_epi16(v0, weight0);
        const __m256i lo = _mm256_add_epi16(lo0, _mm256_mullo_epi16(v1, weight1));
        // No carry out of the low halves where lo >= lo0: there `noCarry` is -1, else 0.
        const __m256i noCarry = _mm256_cmpeq_epi16(_mm256_max_epu16(lo, lo0), lo);
        __m256i c =
            _mm256_add_epi16(_mm256_mulhi_epu16(v0, weight0), _mm256_mulhi_epu16(v1, weight1));
        c = _mm256_min_epu16(_mm256_add_epi16(_mm256_add_epi16(c, oneLane), noCarry), opaque);
        const __m256i d16 =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i)));
        const __m256i a = _mm256_shuffle_epi8(c, alphaIndex);
        // Colours c x a / 256 + dst x (256 - a) / 256; alpha da + (255 - da) x a / 255, the
        // division exact as (x + 1 + x / 256) / 256. With a = 0 both give the pixel back.
        const __m256i colour = _mm256_add_epi16(
            _mm256_srli_epi16(_mm256_mullo_epi16(c, a), 8),
            _mm256_srli_epi16(_mm256_mullo_epi16(d16, _mm256_sub_epi16(full, a)), 8));
        const __m256i x = _mm256_mullo_epi16(_mm256_sub_epi16(opaque, d16), a);
        const __m256i q = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_add_epi16(x, oneLane), _mm256_srli_epi16(x, 8)), 8);
        const __m256i out = _mm256_blend_epi16(colour, _mm256_add_epi16(d16, q), 0x88);
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(out, out), 0x08);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm256_castsi256_si128(packed));
    }
    Reference::FinishFilteredRowPair(d + i, in0 + 4 * size_t(i), w0, in1 + 4 * size_t(i), w1,
                                     count - i);
}

// Eight pixels in blend form composited onto the destination's eight at `d`, which stay as they
// are under transparent pixels: the value to store, worked out from the destination as it is.
KELVANE_AVX2 inline __m256i BlendFormGroup8(const uint32_t* d, const uint32_t* blueRed,
                                            const uint32_t* greenWeight) {
    const __m256i gw = Load(greenWeight);
    const __m256i dv = Load(d);
    return _mm256_blendv_epi8(dv, BlendForm8(Load(blueRed), gw, dv),
                              _mm256_cmpgt_epi32(_mm256_set1_epi32(0x01000000), gw));
}

constexpr int kNarrowBlendForm = 48;

// Narrow images (glyphs, pieces, icons), rows of 9 to 48 pixels: every group of eight goes
// through the formula, opaque pixels (weight 0) included, and only the transparent lanes keep
// the destination. A glyph's or a piece's rows change from transparent to opaque to mixed
// groups from one row to the next, and branching on the kind of each group costs more than the
// work. The row ends with its last eight pixels, computed first from the untouched destination
// and stored last over the overlap.
KELVANE_AVX2 void CompositeNarrowBlendForm(uint32_t* d, int dPitch, const BlendFormRect& s,
                                           int width, int height) {
    const int k = width - 8;
    for (int j = 0; j < height; ++j) {
        uint32_t* row = d + size_t(j) * size_t(dPitch);
        const uint32_t* blueRed = s.blueRed + size_t(j) * size_t(s.pitch);
        const uint32_t* greenWeight = s.greenWeight + size_t(j) * size_t(s.pitch);
        const __m256i last = BlendFormGroup8(row + k, blueRed + k, greenWeight + k);
        for (int i = 0; i < k; i += 8)
            Store(row + i, BlendFormGroup8(row + i, blueRed + i, greenWeight + i));
        Store(row + k, last);
    }
}

KELVANE_AVX2 void CompositeBlendFormOntoOpaque(uint32_t* d, int dPitch, const BlendFormRect& s,
                                               int width, int height) {
    if (width > 8 && width <= kNarrowBlendForm) {
        CompositeNarrowBlendForm(d, dPitch, s, width, height);
        return;
    }
    // Green-weight words are below 2^25, so signed compares order them: transparent pixels
    // (weight 256) reach 0x01000000, opaque ones (weight 0) stay below 0x00010000.
    const __m256i transparent = _mm256_set1_epi32(0x01000000);
    const __m256i opaque = _mm256_set1_epi32(0x00010000);
    for (int j = 0; j < height; ++j) {
        uint32_t* row = d + size_t(j) * size_t(dPitch);
        const uint32_t* blueRed = s.blueRed + size_t(j) * size_t(s.pitch);
        const uint32_t* greenWeight = s.greenWeight + size_t(j) * size_t(s.pitch);
        // A row longer than eight pixels ends with the last eight: computed first, from the
        // untouched destination, and stored last over the overlap.
        const bool overlap = width > 8 && width % 8 != 0;
        __m256i last = _mm256_setzero_si256();
        if (overlap) {
            const int k = width - 8;
            last = BlendFormGroup8(row + k, blueRed + k, greenWeight + k);
        }
        int i = 0;
        for (; i + 8 <= width; i += 8) {
            const __m256i gw = Load(greenWeight + i);
            const __m256i visible = _mm256_cmpgt_epi32(transparent, gw);
            if (_mm256_testz_si256(visible, visible)) continue;
            const __m256i br = Load(blueRed + i);
            if (_mm256_movemask_epi8(_mm256_cmpgt_epi32(opaque, gw)) == -1) {
                Store(row + i, Join(br, gw));
                continue;
            }
            const __m256i dv = Load(row + i);
            Store(row + i, _mm256_blendv_epi8(dv, BlendForm8(br, gw, dv), visible));
        }
        if (overlap) {
            Store(row + width - 8, last);
        } else if (i < width) {
            BlendFormRect rest;
            rest.blueRed = blueRed + i;
            rest.greenWeight = greenWeight + i;
            rest.pitch = s.pitch;
            Reference::CompositeBlendFormOntoOpaque(row + i, dPitch, rest, width - i, 1);
        }
    }
}

// Eight pixels of DarkenThroughBlendForm onto opaque ones: each channel dst x weight / 256
// (transparent lanes are the caller's to keep).
KELVANE_AVX2 inline __m256i Darken8(__m256i greenWeight, __m256i d) {
    const __m256i weightIndex = _mm256_setr_epi32(0x03020302, 0x07060706, 0x0B0A0B0A, 0x0F0E0F0E,
                                                  0x03020302, 0x07060706, 0x0B0A0B0A, 0x0F0E0F0E);
    const __m256i weight = _mm256_shuffle_epi8(greenWeight, weightIndex);
    return Join(_mm256_mullo_epi16(EvenBytes(d), weight), _mm256_mullo_epi16(OddBytes(d), weight));
}

KELVANE_AVX2 void DarkenThroughBlendForm(uint32_t* d, int dPitch, const BlendFormRect& s, int width,
                                         int height, const uint16_t* blend) {
    const __m256i transparent = _mm256_set1_epi32(0x01000000);
    // Eight pixels at `i`: transparent lanes keep the destination, groups over pixels that are
    // not opaque take the reference (written at once: `Darken8` reads only its own pixels).
    auto group = [&](uint32_t* row, const uint32_t* greenWeight, int i, __m256i* out) KELVANE_AVX2 {
        const __m256i gw = Load(greenWeight + i);
        const __m256i dv = Load(row + i);
        if (!AllOpaque(dv)) return false;
        *out = _mm256_blendv_epi8(dv, Darken8(gw, dv), _mm256_cmpgt_epi32(transparent, gw));
        return true;
    };
    for (int j = 0; j < height; ++j) {
        uint32_t* row = d + size_t(j) * size_t(dPitch);
        const uint32_t* greenWeight = s.greenWeight + size_t(j) * size_t(s.pitch);
        BlendFormRect rowForm;
        rowForm.greenWeight = greenWeight;
        rowForm.pitch = s.pitch;
        if (width < 8) {
            Reference::DarkenThroughBlendForm(row, dPitch, rowForm, width, 1, blend);
            continue;
        }
        // A row that is not a whole number of groups ends with the last eight pixels: computed
        // first, from the untouched destination, and stored last over the overlap.
        const bool overlap = width % 8 != 0;
        __m256i last = _mm256_setzero_si256();
        const bool lastDone = overlap && group(row, greenWeight, width - 8, &last);
        for (int i = 0; i + 8 <= width; i += 8) {
            __m256i out;
            if (group(row, greenWeight, i, &out)) {
                Store(row + i, out);
            } else {
                BlendFormRect part = rowForm;
                part.greenWeight = greenWeight + i;
                Reference::DarkenThroughBlendForm(row + i, dPitch, part, 8, 1, blend);
            }
        }
        if (overlap) {
            const int k = width & ~7;
            if (lastDone) {
                Store(row + width - 8, last);
            } else {
                BlendFormRect part = rowForm;
                part.greenWeight = greenWeight + k;
                Reference::DarkenThroughBlendForm(row + k, dPitch, part, width - k, 1, blend);
            }
        }
    }
}

}  // namespace
}  // namespace Avx2

KernelTable Avx2Kernels() {
    KernelTable table = Sse2Kernels();
    table.fillRowOpaque = Avx2::FillRowOpaque;
    table.fillRowBlend = Avx2::FillRowBlend;
    table.blendRowOntoOpaque = Avx2::BlendRowOntoOpaque;
    table.compositeRowOntoOpaque = Avx2::CompositeRowOntoOpaque;
    table.compositeRectOntoOpaque = Avx2::CompositeRectOntoOpaque;
    table.compositeRow = Avx2::CompositeRow;
    table.gatherRow = Avx2::GatherRow;
    table.expandIndices = Avx2::ExpandIndices;
    table.tintRow = Avx2::TintRow;
    table.addRow = Avx2::AddRow;
    table.accumulateColumnTap = Avx2::AccumulateColumnTap;
    table.accumulateRowPairs = Avx2::AccumulateRowPairs;
    table.finishFilteredRowPair = Avx2::FinishFilteredRowPair;
    table.compositeBlendFormOntoOpaque = Avx2::CompositeBlendFormOntoOpaque;
    table.darkenThroughBlendForm = Avx2::DarkenThroughBlendForm;
    table.compositeRowOverColor = Avx2::CompositeRowOverColor;
    return table;
}

}  // namespace Zarvo::PixelKernels

#endif
