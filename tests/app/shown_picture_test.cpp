// The shown picture of a tick as the frame cycle builds it (each row's motion
// history and blend taken while the resize writes the next rows) against the
// same steps taken one whole image after the other: the same display bytes and
// percentage, tick after tick, at capture sizes that the picture is used at as
// it is, resized in integers, resized in doubles, resized in more than one band
// of columns, and to a width that the vector steps end in single pixels.
#include "app/shown_picture.h"

#include <gtest/gtest.h>

#include <vector>

#include "processing/compositing.h"
#include "processing/motion_history.h"
#include "processing/resampling.h"
#include "tests/processing/vector_paths.h"

namespace {

using ShownPictureOnPath = OnVectorPath;
INSTANTIATE_TEST_SUITE_P(AllPaths, ShownPictureOnPath, AllVectorPaths(), VectorPathTestName);

// A gradient shared with the background (so that many frame and background
// bytes are equal, the blend's rarest case) under a square that moves.
CDibImage Frame(int width, int height, int number) {
    CDibImage frame;
    frame.Create(width, height);
    const int side = height / 4;
    // From the right edge leftwards, so that the last columns move too.
    const int left = width - side - (number * 7 * width / 320) % (width - side);
    for (int i = 0; i < height; ++i) {
        for (int j = 0; j < width; ++j) {
            BYTE* p = frame.Row(i) + 3 * j;
            const bool square = j >= left && j < left + side && i >= side && i < 2 * side;
            p[0] = static_cast<BYTE>(square ? 240 : j * 255 / width);
            p[1] = static_cast<BYTE>(square ? 250 : i * 255 / height);
            p[2] = static_cast<BYTE>(square ? 30 + number : (i + j) & 0x7F);
        }
    }
    return frame;
}

std::vector<BYTE> Bytes(const CDibImage& image) {
    return std::vector<BYTE>(image.Bits(), image.Bits() + image.ImageSize());
}

struct Tick {
    int percent;
    std::vector<BYTE> display;
};

void StartMotionHistoryAgain() {
    CDibImage dot;
    dot.Create(1, 1);
    CDibImage history;
    UpdateMotionHistory(&dot, &history);
}

// Stealth mode on two ticks of three, so that both modes follow each other.
int StealthOf(int tick) {
    return tick % 3 != 0 ? 1 : 0;
}

constexpr int kTicks = 8;

TEST_P(ShownPictureOnPath, IsTheWholeImageStepsOneAfterTheOther) {
    const struct {
        int captureWidth, captureHeight, shownWidth, shownHeight;
    } sizes[] = {{320, 240, 320, 240},  {640, 480, 320, 240},  {352, 288, 320, 240},
                 {1280, 720, 320, 240}, {1280, 960, 640, 480}, {200, 150, 100, 75}};
    const CDibImage noSprite;
    const CDibImage noDigits[10];
    const HudImages noHud = {&noSprite, &noSprite, noDigits};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.captureWidth << "x" << size.captureHeight);
        const CDibImage background = Frame(size.shownWidth, size.shownHeight, 0);
        std::vector<CDibImage> frames;
        for (int n = 0; n < kTicks; ++n) {
            frames.push_back(Frame(size.captureWidth, size.captureHeight, n));
        }

        std::vector<Tick> built;
        StartMotionHistoryAgain();
        FrameCycleImages cycle;
        CDibImage display;
        display.Create(size.shownWidth, size.shownHeight);
        for (int n = 0; n < kTicks; ++n) {
            const int percent =
                BuildShownPicture(&frames[n], &background, noHud, StealthOf(n), &cycle, &display);
            built.push_back({percent, Bytes(display)});
        }

        StartMotionHistoryAgain();
        CDibImage resized;
        CDibImage history;
        CDibImage expected;
        expected.Create(size.shownWidth, size.shownHeight);
        for (int n = 0; n < kTicks; ++n) {
            SCOPED_TRACE(n);
            ResizeImage(&frames[n], &resized, size.shownWidth, size.shownHeight);
            UpdateMotionHistory(&resized, &history);
            int percent = 0;
            if (StealthOf(n) != 0) {
                percent = BlendByHistory(&resized, &history, &background, &expected);
            } else {
                expected.CopyFrom(resized);
            }
            EXPECT_EQ(built[n].percent, percent);
            EXPECT_TRUE(built[n].display == Bytes(expected));
        }
        // The history did move and fade, and the blend mixed both pictures.
        EXPECT_GT(built[kTicks - 1].percent, 0);
        EXPECT_LT(built[kTicks - 1].percent, 100);
    }
}

TEST_P(ShownPictureOnPath, APercentageOnAWholeNumberIsTheSerialSums) {
    // 384 of 76,800 pixels moved: the exact percentage is 100, which the
    // weights' integer sum cannot tell from the serial double sum's result.
    const CDibImage noSprite;
    const CDibImage noDigits[10];
    const HudImages noHud = {&noSprite, &noSprite, noDigits};
    CDibImage still;
    still.Create(320, 240);
    CDibImage moved = still;
    for (int i = 100; i < 124; ++i) {
        for (int j = 3; j < 3 * 17; ++j) {
            moved.Row(i)[j] = 200;
        }
    }
    const CDibImage* frames[] = {&still, &moved};
    StartMotionHistoryAgain();
    FrameCycleImages cycle;
    CDibImage display;
    display.Create(320, 240);
    int built[2];
    for (int n = 0; n < 2; ++n) {
        built[n] = BuildShownPicture(frames[n], &still, noHud, 1, &cycle, &display);
    }
    StartMotionHistoryAgain();
    CDibImage history;
    CDibImage expected;
    expected.Create(320, 240);
    for (int n = 0; n < 2; ++n) {
        UpdateMotionHistory(frames[n], &history);
        EXPECT_EQ(built[n], BlendByHistory(frames[n], &history, &still, &expected));
    }
    EXPECT_EQ(built[0], 100);  // nothing moved yet
    EXPECT_TRUE(Bytes(display) == Bytes(expected));
}

}  // namespace
