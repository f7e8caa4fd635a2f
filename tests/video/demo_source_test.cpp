// The demo scene as a camera: the same time stamp always gives the same
// picture, and its still stretches fade completely in the frame cycle.
#include <gtest/gtest.h>

#include "app/shown_picture.h"
#include "tests/video/video_test_support.h"

namespace {

TEST(DemoSource, APictureDependsOnItsTimeStampAlone) {
    // 2 s and 6 s at 30 and at 10 frames a second: frames 60, 180 and 20, 60.
    const std::vector<CDibImage> fast = ReadFrames(
        "tenebrixdemosrc num-buffers=181 ! video/x-raw,width=96,height=72,framerate=30/1");
    const std::vector<CDibImage> slow = ReadFrames(
        "tenebrixdemosrc num-buffers=61 ! video/x-raw,width=96,height=72,framerate=10/1");
    ASSERT_EQ(fast.size(), 181u);
    ASSERT_EQ(slow.size(), 61u);
    EXPECT_TRUE(SamePicture(fast[60], slow[20]));
    EXPECT_TRUE(SamePicture(fast[180], slow[60]));
    EXPECT_TRUE(SamePicture(fast[0], fast[60]));     // the empty room, still
    EXPECT_FALSE(SamePicture(fast[60], fast[90]));   // the figure walks in
    EXPECT_FALSE(SamePicture(fast[90], fast[180]));  // and stands
}

TEST(DemoSource, TheStandingFigureFadesCompletelyIn114Ticks) {
    // One frame per 30 ms tick, as the program takes them; the background is
    // the empty room of the first frame, stealth mode is on from the start.
    const std::vector<CDibImage> frames = ReadFrames(
        "tenebrixdemosrc num-buffers=300 ! video/x-raw,width=320,height=240,framerate=100/3");
    ASSERT_EQ(frames.size(), 300u);
    // The last tick whose frame moved: the figure stops walking there.
    size_t lastMove = 0;
    for (size_t n = 1; n < frames.size(); ++n) {
        if (!SamePicture(frames[n], frames[n - 1])) {
            lastMove = n;
        }
    }
    ASSERT_GT(lastMove, 100u);
    ASSERT_LT(lastMove + 114, frames.size());

    const CDibImage noSprite;
    const CDibImage noDigits[10];
    const HudImages noHud = {&noSprite, &noSprite, noDigits};
    CDibImage display;
    display.Create(320, 240);
    FrameCycleImages cycle;
    StartMotionHistoryAgain();
    for (size_t n = 0; n <= lastMove + 114; ++n) {
        const int percent = BuildShownPicture(&frames[n], &frames[0], noHud, 1, &cycle, &display);
        if (n == lastMove + 57) {
            EXPECT_LT(percent, 100);
            EXPECT_FALSE(SamePicture(display, frames[0])) << "faded far too early";
        }
        if (n == lastMove + 114) {
            EXPECT_EQ(percent, 100);
            EXPECT_TRUE(SamePicture(display, frames[0])) << "not faded 114 ticks after it stood";
        }
    }
}

}  // namespace
