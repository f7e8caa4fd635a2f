// Helpers of the AVX2 pixel loops: 32 pixels of three bytes at a time, as two
// groups of 16 pixels, one in each 128-bit half of a register, so that the
// byte shuffles (which stay within a half) see the same layout in both.
//
// Include only from *_avx2.cpp files. Everything here has internal linkage, so
// nothing built for AVX2 can stand in for plain code at link time.
#pragma once

#include <immintrin.h>

#include <windows.h>

namespace pixels_avx2 {

constexpr int kGroupPixels = 32;

// 32 pixels: part k holds bytes 16k .. 16k + 15 of the first 16 pixels in the
// low half and of the next 16 pixels in the high half.
struct Pixels32 {
    __m256i part0;
    __m256i part1;
    __m256i part2;
};

struct ShuffleMask {
    signed char byte[16];
};

// Byte j of the result takes byte `channel` (0 blue, 1 green, 2 red; -1 for
// zero) of pixel first + j / step, when that byte lies in part `part`.
// -128 clears a byte.
static constexpr ShuffleMask GatherMask(int first, int step, int evenChannel, int oddChannel,
                                        int part) {
    ShuffleMask m{};
    for (int j = 0; j < 16; ++j) {
        const int channel = j % 2 == 0 || step == 1 ? evenChannel : oddChannel;
        const int pos = 3 * (first + j / step) + channel;
        m.byte[j] = static_cast<signed char>(channel >= 0 && pos / 16 == part ? pos % 16 : -128);
    }
    return m;
}

// Spreads 16 values over part `part` of 16 three-byte pixels.
static constexpr ShuffleMask SpreadMask(int part) {
    ShuffleMask m{};
    for (int j = 0; j < 16; ++j) {
        m.byte[j] = static_cast<signed char>((16 * part + j) / 3);
    }
    return m;
}

// One channel of 16 pixels, gathered from the parts.
constexpr ShuffleMask kChannelMasks[3][3] = {
    {GatherMask(0, 1, 0, 0, 0), GatherMask(0, 1, 0, 0, 1), GatherMask(0, 1, 0, 0, 2)},
    {GatherMask(0, 1, 1, 1, 0), GatherMask(0, 1, 1, 1, 1), GatherMask(0, 1, 1, 1, 2)},
    {GatherMask(0, 1, 2, 2, 0), GatherMask(0, 1, 2, 2, 1), GatherMask(0, 1, 2, 2, 2)},
};
constexpr ShuffleMask kSpreadMasks[3] = {SpreadMask(0), SpreadMask(1), SpreadMask(2)};

static inline __m256i BroadcastMask(const ShuffleMask& m) {
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(m.byte)));
}

// Hides a constant from the compiler, which would otherwise turn a multiply by
// it into a longer run of shifts and adds.
static inline __m256i Opaque(__m256i v) {
    __asm__("" : "+x"(v));
    return v;
}

// The 96 bytes of 32 pixels starting at p: three whole loads, then the halves
// put in place (part 0 = bytes 0..15 and 48..63, part 1 = 16..31 and 64..79,
// part 2 = 32..47 and 80..95).
static inline Pixels32 LoadPixels(const BYTE* p) {
    const __m256i y0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i y1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    const __m256i y2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 64));
    return {_mm256_blend_epi32(y0, y1, 0xF0), _mm256_permute2x128_si256(y0, y2, 0x21),
            _mm256_blend_epi32(y1, y2, 0xF0)};
}

static inline void StorePixels(BYTE* p, const Pixels32& v) {
    const __m256i y0 = _mm256_permute2x128_si256(v.part0, v.part1, 0x20);
    const __m256i y1 = _mm256_blend_epi32(v.part2, v.part0, 0xF0);
    const __m256i y2 = _mm256_permute2x128_si256(v.part1, v.part2, 0x31);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), y0);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 32), y1);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 64), y2);
}

// Bytes picked from the three parts with the three masks.
static inline __m256i Gather(const Pixels32& v, const ShuffleMask* masks) {
    const __m256i a = _mm256_shuffle_epi8(v.part0, BroadcastMask(masks[0]));
    const __m256i b = _mm256_shuffle_epi8(v.part1, BroadcastMask(masks[1]));
    const __m256i c = _mm256_shuffle_epi8(v.part2, BroadcastMask(masks[2]));
    return _mm256_or_si256(_mm256_or_si256(a, b), c);
}

// Byte `channel` (0 blue, 1 green, 2 red) of each pixel: byte i of the result
// belongs to pixel i of the group.
static inline __m256i Channel(const Pixels32& v, int channel) {
    return Gather(v, kChannelMasks[channel]);
}

// One value per pixel written into all three bytes of the pixel.
static inline Pixels32 Spread(__m256i values) {
    return {_mm256_shuffle_epi8(values, BroadcastMask(kSpreadMasks[0])),
            _mm256_shuffle_epi8(values, BroadcastMask(kSpreadMasks[1])),
            _mm256_shuffle_epi8(values, BroadcastMask(kSpreadMasks[2]))};
}

}  // namespace pixels_avx2
