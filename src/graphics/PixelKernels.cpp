#include "graphics/PixelKernels.h"

#include <algorithm>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Zarvo::PixelKernels {

namespace {

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

// Accumulates `weight` x the four channels of `pixel` into four 16-bit sums (blue, green, red,
// alpha). A slot's weights never add up to more than a full pixel (257), so 255 x 257 fits.
[[maybe_unused]] inline void AccumulateRowTap(uint16_t* sums, uint32_t pixel, uint32_t weight) {
    for (int c = 0; c < 4; ++c) {
        sums[c] = uint16_t(sums[c] + ((pixel >> (8 * c)) & 0xFF) * weight);
    }
}

}  // namespace

const BlendTable& GetBlendTable() {
    static const BlendTable table;
    return table;
}

void FillRowOpaque(uint32_t* p, int count, uint32_t packed) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i v = _mm_set1_epi32(int(packed));
    for (; i + 16 <= count; i += 16) {
        __m128i* out = reinterpret_cast<__m128i*>(p + i);
        _mm_storeu_si128(out, v);
        _mm_storeu_si128(out + 1, v);
        _mm_storeu_si128(out + 2, v);
        _mm_storeu_si128(out + 3, v);
    }
#endif
    for (; i < count; ++i) p[i] = packed;
}

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

void AccumulateRowTaps(uint16_t* out, const uint32_t* s, int firstCol, const std::vector<Tap>& taps,
                       const std::vector<uint64_t>& weightLanes) {
#if defined(__SSE2__)
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
#else
    (void)weightLanes;
    for (const Tap& tap : taps) {
        AccumulateRowTap(out + size_t(tap.slot) * 4, s[tap.src - firstCol], tap.weight);
    }
#endif
}

// acc[k] += weight x in[k] for `count` slots of four channels (32-bit sums of 16-bit values).
void AccumulateColumnTap(uint32_t* acc, const uint16_t* in, int count, uint32_t weight) {
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
void FinishFilteredRow(uint32_t* d, const uint32_t* acc, int count) {
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

}  // namespace Zarvo::PixelKernels
