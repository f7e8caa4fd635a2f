// Internal to compositing: the per-row blend kernels and the hidden percentage.
#pragma once

#include <cstdint>

#include <windows.h>

// Where the formula gives v - 1 for background and frame bytes both v under
// weight h (it never gives less): bit v % 8 of byte v / 8 of rows[h]. Bit h of
// weights is set when rows[h] has any bit set. Made once from the formula.
struct SameColourTable {
    BYTE weights[32];
    BYTE rows[256][32];
};
const SameColourTable* SameColourExceptions();

// Blends `width` pixels of one row (out = background * (1 - a) + frame * a) and
// returns the sum of the history's red bytes over the row. Gives exactly the
// bytes of the double formula. sameColourTable is SameColourExceptions().
std::uint64_t BlendRowAvx2(const BYTE* frame, const BYTE* history, const BYTE* background,
                           BYTE* out, int width, const SameColourTable* sameColourTable);
std::uint64_t BlendRowSse41(const BYTE* frame, const BYTE* history, const BYTE* background,
                            BYTE* out, int width, const SameColourTable* sameColourTable);

// The same with the weights given one byte a pixel (pixel x at weights[x]).
std::uint64_t BlendWeightsRowAvx2(const BYTE* frame, const BYTE* weights, const BYTE* background,
                                  BYTE* out, int width, const SameColourTable* sameColourTable);
std::uint64_t BlendWeightsRowSse41(const BYTE* frame, const BYTE* weights, const BYTE* background,
                                   BYTE* out, int width, const SameColourTable* sameColourTable);

// The hidden percentage that the serial double sum of the weights gives, found
// from the exact integer sum of the history bytes when that settles it: false
// when it cannot (the exact value lies on a whole number, or too many pixels
// for the error bound), and the caller must form the serial sum.
bool HiddenPercentageFromByteSum(std::uint64_t historySum, long long pixelCount, int* percentage);

// Pixel counts up to this keep the serial sum's error below the distance of a
// non-integral exact percentage from the nearest whole number.
constexpr long long kExactPercentageMaxPixels = 400000;
