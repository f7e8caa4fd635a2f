// The motion-history step for one row with AVX2: 32 pixels at a time, in
// integers proven equal to the double formulas (see the comments), the rare
// colours where the double luminance falls below the exact one taken from the
// formula itself.
#include "processing/motion_kernels.h"
#include "processing/pixel_formulas.h"
#include "processing/pixels_avx2.h"

using namespace pixel_formulas;
using namespace pixels_avx2;

namespace {

// The luminance of 32 pixels. With S = 299 red + 587 green + 114 blue + 500,
// the exact value of the formula is S / 1000, which the double sum misses by
// far less than 1/1000; so the double result is floor(S / 1000), except that
// where S is a multiple of 1000 it may land just below and give one less.
// Those pixels are evaluated with the double formula.
__m256i Luminance32(__m256i blue, __m256i green, __m256i red, const BYTE* pixels) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i redGreenWeights = _mm256_set1_epi32(299 | (587 << 16));
    const __m256i blueWeights = _mm256_set1_epi32(114 | (500 << 16));
    const __m256i ones = _mm256_set1_epi16(1);
    const __m256i seven = _mm256_set1_epi32(7);

    __m256i levels16[2];
    __m256i exactMultiple16[2];
    for (int half = 0; half < 2; ++half) {
        const __m256i r =
            half == 0 ? _mm256_unpacklo_epi8(red, zero) : _mm256_unpackhi_epi8(red, zero);
        const __m256i g =
            half == 0 ? _mm256_unpacklo_epi8(green, zero) : _mm256_unpackhi_epi8(green, zero);
        const __m256i b =
            half == 0 ? _mm256_unpacklo_epi8(blue, zero) : _mm256_unpackhi_epi8(blue, zero);
        __m256i eighths[2];
        __m256i lowBits[2];
        for (int quad = 0; quad < 2; ++quad) {
            const __m256i rg =
                quad == 0 ? _mm256_unpacklo_epi16(r, g) : _mm256_unpackhi_epi16(r, g);
            const __m256i b1 =
                quad == 0 ? _mm256_unpacklo_epi16(b, ones) : _mm256_unpackhi_epi16(b, ones);
            const __m256i s = _mm256_add_epi32(_mm256_madd_epi16(rg, redGreenWeights),
                                               _mm256_madd_epi16(b1, blueWeights));
            eighths[quad] = _mm256_srli_epi32(s, 3);  // at most 31,937
            lowBits[quad] = _mm256_and_si256(s, seven);
        }
        const __m256i q = _mm256_packus_epi32(eighths[0], eighths[1]);
        // floor(q / 125) = (q * 33555) >> 22 for every q up to 31,937.
        const __m256i level = _mm256_srli_epi16(
            _mm256_mulhi_epu16(q, _mm256_set1_epi16(static_cast<short>(33555))), 6);
        const __m256i rest =
            _mm256_or_si256(_mm256_sub_epi16(q, _mm256_mullo_epi16(level, _mm256_set1_epi16(125))),
                            _mm256_packus_epi32(lowBits[0], lowBits[1]));
        levels16[half] = level;
        exactMultiple16[half] = _mm256_cmpeq_epi16(rest, zero);
    }
    __m256i levels = _mm256_packus_epi16(levels16[0], levels16[1]);
    unsigned exact = static_cast<unsigned>(
        _mm256_movemask_epi8(_mm256_packs_epi16(exactMultiple16[0], exactMultiple16[1])));
    if (exact != 0) {
        alignas(32) BYTE fixed[32];
        _mm256_store_si256(reinterpret_cast<__m256i*>(fixed), levels);
        while (exact != 0) {
            const int i = __builtin_ctz(exact);
            exact &= exact - 1;
            const BYTE* p = pixels + 3 * i;
            fixed[i] = static_cast<BYTE>(LuminanceOf(p[2], p[1], p[0]));
        }
        levels = _mm256_load_si256(reinterpret_cast<const __m256i*>(fixed));
    }
    return levels;
}

// trunc(v * 0.98) for every byte v: floor(v * 64226 / 65536).
__m256i Decay(__m256i v) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i factor = _mm256_set1_epi16(static_cast<short>(64226));
    const __m256i lo = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(v, zero), factor);
    const __m256i hi = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(v, zero), factor);
    return _mm256_packus_epi16(lo, hi);
}

// The same step for single pixels, from the formulas themselves.
void MotionPixels(const BYTE* frame, BYTE* prevGray, BYTE* gray, BYTE* mask, BYTE* history,
                  int count) {
    for (int x = 0; x < count; ++x) {
        const BYTE* f = frame + 3 * x;
        const int level = LuminanceOf(f[2], f[1], f[0]);
        int difference = prevGray[3 * x + 1] - level;
        difference = difference < 0 ? -difference : difference;
        const BYTE moved = difference > kDifferenceThreshold ? 255 : 0;
        for (int c = 0; c < 3; ++c) {
            prevGray[3 * x + c] = static_cast<BYTE>(level);
            if (gray != nullptr) {
                gray[3 * x + c] = static_cast<BYTE>(level);
            }
            if (mask != nullptr) {
                mask[3 * x + c] = moved;
            }
        }
        for (int c = 2; c >= 0; --c) {
            BYTE& h = history[3 * x + c];
            h = moved > kMaskLevel ? moved : SaturateToByte(h * kDecayFactor);
        }
    }
}

}  // namespace

void MotionRowAvx2(const BYTE* frame, BYTE* prevGray, BYTE* gray, BYTE* mask, BYTE* history,
                   int width) {
    const __m256i threshold = _mm256_set1_epi8(kDifferenceThreshold);
    const __m256i zero = _mm256_setzero_si256();
    int x = 0;
    for (; x + kGroupPixels <= width; x += kGroupPixels) {
        const int at = 3 * x;
        const Pixels32 f = LoadPixels(frame + at);
        const __m256i level = Luminance32(Channel(f, 0), Channel(f, 1), Channel(f, 2), frame + at);
        const __m256i previous = Channel(LoadPixels(prevGray + at), 1);
        const __m256i difference =
            _mm256_or_si256(_mm256_subs_epu8(level, previous), _mm256_subs_epu8(previous, level));
        // 0 where the difference is at most the threshold, else 255.
        const __m256i still = _mm256_cmpeq_epi8(_mm256_subs_epu8(difference, threshold), zero);
        const __m256i moved = _mm256_xor_si256(still, _mm256_set1_epi8(-1));

        const Pixels32 grey3 = Spread(level);
        const Pixels32 moved3 = Spread(moved);
        StorePixels(prevGray + at, grey3);
        if (gray != nullptr) {
            StorePixels(gray + at, grey3);
        }
        if (mask != nullptr) {
            StorePixels(mask + at, moved3);
        }
        Pixels32 h = LoadPixels(history + at);
        for (int k = 0; k < 3; ++k) {
            h.part[k] = _mm256_or_si256(Decay(h.part[k]), moved3.part[k]);
        }
        StorePixels(history + at, h);
    }
    MotionPixels(frame + 3 * x, prevGray + 3 * x, gray != nullptr ? gray + 3 * x : nullptr,
                 mask != nullptr ? mask + 3 * x : nullptr, history + 3 * x, width - x);
}
