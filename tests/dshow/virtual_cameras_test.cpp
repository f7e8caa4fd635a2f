// Parsing of TENEBRIX_VIRTUAL_CAMERAS: "Name=launch description" entries
// separated by ';'.
#include <gtest/gtest.h>

#include "platform/dshow/gstreamer/virtual_cameras.h"

namespace {

TEST(VirtualCameras, EntriesInOrderWithSpacesTrimmed) {
    const auto cameras = ParseVirtualCameras(
        " Desk = videotestsrc pattern=ball ! video/x-raw,width=640 ;Door=videotestsrc");
    ASSERT_EQ(cameras.size(), 2u);
    EXPECT_EQ(cameras[0].name, "Desk");
    EXPECT_EQ(cameras[0].description, "videotestsrc pattern=ball ! video/x-raw,width=640");
    EXPECT_EQ(cameras[1].name, "Door");
    EXPECT_EQ(cameras[1].description, "videotestsrc");
}

TEST(VirtualCameras, EmptyAndMalformedEntriesAreSkipped) {
    EXPECT_TRUE(ParseVirtualCameras(nullptr).empty());
    EXPECT_TRUE(ParseVirtualCameras("").empty());
    const auto cameras = ParseVirtualCameras(";; no equals sign ;=videotestsrc;Empty= ;Ok=a=b;");
    ASSERT_EQ(cameras.size(), 1u);
    EXPECT_EQ(cameras[0].name, "Ok");
    EXPECT_EQ(cameras[0].description, "a=b");  // only the first '=' separates
}

}  // namespace
