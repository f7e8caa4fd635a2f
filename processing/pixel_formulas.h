// The per-pixel formulas of motion history and compositing, written once.
//
// They have internal linkage on purpose: the vector files are built for other
// instruction sets, and each translation unit must keep its own copy (a shared
// inline copy built with AVX2 could be the one the linker keeps for plain code).
// All arithmetic is double precision with no contraction; every conversion to
// an integer truncates toward zero.
#pragma once

#include <windows.h>

namespace pixel_formulas {

// Luminance weights and the threshold levels of the motion history.
constexpr double kRedWeight = 0.299;
constexpr double kGreenWeight = 0.587;
constexpr double kBlueWeight = 0.114;
constexpr double kRoundingOffset = 0.5;
constexpr int kDifferenceThreshold = 20;
constexpr int kMaskLevel = 64;
constexpr double kDecayFactor = 0.98;
// The double nearest to 1/255: a history byte times this is the blend weight.
constexpr double kInverse255 = 0.00392156862745098;

// ((green * 0.587 + red * 0.299) + blue * 0.114) + 0.5, truncated. The grouping
// matters: (red 0, green 36, blue 12) gives 22 although 23 is exact.
static inline int LuminanceOf(int red, int green, int blue) {
    double s = green * kGreenWeight + red * kRedWeight;
    s = s + blue * kBlueWeight;
    s = s + kRoundingOffset;
    return static_cast<int>(s);
}

// Above 255 gives 255, below 0 or not a number gives 0, else truncation.
static inline BYTE SaturateToByte(double value) {
    if (value > 255.0) {
        return 255;
    }
    if (!(value >= 0.0)) {
        return 0;
    }
    return static_cast<BYTE>(value);
}

// 255 where a grey level changed by more than the threshold from the previous
// one, else 0: the motion mask of a pixel.
static inline BYTE MovedMask(int previous, int level) {
    const int difference = previous > level ? previous - level : level - previous;
    return difference > kDifferenceThreshold ? 255 : 0;
}

// A history byte one frame on: the mask's byte where the mask is above 64,
// else the byte decayed by 2 %.
static inline BYTE NextHistoryByte(BYTE history, BYTE mask) {
    return mask > kMaskLevel ? mask : SaturateToByte(history * kDecayFactor);
}

// One row of the motion history kept as one byte a pixel (grey level, history
// level), for `count` pixels of a 24-bit frame row: each level is compared with
// the previous one and then written over it, each history level moves on a
// frame, and, where out is not null, written into the three bytes of its pixel.
static inline void MotionLevels(const BYTE* frame, BYTE* previous, BYTE* history, BYTE* out,
                                int count) {
    for (int x = 0; x < count; ++x) {
        const BYTE* f = frame + 3 * x;
        const int level = LuminanceOf(f[2], f[1], f[0]);
        const BYTE moved = MovedMask(previous[x], level);
        previous[x] = static_cast<BYTE>(level);
        history[x] = NextHistoryByte(history[x], moved);
        if (out != nullptr) {
            out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = history[x];
        }
    }
}

// One blended channel: background * (1 - a) + frame * a, with a from the
// history byte.
static inline BYTE BlendChannel(int background, int frame, int historyByte) {
    const double alpha = historyByte * kInverse255;
    const double beta = 1.0 - alpha;
    return SaturateToByte(background * beta + frame * alpha);
}

}  // namespace pixel_formulas
