// The history-weighted blend of one row, written once for the vector helpers
// in scope (pixels_avx2.h or pixels_sse41.h): kGroupPixels pixels at a time.
//
// For weight byte h, background byte b and frame byte f the double formula
// b * (1 - h/255) + f * (h/255) misses the exact value n / 255, n = b (255 - h) + f h,
// by far less than 1/255; so it truncates to floor(n / 255), except that where
// n is a multiple of 255 it may land just below and give one less. Those
// channels (apart from h = 0 and h = 255, where the formula is exact) are
// taken from a table made from the formula where the background and frame
// bytes are equal (the common case: a still scene), and evaluated with the
// formula itself otherwise.
//
// Include it only inside an unnamed namespace of a *_avx2.cpp or *_sse41.cpp
// file, after `using namespace` of its helpers (and blend_kernels.h and
// pixel_formulas.h); it defines BlendRowVector, for weights from a history
// (HistoryRedBytes) or one byte a pixel (WeightBytes).
#pragma once

using namespace pixel_formulas;

// The double formula for the marked bytes, which lie on a multiple of 255:
// there it gives the level or one less. The lanes that take one less are
// gathered as bits, so that no vector is read back from bytes just written.
Vec FixFromFormula(Vec levels, LaneBits marked, Vec background, Vec frame, Vec weight) {
    alignas(32) BYTE level[kGroupPixels];
    alignas(32) BYTE b[kGroupPixels];
    alignas(32) BYTE f[kGroupPixels];
    alignas(32) BYTE h[kGroupPixels];
    StoreLanes(level, levels);
    StoreLanes(b, background);
    StoreLanes(f, frame);
    StoreLanes(h, weight);
    LaneBits lower = 0;
    while (marked != 0) {
        const int i = __builtin_ctz(marked);
        marked &= marked - 1;
        if (BlendChannel(b[i], f[i], h[i]) != level[i]) {
            lower |= LaneBits{1} << i;
        }
    }
    return Add8(levels, LanesOfBits(lower));  // all ones: one less
}

// Whether bit v of a 256-bit set (32 bytes) is set, for each byte v.
__attribute__((always_inline)) inline Vec BitOfSet(const BYTE* set, Vec v) {
    const Vec byteIndex = And(ShiftRight16(v, 3), Set8(0x1F));
    const Vec bytes =
        Select8(Shuffle8(Broadcast16(set), byteIndex), Shuffle8(Broadcast16(set + 16), byteIndex),
                Greater8(byteIndex, Set8(15)));
    const Vec bit = Shuffle8(BroadcastMask(kBitValues), And(v, Set8(7)));
    return Equal8(And(bytes, bit), bit);
}

// One less where the formula gives v - 1 for background and frame bytes both
// v: looked up in the row of each weight, one weight after the other (the
// marked bytes rarely have more than one).
Vec FixSameColour(Vec levels, Vec marked, Vec background, Vec weight,
                  const SameColourTable* table) {
    alignas(32) BYTE weights[kGroupPixels];
    StoreLanes(weights, weight);
    LaneBits pending = TopBits8(marked);
    while (pending != 0) {
        const BYTE h = weights[__builtin_ctz(pending)];
        const Vec ofWeight = And(marked, Equal8(weight, Set8(static_cast<char>(h))));
        pending &= ~TopBits8(ofWeight);
        const Vec below = And(ofWeight, BitOfSet(table->rows[h], background));
        levels = Add8(levels, below);  // all ones: one less
    }
    return levels;
}

__attribute__((noinline)) Vec FixRare(Vec levels, Vec marked, Vec other, Vec background, Vec frame,
                                      Vec weight, const SameColourTable* table) {
    if (!AllZero(marked)) {
        levels = FixSameColour(levels, marked, background, weight, table);
    }
    const LaneBits evaluated = TopBits8(other);
    if (evaluated != 0) {
        levels = FixFromFormula(levels, evaluated, background, frame, weight);
    }
    return levels;
}

struct Blended16 {
    Vec level;
    Vec onMultiple;  // all ones where n is a multiple of 255
};

// Half of the channel bytes in 16-bit lanes.
__attribute__((always_inline)) inline Blended16 BlendHalf(Vec b, Vec f, Vec h, Vec full) {
    // floor(n / 255) = (n * 32897) >> 23 for every n up to 65,025.
    const Vec reciprocal = Set16(static_cast<short>(32897));
    // At most 65,025: exact in unsigned 16-bit arithmetic.
    const Vec n = Add16(MulLow16(b, Sub16(full, h)), MulLow16(f, h));
    const Vec level = ShiftRight16(MulHighU16(n, reciprocal), 7);
    return {level, Equal16(MulLow16(level, full), n)};
}

// Per pixel of a group, spread over its three bytes: whether the weight lies
// strictly between 0 and 255, and whether it has bytes to look up.
struct WeightClasses {
    PixelGroup between;
    PixelGroup lookedUp;
};

// One part (a register of channel bytes) of the blend.
__attribute__((always_inline)) inline Vec BlendPart(Vec background, Vec frame, Vec weight,
                                                    Vec between, Vec lookedUp, Vec full,
                                                    const SameColourTable* table) {
    const Blended16 lo =
        BlendHalf(WidenLow8(background), WidenLow8(frame), WidenLow8(weight), full);
    const Blended16 hi =
        BlendHalf(WidenHigh8(background), WidenHigh8(frame), WidenHigh8(weight), full);
    Vec levels = PackSatU8(lo.level, hi.level);
    // Equal background and frame bytes lie on a multiple for every weight, but
    // only a few weights give one less there: those are looked up. Other bytes
    // on a multiple (weights 0 and 255 apart, which are exact) are rare:
    // evaluated.
    const Vec same = Equal8(background, frame);
    const Vec marked = And(same, lookedUp);
    const Vec other = AndNot(same, And(between, PackSat8(lo.onMultiple, hi.onMultiple)));
    const Vec rare = Or(marked, other);
    if (__builtin_expect(!AllZero(rare), 0)) {
        levels = FixRare(levels, marked, other, background, frame, weight, table);
    }
    return levels;
}

// The weights of a row: the red bytes of a 24-bit history, or levels one
// byte a pixel.
struct HistoryRedBytes {
    const BYTE* row;
    Vec Load(int x) const { return Channel(LoadPixels(row + 3 * x), 2); }
    int At(int x) const { return row[3 * x + 2]; }
};
struct WeightBytes {
    const BYTE* row;
    Vec Load(int x) const { return LoadBytes(row + x); }
    int At(int x) const { return row[x]; }
};

template <class Weights>
std::uint64_t BlendRowVector(const BYTE* frame, Weights weights, const BYTE* background, BYTE* out,
                             int width, const SameColourTable* sameColourTable) {
    const Vec full = Opaque(Set16(255));
    const Vec allOnes = Set8(-1);
    Vec sums = Zero();
    int x = 0;
    for (; x + kGroupPixels <= width; x += kGroupPixels) {
        const int at = 3 * x;
        const Vec weight = weights.Load(x);
        sums = AddByteSums(sums, weight);
        const PixelGroup b = LoadPixels(background + at);
        const PixelGroup f = LoadPixels(frame + at);
        // Weight 0 gives the background and 255 the frame, exactly.
        if (AllZero(weight)) {
            StorePixels(out + at, b);
            continue;
        }
        if (AllOnes(weight)) {
            StorePixels(out + at, f);
            continue;
        }
        const PixelGroup w = Spread(weight);
        const Vec between = AndNot(Or(Equal8(weight, Zero()), Equal8(weight, allOnes)), allOnes);
        const WeightClasses classes = {Spread(between),
                                       Spread(BitOfSet(sameColourTable->weights, weight))};
        const PixelGroup blended = {BlendPart(b.part0, f.part0, w.part0, classes.between.part0,
                                              classes.lookedUp.part0, full, sameColourTable),
                                    BlendPart(b.part1, f.part1, w.part1, classes.between.part1,
                                              classes.lookedUp.part1, full, sameColourTable),
                                    BlendPart(b.part2, f.part2, w.part2, classes.between.part2,
                                              classes.lookedUp.part2, full, sameColourTable)};
        StorePixels(out + at, blended);
    }
    std::uint64_t sum = TotalOf(sums);
    for (; x < width; ++x) {
        const int at = 3 * x;
        const int h = weights.At(x);
        sum += static_cast<std::uint64_t>(h);
        for (int c = 2; c >= 0; --c) {
            out[at + c] = BlendChannel(background[at + c], frame[at + c], h);
        }
    }
    return sum;
}
