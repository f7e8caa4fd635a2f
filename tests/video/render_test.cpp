// tenebrix-render, run as a user runs it: its pictures are the frame cycle
// applied by hand to the same frames, and its failures say why in one line.
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "processing/compositing.h"
#include "processing/motion_history.h"
#include "processing/resampling.h"
#include "tests/app/expected_hud.h"
#include "tests/image/temp_dir.h"
#include "tests/video/video_test_support.h"

namespace {

struct Result {
    int status;
    std::string output;  // standard output and error
};

Result Render(const std::string& arguments) {
    const std::string command =
        std::string(TENEBRIX_RENDER) + " " + arguments + " > render.log 2>&1 < /dev/null";
    const int raw = std::system(command.c_str());
    std::ifstream log("render.log");
    std::stringstream text;
    text << log.rdbuf();
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
}

// Runs a launch description to its end.
void Encode(const std::string& description) {
    StartVideo();
    GstElement* pipeline = gst_parse_launch(description.c_str(), nullptr);
    ASSERT_NE(pipeline, nullptr);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* end = gst_bus_timed_pop_filtered(
        bus, 60 * GST_SECOND, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(GST_MESSAGE_TYPE(end), GST_MESSAGE_EOS);
    gst_message_unref(end);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
}

HudSprites LoadSprites() {
    const std::string dir = TENEBRIX_SPRITE_DIR;
    HudSprites s;
    s.item.Load((dir + "/item.bmp").c_str());
    s.camouflage.Load((dir + "/camouflage.bmp").c_str());
    for (int d = 0; d < 10; ++d) {
        s.digits[d].Load((dir + "/num" + std::to_string(d) + ".bmp").c_str());
    }
    return s;
}

TEST(Render, EachPictureIsTheFrameCycleOfItsFrame) {
    TempDir dir;
    // A moving ball, 30 frames at 25 a second, at a size that must be resampled.
    Encode(
        "videotestsrc pattern=ball num-buffers=30 ! "
        "video/x-raw,format=BGR,width=352,height=288,framerate=25/1 ! matroskamux ! "
        "filesink location=in.mkv");
    const Result run = Render(std::string("--background 0.2 --stealth 0.4 --images ") +
                              TENEBRIX_SPRITE_DIR + " in.mkv out.mkv");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("tenebrix-render: out.mkv: 30 frames\n"), std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.substr(run.output.rfind('\n', run.output.size() - 2) + 1),
              "tenebrix-render: out.mkv: 30 frames\n");

    // By hand: the background is frame 5 (0.2 s), stealth from frame 10 (0.4 s).
    const std::vector<CDibImage> in = ReadFrames("in.mkv");
    const std::vector<CDibImage> out = ReadFrames("out.mkv");
    ASSERT_EQ(in.size(), 30u);
    ASSERT_EQ(out.size(), 30u);
    const HudSprites sprites = LoadSprites();
    StartMotionHistoryAgain();
    CDibImage background, current, history, expected;
    background.Create(320, 240);
    expected.Create(320, 240);
    int hidden = 0;
    for (size_t n = 0; n < in.size(); ++n) {
        if (n == 5) {
            ResizeImage(&in[n], &background, 320, 240);
        }
        const bool stealth = n >= 10;
        ResizeImage(&in[n], &current, 320, 240);
        UpdateMotionHistory(current, &history);
        const int percent =
            stealth ? BlendByHistory(&current, &history, &background, &expected) : 0;
        if (!stealth) {
            expected = current;
        }
        DrawExpectedHud(&expected, sprites, stealth, percent);
        EXPECT_TRUE(SamePicture(out[n], expected)) << "picture " << n;
        hidden += percent;
    }
    EXPECT_GT(hidden, 0);  // the blend did hide something
}

TEST(Render, FailuresSayWhyInOneLineAndLeaveNoFile) {
    TempDir dir;
    std::ofstream("notes.txt") << "not a video\n";
    const struct {
        const char* arguments;
        int status;
        const char* says;
    } cases[] = {
        {"--size 320 notes.txt out.mkv", 2, "--size 320: not WIDTHxHEIGHT"},
        {"--stealth soon notes.txt out.mkv", 2, "--stealth soon: not a time"},
        {"notes.txt", 2, "needs INPUT and OUTPUT"},
        {"notes.txt out.mkv", 1, "notes.txt: not a video that GStreamer can decode"},
        {"'tenebrixdemosrc num-buffers=3' /nonexistent/out.mkv", 1, "Could not open file"},
        {"'tenebrixdemosrc num-buffers=3' out.avi", 1, "out.avi: not a known kind of video"},
        {"'tenebrixdemosrc num-buffers=3' 'v4l2sink device=/nonexistent/video'", 1,
         "v4l2sink device=/nonexistent/video: "},
    };
    for (const auto& c : cases) {
        const Result run = Render(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.output.rfind("tenebrix-render: ", 0), 0u) << run.output;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find('\n'), run.output.size() - 1) << "one line: " << run.output;
        EXPECT_FALSE(FileExists("out.mkv")) << c.arguments;
    }
}

}  // namespace
