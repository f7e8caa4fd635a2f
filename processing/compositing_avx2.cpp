// The history-weighted blend of one row with AVX2: 32 pixels at a time.
//
// For weight byte h, background byte b and frame byte f the double formula
// b * (1 - h/255) + f * (h/255) misses the exact value n / 255, n = b (255 - h) + f h,
// by far less than 1/255; so it truncates to floor(n / 255), except that where
// n is a multiple of 255 it may land just below and give one less. Those
// channels (apart from h = 0 and h = 255, where the formula is exact) are
// evaluated with the formula itself.
#include "processing/blend_kernels.h"
#include "processing/pixel_formulas.h"
#include "processing/pixels_avx2.h"

using namespace pixel_formulas;
using namespace pixels_avx2;

namespace {

struct BlendedPart {
    __m256i bytes;
    unsigned onMultiple;  // bit i: byte i needs the formula
};

// One part (32 channel bytes) of the blend in integers.
BlendedPart BlendPart(__m256i background, __m256i frame, __m256i weight) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i full = _mm256_set1_epi16(255);
    // floor(n / 255) = (n * 32897) >> 23 for every n up to 65,025.
    const __m256i reciprocal = _mm256_set1_epi16(static_cast<short>(32897));
    __m256i levels[2];
    __m256i multiples[2];
    for (int half = 0; half < 2; ++half) {
        const __m256i b = half == 0 ? _mm256_unpacklo_epi8(background, zero)
                                    : _mm256_unpackhi_epi8(background, zero);
        const __m256i f =
            half == 0 ? _mm256_unpacklo_epi8(frame, zero) : _mm256_unpackhi_epi8(frame, zero);
        const __m256i h =
            half == 0 ? _mm256_unpacklo_epi8(weight, zero) : _mm256_unpackhi_epi8(weight, zero);
        // At most 65,025: exact in unsigned 16-bit arithmetic.
        const __m256i n = _mm256_add_epi16(_mm256_mullo_epi16(b, _mm256_sub_epi16(full, h)),
                                           _mm256_mullo_epi16(f, h));
        const __m256i level = _mm256_srli_epi16(_mm256_mulhi_epu16(n, reciprocal), 7);
        levels[half] = level;
        multiples[half] = _mm256_cmpeq_epi16(_mm256_mullo_epi16(level, full), n);
    }
    const __m256i ends = _mm256_or_si256(_mm256_cmpeq_epi8(weight, zero),
                                         _mm256_cmpeq_epi8(weight, _mm256_set1_epi8(-1)));
    const __m256i onMultiple =
        _mm256_andnot_si256(ends, _mm256_packs_epi16(multiples[0], multiples[1]));
    return {_mm256_packus_epi16(levels[0], levels[1]),
            static_cast<unsigned>(_mm256_movemask_epi8(onMultiple))};
}

// Replaces the marked bytes by the double formula.
__m256i FixFromFormula(__m256i levels, unsigned marked, __m256i background, __m256i frame,
                       __m256i weight) {
    alignas(32) BYTE out[32];
    alignas(32) BYTE b[32];
    alignas(32) BYTE f[32];
    alignas(32) BYTE h[32];
    _mm256_store_si256(reinterpret_cast<__m256i*>(out), levels);
    _mm256_store_si256(reinterpret_cast<__m256i*>(b), background);
    _mm256_store_si256(reinterpret_cast<__m256i*>(f), frame);
    _mm256_store_si256(reinterpret_cast<__m256i*>(h), weight);
    while (marked != 0) {
        const int i = __builtin_ctz(marked);
        marked &= marked - 1;
        out[i] = BlendChannel(b[i], f[i], h[i]);
    }
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(out));
}

}  // namespace

std::uint64_t BlendRowAvx2(const BYTE* frame, const BYTE* history, const BYTE* background,
                           BYTE* out, int width) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i allOnes = _mm256_set1_epi8(-1);
    __m256i sums = zero;
    int x = 0;
    for (; x + kGroupPixels <= width; x += kGroupPixels) {
        const int at = 3 * x;
        const __m256i weight = Channel(LoadPixels(history + at), 2);
        sums = _mm256_add_epi64(sums, _mm256_sad_epu8(weight, zero));
        const Pixels32 b = LoadPixels(background + at);
        const Pixels32 f = LoadPixels(frame + at);
        // Weight 0 gives the background and 255 the frame, exactly.
        if (_mm256_testz_si256(weight, weight)) {
            StorePixels(out + at, b);
            continue;
        }
        if (_mm256_testc_si256(weight, allOnes)) {
            StorePixels(out + at, f);
            continue;
        }
        const Pixels32 w = Spread(weight);
        Pixels32 blended;
        for (int k = 0; k < 3; ++k) {
            const BlendedPart part = BlendPart(b.part[k], f.part[k], w.part[k]);
            blended.part[k] =
                part.onMultiple == 0
                    ? part.bytes
                    : FixFromFormula(part.bytes, part.onMultiple, b.part[k], f.part[k], w.part[k]);
        }
        StorePixels(out + at, blended);
    }
    std::uint64_t sum = static_cast<std::uint64_t>(_mm256_extract_epi64(sums, 0)) +
                        static_cast<std::uint64_t>(_mm256_extract_epi64(sums, 1)) +
                        static_cast<std::uint64_t>(_mm256_extract_epi64(sums, 2)) +
                        static_cast<std::uint64_t>(_mm256_extract_epi64(sums, 3));
    for (; x < width; ++x) {
        const int at = 3 * x;
        const int h = history[at + 2];
        sum += static_cast<std::uint64_t>(h);
        for (int c = 2; c >= 0; --c) {
            out[at + c] = BlendChannel(background[at + c], frame[at + c], h);
        }
    }
    return sum;
}
