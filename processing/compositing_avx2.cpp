// The history-weighted blend of one row with AVX2: 32 pixels at a time.
//
// For weight byte h, background byte b and frame byte f the double formula
// b * (1 - h/255) + f * (h/255) misses the exact value n / 255, n = b (255 - h) + f h,
// by far less than 1/255; so it truncates to floor(n / 255), except that where
// n is a multiple of 255 it may land just below and give one less. Those
// channels (apart from h = 0 and h = 255, where the formula is exact) are
// taken from a table made from the formula where the background and frame
// bytes are equal (the common case: a still scene), and evaluated with the
// formula itself otherwise.
#include "processing/blend_kernels.h"
#include "processing/pixel_formulas.h"
#include "processing/pixels_avx2.h"

using namespace pixel_formulas;
using namespace pixels_avx2;

namespace {

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

// Whether bit v of a 256-bit set (32 bytes) is set, for each byte v.
__attribute__((always_inline)) inline __m256i BitOfSet(const BYTE* set, __m256i v) {
    const __m256i byteIndex = _mm256_and_si256(_mm256_srli_epi16(v, 3), _mm256_set1_epi8(0x1F));
    const __m256i low =
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(set)));
    const __m256i high =
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(set + 16)));
    const __m256i bytes = _mm256_blendv_epi8(_mm256_shuffle_epi8(low, byteIndex),
                                             _mm256_shuffle_epi8(high, byteIndex),
                                             _mm256_cmpgt_epi8(byteIndex, _mm256_set1_epi8(15)));
    const __m256i bitValues =
        _mm256_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16,
                         32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128);
    const __m256i bit = _mm256_shuffle_epi8(bitValues, _mm256_and_si256(v, _mm256_set1_epi8(7)));
    return _mm256_cmpeq_epi8(_mm256_and_si256(bytes, bit), bit);
}

// One less where the formula gives v - 1 for background and frame bytes both
// v: looked up in the row of each weight, one weight after the other (the
// marked bytes rarely have more than one).
__m256i FixSameColour(__m256i levels, __m256i marked, __m256i background, __m256i weight,
                      const SameColourTable* table) {
    alignas(32) BYTE weights[32];
    _mm256_store_si256(reinterpret_cast<__m256i*>(weights), weight);
    unsigned pending = static_cast<unsigned>(_mm256_movemask_epi8(marked));
    while (pending != 0) {
        const BYTE h = weights[__builtin_ctz(pending)];
        const __m256i ofWeight = _mm256_and_si256(
            marked, _mm256_cmpeq_epi8(weight, _mm256_set1_epi8(static_cast<char>(h))));
        pending &= ~static_cast<unsigned>(_mm256_movemask_epi8(ofWeight));
        const __m256i below = _mm256_and_si256(ofWeight, BitOfSet(table->rows[h], background));
        levels = _mm256_add_epi8(levels, below);  // all ones: one less
    }
    return levels;
}

__attribute__((noinline)) __m256i FixRare(__m256i levels, __m256i marked, __m256i other,
                                          __m256i background, __m256i frame, __m256i weight,
                                          const SameColourTable* table) {
    if (!_mm256_testz_si256(marked, marked)) {
        levels = FixSameColour(levels, marked, background, weight, table);
    }
    const unsigned evaluated = static_cast<unsigned>(_mm256_movemask_epi8(other));
    if (evaluated != 0) {
        levels = FixFromFormula(levels, evaluated, background, frame, weight);
    }
    return levels;
}

struct Blended16 {
    __m256i level;
    __m256i onMultiple;  // all ones where n is a multiple of 255
};

// 16 channel bytes of each half in 16-bit lanes.
__attribute__((always_inline)) inline Blended16 BlendHalf(__m256i b, __m256i f, __m256i h,
                                                          __m256i full) {
    // floor(n / 255) = (n * 32897) >> 23 for every n up to 65,025.
    const __m256i reciprocal = _mm256_set1_epi16(static_cast<short>(32897));
    // At most 65,025: exact in unsigned 16-bit arithmetic.
    const __m256i n = _mm256_add_epi16(_mm256_mullo_epi16(b, _mm256_sub_epi16(full, h)),
                                       _mm256_mullo_epi16(f, h));
    const __m256i level = _mm256_srli_epi16(_mm256_mulhi_epu16(n, reciprocal), 7);
    return {level, _mm256_cmpeq_epi16(_mm256_mullo_epi16(level, full), n)};
}

// Per pixel of a group, spread over its three bytes: whether the weight lies
// strictly between 0 and 255, and whether it has bytes to look up.
struct WeightClasses {
    Pixels32 between;
    Pixels32 lookedUp;
};

// One part (32 channel bytes) of the blend.
__attribute__((always_inline)) inline __m256i BlendPart(__m256i background, __m256i frame,
                                                        __m256i weight, __m256i between,
                                                        __m256i lookedUp, __m256i full,
                                                        const SameColourTable* table) {
    const __m256i zero = _mm256_setzero_si256();
    const Blended16 lo =
        BlendHalf(_mm256_unpacklo_epi8(background, zero), _mm256_unpacklo_epi8(frame, zero),
                  _mm256_unpacklo_epi8(weight, zero), full);
    const Blended16 hi =
        BlendHalf(_mm256_unpackhi_epi8(background, zero), _mm256_unpackhi_epi8(frame, zero),
                  _mm256_unpackhi_epi8(weight, zero), full);
    __m256i levels = _mm256_packus_epi16(lo.level, hi.level);
    // Equal background and frame bytes lie on a multiple for every weight, but
    // only a few weights give one less there: those are looked up. Other bytes
    // on a multiple (weights 0 and 255 apart, which are exact) are rare:
    // evaluated.
    const __m256i same = _mm256_cmpeq_epi8(background, frame);
    const __m256i marked = _mm256_and_si256(same, lookedUp);
    const __m256i other = _mm256_andnot_si256(
        same, _mm256_and_si256(between, _mm256_packs_epi16(lo.onMultiple, hi.onMultiple)));
    const __m256i rare = _mm256_or_si256(marked, other);
    if (__builtin_expect(!_mm256_testz_si256(rare, rare), 0)) {
        levels = FixRare(levels, marked, other, background, frame, weight, table);
    }
    return levels;
}

}  // namespace

std::uint64_t BlendRowAvx2(const BYTE* frame, const BYTE* history, const BYTE* background,
                           BYTE* out, int width, const SameColourTable* sameColourTable) {
    const __m256i full = Opaque(_mm256_set1_epi16(255));
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
        const __m256i between = _mm256_andnot_si256(
            _mm256_or_si256(_mm256_cmpeq_epi8(weight, zero), _mm256_cmpeq_epi8(weight, allOnes)),
            allOnes);
        const WeightClasses classes = {Spread(between),
                                       Spread(BitOfSet(sameColourTable->weights, weight))};
        const Pixels32 blended = {BlendPart(b.part0, f.part0, w.part0, classes.between.part0,
                                            classes.lookedUp.part0, full, sameColourTable),
                                  BlendPart(b.part1, f.part1, w.part1, classes.between.part1,
                                            classes.lookedUp.part1, full, sameColourTable),
                                  BlendPart(b.part2, f.part2, w.part2, classes.between.part2,
                                            classes.lookedUp.part2, full, sameColourTable)};
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
