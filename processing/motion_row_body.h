// The motion-history step for one row, written once for the vector helpers
// in scope (pixels_avx2.h or pixels_sse41.h): kGroupPixels pixels at a time,
// in integers proven equal to the double formulas (see the comments), the
// rare colours where the double luminance falls below the exact one taken
// from the formula itself.
//
// Include it only inside an unnamed namespace of a *_avx2.cpp or *_sse41.cpp
// file, after `using namespace` of its helpers (and pixel_formulas.h); it
// defines MotionRowVector and MotionLevelsRowVector.
#pragma once

using namespace pixel_formulas;

// Evaluates the formula for the marked pixels, which lie on a multiple of 1000:
// there it gives the level or one less. The lanes that take one less are
// gathered as bits, so that no vector is read back from bytes just written.
__attribute__((noinline)) void FixLevels(Vec* levels, LaneBits marked, const BYTE* pixels) {
    alignas(32) BYTE level[kGroupPixels];
    StoreLanes(level, *levels);
    LaneBits lower = 0;
    while (marked != 0) {
        const int i = __builtin_ctz(marked);
        marked &= marked - 1;
        const BYTE* p = pixels + 3 * i;
        if (LuminanceOf(p[2], p[1], p[0]) != level[i]) {
            lower |= LaneBits{1} << i;
        }
    }
    *levels = Add8(*levels, LanesOfBits(lower));  // all ones: one less
}

// The luminance of a group. With S = 299 red + 587 green + 114 blue + 500,
// the exact value of the formula is S / 1000, which the double sum misses by
// far less than 1/1000; so the double result is floor(S / 1000), except that
// where S is a multiple of 1000 it may land just below and give one less.
// Those pixels are evaluated with the double formula.
//
// In 16-bit lanes: S = 256 (red + 2 green) + W, W = 43 red + 75 green +
// 114 blue + 500 (at most 59,660), so floor(S / 8) = 32 (red + 2 green) +
// floor(W / 8) (at most 31,937) and S mod 8 = W mod 8.
//
// Pairs of bytes per pixel for 8 pixels (first 0 or 8) of each 16: red and
// green, or blue and nothing.
constexpr ShuffleMask kRedGreenMasks[2][3] = {
    {GatherMask(0, 2, 2, 1, 0), GatherMask(0, 2, 2, 1, 1), GatherMask(0, 2, 2, 1, 2)},
    {GatherMask(8, 2, 2, 1, 0), GatherMask(8, 2, 2, 1, 1), GatherMask(8, 2, 2, 1, 2)},
};
constexpr ShuffleMask kBlueMasks[2][3] = {
    {GatherMask(0, 2, 0, -1, 0), GatherMask(0, 2, 0, -1, 1), GatherMask(0, 2, 0, -1, 2)},
    {GatherMask(8, 2, 0, -1, 0), GatherMask(8, 2, 0, -1, 1), GatherMask(8, 2, 0, -1, 2)},
};

struct Levels16 {
    Vec level;
    Vec onMultiple;  // all ones where S is a multiple of 1000
};

// 8 pixels of each 16 in 16-bit lanes. With the pairs (red, green) and
// (blue, 4): W = 43 red + 75 green + (114 blue + 4 * 125) and
// floor(S / 8) = (32 red + 64 green) + floor(W / 8).
inline Levels16 LuminanceOf8(const PixelGroup& f, int eighth, Vec multiplier125) {
    const Vec redGreen = Gather(f, kRedGreenMasks[eighth]);
    const Vec blueFour = Or(Gather(f, kBlueMasks[eighth]), Set16(0x0400));
    const Vec w = Add16(MulAddU8S8(redGreen, Set16(43 | (75 << 8))),
                        MulAddU8S8(blueFour, Set16(114 | (125 << 8))));
    const Vec eighths = Add16(MulAddU8S8(redGreen, Set16(32 | (64 << 8))), ShiftRight16(w, 3));
    // floor(q / 125) = (q * 33555) >> 22 for every q up to 31,937.
    const Vec level = ShiftRight16(MulHighU16(eighths, Set16(static_cast<short>(33555))), 6);
    const Vec rest = Or(Sub16(eighths, MulLow16(level, multiplier125)), And(w, Set16(7)));
    return {level, Equal16(rest, Zero())};
}

// Inlined into each row loop, which keeps the group in registers.
__attribute__((always_inline)) inline Vec LuminanceOfGroup(const PixelGroup& f, const BYTE* pixels,
                                                           Vec multiplier125) {
    const Levels16 lo = LuminanceOf8(f, 0, multiplier125);
    const Levels16 hi = LuminanceOf8(f, 1, multiplier125);
    Vec levels = PackSatU8(lo.level, hi.level);
    const LaneBits onMultiple = TopBits8(PackSat8(lo.onMultiple, hi.onMultiple));
    if (__builtin_expect(onMultiple != 0, 0)) {
        FixLevels(&levels, onMultiple, pixels);
    }
    return levels;
}

// trunc(v * 0.98) for every byte v: floor(v * 64226 / 65536).
Vec Decay(Vec v) {
    const Vec factor = Set16(static_cast<short>(64226));
    return PackSatU8(MulHighU16(WidenLow8(v), factor), MulHighU16(WidenHigh8(v), factor));
}

// The same step for single pixels, from the formulas themselves.
void MotionPixels(const BYTE* frame, BYTE* prevGray, BYTE* history, BYTE* out, int count) {
    for (int x = 0; x < count; ++x) {
        const BYTE* f = frame + 3 * x;
        const int level = LuminanceOf(f[2], f[1], f[0]);
        const BYTE moved = MovedMask(prevGray[3 * x + 1], level);
        for (int c = 2; c >= 0; --c) {
            prevGray[3 * x + c] = static_cast<BYTE>(level);
            BYTE& h = history[3 * x + c];
            h = NextHistoryByte(h, moved);
            if (out != nullptr) {
                out[3 * x + c] = h;
            }
        }
    }
}

// 255 where level and previous differ by more than the threshold, else 0.
Vec Moved(Vec level, Vec previous, Vec threshold) {
    const Vec difference = Or(SubSatU8(level, previous), SubSatU8(previous, level));
    return Xor(Equal8(SubSatU8(difference, threshold), Zero()), Set8(-1));
}

void MotionRowVector(const BYTE* frame, BYTE* prevGray, BYTE* history, BYTE* out, int width) {
    const Vec threshold = Set8(kDifferenceThreshold);
    const Vec multiplier125 = Opaque(Set16(125));
    int x = 0;
    for (; x + kGroupPixels <= width; x += kGroupPixels) {
        const int at = 3 * x;
        const PixelGroup f = LoadPixels(frame + at);
        const Vec level = LuminanceOfGroup(f, frame + at, multiplier125);
        const Vec moved = Moved(level, Channel(LoadPixels(prevGray + at), 1), threshold);
        const PixelGroup moved3 = Spread(moved);
        StorePixels(prevGray + at, Spread(level));
        // Decayed, or 255 where moved.
        PixelGroup h = LoadPixels(history + at);
        h.part0 = Or(Decay(h.part0), moved3.part0);
        h.part1 = Or(Decay(h.part1), moved3.part1);
        h.part2 = Or(Decay(h.part2), moved3.part2);
        StorePixels(history + at, h);
        if (out != nullptr) {
            StorePixels(out + at, h);
        }
    }
    MotionPixels(frame + 3 * x, prevGray + 3 * x, history + 3 * x,
                 out != nullptr ? out + 3 * x : nullptr, width - x);
}

// The same row with the grey and history levels kept one byte a pixel: one
// vector of levels each, and the history spread into three bytes for out.
void MotionLevelsRowVector(const BYTE* frame, BYTE* previous, BYTE* history, BYTE* out, int width) {
    const Vec threshold = Set8(kDifferenceThreshold);
    const Vec multiplier125 = Opaque(Set16(125));
    int x = 0;
    for (; x + kGroupPixels <= width; x += kGroupPixels) {
        const BYTE* f = frame + 3 * x;
        const Vec level = LuminanceOfGroup(LoadPixels(f), f, multiplier125);
        const Vec moved = Moved(level, LoadBytes(previous + x), threshold);
        StoreBytes(previous + x, level);
        const Vec h = Or(Decay(LoadBytes(history + x)), moved);
        StoreBytes(history + x, h);
        if (out != nullptr) {
            StorePixels(out + 3 * x, Spread(h));
        }
    }
    MotionLevels(frame + 3 * x, previous + x, history + x, out != nullptr ? out + 3 * x : nullptr,
                 width - x);
}
