// The test camera's options string, as a user writes it in
// TENEBRIX_TEST_CAMERA: what it chooses, and what it refuses with a reason.
#include <gtest/gtest.h>

#include <string>

#include "tools/test_camera/picture.h"

namespace {

TEST(CameraOptions, ChooseSizeAndPictureOrKeepTheDefaults) {
    CameraOptions options;
    std::string error;
    ASSERT_TRUE(ParseCameraOptions(nullptr, &options, &error));
    EXPECT_EQ(options.width, 640);
    EXPECT_EQ(options.height, 480);
    EXPECT_EQ(options.kind, CameraOptions::kStill);
    ASSERT_TRUE(ParseCameraOptions("picture=moving;size=1280x720;", &options, &error));
    EXPECT_EQ(options.kind, CameraOptions::kMoving);
    EXPECT_EQ(options.width, 1280);
    EXPECT_EQ(options.height, 720);
    ASSERT_TRUE(
        ParseCameraOptions("size=1920x1080;picture=C:\\pictures\\room.bmp", &options, &error));
    EXPECT_EQ(options.kind, CameraOptions::kFile);
    EXPECT_EQ(options.file, "C:\\pictures\\room.bmp");
    ASSERT_TRUE(ParseCameraOptions("size=16x16", &options, &error));
    EXPECT_EQ(options.kind, CameraOptions::kStill);  // not left from the previous call
}

TEST(CameraOptions, RefuseWhatTheyCannotShowWithAReason) {
    CameraOptions options;
    std::string error;
    for (const char* wrong : {"size=1921x1080", "size=15x16", "size=640x", "size=640x480x",
                              "size=-640x480", "picture=", "colour=red", "size"}) {
        error.clear();
        EXPECT_FALSE(ParseCameraOptions(wrong, &options, &error)) << wrong;
        EXPECT_FALSE(error.empty()) << wrong;
    }
    EXPECT_FALSE(ParseCameraOptions("picture=moving;speed=2", &options, &error));
    EXPECT_EQ(error, "unknown option: speed");
}

TEST(CameraPicture, AFileThatCannotBeReadIsNoPicture) {
    CameraOptions options;
    options.kind = CameraOptions::kFile;
    options.file = "no/such/picture.bmp";
    CameraPicture picture;
    EXPECT_FALSE(picture.Prepare(options));
}

}  // namespace
