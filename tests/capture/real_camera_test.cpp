// The capture manager over the real (GStreamer) driver with virtual test
// cameras: a camera is listed under its name, opened after the question, runs,
// and GrabFrame delivers its frames as 640 x 480 bottom-up images in
// blue-green-red order. No display is needed; the questions are answered
// through the null window driver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "capture/capture_manager.h"
#include "tests/capture/real_devices.h"
#include "tests/support/scripted_user.h"

namespace {

// The camera that ./run gives a machine without a webcam.
const char kBall[] =
    "Virtual Test Camera=videotestsrc pattern=ball is-live=true ! "
    "video/x-raw,width=640,height=480,framerate=30/1";
// SMPTE colour bars drawn straight in BGR, so every pixel is exact: the top
// rows run white, yellow, cyan, green, magenta, red, blue from left to right;
// the bottom-left corner is dark blue (-I), the bottom-right light grey.
const char kBars[] =
    "Colour Bars=videotestsrc pattern=smpte is-live=true ! "
    "video/x-raw,format=BGR,width=640,height=480,framerate=30/1";

class RealCameraTest : public ScriptedUserTest {
  protected:
    void TearDown() override {
        unsetenv("TENEBRIX_VIRTUAL_CAMERAS");
        ScriptedUserTest::TearDown();
    }

    void SetUpCameras(const char* cameras) {
        m_realDevices = DeclineRealDevices();
        setenv("TENEBRIX_VIRTUAL_CAMERAS", cameras, 1);
    }

    int m_realDevices = 0;
};

TEST_F(RealCameraTest, TheRunScriptsCameraIsAskedForByNameAndDeliversFrames) {
    SetUpCameras(kBall);
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    const auto& boxes = null_driver::MessageBoxes();
    ASSERT_EQ(boxes.size(), static_cast<size_t>(m_realDevices) + 1);
    EXPECT_EQ(boxes.back().text, "Virtual Test Camera");
    EXPECT_STREQ(manager.Device(0).name, "Virtual Test Camera");
    EXPECT_EQ(manager.FrameWidth(0), 640);
    EXPECT_EQ(manager.FrameHeight(0), 480);
    EXPECT_EQ(manager.FrameSize(0), 640 * 3 * 480);
    EXPECT_EQ(manager.Device(0).header.bmiHeader.biBitCount, 24);
    CDibImage image;
    ASSERT_EQ(GrabFirstFrame(manager, &image), 0);
    EXPECT_EQ(image.Width(), 640);
    EXPECT_EQ(image.Height(), 480);
    const BYTE* buffer = image.Bits();
    EXPECT_EQ(manager.GrabFrame(0, &image), 0);
    EXPECT_EQ(image.Bits(), buffer);
}

TEST_F(RealCameraTest, FramesComeBottomUpInBlueGreenRedOrder) {
    SetUpCameras(kBars);
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    CDibImage image;
    ASSERT_EQ(GrabFirstFrame(manager, &image), 0);
    auto pixel = [&](int x, int y) {
        const BYTE* p = image.Row(y) + 3 * x;
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(pixel(0, 0), (std::vector<int>{255, 255, 255}));      // white
    EXPECT_EQ(pixel(100, 0), (std::vector<int>{0, 255, 255}));      // yellow
    EXPECT_EQ(pixel(200, 0), (std::vector<int>{255, 255, 0}));      // cyan
    EXPECT_EQ(pixel(500, 0), (std::vector<int>{0, 0, 255}));        // red
    EXPECT_EQ(pixel(639, 0), (std::vector<int>{255, 0, 0}));        // blue
    EXPECT_EQ(pixel(0, 479), (std::vector<int>{128, 0, 0}));        // dark blue
    EXPECT_EQ(pixel(639, 479), (std::vector<int>{223, 223, 223}));  // light grey
    // The last row in memory is the top of the picture.
    EXPECT_EQ(image.Row(0), image.Bits() + 479 * 640 * 3);
}

// A width whose rows need padding (322 x 3 = 966 bytes, stored in 968) and an
// odd height: every row starts on its own 4-byte boundary, bottom row first,
// and the two padding bytes of each row are zero.
TEST_F(RealCameraTest, OddFrameSizesGivePaddedBottomUpRows) {
    SetUpCameras(
        "Odd Bars=videotestsrc pattern=smpte is-live=true ! "
        "video/x-raw,format=BGR,width=322,height=241,framerate=30/1");
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    EXPECT_EQ(manager.FrameWidth(0), 322);
    EXPECT_EQ(manager.FrameHeight(0), 241);
    EXPECT_EQ(manager.FrameSize(0), 968 * 241);
    CDibImage image;
    ASSERT_EQ(GrabFirstFrame(manager, &image), 0);
    ASSERT_EQ(image.ImageSize(), 968 * 241);
    EXPECT_EQ(image.Row(0), image.Bits() + 240 * 968);
    auto pixel = [&](int x, int y) {
        const BYTE* p = image.Row(y) + 3 * x;
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(pixel(0, 0), (std::vector<int>{255, 255, 255}));  // white
    EXPECT_EQ(pixel(321, 0), (std::vector<int>{255, 0, 0}));    // blue
    EXPECT_EQ(pixel(0, 240), (std::vector<int>{128, 0, 0}));    // dark blue
    for (int y = 0; y < 241; ++y) {
        // The bars run down the whole upper part: every row starts where it should.
        if (y < 160) {
            ASSERT_EQ(pixel(0, y), pixel(0, 0)) << "row " << y;
            ASSERT_EQ(pixel(321, y), pixel(321, 0)) << "row " << y;
        }
        ASSERT_EQ(image.Row(y)[966], 0) << "row " << y;
        ASSERT_EQ(image.Row(y)[967], 0) << "row " << y;
    }
}

TEST_F(RealCameraTest, ACameraThatCannotBeBuiltFailsToBind) {
    SetUpCameras("Broken=nosuchsource ! video/x-raw");
    CCaptureManager manager;
    EXPECT_EQ(manager.Open(1, 0), 0);
    const auto& boxes = null_driver::MessageBoxes();
    ASSERT_EQ(boxes.size(), static_cast<size_t>(m_realDevices) + 2);
    EXPECT_EQ(boxes[m_realDevices].text, "Broken");
    EXPECT_EQ(boxes[m_realDevices + 1].textUtf8, "バインド失敗");
    EXPECT_EQ(boxes[m_realDevices + 1].caption, "ERROR");
}

}  // namespace
