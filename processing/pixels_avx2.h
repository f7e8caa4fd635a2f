// Helpers of the AVX2 pixel loops: 32 pixels of three bytes at a time, as two
// groups of 16 pixels, one in each 128-bit half of a register, so that the
// byte shuffles (which stay within a half) see the same layout in both.
// pixels_sse41.h offers the same names for 16 pixels in 128-bit registers, so
// that one loop body serves both (motion_row_body.h, blend_row_body.h).
//
// Include only from *_avx2.cpp files. Everything here has internal linkage, so
// nothing built for AVX2 can stand in for plain code at link time.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include <windows.h>

#include "processing/pixel_masks.h"

namespace pixels_avx2 {

using namespace pixel_masks;

using Vec = __m256i;
constexpr int kGroupPixels = 32;
using LaneBits = unsigned;  // one bit per byte lane

// 32 pixels: part k holds bytes 16k .. 16k + 15 of the first 16 pixels in the
// low half and of the next 16 pixels in the high half.
struct PixelGroup {
    Vec part0;
    Vec part1;
    Vec part2;
};

static inline Vec BroadcastMask(const ShuffleMask& m) {
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(m.byte)));
}

// 16 bytes at p, in each half.
static inline Vec Broadcast16(const BYTE* p) {
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

// Hides a constant from the compiler, which would otherwise turn a multiply by
// it into a longer run of shifts and adds.
static inline Vec Opaque(Vec v) {
    __asm__("" : "+x"(v));
    return v;
}

// The 96 bytes of 32 pixels starting at p: three whole loads, then the halves
// put in place (part 0 = bytes 0..15 and 48..63, part 1 = 16..31 and 64..79,
// part 2 = 32..47 and 80..95).
static inline PixelGroup LoadPixels(const BYTE* p) {
    const Vec y0 = _mm256_loadu_si256(reinterpret_cast<const Vec*>(p));
    const Vec y1 = _mm256_loadu_si256(reinterpret_cast<const Vec*>(p + 32));
    const Vec y2 = _mm256_loadu_si256(reinterpret_cast<const Vec*>(p + 64));
    return {_mm256_blend_epi32(y0, y1, 0xF0), _mm256_permute2x128_si256(y0, y2, 0x21),
            _mm256_blend_epi32(y1, y2, 0xF0)};
}

static inline void StorePixels(BYTE* p, const PixelGroup& v) {
    const Vec y0 = _mm256_permute2x128_si256(v.part0, v.part1, 0x20);
    const Vec y1 = _mm256_blend_epi32(v.part2, v.part0, 0xF0);
    const Vec y2 = _mm256_permute2x128_si256(v.part1, v.part2, 0x31);
    _mm256_storeu_si256(reinterpret_cast<Vec*>(p), y0);
    _mm256_storeu_si256(reinterpret_cast<Vec*>(p + 32), y1);
    _mm256_storeu_si256(reinterpret_cast<Vec*>(p + 64), y2);
}

// The byte lanes to and from memory (aligned to 32).
static inline void StoreLanes(BYTE* p, Vec v) {
    _mm256_store_si256(reinterpret_cast<Vec*>(p), v);
}
static inline Vec LoadLanes(const BYTE* p) {
    return _mm256_load_si256(reinterpret_cast<const Vec*>(p));
}

// All ones in the byte lanes whose bit is set, zero in the others.
static inline Vec LanesOfBits(LaneBits bits) {
    // Lanes 0-7 take byte 0 of the bits, 8-15 byte 1, 16-23 byte 2, 24-31 byte 3.
    const Vec byteOfLane = _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2,
                                            2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3);
    const Vec spread = _mm256_shuffle_epi8(_mm256_set1_epi32(static_cast<int>(bits)), byteOfLane);
    const Vec bit = BroadcastMask(kBitValues);
    return _mm256_cmpeq_epi8(_mm256_and_si256(spread, bit), bit);
}

// kGroupPixels bytes at p, one a lane, unaligned.
static inline Vec LoadBytes(const BYTE* p) {
    return _mm256_loadu_si256(reinterpret_cast<const Vec*>(p));
}
static inline void StoreBytes(BYTE* p, Vec v) {
    _mm256_storeu_si256(reinterpret_cast<Vec*>(p), v);
}

// Bytes picked from the three parts with the three masks.
static inline Vec Gather(const PixelGroup& v, const ShuffleMask* masks) {
    const Vec a = _mm256_shuffle_epi8(v.part0, BroadcastMask(masks[0]));
    const Vec b = _mm256_shuffle_epi8(v.part1, BroadcastMask(masks[1]));
    const Vec c = _mm256_shuffle_epi8(v.part2, BroadcastMask(masks[2]));
    return _mm256_or_si256(_mm256_or_si256(a, b), c);
}

// Byte `channel` (0 blue, 1 green, 2 red) of each pixel: byte i of the result
// belongs to pixel i of the group.
static inline Vec Channel(const PixelGroup& v, int channel) {
    return Gather(v, kChannelMasks[channel]);
}

// One value per pixel written into all three bytes of the pixel.
static inline PixelGroup Spread(Vec values) {
    return {_mm256_shuffle_epi8(values, BroadcastMask(kSpreadMasks[0])),
            _mm256_shuffle_epi8(values, BroadcastMask(kSpreadMasks[1])),
            _mm256_shuffle_epi8(values, BroadcastMask(kSpreadMasks[2]))};
}

// Plain lane operations under width-free names.
static inline Vec Zero() {
    return _mm256_setzero_si256();
}
static inline Vec Set8(char v) {
    return _mm256_set1_epi8(v);
}
static inline Vec Set16(short v) {
    return _mm256_set1_epi16(v);
}
static inline Vec Or(Vec a, Vec b) {
    return _mm256_or_si256(a, b);
}
static inline Vec And(Vec a, Vec b) {
    return _mm256_and_si256(a, b);
}
static inline Vec AndNot(Vec a, Vec b) {
    return _mm256_andnot_si256(a, b);
}
static inline Vec Xor(Vec a, Vec b) {
    return _mm256_xor_si256(a, b);
}
static inline Vec Add8(Vec a, Vec b) {
    return _mm256_add_epi8(a, b);
}
static inline Vec Add16(Vec a, Vec b) {
    return _mm256_add_epi16(a, b);
}
static inline Vec Sub16(Vec a, Vec b) {
    return _mm256_sub_epi16(a, b);
}
static inline Vec SubSatU8(Vec a, Vec b) {
    return _mm256_subs_epu8(a, b);
}
static inline Vec Equal8(Vec a, Vec b) {
    return _mm256_cmpeq_epi8(a, b);
}
static inline Vec Equal16(Vec a, Vec b) {
    return _mm256_cmpeq_epi16(a, b);
}
static inline Vec Greater8(Vec a, Vec b) {
    return _mm256_cmpgt_epi8(a, b);
}
static inline Vec MulAddU8S8(Vec a, Vec b) {
    return _mm256_maddubs_epi16(a, b);
}
static inline Vec MulHighU16(Vec a, Vec b) {
    return _mm256_mulhi_epu16(a, b);
}
static inline Vec MulLow16(Vec a, Vec b) {
    return _mm256_mullo_epi16(a, b);
}
static inline Vec ShiftRight16(Vec a, int bits) {
    return _mm256_srli_epi16(a, bits);
}
static inline Vec PackSatU8(Vec a, Vec b) {
    return _mm256_packus_epi16(a, b);
}
static inline Vec PackSat8(Vec a, Vec b) {
    return _mm256_packs_epi16(a, b);
}
static inline Vec WidenLow8(Vec a) {
    return _mm256_unpacklo_epi8(a, _mm256_setzero_si256());
}
static inline Vec WidenHigh8(Vec a) {
    return _mm256_unpackhi_epi8(a, _mm256_setzero_si256());
}
static inline Vec Shuffle8(Vec a, Vec indices) {
    return _mm256_shuffle_epi8(a, indices);
}
static inline Vec Select8(Vec a, Vec b, Vec useB) {
    return _mm256_blendv_epi8(a, b, useB);
}
static inline LaneBits TopBits8(Vec a) {
    return static_cast<LaneBits>(_mm256_movemask_epi8(a));
}
static inline bool AllZero(Vec a) {
    return _mm256_testz_si256(a, a) != 0;
}
static inline bool AllOnes(Vec a) {
    return _mm256_testc_si256(a, _mm256_set1_epi8(-1)) != 0;
}

// Sums of byte lanes in 64-bit lanes, and their total.
static inline Vec AddByteSums(Vec sums, Vec bytes) {
    return _mm256_add_epi64(sums, _mm256_sad_epu8(bytes, _mm256_setzero_si256()));
}
static inline std::uint64_t TotalOf(Vec sums) {
    return static_cast<std::uint64_t>(_mm256_extract_epi64(sums, 0)) +
           static_cast<std::uint64_t>(_mm256_extract_epi64(sums, 1)) +
           static_cast<std::uint64_t>(_mm256_extract_epi64(sums, 2)) +
           static_cast<std::uint64_t>(_mm256_extract_epi64(sums, 3));
}

}  // namespace pixels_avx2
