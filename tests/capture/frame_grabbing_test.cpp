// Frame grabbing over scripted devices: the format accessors, the copy into
// memory and into images, and how an image is shaped for the device.
#include <cstring>
#include <vector>

#include "tests/capture/capture_test_support.h"

namespace sc = scripted_capture;

namespace {

// A 5 x 3 frame whose every pixel differs: blue x, green y, red 100 + frame.
std::vector<BYTE> Frame(int number) {
    return sc::MakeFrame(5, 3, [number](int x, int y) {
        return sc::Pixel{static_cast<BYTE>(x), static_cast<BYTE>(y),
                         static_cast<BYTE>(100 + number)};
    });
}

class FrameGrabbingTest : public ScriptedCaptureTest {
  protected:
    void SetUp() override {
        ScriptedCaptureTest::SetUp();
        sc::Device cam = Camera("Cam", 5, 3);
        cam.frame = Frame(1);
        sc::AddDevice(cam);
    }
};

TEST_F(FrameGrabbingTest, TheFirstGrabShapesAnEmptyImageToTheDevice) {
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    EXPECT_EQ(manager.FrameWidth(0), 5);
    EXPECT_EQ(manager.FrameHeight(0), 3);
    EXPECT_EQ(manager.FrameSize(0), 48);  // 3 rows of 16 bytes
    CDibImage image;
    EXPECT_EQ(manager.GrabFrame(0, &image), 0);
    EXPECT_EQ(std::memcmp(image.Info(), &manager.Device(0).header, sizeof(BITMAPINFO)), 0);
    EXPECT_EQ(image.ImageSize(), 48);
    ASSERT_NE(image.Bits(), nullptr);
    EXPECT_EQ(std::vector<BYTE>(image.Bits(), image.Bits() + 48), Frame(1));
    // Pixel (4, 0) is the top right: blue 4, green 0, red 101.
    EXPECT_EQ(image.Row(0)[12], 4);
    EXPECT_EQ(image.Row(0)[13], 0);
    EXPECT_EQ(image.Row(0)[14], 101);
    EXPECT_EQ(image.Row(2)[13], 2);
}

TEST_F(FrameGrabbingTest, AMatchingImageKeepsItsBufferAndGetsTheNewestFrame) {
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    CDibImage image;
    ASSERT_EQ(manager.GrabFrame(0, &image), 0);
    const BYTE* buffer = image.Bits();
    sc::SetFrame(0, Frame(2));
    EXPECT_EQ(manager.GrabFrame(0, &image), 0);
    EXPECT_EQ(image.Bits(), buffer);
    EXPECT_EQ(std::vector<BYTE>(image.Bits(), image.Bits() + 48), Frame(2));
}

TEST_F(FrameGrabbingTest, SameSizeButADifferentByteCountIsReshaped) {
    sc::Reset();
    sc::Device cam = Camera("Cam", 5, 3);
    cam.format.biSizeImage = 64;  // more than the rows need
    cam.frame.assign(64, 0x7E);
    sc::AddDevice(cam);
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    CDibImage image;
    ASSERT_EQ(image.Create(5, 3), 0);
    EXPECT_EQ(manager.GrabFrame(0, &image), 0);
    EXPECT_EQ(image.ImageSize(), 64);
    EXPECT_EQ(std::memcmp(image.Info(), &manager.Device(0).header, sizeof(BITMAPINFO)), 0);
    EXPECT_EQ(std::vector<BYTE>(image.Bits(), image.Bits() + 64), std::vector<BYTE>(64, 0x7E));
}

TEST_F(FrameGrabbingTest, OtherHeaderFieldsDoNotCauseAReshape) {
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    BITMAPINFO info = manager.Device(0).header;
    info.bmiHeader.biXPelsPerMeter = 2835;
    CDibImage image(&info);
    const BYTE* buffer = image.Bits();
    EXPECT_EQ(manager.GrabFrame(0, &image), 0);
    EXPECT_EQ(image.Bits(), buffer);
    EXPECT_EQ(image.Info()->bmiHeader.biXPelsPerMeter, 2835);
}

TEST_F(FrameGrabbingTest, BeforeTheFirstFrameTheGrabFailsButShapesTheImage) {
    sc::SetFrame(0, {});
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    CDibImage image;
    EXPECT_EQ(manager.GrabFrame(0, &image), -1);
    EXPECT_EQ(image.Width(), 5);
    EXPECT_EQ(image.Height(), 3);
    EXPECT_NE(image.Bits(), nullptr);
    std::vector<BYTE> bits(48, 0xAB);
    EXPECT_EQ(manager.CopyCurrentBuffer(0, bits.data()), -1);
    EXPECT_EQ(bits, std::vector<BYTE>(48, 0xAB));
}

TEST_F(FrameGrabbingTest, CopyCurrentBufferWritesExactlyTheFrame) {
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    std::vector<BYTE> bits(48 + 8, 0xEE);
    EXPECT_EQ(manager.CopyCurrentBuffer(0, bits.data()), 0);
    EXPECT_EQ(std::vector<BYTE>(bits.begin(), bits.begin() + 48), Frame(1));
    EXPECT_EQ(std::vector<BYTE>(bits.begin() + 48, bits.end()), std::vector<BYTE>(8, 0xEE));
    EXPECT_EQ(manager.CopyCurrentBuffer(0, nullptr), -1);
}

TEST_F(FrameGrabbingTest, AFrameLargerThanTheFormatIsNotWrittenAtAll) {
    sc::SetFrame(0, std::vector<BYTE>(200, 0x11));
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    CDibImage image;
    ASSERT_EQ(manager.AllocateFrameImage(0, &image), 0);
    std::memset(image.Bits(), 0x22, 48);
    EXPECT_EQ(manager.GrabFrame(0, &image), -1);
    EXPECT_EQ(std::vector<BYTE>(image.Bits(), image.Bits() + 48), std::vector<BYTE>(48, 0x22));
}

TEST_F(FrameGrabbingTest, IndicesOutsideTheDevicesTakenTouchNothing) {
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    CDibImage image;
    ASSERT_EQ(image.Create(2, 2), 0);
    const BYTE* buffer = image.Bits();
    std::vector<BYTE> bits(48, 0x33);
    for (int index : {-1, 1, 9, 10, 1000}) {
        EXPECT_EQ(manager.FrameWidth(index), 0);
        EXPECT_EQ(manager.FrameHeight(index), 0);
        EXPECT_EQ(manager.FrameSize(index), 0);
        EXPECT_EQ(manager.CopyCurrentBuffer(index, bits.data()), -1);
        EXPECT_EQ(manager.GrabFrame(index, &image), -1);
        EXPECT_EQ(manager.AllocateFrameImage(index, &image), -1);
    }
    EXPECT_EQ(image.Bits(), buffer);
    EXPECT_EQ(image.Width(), 2);
    EXPECT_EQ(bits, std::vector<BYTE>(48, 0x33));
}

TEST_F(FrameGrabbingTest, NoDeviceTakenMeansNoFrames) {
    null_driver::QueueMessageBoxAnswer(IDNO);
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 0);
    CDibImage image;
    EXPECT_EQ(manager.GrabFrame(0, &image), -1);
    EXPECT_EQ(image.Bits(), nullptr);
}

TEST_F(FrameGrabbingTest, AFormatTheImageRefusesLeavesItEmptyAndTheGrabFails) {
    sc::Reset();
    sc::Device cam = Camera("Cam", 5, 3);
    cam.format.biSizeImage = 40;  // fewer bytes than three rows of 16
    cam.frame.assign(40, 0x44);
    sc::AddDevice(cam);
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    CDibImage image;
    EXPECT_EQ(manager.AllocateFrameImage(0, &image), -1);
    EXPECT_EQ(image.Bits(), nullptr);
    EXPECT_EQ(manager.GrabFrame(0, &image), -1);
    EXPECT_EQ(image.Bits(), nullptr);
    EXPECT_TRUE(sc::CallsStartingWith("SampleGrabber#1.GetCurrentBuffer").empty());
}

TEST_F(FrameGrabbingTest, AllocateFrameImageReplacesWhateverTheImageWas) {
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    CDibImage image;
    ASSERT_EQ(image.Create(320, 240), 0);
    EXPECT_EQ(manager.AllocateFrameImage(0, &image), 0);
    EXPECT_EQ(std::memcmp(image.Info(), &manager.Device(0).header, sizeof(BITMAPINFO)), 0);
    EXPECT_NE(image.Bits(), nullptr);
    EXPECT_EQ(image.Row(2), image.Bits());
}

}  // namespace
