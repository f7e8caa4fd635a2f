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

// One blended channel: background * (1 - a) + frame * a, with a from the
// history byte.
static inline BYTE BlendChannel(int background, int frame, int historyByte) {
    const double alpha = historyByte * kInverse255;
    const double beta = 1.0 - alpha;
    return SaturateToByte(background * beta + frame * alpha);
}

}  // namespace pixel_formulas
