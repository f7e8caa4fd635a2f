// The motion-history step for one row with AVX2: 32 pixels at a time, in
// integers proven equal to the double formulas (see the comments), the rare
// colours where the double luminance falls below the exact one taken from the
// formula itself.
#include "processing/motion_row_kernel.h"
#include "processing/pixel_formulas.h"
#include "processing/pixels_avx2.h"

using namespace pixel_formulas;
using namespace pixels_avx2;

namespace {

// Evaluates the formula for the marked pixels.
__attribute__((noinline)) void FixLevels(__m256i* levels, unsigned marked, const BYTE* pixels) {
    alignas(32) BYTE fixed[32];
    _mm256_store_si256(reinterpret_cast<__m256i*>(fixed), *levels);
    while (marked != 0) {
        const int i = __builtin_ctz(marked);
        marked &= marked - 1;
        const BYTE* p = pixels + 3 * i;
        fixed[i] = static_cast<BYTE>(LuminanceOf(p[2], p[1], p[0]));
    }
    *levels = _mm256_load_si256(reinterpret_cast<const __m256i*>(fixed));
}

// The luminance of 32 pixels. With S = 299 red + 587 green + 114 blue + 500,
// the exact value of the formula is S / 1000, which the double sum misses by
// far less than 1/1000; so the double result is floor(S / 1000), except that
// where S is a multiple of 1000 it may land just below and give one less.
// Those pixels are evaluated with the double formula.
//
// In 16-bit lanes: S = 256 (red + 2 green) + W, W = 43 red + 75 green +
// 114 blue + 500 (at most 59,660), so floor(S / 8) = 32 (red + 2 green) +
// floor(W / 8) (at most 31,937) and S mod 8 = W mod 8.
//
// Pairs of bytes per pixel for 8 pixels (first 0 or 8) of each half: red and
// green, or blue and nothing.
constexpr ShuffleMask kRedGreenMasks[2][3] = {
    {GatherMask(0, 2, 2, 1, 0), GatherMask(0, 2, 2, 1, 1), GatherMask(0, 2, 2, 1, 2)},
    {GatherMask(8, 2, 2, 1, 0), GatherMask(8, 2, 2, 1, 1), GatherMask(8, 2, 2, 1, 2)},
};
constexpr ShuffleMask kBlueMasks[2][3] = {
    {GatherMask(0, 2, 0, -1, 0), GatherMask(0, 2, 0, -1, 1), GatherMask(0, 2, 0, -1, 2)},
    {GatherMask(8, 2, 0, -1, 0), GatherMask(8, 2, 0, -1, 1), GatherMask(8, 2, 0, -1, 2)},
};

struct Levels16 {
    __m256i level;
    __m256i onMultiple;  // all ones where S is a multiple of 1000
};

// 8 pixels of each half in 16-bit lanes. With the pairs (red, green) and
// (blue, 4): W = 43 red + 75 green + (114 blue + 4 * 125) and
// floor(S / 8) = (32 red + 64 green) + floor(W / 8).
inline Levels16 LuminanceOf8(const Pixels32& f, int eighth, __m256i multiplier125) {
    const __m256i redGreen = Gather(f, kRedGreenMasks[eighth]);
    const __m256i blueFour =
        _mm256_or_si256(Gather(f, kBlueMasks[eighth]), _mm256_set1_epi16(0x0400));
    const __m256i w =
        _mm256_add_epi16(_mm256_maddubs_epi16(redGreen, _mm256_set1_epi16(43 | (75 << 8))),
                         _mm256_maddubs_epi16(blueFour, _mm256_set1_epi16(114 | (125 << 8))));
    const __m256i eighths = _mm256_add_epi16(
        _mm256_maddubs_epi16(redGreen, _mm256_set1_epi16(32 | (64 << 8))), _mm256_srli_epi16(w, 3));
    // floor(q / 125) = (q * 33555) >> 22 for every q up to 31,937.
    const __m256i level = _mm256_srli_epi16(
        _mm256_mulhi_epu16(eighths, _mm256_set1_epi16(static_cast<short>(33555))), 6);
    const __m256i rest =
        _mm256_or_si256(_mm256_sub_epi16(eighths, _mm256_mullo_epi16(level, multiplier125)),
                        _mm256_and_si256(w, _mm256_set1_epi16(7)));
    return {level, _mm256_cmpeq_epi16(rest, _mm256_setzero_si256())};
}

__m256i Luminance32(const Pixels32& f, const BYTE* pixels, __m256i multiplier125) {
    const Levels16 lo = LuminanceOf8(f, 0, multiplier125);
    const Levels16 hi = LuminanceOf8(f, 1, multiplier125);
    __m256i levels = _mm256_packus_epi16(lo.level, hi.level);
    unsigned onMultiple = static_cast<unsigned>(
        _mm256_movemask_epi8(_mm256_packs_epi16(lo.onMultiple, hi.onMultiple)));
    if (__builtin_expect(onMultiple != 0, 0)) {
        FixLevels(&levels, onMultiple, pixels);
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
void MotionPixels(const BYTE* frame, BYTE* prevGray, BYTE* history, BYTE* out, int count) {
    for (int x = 0; x < count; ++x) {
        const BYTE* f = frame + 3 * x;
        const int level = LuminanceOf(f[2], f[1], f[0]);
        int difference = prevGray[3 * x + 1] - level;
        difference = difference < 0 ? -difference : difference;
        const BYTE moved = difference > kDifferenceThreshold ? 255 : 0;
        for (int c = 2; c >= 0; --c) {
            prevGray[3 * x + c] = static_cast<BYTE>(level);
            BYTE& h = history[3 * x + c];
            h = moved > kMaskLevel ? moved : SaturateToByte(h * kDecayFactor);
            if (out != nullptr) {
                out[3 * x + c] = h;
            }
        }
    }
}

}  // namespace

void MotionRowAvx2(const BYTE* frame, BYTE* prevGray, BYTE* history, BYTE* out, int width) {
    const __m256i threshold = _mm256_set1_epi8(kDifferenceThreshold);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i multiplier125 = Opaque(_mm256_set1_epi16(125));
    int x = 0;
    for (; x + kGroupPixels <= width; x += kGroupPixels) {
        const int at = 3 * x;
        const Pixels32 f = LoadPixels(frame + at);
        const __m256i level = Luminance32(f, frame + at, multiplier125);
        const __m256i previous = Channel(LoadPixels(prevGray + at), 1);
        const __m256i difference =
            _mm256_or_si256(_mm256_subs_epu8(level, previous), _mm256_subs_epu8(previous, level));
        // 255 where the difference exceeds the threshold, else 0.
        const __m256i moved = _mm256_xor_si256(
            _mm256_cmpeq_epi8(_mm256_subs_epu8(difference, threshold), zero), _mm256_set1_epi8(-1));
        const Pixels32 moved3 = Spread(moved);
        StorePixels(prevGray + at, Spread(level));
        // Decayed, or 255 where moved.
        Pixels32 h = LoadPixels(history + at);
        h.part0 = _mm256_or_si256(Decay(h.part0), moved3.part0);
        h.part1 = _mm256_or_si256(Decay(h.part1), moved3.part1);
        h.part2 = _mm256_or_si256(Decay(h.part2), moved3.part2);
        StorePixels(history + at, h);
        if (out != nullptr) {
            StorePixels(out + at, h);
        }
    }
    MotionPixels(frame + 3 * x, prevGray + 3 * x, history + 3 * x,
                 out != nullptr ? out + 3 * x : nullptr, width - x);
}
