// Byte-shuffle masks of the vector pixel loops, the same for every register
// width: a group of 16 three-byte pixels in three 16-byte parts.
//
// Included by the vector helpers (pixels_avx2.h, pixels_sse41.h) only. Plain
// data and constant expressions with internal linkage.
#pragma once

namespace pixel_masks {

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
static constexpr ShuffleMask kChannelMasks[3][3] = {
    {GatherMask(0, 1, 0, 0, 0), GatherMask(0, 1, 0, 0, 1), GatherMask(0, 1, 0, 0, 2)},
    {GatherMask(0, 1, 1, 1, 0), GatherMask(0, 1, 1, 1, 1), GatherMask(0, 1, 1, 1, 2)},
    {GatherMask(0, 1, 2, 2, 0), GatherMask(0, 1, 2, 2, 1), GatherMask(0, 1, 2, 2, 2)},
};
static constexpr ShuffleMask kSpreadMasks[3] = {SpreadMask(0), SpreadMask(1), SpreadMask(2)};

// The value of bit i % 8 in byte i, for looking bits up by shuffle.
static constexpr ShuffleMask kBitValues = {
    {1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128}};

}  // namespace pixel_masks
