#include "tests/video/video_test_support.h"

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <cstring>

#include "processing/motion_history.h"
#include "video/demo_source.h"
#include "video/frame_reader.h"

void StartVideo() {
    static const bool started = [] {
        gst_init(nullptr, nullptr);
        return RegisterDemoSource();
    }();
    ASSERT_TRUE(started);
}

std::vector<CDibImage> ReadFrames(const std::string& input) {
    StartVideo();
    std::vector<CDibImage> frames;
    std::string error;
    std::unique_ptr<FrameReader> reader = FrameReader::Open(input, &error);
    EXPECT_NE(reader, nullptr) << error;
    CDibImage frame;
    GstClockTime time;
    while (reader != nullptr && reader->Next(&frame, &time, &error)) {
        frames.push_back(frame);
    }
    EXPECT_EQ(error, "");
    return frames;
}

bool SamePicture(const CDibImage& a, const CDibImage& b) {
    return a.HasPixels() && b.HasPixels() && a.Width() == b.Width() && a.Height() == b.Height() &&
           a.ImageSize() == b.ImageSize() &&
           std::memcmp(a.Bits(), b.Bits(), static_cast<size_t>(a.ImageSize())) == 0;
}

void StartMotionHistoryAgain() {
    CDibImage dot, history;
    dot.Create(1, 1);
    UpdateMotionHistory(dot, &history);
}
