// The SSE2 row kernels: four pixels at a time in 16-bit lanes. SSE2 is part of every x86-64
// processor, so these need no run-time check.
#if defined(__x86_64__)

#include <emmintrin.h>

#include "graphics/PixelKernelTable.h"

namespace Zarvo::PixelKernels {

namespace Sse2 {
namespace {

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

inline __m128i Load(const uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void Store(uint32_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// Each pixel's alpha in both of its 16-bit lanes.
inline __m128i PixelAlpha(__m128i s) {
    const __m128i a = _mm_srli_epi32(s, 24);
    return _mm_or_si128(a, _mm_slli_epi32(a, 16));
}
inline __m128i EvenBytes(__m128i v) {
    return _mm_and_si128(v, _mm_set1_epi32(0x00FF00FF));
}
inline __m128i OddBytes(__m128i v) {
    return _mm_srli_epi16(v, 8);
}

// Puts the high bytes of the blue-red sums and the green sum together, alpha 255.
inline __m128i Join(__m128i evenSums, __m128i oddSums) {
    const __m128i rb = _mm_srli_epi16(evenSums, 8);
    const __m128i g = _mm_and_si128(oddSums, _mm_set1_epi32(0x0000FF00));
    return _mm_or_si128(_mm_or_si128(rb, g), AlphaBits());
}

// Blend onto opaque: red and green (dst x (256 - a) + src x a) / 256, blue with the source
// term's fraction dropped before the sum (which is the two terms truncated apart), alpha 255.
inline __m128i BlendOpaque4(__m128i s, __m128i d) {
    const __m128i a = PixelAlpha(s);
    const __m128i ia = _mm_sub_epi16(_mm_set1_epi16(256), a);
    const __m128i blueFraction = _mm_set1_epi32(int(0xFFFFFF00u));
    const __m128i even =
        _mm_add_epi16(_mm_mullo_epi16(EvenBytes(d), ia),
                      _mm_and_si128(_mm_mullo_epi16(EvenBytes(s), a), blueFraction));
    const __m128i odd =
        _mm_add_epi16(_mm_mullo_epi16(OddBytes(d), ia), _mm_mullo_epi16(OddBytes(s), a));
    return Join(even, odd);
}

// The composite onto opaque pixels (oa = 255, w = the source alpha), every channel one sum.
inline __m128i CompositeOpaque4(__m128i s, __m128i d) {
    const __m128i a = PixelAlpha(s);
    const __m128i ia = _mm_sub_epi16(_mm_set1_epi16(256), a);
    const __m128i even =
        _mm_add_epi16(_mm_mullo_epi16(EvenBytes(d), ia), _mm_mullo_epi16(EvenBytes(s), a));
    const __m128i odd =
        _mm_add_epi16(_mm_mullo_epi16(OddBytes(d), ia), _mm_mullo_epi16(OddBytes(s), a));
    return Join(even, odd);
}

void FillRowOpaque(uint32_t* p, int count, uint32_t packed) {
    int i = 0;
    const __m128i v = _mm_set1_epi32(int(packed));
    for (; i + 16 <= count; i += 16) {
        Store(p + i, v);
        Store(p + i + 4, v);
        Store(p + i + 8, v);
        Store(p + i + 12, v);
    }
    for (; i < count; ++i) p[i] = packed;
}

void FillRowBlend(uint32_t* p, int count, uint32_t packed, const uint16_t* blend) {
    const uint32_t sa = packed >> 24;
    const __m128i srcTerm =
        _mm_mullo_epi16(Lo16(_mm_set1_epi32(int(packed & 0x00FFFFFF))), _mm_set1_epi16(short(sa)));
    const __m128i inverse = _mm_set1_epi16(short(256 - sa));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i d = Load(p + i);
        if (!AllOpaque(d)) {
            Reference::FillRowBlend(p + i, 4, packed, blend);
            continue;
        }
        // Over opaque pixels oa = 255 and w = sa.
        const __m128i lo =
            _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(Lo16(d), inverse), srcTerm), 8);
        const __m128i hi =
            _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(Hi16(d), inverse), srcTerm), 8);
        Store(p + i, _mm_or_si128(_mm_packus_epi16(lo, hi), AlphaBits()));
    }
    Reference::FillRowBlend(p + i, count - i, packed, blend);
}

void BlendRowOntoOpaque(uint32_t* d, const uint32_t* s, int count) {
    int k = 0;
    for (; k + 4 <= count; k += 4) Store(d + k, BlendOpaque4(Load(s + k), Load(d + k)));
    Reference::BlendRowOntoOpaque(d + k, s + k, count - k);
}

void CompositeRowOntoOpaque(uint32_t* d, const uint32_t* s, int count) {
    const __m128i alpha = AlphaBits();
    int k = 0;
    for (; k + 4 <= count; k += 4) {
        const __m128i sv = Load(s + k);
        const __m128i sa = _mm_and_si128(sv, alpha);
        const __m128i clear = _mm_cmpeq_epi32(sa, _mm_setzero_si128());
        const int clearBits = _mm_movemask_epi8(clear);
        if (clearBits == 0xFFFF) continue;  // transparent: the destination stays
        const __m128i opaque = _mm_cmpeq_epi32(sa, alpha);
        if (_mm_movemask_epi8(opaque) == 0xFFFF) {
            Store(d + k, sv);  // opaque: no need to read the destination
            continue;
        }
        const __m128i dv = Load(d + k);
        __m128i out = BlendOpaque4(sv, dv);
        out = _mm_or_si128(_mm_and_si128(opaque, sv), _mm_andnot_si128(opaque, out));
        out = _mm_or_si128(_mm_and_si128(clear, dv), _mm_andnot_si128(clear, out));
        Store(d + k, out);
    }
    Reference::CompositeRowOntoOpaque(d + k, s + k, count - k);
}

void CompositeRow(uint32_t* d, const uint32_t* s, int count, const uint16_t* blend) {
    int k = 0;
    for (; k + 4 <= count; k += 4) {
        const __m128i dv = Load(d + k);
        if (!AllOpaque(dv)) {
            Reference::CompositeRow(d + k, s + k, 4, blend);
            continue;
        }
        // Over opaque pixels alpha 0 gives the destination back, so no pixel needs skipping.
        Store(d + k, CompositeOpaque4(Load(s + k), dv));
    }
    Reference::CompositeRow(d + k, s + k, count - k, blend);
}

void TintRow(uint32_t* d, const uint32_t* s, int count, const Color& c, const uint8_t* effAlpha,
             const uint32_t* tintR, const uint32_t* tintG, const uint32_t* tintB,
             const uint16_t* blend) {
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
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i dv = Load(d + i);
        if (!AllOpaque(dv)) {
            Reference::TintRow(d + i, s + i, 4, c, effAlpha, tintR, tintG, tintB, blend);
            continue;
        }
        const __m128i sv = Load(s + i);
        const __m128i out = _mm_packus_epi16(half(Lo16(sv), Lo16(dv)), half(Hi16(sv), Hi16(dv)));
        Store(d + i, _mm_or_si128(out, AlphaBits()));
    }
    Reference::TintRow(d + i, s + i, count - i, c, effAlpha, tintR, tintG, tintB, blend);
}

void AddRow(uint32_t* d, const uint32_t* s, int count, int kR, int kG, int kB, bool srcAlpha,
            const uint32_t* addR, const uint32_t* addG, const uint32_t* addB, const uint8_t* sat) {
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
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i sv = Load(s + i);
        const __m128i add = _mm_packus_epi16(half(Lo16(sv)), half(Hi16(sv)));
        Store(d + i, _mm_adds_epu8(Load(d + i), add));
    }
    Reference::AddRow(d + i, s + i, count - i, kR, kG, kB, srcAlpha, addR, addG, addB, sat);
}

void AccumulateRowTaps(uint16_t* out, const uint32_t* s, int firstCol, const std::vector<Tap>& taps,
                       const std::vector<uint64_t>& weightLanes) {
    // The taps come in slot order, so a slot's sum is built in a register and stored once.
    auto flush = [&](int slot, __m128i sum) {
        __m128i* at = reinterpret_cast<__m128i*>(out + size_t(slot) * 4);
        _mm_storel_epi64(at, _mm_add_epi16(_mm_loadl_epi64(at), sum));
    };
    __m128i sum = _mm_setzero_si128();
    int slot = -1;
    for (size_t t = 0; t < taps.size(); ++t) {
        const Tap& tap = taps[t];
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
}

void AccumulateColumnTap(uint32_t* acc, const uint16_t* in, int count, uint32_t weight) {
    int k = 0;
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
    Reference::AccumulateColumnTap(acc + 4 * k, in + 4 * k, count - k, weight);
}

void FinishFilteredRow(uint32_t* d, const uint32_t* acc, int count) {
    const __m128i full = _mm_set1_epi16(256);
    const __m128i opaque = _mm_set1_epi16(255);
    const __m128i oneLane = _mm_set1_epi16(1);
    const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    auto half = [&](const uint32_t* sums, __m128i d16) {
        const __m128i v0 = _mm_srli_epi32(Load(sums), 16);
        const __m128i v1 = _mm_srli_epi32(Load(sums + 4), 16);
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
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i dv = Load(d + i);
        Store(d + i,
              _mm_packus_epi16(half(acc + 4 * i, Lo16(dv)), half(acc + 4 * i + 8, Hi16(dv))));
    }
    Reference::FinishFilteredRow(d + i, acc + 4 * i, count - i);
}

}  // namespace
}  // namespace Sse2

KernelTable Sse2Kernels() {
    return KernelTable{Sse2::FillRowOpaque,
                       Sse2::FillRowBlend,
                       Sse2::BlendRowOntoOpaque,
                       Sse2::CompositeRowOntoOpaque,
                       Sse2::CompositeRow,
                       Sse2::TintRow,
                       Sse2::AddRow,
                       Sse2::AccumulateRowTaps,
                       Sse2::AccumulateColumnTap,
                       Sse2::FinishFilteredRow,
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

}  // namespace Zarvo::PixelKernels

#endif
