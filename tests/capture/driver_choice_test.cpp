// A capture driver named in TENEBRIX_CAPTURE_DRIVER that does not exist is an
// error, never a silent fallback: the media classes are unavailable, the user
// sees that there is no video capture device, and stderr says why.
#include <gtest/gtest.h>

#include <cstdlib>

#include "capture/capture_manager.h"
#include "tests/support/scripted_user.h"

namespace {

class UnknownDriverTest : public ScriptedUserTest {
  protected:
    static void SetUpTestSuite() { setenv("TENEBRIX_CAPTURE_DRIVER", "v4l9", 1); }
};

TEST_F(UnknownDriverTest, TheMediaLibraryDoesNotStartAndSaysWhy) {
    testing::internal::CaptureStderr();
    const HRESULT hr = CoInitialize(NULL);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_LT(hr, 0);
    EXPECT_NE(message.find("unknown capture driver \"v4l9\""), std::string::npos) << message;
    EXPECT_NE(message.find("gstreamer, scripted"), std::string::npos) << message;
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER,
                               IID_ICreateDevEnum, &object),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    CoUninitialize();
}

TEST_F(UnknownDriverTest, TheUserIsToldThereIsNoCaptureDevice) {
    testing::internal::CaptureStderr();
    {
        CCaptureManager manager;
        EXPECT_EQ(manager.Open(1, 0), -1);
    }
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(null_driver::MessageBoxes().size(), 1u);
    EXPECT_EQ(null_driver::MessageBoxes()[0].textUtf8, "ビデオキャプチャデバイスが存在しません");
    EXPECT_EQ(null_driver::MessageBoxes()[0].caption, "ERROR");
}

}  // namespace
