// Compositing as the caller sees it: exact blended bytes and hidden
// percentages on the plain path and on the vector path, against the reference
// transcription of the formulas; clamping, colour comparison and sprite pasting.
#include "processing/compositing.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "processing/cpu_features.h"
#include "tests/processing/reference/dib_pictures.h"
#include "tests/processing/reference/motion_compositing_reference.h"
#include "tests/processing/vector_paths.h"

namespace {

using reference::Picture;

using BlendByHistoryOnPath = OnVectorPath;
INSTANTIATE_TEST_SUITE_P(AllPaths, BlendByHistoryOnPath, AllVectorPaths(), VectorPathTestName);

Picture Solid(int width, int height, BYTE value) {
    Picture picture(width, height);
    std::memset(picture.bytes.data(), value, picture.bytes.size());
    return picture;
}

std::vector<BYTE> Bytes(const CDibImage& image) {
    return std::vector<BYTE>(image.Bits(), image.Bits() + image.ImageSize());
}

// Blends on the current path; returns the percentage and the output picture.
int BlendOnPath(const Picture& frame, const Picture& history, const Picture& background,
                Picture* out) {
    const CDibImage f = reference::ToImage(frame);
    const CDibImage h = reference::ToImage(history);
    const CDibImage b = reference::ToImage(background);
    CDibImage o = reference::ToImage(Solid(frame.width, frame.height, 0x5A));
    const int percentage = BlendByHistory(&f, &h, &b, &o);
    *out = reference::ToPicture(o);
    return percentage;
}

TEST(ClampToByte, SaturatesAndTruncates) {
    EXPECT_EQ(255, ClampToByte(255.0));
    EXPECT_EQ(255, ClampToByte(255.5));
    EXPECT_EQ(254, ClampToByte(254.999));
    EXPECT_EQ(0, ClampToByte(0.99));
    EXPECT_EQ(0, ClampToByte(-0.5));
    EXPECT_EQ(0, ClampToByte(-300.0));
    EXPECT_EQ(255, ClampToByte(1e9));
    EXPECT_EQ(0, ClampToByte(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(255, ClampToByte(std::numeric_limits<double>::infinity()));
    EXPECT_EQ(0, ClampToByte(-std::numeric_limits<double>::infinity()));
    EXPECT_EQ(128, ClampToByte(128.75));
}

TEST(SameColor, ComparesAllThreeBytes) {
    const BYTE a[3] = {0, 255, 1};
    const BYTE b[3] = {0, 255, 1};
    const BYTE c[3] = {1, 255, 1};
    const BYTE d[3] = {0, 255, 0};
    EXPECT_EQ(1, SameColor(a, b));
    EXPECT_EQ(0, SameColor(a, c));
    EXPECT_EQ(0, SameColor(a, d));
}

TEST_P(BlendByHistoryOnPath, MixesByTheRedHistoryByte) {
    // 40 pixels so that the vector path takes a full group as well as single ones.
    Picture frame = Solid(40, 3, 200);
    Picture background = Solid(40, 3, 100);
    Picture history = Solid(40, 3, 0);
    for (int j = 0; j < 40; ++j) {
        history.At(j, 0)[2] = 128;  // the weight comes from the red byte only
        history.At(j, 1)[2] = 255;
        history.At(j, 1)[1] = 9;
        history.At(j, 2)[0] = 255;
        frame.At(j, 1)[0] = 17;
        background.At(j, 2)[1] = 3;
    }
    Picture out;
    BlendOnPath(frame, history, background, &out);
    for (int j = 0; j < 40; ++j) {
        for (int c = 0; c < 3; ++c) {
            // 100 * 0.4980392156862745 + 200 * 0.5019607843137255 = 150.196...
            ASSERT_EQ(150, out.At(j, 0)[c]) << VectorPathName(ActiveVectorPath());
            ASSERT_EQ(frame.At(j, 1)[c], out.At(j, 1)[c]);
            ASSERT_EQ(background.At(j, 2)[c], out.At(j, 2)[c]);
        }
    }
}

// All (history, background, frame) byte triples of one channel, on every path.
TEST_P(BlendByHistoryOnPath, EveryWeightBackgroundAndFrameByte) {
    Picture frame(256, 256);
    Picture background(256, 256);
    for (int i = 0; i < 256; ++i) {
        for (int j = 0; j < 256; ++j) {
            for (int c = 0; c < 3; ++c) {
                background.At(j, i)[c] = static_cast<BYTE>(j);
                frame.At(j, i)[c] = static_cast<BYTE>(i + 85 * c);
            }
        }
    }
    long long mismatches = 0;
    for (int h = 0; h < 256; ++h) {
        Picture out;
        BlendOnPath(frame, Solid(256, 256, static_cast<BYTE>(h)), background, &out);
        for (int i = 0; i < 256; ++i) {
            for (int j = 0; j < 256; ++j) {
                for (int c = 0; c < 3; ++c) {
                    mismatches += out.At(j, i)[c] != reference::BlendChannel(background.At(j, i)[c],
                                                                             frame.At(j, i)[c], h);
                }
            }
        }
    }
    EXPECT_EQ(0, mismatches) << VectorPathName(ActiveVectorPath());
}

int Percentage(const Picture& history) {
    Picture out;
    const Picture grey = Solid(history.width, history.height, 90);
    return BlendOnPath(grey, history, grey, &out);
}

TEST_P(BlendByHistoryOnPath, HiddenPercentage) {
    EXPECT_EQ(100, Percentage(Solid(320, 240, 0)));
    EXPECT_EQ(0, Percentage(Solid(320, 240, 255)));
    Picture half = Solid(320, 240, 0);
    std::memset(half.bytes.data(), 255, half.bytes.size() / 2);
    EXPECT_EQ(50, Percentage(half));
    Picture single = Solid(320, 240, 0);
    single.At(200, 100)[2] = 255;
    EXPECT_EQ(100, Percentage(single));
    // 12,240 pixels of 8: the mean weight is 0.005 exactly, but the serial
    // double sum lies just below it.
    Picture eights = Solid(320, 240, 0);
    for (int k = 0; k < 12240; ++k) {
        eights.At(k % 320, k / 320)[2] = 8;
    }
    EXPECT_EQ(99, Percentage(eights)) << VectorPathName(ActiveVectorPath());
    // One pixel more and the percentage drops for sure; one of 255 on its
    // own keeps it.
    eights.At(12240 % 320, 12240 / 320)[2] = 8;
    EXPECT_EQ(99, Percentage(eights));
    Picture nearlyAll = Solid(320, 240, 255);
    for (int k = 0; k < 384; ++k) {  // mean weight 0.995 exactly
        nearlyAll.At(k, 0)[2] = 0;
    }
    EXPECT_EQ(reference::Blend(nearlyAll, nearlyAll, nearlyAll, &half), Percentage(nearlyAll));
    nearlyAll.At(0, 1)[2] = 0;
    EXPECT_EQ(1, Percentage(nearlyAll));
    EXPECT_EQ(100, Percentage(Solid(1, 1, 0)));
    EXPECT_EQ(0, Percentage(Solid(1, 1, 255)));
}

// Random pictures with runs of 0 and 255 weights, frames equal to the
// background in places, and odd widths; every path gives the reference bytes
// and percentage.
TEST_P(BlendByHistoryOnPath, GivesTheReferenceBytes) {
    struct Size {
        int width, height;
    };
    const Size sizes[] = {{160, 120}, {320, 240}, {352, 288}, {640, 480}, {1280, 720}, {1920, 1080},
                          {1, 1},     {3, 2},     {31, 5},    {33, 7},    {321, 3},    {323, 9}};
    std::mt19937 random(99);
    for (const Size& size : sizes) {
        const Picture frame = reference::RandomPicture(size.width, size.height, &random);
        Picture background = reference::RandomPicture(size.width, size.height, &random);
        Picture history = reference::RandomPicture(size.width, size.height, &random);
        for (int i = 0; i < size.height; ++i) {
            for (int j = 0; j < size.width; ++j) {
                const int band = (j / 40 + i) % 5;
                if (band == 0) {
                    history.At(j, i)[2] = 0;
                } else if (band == 1) {
                    history.At(j, i)[2] = 255;
                } else if (band == 2) {
                    std::memcpy(background.At(j, i), frame.At(j, i), 3);
                }
            }
        }
        Picture expected(size.width, size.height);
        const int expectedPercentage = reference::Blend(frame, history, background, &expected);
        Picture out;
        EXPECT_EQ(expectedPercentage, BlendOnPath(frame, history, background, &out));
        ASSERT_EQ(expected.bytes, out.bytes)
            << size.width << "x" << size.height << " " << VectorPathName(ActiveVectorPath());
    }
}

// Histories whose byte sums put the exact percentage on a whole number, where
// only the serial double sum decides, and just beside it.
TEST_P(BlendByHistoryOnPath, PercentageOnAndBesideWholeNumbers) {
    std::mt19937 random(5);
    for (int round = 0; round < 40; ++round) {
        Picture history = reference::RandomPicture(320, 240, &random);
        long long sum = 0;
        for (int i = 0; i < 240; ++i) {
            for (int j = 0; j < 320; ++j) {
                sum += history.At(j, i)[2];
            }
        }
        // The exact value is whole when the sum is 97,920 modulo 195,840.
        long long target = 97920 + 195840 * (sum / 195840);
        if (target > 255LL * 76800) {
            target -= 195840;
        }
        target += round % 4 == 3 ? 1 : round % 4 == 2 ? -1 : 0;
        for (int k = 0; sum != target; k = (k + 1) % 76800) {
            BYTE& h = history.At(k % 320, k / 320)[2];
            const long long want = static_cast<long long>(h) + (target - sum);
            const int value = want < 0 ? 0 : want > 255 ? 255 : static_cast<int>(want);
            sum += value - h;
            h = static_cast<BYTE>(value);
        }
        const Picture grey = Solid(320, 240, 90);
        Picture expected(320, 240);
        const int expectedPercentage = reference::Blend(grey, history, grey, &expected);
        Picture out;
        ASSERT_EQ(expectedPercentage, BlendOnPath(grey, history, grey, &out)) << round;
    }
}

// Blending into one of the inputs gives what a separate output gets, the
// percentage included (here one that needs the serial sum).
TEST_P(BlendByHistoryOnPath, AnOutputThatIsAlsoAnInput) {
    std::mt19937 random(11);
    const Picture frame = reference::RandomPicture(320, 240, &random);
    const Picture background = reference::RandomPicture(320, 240, &random);
    Picture history = Solid(320, 240, 0);
    for (int k = 0; k < 12240; ++k) {
        history.At(k % 320, k / 320)[2] = 8;
        history.At(k % 320, k / 320)[0] = static_cast<BYTE>(k);
    }
    Picture expected(320, 240);
    ASSERT_EQ(99, reference::Blend(frame, history, background, &expected));
    CDibImage f = reference::ToImage(frame);
    const CDibImage h = reference::ToImage(history);
    const CDibImage b = reference::ToImage(background);
    EXPECT_EQ(99, BlendByHistory(&f, &h, &b, &f));
    EXPECT_EQ(expected.bytes, reference::ToPicture(f).bytes);
    f = reference::ToImage(frame);
    CDibImage b2 = reference::ToImage(background);
    EXPECT_EQ(99, BlendByHistory(&f, &h, &b2, &b2));
    EXPECT_EQ(expected.bytes, reference::ToPicture(b2).bytes);
    CDibImage h2 = reference::ToImage(history);
    EXPECT_EQ(99, BlendByHistory(&f, &h2, &b, &h2));
    EXPECT_EQ(expected.bytes, reference::ToPicture(h2).bytes) << VectorPathName(ActiveVectorPath());
}

TEST_P(BlendByHistoryOnPath, WritesNothingForEmptyOrMismatchedImages) {
    const CDibImage frame = reference::ToImage(Solid(8, 4, 10));
    const CDibImage history = reference::ToImage(Solid(8, 4, 128));
    const CDibImage empty;
    const CDibImage narrow = reference::ToImage(Solid(7, 4, 128));
    const CDibImage short_ = reference::ToImage(Solid(8, 3, 128));
    CDibImage out = reference::ToImage(Solid(8, 4, 77));
    const std::vector<BYTE> before = Bytes(out);
    EXPECT_EQ(0, BlendByHistory(&empty, &empty, &empty, &out));
    EXPECT_EQ(0, BlendByHistory(&frame, &narrow, &frame, &out));
    EXPECT_EQ(0, BlendByHistory(&frame, &history, &short_, &out));
    EXPECT_EQ(0, BlendByHistory(&frame, &history, &empty, &out));
    EXPECT_EQ(before, Bytes(out));
    CDibImage narrowOut = reference::ToImage(Solid(7, 4, 77));
    const std::vector<BYTE> narrowBefore = Bytes(narrowOut);
    EXPECT_EQ(0, BlendByHistory(&frame, &history, &frame, &narrowOut));
    EXPECT_EQ(narrowBefore, Bytes(narrowOut));
    CDibImage emptyOut;
    EXPECT_EQ(0, BlendByHistory(&frame, &history, &frame, &emptyOut));
    EXPECT_FALSE(emptyOut.HasPixels());
}

// A 10 x 10 sprite whose pixel (j, i) is (j, i, 50), with the key colour on
// its diagonal.
CDibImage Sprite() {
    Picture sprite(10, 10);
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) {
            BYTE* p = sprite.At(j, i);
            p[0] = static_cast<BYTE>(j);
            p[1] = static_cast<BYTE>(i);
            p[2] = 50;
            if (i == j) {
                p[0] = 0;
                p[1] = 255;
                p[2] = 0;
            }
        }
    }
    return reference::ToImage(sprite);
}
const Pixel3 kGreen = {0, 255, 0};

TEST(PasteColorKeyed, DrawsTheSpriteUprightAndSkipsTheKeyColour) {
    CDibImage dst = reference::ToImage(Solid(20, 15, 7));
    const CDibImage sprite = Sprite();
    PasteColorKeyed(&dst, &sprite, 3, 2, kGreen);
    const Picture out = reference::ToPicture(dst);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 20; ++x) {
            const int j = x - 3;
            const int i = y - 2;
            const bool inside = j >= 0 && j < 10 && i >= 0 && i < 10 && i != j;
            const BYTE expected[3] = {inside ? static_cast<BYTE>(j) : BYTE{7},
                                      inside ? static_cast<BYTE>(i) : BYTE{7},
                                      inside ? BYTE{50} : BYTE{7}};
            ASSERT_EQ(0, std::memcmp(expected, out.At(x, y), 3)) << x << "," << y;
        }
    }
}

TEST(PasteColorKeyed, ClipsAtEveryEdge) {
    CDibImage dst = reference::ToImage(Solid(12, 12, 7));
    const CDibImage sprite = Sprite();
    // Only the lower-right 5 x 5 quarter lands, at the top-left corner.
    PasteColorKeyed(&dst, &sprite, -5, -5, Pixel3{1, 1, 1});
    Picture out = reference::ToPicture(dst);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const BYTE* p = out.At(x, y);
            if (x < 5 && y < 5) {
                ASSERT_EQ(x + 5 == y + 5 ? 0 : x + 5, p[0]);
                ASSERT_EQ(x + 5 == y + 5 ? 255 : y + 5, p[1]);
            } else {
                ASSERT_EQ(7, p[0]) << x << "," << y;
            }
        }
    }
    // At the right edge only the first columns land; at x = width nothing does.
    dst = reference::ToImage(Solid(12, 12, 7));
    PasteColorKeyed(&dst, &sprite, 10, 4, kGreen);
    out = reference::ToPicture(dst);
    EXPECT_EQ(1, out.At(11, 4)[0]);
    EXPECT_EQ(7, out.At(9, 4)[0]);
    const std::vector<BYTE> before = Bytes(dst);
    PasteColorKeyed(&dst, &sprite, 12, 0, kGreen);
    PasteColorKeyed(&dst, &sprite, 0, 12, kGreen);
    PasteColorKeyed(&dst, &sprite, -10, 0, kGreen);
    PasteColorKeyed(&dst, &sprite, INT_MAX, INT_MAX, kGreen);
    PasteColorKeyed(&dst, &sprite, INT_MIN, INT_MIN, kGreen);
    EXPECT_EQ(before, Bytes(dst));
}

TEST(PasteColorKeyed, OnlyAnExactKeyMatchIsTransparent) {
    Picture one(1, 1);
    one.At(0, 0)[0] = 0;
    one.At(0, 0)[1] = 255;
    one.At(0, 0)[2] = 1;
    const CDibImage sprite = reference::ToImage(one);
    CDibImage dst = reference::ToImage(Solid(2, 2, 7));
    PasteColorKeyed(&dst, &sprite, 1, 1, kGreen);
    EXPECT_EQ(1, dst.Row(1)[5]);
    CDibImage keyed = reference::ToImage(Solid(2, 2, 7));
    PasteColorKeyed(&keyed, &sprite, 1, 1, Pixel3{0, 255, 1});
    EXPECT_EQ(7, keyed.Row(1)[5]);
}

TEST(PasteColorKeyed, AnEmptySpriteOrDestinationChangesNothing) {
    CDibImage dst = reference::ToImage(Solid(4, 4, 7));
    const std::vector<BYTE> before = Bytes(dst);
    const CDibImage empty;
    PasteColorKeyed(&dst, &empty, 0, 0, kGreen);
    EXPECT_EQ(before, Bytes(dst));
    CDibImage emptyDst;
    PasteColorKeyed(&emptyDst, &dst, 0, 0, kGreen);
    EXPECT_EQ(nullptr, emptyDst.Bits());
}

}  // namespace
