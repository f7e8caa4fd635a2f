// Helpers of the SSE4.1 pixel loops: 16 pixels of three bytes at a time, in
// three 128-bit parts, under the same names as pixels_avx2.h, so that one
// loop body serves both (motion_row_body.h, blend_row_body.h).
//
// Include only from *_sse41.cpp files. Everything here has internal linkage,
// so nothing built for SSE4.1 can stand in for plain code at link time.
#pragma once

#include <smmintrin.h>

#include <cstdint>

#include <windows.h>

#include "processing/pixel_masks.h"

namespace pixels_sse41 {

using namespace pixel_masks;

using Vec = __m128i;
constexpr int kGroupPixels = 16;
using LaneBits = unsigned;  // one bit per byte lane

// 16 pixels: part k holds bytes 16k .. 16k + 15.
struct PixelGroup {
    Vec part0;
    Vec part1;
    Vec part2;
};

static inline Vec BroadcastMask(const ShuffleMask& m) {
    return _mm_loadu_si128(reinterpret_cast<const Vec*>(m.byte));
}

static inline Vec Broadcast16(const BYTE* p) {
    return _mm_loadu_si128(reinterpret_cast<const Vec*>(p));
}

// Hides a constant from the compiler, which would otherwise turn a multiply by
// it into a longer run of shifts and adds.
static inline Vec Opaque(Vec v) {
    __asm__("" : "+x"(v));
    return v;
}

static inline PixelGroup LoadPixels(const BYTE* p) {
    return {_mm_loadu_si128(reinterpret_cast<const Vec*>(p)),
            _mm_loadu_si128(reinterpret_cast<const Vec*>(p + 16)),
            _mm_loadu_si128(reinterpret_cast<const Vec*>(p + 32))};
}

static inline void StorePixels(BYTE* p, const PixelGroup& v) {
    _mm_storeu_si128(reinterpret_cast<Vec*>(p), v.part0);
    _mm_storeu_si128(reinterpret_cast<Vec*>(p + 16), v.part1);
    _mm_storeu_si128(reinterpret_cast<Vec*>(p + 32), v.part2);
}

// The byte lanes to and from memory (aligned to 16).
static inline void StoreLanes(BYTE* p, Vec v) {
    _mm_store_si128(reinterpret_cast<Vec*>(p), v);
}
static inline Vec LoadLanes(const BYTE* p) {
    return _mm_load_si128(reinterpret_cast<const Vec*>(p));
}

// All ones in the byte lanes whose bit is set, zero in the others.
static inline Vec LanesOfBits(LaneBits bits) {
    // Lanes 0-7 take byte 0 of the bits, 8-15 byte 1.
    const Vec byteOfLane = _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1);
    const Vec spread = _mm_shuffle_epi8(_mm_set1_epi32(static_cast<int>(bits)), byteOfLane);
    const Vec bit = BroadcastMask(kBitValues);
    return _mm_cmpeq_epi8(_mm_and_si128(spread, bit), bit);
}

// kGroupPixels bytes at p, one a lane, unaligned.
static inline Vec LoadBytes(const BYTE* p) {
    return _mm_loadu_si128(reinterpret_cast<const Vec*>(p));
}
static inline void StoreBytes(BYTE* p, Vec v) {
    _mm_storeu_si128(reinterpret_cast<Vec*>(p), v);
}

// Bytes picked from the three parts with the three masks.
static inline Vec Gather(const PixelGroup& v, const ShuffleMask* masks) {
    const Vec a = _mm_shuffle_epi8(v.part0, BroadcastMask(masks[0]));
    const Vec b = _mm_shuffle_epi8(v.part1, BroadcastMask(masks[1]));
    const Vec c = _mm_shuffle_epi8(v.part2, BroadcastMask(masks[2]));
    return _mm_or_si128(_mm_or_si128(a, b), c);
}

// Byte `channel` (0 blue, 1 green, 2 red) of each pixel: byte i of the result
// belongs to pixel i of the group.
static inline Vec Channel(const PixelGroup& v, int channel) {
    return Gather(v, kChannelMasks[channel]);
}

// One value per pixel written into all three bytes of the pixel.
static inline PixelGroup Spread(Vec values) {
    return {_mm_shuffle_epi8(values, BroadcastMask(kSpreadMasks[0])),
            _mm_shuffle_epi8(values, BroadcastMask(kSpreadMasks[1])),
            _mm_shuffle_epi8(values, BroadcastMask(kSpreadMasks[2]))};
}

// Plain lane operations under width-free names.
static inline Vec Zero() {
    return _mm_setzero_si128();
}
static inline Vec Set8(char v) {
    return _mm_set1_epi8(v);
}
static inline Vec Set16(short v) {
    return _mm_set1_epi16(v);
}
static inline Vec Or(Vec a, Vec b) {
    return _mm_or_si128(a, b);
}
static inline Vec And(Vec a, Vec b) {
    return _mm_and_si128(a, b);
}
static inline Vec AndNot(Vec a, Vec b) {
    return _mm_andnot_si128(a, b);
}
static inline Vec Xor(Vec a, Vec b) {
    return _mm_xor_si128(a, b);
}
static inline Vec Add8(Vec a, Vec b) {
    return _mm_add_epi8(a, b);
}
static inline Vec Add16(Vec a, Vec b) {
    return _mm_add_epi16(a, b);
}
static inline Vec Sub16(Vec a, Vec b) {
    return _mm_sub_epi16(a, b);
}
static inline Vec SubSatU8(Vec a, Vec b) {
    return _mm_subs_epu8(a, b);
}
static inline Vec Equal8(Vec a, Vec b) {
    return _mm_cmpeq_epi8(a, b);
}
static inline Vec Equal16(Vec a, Vec b) {
    return _mm_cmpeq_epi16(a, b);
}
static inline Vec Greater8(Vec a, Vec b) {
    return _mm_cmpgt_epi8(a, b);
}
static inline Vec MulAddU8S8(Vec a, Vec b) {
    return _mm_maddubs_epi16(a, b);
}
static inline Vec MulHighU16(Vec a, Vec b) {
    return _mm_mulhi_epu16(a, b);
}
static inline Vec MulLow16(Vec a, Vec b) {
    return _mm_mullo_epi16(a, b);
}
static inline Vec ShiftRight16(Vec a, int bits) {
    return _mm_srli_epi16(a, bits);
}
static inline Vec PackSatU8(Vec a, Vec b) {
    return _mm_packus_epi16(a, b);
}
static inline Vec PackSat8(Vec a, Vec b) {
    return _mm_packs_epi16(a, b);
}
static inline Vec WidenLow8(Vec a) {
    return _mm_unpacklo_epi8(a, _mm_setzero_si128());
}
static inline Vec WidenHigh8(Vec a) {
    return _mm_unpackhi_epi8(a, _mm_setzero_si128());
}
static inline Vec Shuffle8(Vec a, Vec indices) {
    return _mm_shuffle_epi8(a, indices);
}
static inline Vec Select8(Vec a, Vec b, Vec useB) {
    return _mm_blendv_epi8(a, b, useB);
}
static inline LaneBits TopBits8(Vec a) {
    return static_cast<LaneBits>(_mm_movemask_epi8(a));
}
static inline bool AllZero(Vec a) {
    return _mm_testz_si128(a, a) != 0;
}
static inline bool AllOnes(Vec a) {
    return _mm_testc_si128(a, _mm_set1_epi8(-1)) != 0;
}

// Sums of byte lanes in 64-bit lanes, and their total.
static inline Vec AddByteSums(Vec sums, Vec bytes) {
    return _mm_add_epi64(sums, _mm_sad_epu8(bytes, _mm_setzero_si128()));
}
static inline std::uint64_t TotalOf(Vec sums) {
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(sums)) +
           static_cast<std::uint64_t>(_mm_extract_epi64(sums, 1));
}

}  // namespace pixels_sse41
