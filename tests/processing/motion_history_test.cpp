// Motion history as its callers see it: exact grey values, masks and history
// bytes, on the plain path and on the vector path, against the reference
// transcription of the formulas and the cases worked out by hand.
#include "processing/motion_history.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "processing/cpu_features.h"
#include "processing/motion_kernels.h"
#include "tests/processing/reference/dib_pictures.h"
#include "tests/processing/reference/motion_compositing_reference.h"
#include "tests/processing/vector_paths.h"

namespace {

using reference::Picture;

using MotionOnPath = OnVectorPath;
INSTANTIATE_TEST_SUITE_P(AllPaths, MotionOnPath, AllVectorPaths(), VectorPathTestName);

CDibImage SolidImage(int width, int height, BYTE blue, BYTE green, BYTE red) {
    Picture picture(width, height);
    for (int i = 0; i < height; ++i) {
        for (int j = 0; j < width; ++j) {
            picture.At(j, i)[0] = blue;
            picture.At(j, i)[1] = green;
            picture.At(j, i)[2] = red;
        }
    }
    return reference::ToImage(picture);
}

CDibImage Grey(int width, int height, BYTE level) {
    return SolidImage(width, height, level, level, level);
}

std::vector<BYTE> Bytes(const CDibImage& image) {
    return std::vector<BYTE>(image.Bits(), image.Bits() + image.ImageSize());
}

// The static state of UpdateMotionHistory starts again at zero whenever the
// frame format changes; a 1x1 frame in between guarantees it.
void StartMotionHistoryAgain() {
    CDibImage history;
    UpdateMotionHistory(Grey(1, 1, 0), &history);
}

// Own state images for MotionHistoryStep.
struct MotionState {
    CDibImage prevGray, history, gray, diffMask;
    CDibImage out;
    void Step(const CDibImage& frame) {
        MotionHistoryStep(&frame, &prevGray, &history, &gray, &diffMask, &out);
    }
};

TEST(Luminance, IsTheDoubleSumInItsGroupingTruncated) {
    int level = -1;
    Luminance(255, 255, 255, &level);
    EXPECT_EQ(255, level);
    Luminance(0, 0, 0, &level);
    EXPECT_EQ(0, level);
    // 23 exactly, but the double sum lies just below it.
    Luminance(0, 36, 12, &level);
    EXPECT_EQ(22, level);
    Luminance(100, 100, 100, &level);
    EXPECT_EQ(100, level);
}

// All 2^24 colours, through the grey image the motion step leaves behind, on
// every path.
TEST_P(MotionOnPath, LuminanceOfEveryColour) {
    constexpr int kWidth = 4096;
    constexpr int kRows = 256;
    MotionState state;
    CDibImage frame;
    frame.Create(kWidth, kRows);
    long long mismatches = 0;
    for (int chunk = 0; chunk < (1 << 24) / (kWidth * kRows); ++chunk) {
        for (int i = 0; i < kRows; ++i) {
            BYTE* row = frame.Row(i);
            for (int j = 0; j < kWidth; ++j) {
                const int colour = (chunk * kRows + i) * kWidth + j;
                row[3 * j] = static_cast<BYTE>(colour);
                row[3 * j + 1] = static_cast<BYTE>(colour >> 8);
                row[3 * j + 2] = static_cast<BYTE>(colour >> 16);
            }
        }
        state.Step(frame);
        for (int i = 0; i < kRows; ++i) {
            const BYTE* f = frame.Row(i);
            const BYTE* g = state.prevGray.Row(i);
            for (int j = 0; j < kWidth; ++j) {
                const int expected = reference::Luminance(f[3 * j + 2], f[3 * j + 1], f[3 * j]);
                int publicLevel;
                Luminance(f[3 * j + 2], f[3 * j + 1], f[3 * j], &publicLevel);
                for (int c = 0; c < 3; ++c) {
                    mismatches += g[3 * j + c] != expected;
                }
                mismatches += publicLevel != expected;
            }
        }
    }
    EXPECT_EQ(0, mismatches) << VectorPathName(ActiveVectorPath());
}

// trunc(v * 0.98) for all 256 byte values, in every byte position, on every
// path, and equal to floor(98 v / 100).
TEST_P(MotionOnPath, UpdateHistoryDecaysEveryByteValueByTwoPercent) {
    Picture values(256, 3);
    for (int v = 0; v < 256; ++v) {
        for (int i = 0; i < 3; ++i) {
            values.At(v, i)[0] = values.At(v, i)[1] = values.At(v, i)[2] = static_cast<BYTE>(v);
        }
    }
    MotionState state;
    state.Step(Grey(256, 3, 0));  // black against the cleared grey image: no motion
    state.history = reference::ToImage(values);
    state.Step(Grey(256, 3, 0));
    for (int v = 0; v < 256; ++v) {
        for (int c = 0; c < 3; ++c) {
            ASSERT_EQ(98 * v / 100, state.out.Row(1)[3 * v + c]) << v;
            ASSERT_EQ(reference::Decay(static_cast<BYTE>(v), 0.98), state.out.Row(2)[3 * v + c]);
        }
    }
    CDibImage history = reference::ToImage(values);
    const CDibImage mask = Grey(256, 3, 0);
    UpdateHistory(&mask, &history, 0.98);
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(98 * v / 100, history.Row(0)[3 * v + 1]) << v;
    }
    EXPECT_EQ(249, history.Row(0)[3 * 255]);
    EXPECT_EQ(98, history.Row(0)[3 * 100]);
    EXPECT_EQ(49, history.Row(0)[3 * 50]);
    EXPECT_EQ(48, history.Row(0)[3 * 49]);
    EXPECT_EQ(0, history.Row(0)[3 * 1]);
}

TEST(UpdateHistory, AMaskAbove64ReplacesAnyHistoryAndUnequalBytesDecaySeparately) {
    Picture history(5, 1);
    const BYTE before[5][3] = {{17, 200, 3}, {255, 100, 50}, {9, 9, 9}, {40, 41, 42}, {2, 2, 2}};
    std::memcpy(history.bytes.data(), before, sizeof(before));
    Picture mask(5, 1);
    const BYTE masks[5][3] = {{255, 255, 255}, {0, 0, 0}, {0, 64, 0}, {1, 65, 2}, {0, 0, 0}};
    std::memcpy(mask.bytes.data(), masks, sizeof(masks));
    CDibImage historyImage = reference::ToImage(history);
    const CDibImage maskImage = reference::ToImage(mask);
    UpdateHistory(&maskImage, &historyImage, 0.98);
    const BYTE* h = historyImage.Row(0);
    const BYTE expected[16] = {255, 255, 255, 249, 98, 49, 8,   8, 8,
                               1,   65,  2,   1,   1,  1,  0xA5};  // the row padding is left alone
    EXPECT_EQ(0, std::memcmp(expected, h, sizeof(expected)));
}

// Any factor: the product truncated, kept within 0..255 instead of wrapping.
TEST(UpdateHistory, OtherFactorsTruncateAndSaturate) {
    const CDibImage mask = Grey(2, 1, 0);
    const struct {
        double factor;
        BYTE before;
        BYTE after;
    } cases[] = {{0.5, 255, 127}, {0.5, 3, 1},  {2.0, 200, 255},
                 {2.0, 100, 200}, {-1.0, 9, 0}, {std::numeric_limits<double>::quiet_NaN(), 9, 0}};
    for (const auto& c : cases) {
        CDibImage history = Grey(2, 1, c.before);
        UpdateHistory(&mask, &history, c.factor);
        for (int b = 0; b < 6; ++b) {
            ASSERT_EQ(c.after, history.Row(0)[b]) << c.factor << " x " << int{c.before};
        }
    }
}

TEST(ThresholdDifference, ADifferenceMustExceedTheThresholdInEitherDirection) {
    const BYTE previous[4] = {100, 100, 120, 121};
    const BYTE current[4] = {120, 121, 100, 100};
    const BYTE expected[4] = {0, 255, 0, 255};
    for (int k = 0; k < 4; ++k) {
        const CDibImage cur = Grey(3, 2, current[k]);
        const CDibImage prev = Grey(3, 2, previous[k]);
        CDibImage mask = Grey(3, 2, 7);
        ThresholdDifference(&cur, &prev, &mask, 20);
        for (int i = 0; i < 2; ++i) {
            for (int b = 0; b < 9; ++b) {
                ASSERT_EQ(expected[k], mask.Row(i)[b]) << previous[k] << " -> " << current[k];
            }
        }
    }
    // Only the green bytes are compared.
    const CDibImage cur = SolidImage(1, 1, 0, 100, 255);
    const CDibImage prev = SolidImage(1, 1, 255, 100, 0);
    CDibImage mask = Grey(1, 1, 7);
    ThresholdDifference(&cur, &prev, &mask, 20);
    EXPECT_EQ(0, mask.Row(0)[0]);
}

TEST(StatelessOperations, DoNothingOnMismatchedOrEmptyImages) {
    const CDibImage source = Grey(4, 4, 200);
    const CDibImage empty;
    CDibImage wrongWidth = Grey(5, 4, 7);
    CDibImage wrongHeight = Grey(4, 3, 7);
    const std::vector<BYTE> widthBefore = Bytes(wrongWidth);
    const std::vector<BYTE> heightBefore = Bytes(wrongHeight);
    ConvertToGray(&source, &wrongWidth);
    ConvertToGray(&source, &wrongHeight);
    ThresholdDifference(&source, &source, &wrongWidth, 20);
    ThresholdDifference(&source, &empty, &wrongHeight, 20);
    UpdateHistory(&source, &wrongWidth, 0.98);
    UpdateHistory(&empty, &wrongHeight, 0.98);
    EXPECT_EQ(widthBefore, Bytes(wrongWidth));
    EXPECT_EQ(heightBefore, Bytes(wrongHeight));
    CDibImage stillEmpty;
    ConvertToGray(&source, &stillEmpty);
    UpdateHistory(&source, &stillEmpty, 0.98);
    EXPECT_EQ(nullptr, stillEmpty.Bits());
}

TEST_P(MotionOnPath, MovementShowsAt255AndFadesToZeroIn114Calls) {
    StartMotionHistoryAgain();
    CDibImage history;
    UpdateMotionHistory(Grey(40, 2, 0), &history);
    EXPECT_EQ(0, history.Row(0)[0]);
    // Grey 21 against 0 moves; the second row stays black.
    CDibImage moved = Grey(40, 2, 0);
    std::memset(moved.Row(0), 21, 40 * 3);
    UpdateMotionHistory(moved, &history);
    EXPECT_EQ(255, history.Row(0)[3 * 39 + 2]);
    EXPECT_EQ(0, history.Row(1)[0]);
    const int expected[] = {249, 244, 239, 234};
    for (int value : expected) {
        UpdateMotionHistory(moved, &history);
        for (int b = 0; b < 40 * 3; ++b) {
            ASSERT_EQ(value, history.Row(0)[b]) << VectorPathName(ActiveVectorPath());
        }
    }
    for (int call = 5; call < 114; ++call) {
        UpdateMotionHistory(moved, &history);
    }
    EXPECT_EQ(1, history.Row(0)[0]);
    UpdateMotionHistory(moved, &history);  // the 114th call after the movement
    EXPECT_EQ(0, history.Row(0)[0]);
    EXPECT_EQ(0, history.Row(0)[3 * 39 + 2]);
}

TEST(UpdateMotionHistory, HandsBackACopyAndLeavesTheFrameAlone) {
    StartMotionHistoryAgain();
    CDibImage history;
    const CDibImage black = Grey(8, 2, 0);
    const CDibImage white = Grey(8, 2, 255);
    UpdateMotionHistory(black, &history);
    UpdateMotionHistory(white, &history);
    EXPECT_EQ(255, history.Row(1)[5]);
    std::memset(history.Bits(), 3, static_cast<size_t>(history.ImageSize()));
    UpdateMotionHistory(white, &history);
    EXPECT_EQ(249, history.Row(1)[5]);
    EXPECT_EQ(255, white.Row(0)[0]);
    EXPECT_EQ(8, history.Width());
    EXPECT_EQ(2, history.Height());
}

TEST(UpdateMotionHistory, ANewFrameFormatStartsTheHistoryAgain) {
    StartMotionHistoryAgain();
    CDibImage history;
    UpdateMotionHistory(Grey(8, 4, 0), &history);
    UpdateMotionHistory(Grey(8, 4, 200), &history);
    EXPECT_EQ(255, history.Row(3)[0]);
    // 4 x 8 takes the same 96 bytes as 8 x 4: still a new format.
    UpdateMotionHistory(Grey(4, 8, 0), &history);
    EXPECT_EQ(4, history.Width());
    EXPECT_EQ(8, history.Height());
    for (int i = 0; i < 8; ++i) {
        for (int b = 0; b < 12; ++b) {
            ASSERT_EQ(0, history.Row(i)[b]);
        }
    }
    // A frame without pixels, then a real one.
    UpdateMotionHistory(CDibImage(), &history);
    EXPECT_FALSE(history.HasPixels());
    UpdateMotionHistory(Grey(6, 3, 30), &history);
    ASSERT_TRUE(history.HasPixels());
    EXPECT_EQ(255, history.Row(2)[17]);  // 30 against the cleared grey image
    UpdateMotionHistory(Grey(6, 3, 30), &history);
    EXPECT_EQ(249, history.Row(2)[17]);
}

// Frames that drift by small steps, so that grey differences fall on both
// sides of the threshold, with now and then a jump.
Picture NextFrame(const Picture& previous, std::mt19937* random) {
    Picture next = previous;
    std::uniform_int_distribution<int> step(-14, 14);
    std::uniform_int_distribution<int> jump(0, 40);
    for (auto& b : next.bytes) {
        const int v = jump(*random) == 0 ? static_cast<int>((*random)() & 255) : b + step(*random);
        b = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
    return next;
}

struct Size {
    int width;
    int height;
    int frames;
};
const Size kSizes[] = {{160, 120, 6},  {320, 240, 6},   {352, 288, 5}, {640, 480, 4},
                       {1280, 720, 3}, {1920, 1080, 3}, {1, 1, 4},     {3, 2, 4},
                       {31, 5, 5},     {33, 7, 5},      {321, 3, 6},   {323, 9, 6}};

TEST_P(MotionOnPath, MotionHistoryStepGivesTheReferenceBytes) {
    std::mt19937 random(20240611);
    for (const Size& size : kSizes) {
        std::vector<Picture> frames{reference::RandomPicture(size.width, size.height, &random)};
        while (static_cast<int>(frames.size()) < size.frames) {
            frames.push_back(NextFrame(frames.back(), &random));
        }
        reference::MotionHistory expected(size.width, size.height);
        MotionState states[2];
        for (const Picture& frame : frames) {
            const Picture& history = expected.Update(frame);
            const CDibImage image = reference::ToImage(frame);
            for (int p = 0; p < 2; ++p) {
                LimitVectorPath(p == 0 ? VectorPath::kScalar : GetParam());
                states[p].Step(image);
            }
            const std::vector<BYTE> plain = Bytes(states[0].out);
            ASSERT_EQ(Bytes(states[0].history), plain);
            ASSERT_EQ(Bytes(states[1].out), plain) << size.width << "x" << size.height;
            ASSERT_EQ(Bytes(states[1].prevGray), Bytes(states[0].prevGray));
            ASSERT_EQ(history.bytes, reference::ToPicture(states[1].out).bytes)
                << size.width << "x" << size.height;
            // The plain path keeps the grey image and the mask in its state images.
            ASSERT_EQ(expected.mask().bytes, reference::ToPicture(states[0].diffMask).bytes);
        }
    }
}

// A frame whose pixels are followed by `slack` bytes more than its rows take.
CDibImage WithSlack(const CDibImage& frame, DWORD slack) {
    BITMAPINFO info = *frame.Info();
    info.bmiHeader.biSizeImage += slack;
    CDibImage image(&info);
    std::memcpy(image.Bits(), frame.Bits(), static_cast<size_t>(frame.ImageSize()));
    return image;
}

// The paths, and the frame passed by value or by address, share the state:
// switching between them from one call to the next changes nothing. The copy
// handed back is the plain step's 24-bit history byte for byte, header, row
// padding and slack included, whatever the caller's image held; a new size
// mid-sequence starts again at zero.
TEST_P(MotionOnPath, UpdateMotionHistoryFollowsTheReferenceOverAFrameSequence) {
    std::mt19937 random(7);
    StartMotionHistoryAgain();
    CDibImage history;
    for (const Size& size : {Size{320, 240, 12}, Size{35, 9, 8}}) {
        reference::MotionHistory expected(size.width, size.height);
        MotionState plain;
        Picture frame = reference::RandomPicture(size.width, size.height, &random);
        for (int call = 0; call < size.frames; ++call) {
            const CDibImage image =
                WithSlack(reference::ToImage(frame), size.width % 4 == 0 ? 0 : 8);
            LimitVectorPath(VectorPath::kScalar);
            plain.Step(image);
            LimitVectorPath((call / 2 + call) % 2 == 0 ? VectorPath::kScalar : GetParam());
            if (history.HasPixels()) {
                std::memset(history.Bits(), 0x5A, static_cast<size_t>(history.ImageSize()));
            }
            if (call % 3 == 0) {
                UpdateMotionHistory(image, &history);
            } else {
                UpdateMotionHistory(&image, &history);
            }
            ASSERT_EQ(expected.Update(frame).bytes, reference::ToPicture(history).bytes) << call;
            ASSERT_EQ(Bytes(plain.out), Bytes(history)) << size.width << " " << call;
            ASSERT_EQ(0, std::memcmp(plain.out.Info(), history.Info(), sizeof(BITMAPINFO)));
            frame = NextFrame(frame, &random);
        }
    }
}

}  // namespace
