// Resampling as the caller sees it: exact bytes of SampleBilinear, WarpProjective
// and ResizeImage, on every vector path, against a plain transcription of the
// formulas and against the cases worked out by hand.
#include "processing/resampling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "processing/cpu_features.h"
#include "tests/processing/reference/resampling_reference.h"
#include "tests/processing/vector_paths.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

CDibImage MakeImage(int width, int height) {
    CDibImage image;
    image.Create(width, height);
    return image;
}

// Every byte of the buffer (row padding included) from a seeded generator.
CDibImage RandomImage(int width, int height, unsigned seed) {
    CDibImage image = MakeImage(width, height);
    std::mt19937 rng(seed);
    for (int n = 0; n < image.ImageSize(); ++n) {
        image.Bits()[n] = static_cast<BYTE>(rng());
    }
    return image;
}

CDibImage FilledImage(int width, int height, BYTE value) {
    CDibImage image = MakeImage(width, height);
    std::memset(image.Bits(), value, static_cast<size_t>(image.ImageSize()));
    return image;
}

const BYTE* Pixel(const CDibImage& image, int j, int i) {
    return image.Row(i) + 3 * j;
}
BYTE* Pixel(CDibImage& image, int j, int i) {
    return image.Row(i) + 3 * j;
}

std::vector<BYTE> HeaderBytes(const CDibImage& image) {
    const BYTE* p = reinterpret_cast<const BYTE*>(image.Info());
    return std::vector<BYTE>(p, p + sizeof(BITMAPINFO));
}

std::vector<BYTE> BufferBytes(const CDibImage& image) {
    return std::vector<BYTE>(image.Bits(), image.Bits() + image.ImageSize());
}

// Header and whole buffer equal; on a difference, says where the first one is.
::testing::AssertionResult SameImage(const CDibImage& expected, const CDibImage& actual) {
    if (HeaderBytes(expected) != HeaderBytes(actual)) {
        return ::testing::AssertionFailure() << "headers differ";
    }
    for (int n = 0; n < expected.ImageSize(); ++n) {
        if (expected.Bits()[n] != actual.Bits()[n]) {
            const int stride = DibStride(expected.Width());
            return ::testing::AssertionFailure()
                   << "byte " << n << " (row " << expected.Height() - 1 - n / stride
                   << " from the top, byte " << n % stride << " of the row) is "
                   << int{actual.Bits()[n]} << ", expected " << int{expected.Bits()[n]};
        }
    }
    return ::testing::AssertionSuccess();
}

using ResamplingOnPath = OnVectorPath;
INSTANTIATE_TEST_SUITE_P(AllPaths, ResamplingOnPath, AllVectorPaths(), VectorPathTestName);

// --- SampleBilinear ---------------------------------------------------------

TEST(SampleBilinear, ZeroFractionsGiveTheTopLeftPixel) {
    const BYTE p00[3] = {10, 200, 255};
    const BYTE p10[3] = {0, 0, 0};
    const BYTE p01[3] = {255, 255, 255};
    const BYTE p11[3] = {7, 8, 9};
    const double zero = 0.0;
    BYTE out[3] = {1, 1, 1};
    SampleBilinear(p00, p10, p01, p11, &zero, &zero, out);
    EXPECT_EQ(out[0], 10);
    EXPECT_EQ(out[1], 200);
    EXPECT_EQ(out[2], 255);
}

TEST(SampleBilinear, TruncatesTowardZero) {
    // v = 0.75 for a = 0, b = c = d = 1 at fx = fy = 0.5: written as 0, not 1.
    const BYTE p00[3] = {0, 0, 0};
    const BYTE ones[3] = {1, 1, 1};
    const double half = 0.5;
    BYTE out[3] = {9, 9, 9};
    SampleBilinear(p00, ones, ones, ones, &half, &half, out);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[2], 0);
}

TEST(SampleBilinear, ChannelsAreInterpolatedSeparately) {
    // Blue 0 -> 255, green constant, red 200 -> 0, a quarter of the way along x
    // and half way down to a lower row that is 40 darker in red.
    const BYTE p00[3] = {0, 100, 200};
    const BYTE p10[3] = {255, 100, 0};
    const BYTE p01[3] = {0, 100, 160};
    const BYTE p11[3] = {255, 100, 0};
    const double fx = 0.25;
    const double fy = 0.5;
    BYTE out[3] = {};
    SampleBilinear(p00, p10, p01, p11, &fx, &fy, out);
    EXPECT_EQ(out[0], 63);   // 63.75
    EXPECT_EQ(out[1], 100);  // exactly 100
    EXPECT_EQ(out[2], 135);  // 180 * 0.75 = 135
}

TEST(SampleBilinear, EvaluatesTheFormulaInTheOrderWritten) {
    // Fractions as the 352x288 resize produces them. Summing the last two terms
    // first, or weighting the four pixels, lands on the other side of an integer.
    const BYTE p00[3] = {187, 220, 0};
    const BYTE p10[3] = {2, 226, 0};
    const BYTE p01[3] = {128, 209, 0};
    const BYTE p11[3] = {223, 240, 0};
    const double fx = 0x1.9999999999a00p-1;  // 0.8000000000000114
    const double fy = 0x1.9999999999980p-1;  // 0.7999999999999972
    BYTE out[3] = {};
    SampleBilinear(p00, p10, p01, p11, &fx, &fy, out);
    EXPECT_EQ(out[0], 170);                   // 171 by the weighted sum
    const double fx2 = 0x1.ccccccccccd00p-1;  // 0.9000000000000057
    const double fy2 = 0x1.9999999999900p-2;  // 0.3999999999999915
    SampleBilinear(p00, p10, p01, p11, &fx2, &fy2, out);
    EXPECT_EQ(out[1], 230);  // 229 with (c - a) * fy + a summed first
}

// --- WarpProjective ---------------------------------------------------------

TEST_P(ResamplingOnPath, IdentityWarpLeavesTheLastColumnAndRow) {
    const CDibImage src = RandomImage(7, 5, 1);
    CDibImage dst = FilledImage(7, 5, 0xA5);
    const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    WarpProjective(&src, &dst, identity);
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 7; ++j) {
            const bool edge = j == 6 || i == 4;
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(Pixel(dst, j, i)[c], edge ? 0xA5 : Pixel(src, j, i)[c])
                    << "pixel " << j << "," << i;
            }
        }
    }
}

TEST_P(ResamplingOnPath, WarpWithoutPixelsChangesNothing) {
    const CDibImage empty;
    const CDibImage src = RandomImage(8, 8, 2);
    CDibImage dst = FilledImage(8, 8, 0x11);
    const std::vector<BYTE> before = BufferBytes(dst);
    const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    WarpProjective(&empty, &dst, identity);
    EXPECT_EQ(BufferBytes(dst), before);
    CDibImage emptyDst;
    WarpProjective(&src, &emptyDst, identity);
    EXPECT_EQ(emptyDst.Bits(), nullptr);
    EXPECT_EQ(emptyDst.Width(), 0);
}

TEST_P(ResamplingOnPath, PositionsThatAreNotNumbersOrBeyondIntLeavePixelsUntouched) {
    const CDibImage src = RandomImage(16, 12, 3);
    // Axis-aligned ones take the table-driven path, the others the per-pixel one.
    const std::vector<std::vector<double>> matrices = {
        {1, 0, 0, 0, 1, 0, 0, 0, 0},             // w = 0: NaN at (0, 0), infinite elsewhere
        {1, 0, 0, 0, 1, 0, 1, 0, -1},            // w = 0 in column 1 only
        {1, 0.5, 0, 0.5, 1, 0, 0, 0, 0},         // w = 0, with shear
        {kNaN, 0, 0, 0, 1, 0, 0, 0, 1},          // x not a number
        {1, 0, 0, 0, 1, 0, 0, 0, kNaN},          // w not a number
        {kInf, 0, 0, 0, 1, 0, 0, 0, 1},          // x infinite (NaN in column 0)
        {1, 0, 3e9, 0, 1, 0, 0, 0, 1},           // x beyond int
        {1, 0, -3e9, 0, 1, 0, 0, 0, 1},          // x below int
        {1, 0, 0, 0, 1, 1e300, 0, 0, 1},         // y far beyond int
        {1, 0, 0, 0, 1, -1e300, 0, 0, 1e-300},   // y = -inf after the division
        {1, 0.1, 5e9, 0.1, 1, 5e9, 1e-9, 0, 1},  // perspective, beyond int
        {kInf, 0.1, 0, 0.1, 1, 0, 1e-3, 0, 1},   // perspective, x infinite or NaN
    };
    for (const std::vector<double>& m : matrices) {
        CDibImage dst = FilledImage(10, 6, 0x5A);
        const std::vector<BYTE> before = BufferBytes(dst);
        WarpProjective(&src, &dst, m.data());
        if (m[8] == -1) {
            // Only column 1 has w = 0; every other column samples (x / (j - 1), ...).
            CDibImage expected = FilledImage(10, 6, 0x5A);
            reference::WarpProjective(src, &expected, m.data());
            EXPECT_TRUE(SameImage(expected, dst));
            for (int i = 0; i < 6; ++i) {
                EXPECT_EQ(Pixel(dst, 1, i)[0], 0x5A);
            }
        } else {
            EXPECT_EQ(BufferBytes(dst), before) << "matrix with m2 " << m[2] << ", m8 " << m[8];
        }
    }
}

TEST_P(ResamplingOnPath, WarpMatchesTheFormulaForManyMatrices) {
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const CDibImage src = RandomImage(61, 47, 5);
    std::vector<std::vector<double>> matrices = {
        {1, 0, 0, 0, 1, 0, 0, 0, 1},
        {0.5, 0, 0, 0, 0.5, 0, 0, 0, 1},
        {1.1, 0, 0, 0, 1.2, 0, 0, 0, 1},
        {-1, 0, 60, 0, 1, 0, 0, 0, 1},               // mirrored
        {1, -0.0, -2.5, -0.0, 1, 1.25, -0.0, 0, 1},  // shifted, with negative zeros
        {2, 0, 1, 0, 3, 2, 0, 0, 2},                 // w = 2
        {-1, 0, -3, 0, -1, -2, 0, 0, -1},            // w = -1
        {0.3, 0, 0.1, 0, 0.7, 0.2, 0, 0, 1},         // fractions that are not multiples of 1/128
        {0.25, 0, 0.125, 0, 0.75, 0.5, 0, 0, 1},     // fractions that are
        {0.9, -0.4, 10, 0.4, 0.9, -5, 0, 0, 1},      // rotation
        {1, 0.2, 0, 0.1, 1, 0, 0.002, 0.001, 1},     // perspective
    };
    for (int n = 0; n < 20; ++n) {
        std::vector<double> m(9);
        for (double& e : m) {
            e = unit(rng);
        }
        m[0] *= 2;
        m[4] *= 2;
        m[2] *= 30;
        m[5] *= 30;
        m[6] *= 0.01;
        m[7] *= 0.01;
        m[8] = 1 + 0.1 * m[8];
        if (n % 2 == 0) {
            m[1] = m[3] = m[6] = m[7] = 0;  // axis-aligned
        }
        matrices.push_back(m);
    }
    for (const std::vector<double>& m : matrices) {
        for (const auto& size : {std::pair<int, int>{61, 47}, {33, 80}, {1, 1}, {700, 3}}) {
            CDibImage expected = FilledImage(size.first, size.second, 0x3C);
            CDibImage actual = FilledImage(size.first, size.second, 0x3C);
            reference::WarpProjective(src, &expected, m.data());
            WarpProjective(&src, &actual, m.data());
            ASSERT_TRUE(SameImage(expected, actual))
                << "matrix " << m[0] << " " << m[1] << " " << m[2] << " / " << m[3] << " " << m[4]
                << " " << m[5] << " / " << m[6] << " " << m[7] << " " << m[8] << ", destination "
                << size.first << "x" << size.second;
        }
    }
}

TEST_P(ResamplingOnPath, WarpOfAnImageOntoItselfReadsTheOriginalPicture) {
    CDibImage image = RandomImage(40, 30, 6);
    const CDibImage original(image);
    CDibImage expected(image);
    const double shift[9] = {1, 0, 2.5, 0, 1, 1.5, 0, 0, 1};
    reference::WarpProjective(original, &expected, shift);
    WarpProjective(&image, &image, shift);
    EXPECT_TRUE(SameImage(expected, image));
}

// --- ResizeImage ------------------------------------------------------------

TEST_P(ResamplingOnPath, HalvingIsExactPointSampling) {
    const CDibImage src = RandomImage(640, 480, 7);
    CDibImage dst;
    ResizeImage(&src, &dst, 320, 240);
    ASSERT_EQ(dst.Width(), 320);
    ASSERT_EQ(dst.Height(), 240);
    for (int i = 0; i < 240; ++i) {
        for (int j = 0; j < 320; ++j) {
            ASSERT_EQ(std::memcmp(Pixel(dst, j, i), Pixel(src, 2 * j, 2 * i), 3), 0)
                << "pixel " << j << "," << i;
        }
    }
}

TEST_P(ResamplingOnPath, DoublingLeavesTheLastTwoColumnsAndRows) {
    CDibImage src = RandomImage(160, 120, 8);
    // The 2x2 at the top-left: a = 0, b = c = d = 1, so pixel (1, 1) is 0.75 -> 0.
    std::memset(Pixel(src, 0, 0), 0, 3);
    std::memset(Pixel(src, 1, 0), 1, 3);
    std::memset(Pixel(src, 0, 1), 1, 3);
    std::memset(Pixel(src, 1, 1), 1, 3);
    CDibImage dst = FilledImage(320, 240, 0xC3);
    BYTE* const bits = dst.Bits();
    ResizeImage(&src, &dst, 320, 240);
    EXPECT_EQ(dst.Bits(), bits) << "a destination of the right size is not reallocated";
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(Pixel(dst, 1, 1)[c], 0);
        EXPECT_EQ(Pixel(dst, 1, 0)[c], 0);  // 0.5 -> 0
        EXPECT_EQ(Pixel(dst, 2, 2)[c], 1);
    }
    for (int i = 0; i < 240; ++i) {
        for (int j = 0; j < 320; ++j) {
            const bool untouched = j >= 318 || i >= 238;
            if (untouched) {
                for (int c = 0; c < 3; ++c) {
                    ASSERT_EQ(Pixel(dst, j, i)[c], 0xC3) << "pixel " << j << "," << i;
                }
            } else if (j % 2 == 0 && i % 2 == 0) {
                ASSERT_EQ(std::memcmp(Pixel(dst, j, i), Pixel(src, j / 2, i / 2), 3), 0);
            }
        }
    }
}

TEST_P(ResamplingOnPath, CifFramesFillTheWholeDestination) {
    // 352x288: sx = 1.1, sy = 1.2; the last column samples near 350.9 and the
    // last row near 286.8, so two different fillings must both be overwritten.
    const CDibImage src = RandomImage(352, 288, 9);
    CDibImage first = FilledImage(320, 240, 0x00);
    CDibImage second = FilledImage(320, 240, 0xFF);
    ResizeImage(&src, &first, 320, 240);
    ResizeImage(&src, &second, 320, 240);
    EXPECT_TRUE(SameImage(first, second));
}

TEST_P(ResamplingOnPath, SameSizeCopiesHeaderAndPixels) {
    // A camera's frame header: resolution set, a colour entry, spare image bytes.
    BITMAPINFO camera = {};
    MakeBitmapInfo24(320, 240, &camera);
    camera.bmiHeader.biXPelsPerMeter = 2835;
    camera.bmiHeader.biYPelsPerMeter = 2835;
    camera.bmiHeader.biSizeImage = 230400 + 64;
    camera.bmiColors[0] = RGBQUAD{1, 2, 3, 4};
    CDibImage src(&camera);
    std::mt19937 rng(10);
    for (int n = 0; n < src.ImageSize(); ++n) {
        src.Bits()[n] = static_cast<BYTE>(rng());
    }
    CDibImage dst = FilledImage(320, 240, 0x77);
    ResizeImage(&src, &dst, 320, 240);
    EXPECT_EQ(HeaderBytes(dst), HeaderBytes(src));
    EXPECT_EQ(BufferBytes(dst), BufferBytes(src));
}

TEST_P(ResamplingOnPath, NothingToResizeLeavesTheDestinationAlone) {
    CDibImage dst = RandomImage(100, 50, 11);
    const std::vector<BYTE> header = HeaderBytes(dst);
    const std::vector<BYTE> pixels = BufferBytes(dst);
    BYTE* const bits = dst.Bits();
    const CDibImage empty;
    ResizeImage(&empty, &dst, 320, 240);
    const CDibImage src = RandomImage(64, 48, 12);
    ResizeImage(&src, &dst, 0, 240);
    ResizeImage(&src, &dst, 320, -1);
    EXPECT_EQ(dst.Bits(), bits);
    EXPECT_EQ(HeaderBytes(dst), header);
    EXPECT_EQ(BufferBytes(dst), pixels);

    CDibImage untouched;
    ResizeImage(&empty, &untouched, 320, 240);
    EXPECT_EQ(untouched.Bits(), nullptr) << "not even created";
    EXPECT_EQ(untouched.Width(), 0);
}

TEST_P(ResamplingOnPath, ADestinationOfAnotherSizeBecomesA24BitImage) {
    const CDibImage src = RandomImage(640, 480, 13);
    CDibImage dst = RandomImage(17, 3, 14);
    ResizeImage(&src, &dst, 320, 240);
    BITMAPINFO expected;
    MakeBitmapInfo24(320, 240, &expected);
    EXPECT_EQ(std::memcmp(dst.Info(), &expected, sizeof(expected)), 0);
    EXPECT_EQ(std::memcmp(Pixel(dst, 319, 239), Pixel(src, 638, 478), 3), 0);
}

TEST_P(ResamplingOnPath, ResizingAnImageIntoItselfUsesTheOriginalPicture) {
    CDibImage image = RandomImage(352, 288, 15);
    const CDibImage original(image);
    CDibImage expected;
    reference::ResizeImage(original, &expected, 320, 240);
    ResizeImage(&image, &image, 320, 240);
    ASSERT_EQ(image.Width(), 320);
    // Pixels no source neighbourhood reaches would hold whatever the new buffer
    // held; here every pixel is written.
    EXPECT_TRUE(SameImage(expected, image));
}

TEST_P(ResamplingOnPath, ResizeMatchesTheFormulaForCaptureSizes) {
    struct Size {
        int width;
        int height;
    };
    const Size sources[] = {{160, 120},   {320, 240},  {352, 288}, {640, 480},  {1280, 720},
                            {1920, 1080}, {176, 144},  {800, 600}, {1024, 768}, {161, 121},
                            {333, 251},   {1279, 719}, {17, 9},    {2, 2},      {1, 1}};
    const Size targets[] = {{320, 240}, {100, 75}, {321, 243}, {1, 1}};
    unsigned seed = 100;
    for (const Size& from : sources) {
        for (const Size& to : targets) {
            const int frames = to.width == 320 && to.height == 240 ? 3 : 1;
            for (int f = 0; f < frames; ++f) {
                const CDibImage src = RandomImage(from.width, from.height, seed++);
                CDibImage expected = FilledImage(to.width, to.height, 0x99);
                CDibImage actual = FilledImage(to.width, to.height, 0x99);
                reference::ResizeImage(src, &expected, to.width, to.height);
                ResizeImage(&src, &actual, to.width, to.height);
                ASSERT_TRUE(SameImage(expected, actual))
                    << from.width << "x" << from.height << " to " << to.width << "x" << to.height
                    << ", frame " << f;
            }
        }
    }
}

TEST_P(ResamplingOnPath, ResizeOfFlatAndExtremePicturesMatchesTheFormula) {
    // All 0, all 255, and alternating extremes: where clamps and sign of zero show.
    for (int pattern = 0; pattern < 3; ++pattern) {
        CDibImage src = MakeImage(1920, 1080);
        for (int n = 0; n < src.ImageSize(); ++n) {
            src.Bits()[n] = pattern == 0 ? 0 : pattern == 1 ? 255 : (n / 3 + n / 5760) % 2 * 255;
        }
        for (const int width : {320, 333}) {
            CDibImage expected = FilledImage(width, 240, 0x42);
            CDibImage actual = FilledImage(width, 240, 0x42);
            reference::ResizeImage(src, &expected, width, 240);
            ResizeImage(&src, &actual, width, 240);
            EXPECT_TRUE(SameImage(expected, actual)) << "pattern " << pattern << ", " << width;
        }
    }
}

}  // namespace
