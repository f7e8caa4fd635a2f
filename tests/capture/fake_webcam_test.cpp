// The capture manager over the GStreamer driver with fake webcams that carry
// the recorded caps of real ones: one question per camera, each camera run in
// its chosen mode with live frames, and a camera unplugged and plugged back.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <dshow.h>
#include <qedit.h>

#include "capture/capture_manager.h"
#include "tests/capture/real_devices.h"
#include "tests/dshow/fake_webcams/fake_webcams.h"
#include "tests/support/scripted_user.h"

namespace {

class FakeWebcamTest : public ScriptedUserTest {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(RegisterFakeWebcams()); }
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ScriptedUserTest::SetUp());
        m_realDevices = DeclineRealDevices();
    }
    void TearDown() override {
        unsetenv("TENEBRIX_FAKE_WEBCAMS");
        unsetenv("TENEBRIX_FAKE_WEBCAMS_UNPLUGGED");
        std::remove(m_plugs.c_str());
        ScriptedUserTest::TearDown();
    }

    // Sets which cameras are plugged in: all of `cameras`, but `unplugged`.
    void Plug(const char* cameras, const char* unplugged = "") {
        setenv("TENEBRIX_FAKE_WEBCAMS", cameras, 1);
        setenv("TENEBRIX_FAKE_WEBCAMS_UNPLUGGED", m_plugs.c_str(), 1);
        std::ofstream(m_plugs) << unplugged;
    }

    // The questions asked after the machine's own devices.
    std::vector<std::string> Questions() const {
        std::vector<std::string> texts;
        const auto& boxes = null_driver::MessageBoxes();
        for (size_t i = m_realDevices; i < boxes.size(); ++i) {
            texts.push_back(boxes[i].text);
        }
        return texts;
    }

    // Grabs until the frame differs from `than` (10 s at most).
    static bool WaitForAnotherFrame(CCaptureManager& manager, const CDibImage& than,
                                    CDibImage* frame) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (manager.GrabFrame(0, frame) == 0 &&
                !std::equal(frame->Bits(), frame->Bits() + frame->ImageSize(), than.Bits())) {
                return true;
            }
        }
        return false;
    }

    int m_realDevices = 0;
    std::string m_plugs = testing::TempDir() + "tenebrix-unplugged-" + std::to_string(getpid());
};

TEST_F(FakeWebcamTest, OneQuestionPerCameraAndNoneForANodeWithoutVideo) {
    Plug("laptop,slow-raw,only-slow,jpeg-only,nv12,range,libcamera,two-providers,h264-only");
    for (int i = 0; i < 8; ++i) {
        null_driver::QueueMessageBoxAnswer(IDNO);
    }
    CCaptureManager manager;
    EXPECT_EQ(manager.Open(1, 0), 0);
    // PipeWire's listing of the camera that two providers see comes first and
    // stands for both; the H.264-only node is not asked about.
    EXPECT_EQ(Questions(),
              (std::vector<std::string>{"Integrated Camera", "FaceTime HD Camera (Built-in)",
                                        "USB Camera", "HD Pro Webcam C920", "Jabra PanaCast",
                                        "Coral Camera", "Intel(R) AVStream Camera 2500",
                                        "/base/soc/i2c0mux/i2c@1/imx219@10"}));
}

TEST_F(FakeWebcamTest, EachCameraRunsInItsModeWithLiveFrames) {
    const struct {
        const char* id;
        int width;
        int height;
        REFERENCE_TIME frameTime;
        const char* streams;  // what the camera was asked for
    } table[] = {
        {"laptop", 640, 480, 333667,
         "video/x-raw, format=(string)YUY2, width=(int)640, "
         "height=(int)480, framerate=(fraction)2997/100"},
        {"slow-raw", 640, 480, 333333,
         "image/jpeg, width=(int)640, height=(int)480, framerate=(fraction)30/1"},
        {"only-slow", 800, 600, 416666,
         "video/x-raw, format=(string)YUY2, width=(int)800, "
         "height=(int)600, framerate=(fraction)24/1"},
        {"jpeg-only", 640, 360, 333333,
         "image/jpeg, width=(int)640, height=(int)360, framerate=(fraction)30/1"},
        {"nv12", 640, 480, 333333,
         "video/x-raw, format=(string)NV12, width=(int)640, "
         "height=(int)480, framerate=(fraction)30/1"},
        {"range", 640, 480, 333333,
         "video/x-raw, format=(string)NV12, width=(int)640, "
         "height=(int)480, framerate=(fraction)30/1"},
        {"libcamera", 640, 480, 0,
         "video/x-raw, format=(string)NV21, width=(int)640, "
         "height=(int)480, framerate=(fraction)30/1"},
        {"two-providers", 640, 480, 333333,
         "video/x-raw, format=(string)YUY2, width=(int)640, "
         "height=(int)480, framerate=(fraction)30/1"},
    };
    for (const auto& camera : table) {
        SCOPED_TRACE(camera.id);
        Plug(camera.id);
        CCaptureManager manager;
        testing::internal::CaptureStderr();
        const int taken = manager.Open(1, 0);
        CDibImage first;
        const int grabbed = GrabFirstFrame(manager, &first);
        const std::string said = testing::internal::GetCapturedStderr();
        ASSERT_EQ(taken, 1);
        ASSERT_EQ(grabbed, 0);
        EXPECT_NE(said.find(std::string("fake webcam ") + camera.id + ": streaming " +
                            camera.streams + "\n"),
                  std::string::npos)
            << said;
        EXPECT_EQ(manager.FrameWidth(0), camera.width);
        EXPECT_EQ(manager.FrameHeight(0), camera.height);
        AM_MEDIA_TYPE type = {};
        ASSERT_EQ(manager.Device(0).grabber->GetConnectedMediaType(&type), S_OK);
        EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat)->AvgTimePerFrame,
                  camera.frameTime);
        CoTaskMemFree(type.pbFormat);
        CDibImage next;
        EXPECT_TRUE(WaitForAnotherFrame(manager, first, &next));  // the ball moves
    }
}

TEST_F(FakeWebcamTest, AnUnpluggedCameraKeepsItsLastPictureAndResumesWhenPluggedBack) {
    Plug("laptop");
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    CDibImage before;
    ASSERT_EQ(GrabFirstFrame(manager, &before), 0);
    Plug("laptop", "laptop\n");
    // Frames stop: two grabs half a second apart give the same picture.
    CDibImage frozen;
    CDibImage later;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool stopped = false;
    while (!stopped && std::chrono::steady_clock::now() < deadline) {
        ASSERT_EQ(manager.GrabFrame(0, &frozen), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        ASSERT_EQ(manager.GrabFrame(0, &later), 0);  // the last picture stays
        stopped = std::equal(later.Bits(), later.Bits() + later.ImageSize(), frozen.Bits());
    }
    ASSERT_TRUE(stopped);
    Plug("laptop");
    ASSERT_TRUE(WaitForAnotherFrame(manager, frozen, &later));
    EXPECT_TRUE(WaitForAnotherFrame(manager, later, &frozen));  // and the ball goes on moving
    EXPECT_EQ(manager.FrameWidth(0), 640);
}

}  // namespace
