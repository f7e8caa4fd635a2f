// The row kernels of the table-driven warp against the formula, on every
// vector path: exhaustively where the inputs are few (every byte pair at every
// 1/128 fraction), over many random values elsewhere.
#include "processing/resample_kernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tests/processing/reference/resampling_reference.h"
#include "tests/processing/vector_paths.h"

namespace {

class KernelsOnPath : public OnVectorPath {
  protected:
    const ResampleKernels& Kernels() const { return ResampleKernelsFor(GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(AllPaths, KernelsOnPath, AllVectorPaths(), VectorPathTestName);

// A kernel input or output of `count` elements plus the padding kernels may touch.
template <typename T>
std::vector<T> Padded(int count, T fill = T{}) {
    return std::vector<T>(static_cast<size_t>(count + kKernelPadding), fill);
}

TEST_P(KernelsOnPath, FixedKernelEqualsTheFormulaForEveryBytePairAndFraction) {
    // Element a * 256 + c interpolates from byte a to byte c, once down a column
    // (fx = 0, fy = k / 128) and once along a row (fx = k / 128, fy = 0).
    const int count = 256 * 256;
    std::vector<uint8_t> from = Padded<uint8_t>(count);
    std::vector<uint8_t> to = Padded<uint8_t>(count);
    for (int e = 0; e < count; ++e) {
        from[e] = static_cast<uint8_t>(e / 256);
        to[e] = static_cast<uint8_t>(e % 256);
    }
    std::vector<int16_t> zero = Padded<int16_t>(count);
    std::vector<uint8_t> down = Padded<uint8_t>(count);
    std::vector<uint8_t> along = Padded<uint8_t>(count);
    for (int k = 0; k < kFixedOne; ++k) {
        const std::vector<int16_t> weight = Padded<int16_t>(count, static_cast<int16_t>(k));
        Kernels().bilinearFixed(from.data(), from.data(), to.data(), to.data(), zero.data(), k,
                                count, down.data());
        Kernels().bilinearFixed(from.data(), to.data(), from.data(), to.data(), weight.data(), 0,
                                count, along.data());
        const double f = k / 128.0;
        for (int e = 0; e < count; ++e) {
            ASSERT_EQ(down[e], reference::BilinearChannel(from[e], from[e], to[e], to[e], 0.0, f))
                << "from " << int{from[e]} << " to " << int{to[e]} << ", fy " << k << "/128";
            ASSERT_EQ(along[e], reference::BilinearChannel(from[e], to[e], from[e], to[e], f, 0.0))
                << "from " << int{from[e]} << " to " << int{to[e]} << ", fx " << k << "/128";
        }
    }
}

TEST_P(KernelsOnPath, FixedKernelEqualsTheFormulaForEveryPairOfFractions) {
    std::mt19937 rng(21);
    const int perWeight = 24;
    const int count = kFixedOne * perWeight;
    std::vector<uint8_t> a = Padded<uint8_t>(count);
    std::vector<uint8_t> b = Padded<uint8_t>(count);
    std::vector<uint8_t> c = Padded<uint8_t>(count);
    std::vector<uint8_t> d = Padded<uint8_t>(count);
    std::vector<int16_t> kx = Padded<int16_t>(count);
    std::vector<uint8_t> out = Padded<uint8_t>(count);
    for (int ky = 0; ky < kFixedOne; ++ky) {
        for (int e = 0; e < count; ++e) {
            // Every few elements take the extremes, where clamps would show.
            const bool extreme = e % 7 == 0;
            a[e] = extreme ? 255 : static_cast<uint8_t>(rng());
            b[e] = extreme ? 0 : static_cast<uint8_t>(rng());
            c[e] = extreme ? 0 : static_cast<uint8_t>(rng());
            d[e] = extreme ? 255 : static_cast<uint8_t>(rng());
            kx[e] = static_cast<int16_t>(e / perWeight);
        }
        Kernels().bilinearFixed(a.data(), b.data(), c.data(), d.data(), kx.data(), ky, count,
                                out.data());
        for (int e = 0; e < count; ++e) {
            ASSERT_EQ(out[e],
                      reference::BilinearChannel(a[e], b[e], c[e], d[e], kx[e] / 128.0, ky / 128.0))
                << "kx " << kx[e] << ", ky " << ky;
        }
    }
}

TEST_P(KernelsOnPath, DoubleKernelEqualsTheFormula) {
    std::mt19937_64 rng(22);
    // Fractions as resizing by non-dyadic ratios gives them: x - floor(x) with
    // x = scale * j carries rounding error in its last bits, which is where the
    // order of the operations decides the truncated byte.
    const double scales[] = {1.1, 1.2, 0.55, 0.6, 3.2, 4.2666666666666666};
    auto fraction = [&]() {
        const double x = scales[rng() % 6] * static_cast<double>(rng() % 2000);
        return x - std::floor(x);
    };
    const double nearlyOne = std::nextafter(1.0, 0.0);
    const double special[] = {0.0,
                              -0.0,
                              0.5,
                              0.1,
                              0.2,
                              0.3,
                              0.7,
                              0.9,
                              nearlyOne,
                              1e-300,
                              std::numeric_limits<double>::denorm_min()};
    const int pixels = 333;  // not a multiple of any vector width
    const int count = pixels * 3;
    std::vector<uint8_t> a = Padded<uint8_t>(count);
    std::vector<uint8_t> b = Padded<uint8_t>(count);
    std::vector<uint8_t> c = Padded<uint8_t>(count);
    std::vector<uint8_t> d = Padded<uint8_t>(count);
    std::vector<double> fx = Padded<double>(count);
    std::vector<uint8_t> out = Padded<uint8_t>(count, 0xEE);
    for (int round = 0; round < 1000; ++round) {
        const double fy = round < 11 ? special[round] : fraction();
        for (int p = 0; p < pixels; ++p) {
            const double f = p < 11 ? special[p] : fraction();
            for (int ch = 0; ch < 3; ++ch) {
                const int e = p * 3 + ch;
                const bool extreme = (p + round) % 5 == 0;
                a[e] = extreme ? 255 : static_cast<uint8_t>(rng());
                b[e] = extreme ? 255 : static_cast<uint8_t>(rng());
                c[e] = extreme ? 255 : static_cast<uint8_t>(rng());
                d[e] = extreme ? 255 : static_cast<uint8_t>(rng());
                fx[e] = f;
            }
        }
        Kernels().bilinearDouble(a.data(), b.data(), c.data(), d.data(), fx.data(), fy, count,
                                 out.data());
        for (int e = 0; e < count; ++e) {
            ASSERT_EQ(out[e], reference::BilinearChannel(a[e], b[e], c[e], d[e], fx[e], fy))
                << "fx " << fx[e] << ", fy " << fy;
        }
    }
}

}  // namespace
