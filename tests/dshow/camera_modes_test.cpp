// The mode the GStreamer driver takes from a camera's caps: for the recorded
// listings of real webcams, and for the cases they do not cover.
#include <gtest/gtest.h>

#include <string>

#include "platform/dshow/gstreamer/camera_modes.h"
#include "tests/dshow/fake_webcams/recorded_webcams.h"

namespace {

// The chosen mode as the start-up line names it, or "none".
std::string Choice(const char* caps) {
    gst_init(nullptr, nullptr);
    GstCaps* offered = gst_caps_from_string(caps);
    EXPECT_NE(offered, nullptr) << caps;
    CameraMode mode;
    const bool found = ChooseMode(OfferedModes(offered), &mode);
    gst_caps_unref(offered);
    return found ? DescribeMode(mode) : "none";
}

TEST(CameraModes, RecordedWebcamsRunNear640x480AtTheirFastestUsefulRate) {
    const struct {
        const char* id;
        const char* expected;
    } table[] = {
        {"laptop", "YUY2 640x480 at 29.97 frames a second"},
        {"slow-raw", "JPEG 640x480 at 30 frames a second"},
        {"only-slow", "YUY2 800x600 at 24 frames a second"},
        {"jpeg-only", "JPEG 640x360 at 30 frames a second"},
        {"nv12", "NV12 640x480 at 30 frames a second"},
        {"range", "NV12 640x480 at 30 frames a second"},
        {"libcamera", "NV21 640x480 at the camera's own rate"},
        {"two-providers", "YUY2 640x480 at 30 frames a second"},
        {"h264-only", "none"},
    };
    ASSERT_EQ(std::size(table), std::size(kRecordedWebcams));
    for (size_t i = 0; i < std::size(table); ++i) {
        ASSERT_STREQ(kRecordedWebcams[i].id, table[i].id);
        EXPECT_EQ(Choice(kRecordedWebcams[i].caps), table[i].expected) << table[i].id;
    }
}

TEST(CameraModes, RangesOneModeSmallSizesAndMemoryWeCannotRead) {
    // Ranges of sizes and rates give 640x480 at 30.
    EXPECT_EQ(Choice("video/x-raw, format=YUY2, width=[ 1, 1920 ], height=[ 1, 1080 ], "
                     "framerate=[ 1/1, 60/1 ]"),
              "YUY2 640x480 at 30 frames a second");
    // A range that ends below: its largest values.
    EXPECT_EQ(Choice("video/x-raw, format=I420, width=[ 16, 352 ], height=[ 16, 288 ], "
                     "framerate=[ 1/1, 15/1 ]"),
              "I420 352x288 at 15 frames a second");
    // Rates from 0 up say nothing; the camera keeps its own.
    EXPECT_EQ(Choice("image/jpeg, width=320, height=240, framerate=[ 0/1, 2147483647/1 ]"),
              "JPEG 320x240 at the camera's own rate");
    // One mode, however slow or small, is the mode.
    EXPECT_EQ(Choice("image/jpeg, width=160, height=120, framerate=5/1"),
              "JPEG 160x120 at 5 frames a second");
    // Raw before JPEG at the same size and rate; a faster rate before a nearer
    // size; 60 frames a second only when 30 is not there.
    EXPECT_EQ(Choice("image/jpeg, width=640, height=480, framerate=30/1; "
                     "video/x-raw, format=YUY2, width=640, height=480, framerate={ 60/1, 30/1 }"),
              "YUY2 640x480 at 30 frames a second");
    EXPECT_EQ(Choice("video/x-raw, format=YUY2, width=640, height=480, framerate=15/1; "
                     "video/x-raw, format=YUY2, width=1280, height=720, framerate=60/1"),
              "YUY2 1280x720 at 60 frames a second");
    // 25 frames a second is fast enough.
    EXPECT_EQ(Choice("video/x-raw, format=YUY2, width=1280, height=720, framerate=30/1; "
                     "video/x-raw, format=YUY2, width=640, height=480, framerate=25/1"),
              "YUY2 640x480 at 25 frames a second");
    // Below 320x240 only when nothing larger reaches the rate.
    EXPECT_EQ(Choice("video/x-raw, format=YUY2, width=160, height=120, framerate=30/1; "
                     "video/x-raw, format=YUY2, width=1920, height=1080, framerate=30/1"),
              "YUY2 1920x1080 at 30 frames a second");
    // Frames in GL memory cannot be copied out; BGR needs no conversion.
    EXPECT_EQ(Choice("video/x-raw(memory:GLMemory), format=UYVY, width=640, height=480, "
                     "framerate=30/1; video/x-raw, format={ UYVY, BGR }, width=320, "
                     "height=240, framerate=30/1"),
              "BGR 320x240 at 30 frames a second");
    EXPECT_EQ(Choice("video/x-bayer, format=rggb, width=640, height=480, framerate=30/1"), "none");
}

}  // namespace
