// The Video Renderer on a real display: with a renderer asked for, the
// preview stream passes through the Sample Grabber into a video window, and
// the grabber still delivers the frames.
#include <gtest/gtest.h>

#include <cstdlib>

#include "capture/capture_manager.h"
#include "platform/win32/null/null_driver.h"
#include "tests/capture/real_devices.h"

namespace {

TEST(RendererOnDisplay, FramesPassThroughTheGrabberIntoTheRenderer) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs the display that ./test starts";
    ASSERT_TRUE(null_driver::Use());
    DeclineRealDevices();
    setenv("TENEBRIX_VIRTUAL_CAMERAS",
           "Colour Bars=videotestsrc pattern=smpte is-live=true ! "
           "video/x-raw,format=BGR,width=320,height=240,framerate=30/1",
           1);
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 1), 1);
    EXPECT_EQ(null_driver::MessageBoxes().back().text, "Colour Bars");
    ASSERT_NE(manager.Device(0).renderer, nullptr);
    CDibImage image;
    ASSERT_EQ(GrabFirstFrame(manager, &image), 0);
    EXPECT_EQ(image.Width(), 320);
    EXPECT_EQ(image.Height(), 240);
    const BYTE* topLeft = image.Row(0);
    EXPECT_EQ(topLeft[0], 255);  // white
    EXPECT_EQ(topLeft[1], 255);
    EXPECT_EQ(topLeft[2], 255);
    const BYTE* topRight = image.Row(0) + 3 * 319;
    EXPECT_EQ(topRight[0], 255);  // blue
    EXPECT_EQ(topRight[1], 0);
    EXPECT_EQ(topRight[2], 0);
}

}  // namespace
