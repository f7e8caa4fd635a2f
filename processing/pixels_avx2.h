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
    __m256i part[3];
};

struct ShuffleMask {
    signed char byte[16];
};

// Gathers byte `channel` of 16 pixels from part `part`; -128 clears a byte.
static constexpr ShuffleMask ChannelMask(int channel, int part) {
    ShuffleMask m{};
    for (int j = 0; j < 16; ++j) {
        const int pos = 3 * j + channel;
        m.byte[j] = static_cast<signed char>(pos / 16 == part ? pos % 16 : -128);
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

constexpr ShuffleMask kChannelMasks[3][3] = {
    {ChannelMask(0, 0), ChannelMask(0, 1), ChannelMask(0, 2)},
    {ChannelMask(1, 0), ChannelMask(1, 1), ChannelMask(1, 2)},
    {ChannelMask(2, 0), ChannelMask(2, 1), ChannelMask(2, 2)},
};
constexpr ShuffleMask kSpreadMasks[3] = {SpreadMask(0), SpreadMask(1), SpreadMask(2)};

static inline __m256i BroadcastMask(const ShuffleMask& m) {
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(m.byte)));
}

// The 96 bytes of 32 pixels starting at p: three whole loads, then the halves
// put in place (part 0 = bytes 0..15 and 48..63, part 1 = 16..31 and 64..79,
// part 2 = 32..47 and 80..95).
static inline Pixels32 LoadPixels(const BYTE* p) {
    const __m256i y0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i y1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    const __m256i y2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 64));
    return {{_mm256_blend_epi32(y0, y1, 0xF0), _mm256_permute2x128_si256(y0, y2, 0x21),
             _mm256_blend_epi32(y1, y2, 0xF0)}};
}

static inline void StorePixels(BYTE* p, const Pixels32& v) {
    const __m256i y0 = _mm256_permute2x128_si256(v.part[0], v.part[1], 0x20);
    const __m256i y1 = _mm256_blend_epi32(v.part[2], v.part[0], 0xF0);
    const __m256i y2 = _mm256_permute2x128_si256(v.part[1], v.part[2], 0x31);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), y0);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 32), y1);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 64), y2);
}

// Byte `channel` (0 blue, 1 green, 2 red) of each pixel: byte i of the result
// belongs to pixel i of the group.
static inline __m256i Channel(const Pixels32& v, int channel) {
    const __m256i a = _mm256_shuffle_epi8(v.part[0], BroadcastMask(kChannelMasks[channel][0]));
    const __m256i b = _mm256_shuffle_epi8(v.part[1], BroadcastMask(kChannelMasks[channel][1]));
    const __m256i c = _mm256_shuffle_epi8(v.part[2], BroadcastMask(kChannelMasks[channel][2]));
    return _mm256_or_si256(_mm256_or_si256(a, b), c);
}

// One value per pixel written into all three bytes of the pixel.
static inline Pixels32 Spread(__m256i values) {
    return {{_mm256_shuffle_epi8(values, BroadcastMask(kSpreadMasks[0])),
             _mm256_shuffle_epi8(values, BroadcastMask(kSpreadMasks[1])),
             _mm256_shuffle_epi8(values, BroadcastMask(kSpreadMasks[2]))}};
}

}  // namespace pixels_avx2
