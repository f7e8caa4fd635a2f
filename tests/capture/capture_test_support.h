// Shared set-up of the capture tests that use the scripted devices: the
// scripted devices reset around every test, the scripted user to answer the
// device questions, and the helpers that tests of those questions need.
#pragma once

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>

#include "capture/capture_manager.h"
#include "platform/dshow/scripted/scripted_devices.h"
#include "tests/support/scripted_user.h"

// `utf8` in code page 932, as the system's ANSI strings are; converted here
// with iconv so that expectations can be written readably.
inline std::string Cp932(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

inline scripted_capture::Device Camera(const std::string& name, int width = 4, int height = 2) {
    scripted_capture::Device device;
    device.name = name;
    device.format = scripted_capture::Rgb24Format(width, height);
    return device;
}

class ScriptedCaptureTest : public ScriptedUserTest {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(scripted_capture::Use()); }
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ScriptedUserTest::SetUp());
        scripted_capture::Reset();
    }
    void TearDown() override {
        EXPECT_EQ(scripted_capture::OverReleases(), 0);
        scripted_capture::Reset();
        ScriptedUserTest::TearDown();
    }
};
