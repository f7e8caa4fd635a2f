// The capture manager over scripted devices: the device questions and what
// each answer leads to, the records, the crossbar, the graph that is built and
// the order of teardown.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/capture/capture_test_support.h"

namespace sc = scripted_capture;

namespace {

const char kNoDevice[] = "ビデオキャプチャデバイスが存在しません";
const char kUseDevice[] = "このデバイスを使用しますか？";
const char kBindFailed[] = "バインド失敗";

bool Contains(const std::vector<std::string>& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

// Whether `calls` holds a call starting with each of `wanted`, each after the
// one before it; calls in between do not matter.
::testing::AssertionResult CalledInOrder(const std::vector<std::string>& calls,
                                         const std::vector<std::string>& wanted) {
    auto next = calls.begin();
    for (const std::string& want : wanted) {
        next = std::find_if(next, calls.end(),
                            [&](const std::string& call) { return call.rfind(want, 0) == 0; });
        if (next == calls.end()) {
            return ::testing::AssertionFailure() << "no " << want << " after what comes before it";
        }
        ++next;
    }
    return ::testing::AssertionSuccess();
}

// The index of the first call that contains `part`; calls.size() for none.
size_t First(const std::vector<std::string>& calls, const std::string& part) {
    return std::find_if(
               calls.begin(), calls.end(),
               [&](const std::string& call) { return call.find(part) != std::string::npos; }) -
           calls.begin();
}

bool RecordIsZero(const CaptureDevice& record) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    return std::all_of(bytes, bytes + sizeof record, [](unsigned char b) { return b == 0; });
}

using CaptureManagerTest = ScriptedCaptureTest;

TEST_F(CaptureManagerTest, NoDeviceShowsOneErrorAndBuildsNoGraph) {
    {
        CCaptureManager manager;
        EXPECT_EQ(manager.Open(1, 0), -1);
        ASSERT_EQ(null_driver::MessageBoxes().size(), 1u);
        const null_driver::MessageBoxRecord& box = null_driver::MessageBoxes()[0];
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.text, Cp932(kNoDevice));
        EXPECT_EQ(box.caption, "ERROR");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
        EXPECT_EQ(manager.DeviceCount(), 0);
        EXPECT_TRUE(sc::CallsStartingWith("CoCreateInstance(FilterGraph)").empty());
        EXPECT_EQ(sc::References("SystemDeviceEnum#1"), 0);
    }
    EXPECT_EQ(sc::LiveObjects(), 0);
}

TEST_F(CaptureManagerTest, DestructorAfterAFailedOpenOnlyUninitialises) {
    {
        CCaptureManager manager;
        manager.Open(1, 0);
        sc::Reset();  // keep only what the destructor does
    }
    EXPECT_EQ(sc::Calls(), std::vector<std::string>{"MediaLibrary.Stop()"});
}

TEST_F(CaptureManagerTest, YesToTheFirstOfTwoDevicesTakesItWithoutASecondQuestion) {
    sc::AddDevice(Camera("Front Camera"));
    sc::AddDevice(Camera("Back Camera"));
    {
        CCaptureManager manager;
        EXPECT_EQ(manager.Open(1, 0), 1);
        ASSERT_EQ(null_driver::MessageBoxes().size(), 1u);
        const null_driver::MessageBoxRecord& box = null_driver::MessageBoxes()[0];
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.text, "Front Camera");
        EXPECT_EQ(box.caption, Cp932(kUseDevice));
        EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO));
        EXPECT_EQ(manager.DeviceCount(), 1);
        EXPECT_STREQ(manager.Device(0).name, "Front Camera");
        // The second device was fetched, then released unasked.
        EXPECT_EQ(sc::References("Moniker:Back Camera"), 0);
        EXPECT_FALSE(Contains(sc::Calls(), "Moniker:Back Camera.BindToStorage(IID_IPropertyBag)"));
        EXPECT_TRUE(RecordIsZero(manager.Device(1)));
    }
    EXPECT_EQ(sc::LiveObjects(), 0);
}

TEST_F(CaptureManagerTest, NoThenYesTakesTheSecondDeviceIntoTheFirstRecord) {
    sc::AddDevice(Camera("Front Camera"));
    sc::AddDevice(Camera("Back Camera"));
    null_driver::QueueMessageBoxAnswer(IDNO);
    null_driver::QueueMessageBoxAnswer(IDYES);
    {
        CCaptureManager manager;
        EXPECT_EQ(manager.Open(1, 0), 1);
        ASSERT_EQ(null_driver::MessageBoxes().size(), 2u);
        EXPECT_EQ(null_driver::MessageBoxes()[0].text, "Front Camera");
        EXPECT_EQ(null_driver::MessageBoxes()[1].text, "Back Camera");
        EXPECT_EQ(null_driver::MessageBoxes()[1].caption, Cp932(kUseDevice));
        EXPECT_STREQ(manager.Device(0).name, "Back Camera");
        // A declined device is never bound.
        EXPECT_FALSE(Contains(sc::Calls(), "Moniker:Front Camera.BindToObject(IID_IBaseFilter)"));
    }
    EXPECT_EQ(sc::LiveObjects(), 0);
}

TEST_F(CaptureManagerTest, DecliningEveryDeviceRunsAnEmptyGraph) {
    sc::AddDevice(Camera("Front Camera"));
    sc::AddDevice(Camera("Back Camera"));
    null_driver::QueueMessageBoxAnswer(IDNO);
    null_driver::QueueMessageBoxAnswer(IDNO);
    {
        CCaptureManager manager;
        EXPECT_EQ(manager.Open(2, 0), 0);
        EXPECT_EQ(manager.DeviceCount(), 0);
        EXPECT_EQ(null_driver::MessageBoxes().size(), 2u);
        EXPECT_TRUE(Contains(sc::Calls(), "CoCreateInstance(FilterGraph) -> FilterGraph#1"));
        EXPECT_TRUE(Contains(sc::Calls(), "FilterGraph#1.Run()"));
        EXPECT_TRUE(sc::CallsStartingWith("FilterGraph#1.AddFilter").empty());
        EXPECT_TRUE(sc::CallsStartingWith("CoCreateInstance(SampleGrabber)").empty());
        EXPECT_EQ(manager.FrameWidth(0), 0);
    }
    EXPECT_TRUE(Contains(sc::Calls(), "FilterGraph#1.Stop()"));
    EXPECT_EQ(sc::LiveObjects(), 0);
}

TEST_F(CaptureManagerTest, AFailedBindIsReportedAndTheNextDeviceTakesTheRecord) {
    sc::Device broken = Camera("Broken Camera");
    broken.bindResult = E_FAIL;
    sc::AddDevice(broken);
    sc::AddDevice(Camera("Good Camera"));
    {
        CCaptureManager manager;
        EXPECT_EQ(manager.Open(2, 0), 1);
        const auto& boxes = null_driver::MessageBoxes();
        ASSERT_EQ(boxes.size(), 3u);
        EXPECT_EQ(boxes[0].text, "Broken Camera");
        EXPECT_EQ(boxes[1].text, Cp932(kBindFailed));
        EXPECT_EQ(boxes[1].caption, "ERROR");
        EXPECT_EQ(boxes[1].type, static_cast<UINT>(MB_OK));
        EXPECT_EQ(boxes[1].owner, nullptr);
        EXPECT_EQ(boxes[2].text, "Good Camera");
        EXPECT_EQ(manager.DeviceCount(), 1);
        EXPECT_STREQ(manager.Device(0).name, "Good Camera");
        EXPECT_TRUE(RecordIsZero(manager.Device(1)));
    }
    EXPECT_EQ(sc::LiveObjects(), 0);
}

TEST_F(CaptureManagerTest, MoreDevicesThanTheTableHoldsTakesTen) {
    for (int i = 0; i < 12; ++i) {
        sc::AddDevice(Camera("Camera " + std::to_string(i)));
    }
    {
        CCaptureManager manager;
        EXPECT_EQ(manager.Open(25, 0), 10);
        EXPECT_EQ(null_driver::MessageBoxes().size(), 10u);
        EXPECT_STREQ(manager.Device(9).name, "Camera 9");
        // The eleventh moniker is fetched and released; the twelfth never.
        EXPECT_TRUE(Contains(sc::Calls(), "Moniker:Camera 10.Release() -> 1"));
        EXPECT_EQ(sc::CallsStartingWith("ClassEnumerator#1.Next").size(), 11u);
    }
    EXPECT_EQ(sc::LiveObjects(), 0);
}

TEST_F(CaptureManagerTest, NamesAreShownInCodePage932) {
    sc::AddDevice(Camera("カメラ é ☃"));  // é and the snowman are not in code page 932
    sc::AddDevice(Camera(std::string(300, 'x')));
    sc::Device nameless = Camera("Hidden");
    nameless.nameResult = E_FAIL;
    sc::AddDevice(nameless);
    for (int i = 0; i < 3; ++i) {
        null_driver::QueueMessageBoxAnswer(IDNO);
    }
    CCaptureManager manager;
    EXPECT_EQ(manager.Open(3, 0), 0);
    const auto& boxes = null_driver::MessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, Cp932("カメラ ? ?"));
    EXPECT_EQ(boxes[1].text, std::string(255, 'x'));  // cut to fit 256 bytes with the NUL
    EXPECT_EQ(boxes[2].text, "");
}

TEST_F(CaptureManagerTest, ALongJapaneseNameIsCutBetweenCharacters) {
    std::string name;
    for (int i = 0; i < 200; ++i) {
        name += "あ";  // two bytes each in code page 932
    }
    sc::AddDevice(Camera(name));
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    std::string expected;
    for (int i = 0; i < 127; ++i) {
        expected += "あ";
    }
    EXPECT_EQ(std::string(manager.Device(0).name), Cp932(expected));
    EXPECT_EQ(null_driver::MessageBoxes()[0].text, Cp932(expected));
}

// The grabber asks for RGB24 before the device is connected to it (the
// connection settles the format), the builder knows the graph and both filters
// before it connects them, the format is read once connected, and the graph
// runs once, when the chain is in place.
TEST_F(CaptureManagerTest, BuildsTheChainWithTheFilterNamesAndRunsIt) {
    sc::AddDevice(Camera("Cam", 6, 5));
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    const std::vector<std::string>& calls = sc::Calls();
    const std::string connect =
        "CaptureGraphBuilder#1.RenderStream(PREVIEW, null, DeviceFilter:Cam, null, "
        "SampleGrabber#1)";
    EXPECT_TRUE(CalledInOrder(calls, {"SampleGrabber#1.SetMediaType(Video/RGB24, fixed=FALSE, "
                                      "temporal=FALSE, sampleSize=0, cbFormat=0)",
                                      connect, "SampleGrabber#1.GetConnectedMediaType()"}));
    EXPECT_TRUE(CalledInOrder(
        calls, {"FilterGraph#1.AddFilter(SampleGrabber#1, \"Sample Grabber\")", connect}));
    EXPECT_TRUE(CalledInOrder(
        calls, {"FilterGraph#1.AddFilter(DeviceFilter:Cam, \"Device Filter\")", connect}));
    EXPECT_TRUE(
        CalledInOrder(calls, {"CaptureGraphBuilder#1.SetFiltergraph(FilterGraph#1)", connect}));
    EXPECT_TRUE(CalledInOrder(calls, {connect, "FilterGraph#1.Run()"}));
    EXPECT_EQ(sc::CallsStartingWith("FilterGraph#1.Run()").size(), 1u);
    EXPECT_TRUE(Contains(calls, "SampleGrabber#1.SetBufferSamples(TRUE)"));
    EXPECT_TRUE(Contains(calls,
                         "CaptureGraphBuilder#1.FindInterface(LOOK_UPSTREAM_ONLY, null, "
                         "DeviceFilter:Cam, IID_IAMCrossbar)"));
    // The header is the connected format; its colour entry stays zero.
    BITMAPINFO header = {};
    header.bmiHeader = sc::Rgb24Format(6, 5);
    EXPECT_EQ(std::memcmp(&manager.Device(0).header, &header, sizeof header), 0);
    EXPECT_EQ(manager.FrameWidth(0), 6);
    EXPECT_EQ(manager.FrameHeight(0), 5);
    EXPECT_EQ(manager.FrameSize(0), 5 * 20);
}

TEST_F(CaptureManagerTest, RendererOnlyWhenAskedForWithOne) {
    sc::AddDevice(Camera("Cam"));
    {
        CCaptureManager manager;
        ASSERT_EQ(manager.Open(1, 2), 1);
        EXPECT_EQ(manager.Device(0).renderer, nullptr);
        EXPECT_TRUE(sc::CallsStartingWith("CoCreateInstance(VideoRenderer)").empty());
    }
    sc::Reset();
    sc::AddDevice(Camera("Cam"));
    {
        CCaptureManager manager;
        ASSERT_EQ(manager.Open(1, 1), 1);
        EXPECT_NE(manager.Device(0).renderer, nullptr);
        EXPECT_TRUE(
            Contains(sc::Calls(), "FilterGraph#1.AddFilter(VideoRenderer#1, \"Video Renderer\")"));
        const auto renders = sc::CallsStartingWith("CaptureGraphBuilder#1.RenderStream");
        ASSERT_EQ(renders.size(), 2u);
        EXPECT_EQ(renders[0],
                  "CaptureGraphBuilder#1.RenderStream(PREVIEW, null, DeviceFilter:Cam, "
                  "SampleGrabber#1, VideoRenderer#1)");
        EXPECT_EQ(renders[1],
                  "CaptureGraphBuilder#1.RenderStream(PREVIEW, null, DeviceFilter:Cam, null, "
                  "SampleGrabber#1)");
        // The preview path through the grabber gives it its format all the same.
        EXPECT_EQ(manager.FrameWidth(0), 4);
    }
    EXPECT_EQ(sc::LiveObjects(), 0);
}

TEST_F(CaptureManagerTest, CrossbarCountsAndConnectorTypes) {
    sc::Device plain = Camera("Plain");
    sc::Device tv = Camera("TV Card");
    tv.hasCrossbar = true;
    tv.crossbar.outputPins = 1;
    tv.crossbar.inputPins = 3;
    tv.crossbar.outputTypes = {PhysConn_Video_VideoDecoder};
    tv.crossbar.inputTypes = {PhysConn_Video_Tuner, PhysConn_Video_Composite,
                              PhysConn_Video_SVideo};
    sc::Device silent = Camera("Silent Card");
    silent.hasCrossbar = true;
    silent.crossbar.outputPins = 2;
    silent.crossbar.countsWriteNothing = true;
    sc::AddDevice(plain);
    sc::AddDevice(tv);
    sc::AddDevice(silent);
    {
        CCaptureManager manager;
        ASSERT_EQ(manager.Open(3, 0), 3);
        const CaptureDevice& a = manager.Device(0);
        EXPECT_EQ(a.crossbar, nullptr);
        EXPECT_EQ(a.outputPinCount, 0);
        EXPECT_EQ(a.inputPinCount, 0);

        const CaptureDevice& b = manager.Device(1);
        EXPECT_NE(b.crossbar, nullptr);
        EXPECT_EQ(b.outputPinCount, 1);
        EXPECT_EQ(b.inputPinCount, 3);
        EXPECT_EQ(b.outputPinTypes[0], PhysConn_Video_VideoDecoder);
        EXPECT_EQ(b.outputPinTypes[1], 0);
        EXPECT_EQ(b.inputPinTypes[0], PhysConn_Video_Tuner);
        EXPECT_EQ(b.inputPinTypes[1], PhysConn_Video_Composite);
        EXPECT_EQ(b.inputPinTypes[2], PhysConn_Video_SVideo);
        EXPECT_EQ(b.inputPinTypes[3], 0);

        const CaptureDevice& c = manager.Device(2);
        EXPECT_NE(c.crossbar, nullptr);
        EXPECT_EQ(c.outputPinCount, -1);
        EXPECT_EQ(c.inputPinCount, -1);
        EXPECT_TRUE(sc::CallsStartingWith("Crossbar:Silent Card.get_CrossbarPinInfo").empty());
    }
    EXPECT_EQ(sc::LiveObjects(), 0);
}

TEST_F(CaptureManagerTest, ACrossbarWithMorePinsThanFitKeepsTheCountsAndReadsTen) {
    sc::Device card = Camera("Big Card");
    card.hasCrossbar = true;
    card.crossbar.outputPins = 12;
    card.crossbar.inputPins = 11;
    for (LONG i = 0; i < 12; ++i) {
        card.crossbar.outputTypes.push_back(100 + i);
        card.crossbar.inputTypes.push_back(200 + i);
    }
    sc::AddDevice(card);
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    const CaptureDevice& d = manager.Device(0);
    EXPECT_EQ(d.outputPinCount, 12);
    EXPECT_EQ(d.inputPinCount, 11);
    EXPECT_EQ(d.outputPinTypes[9], 109);
    EXPECT_EQ(d.inputPinTypes[9], 209);
    EXPECT_EQ(sc::CallsStartingWith("Crossbar:Big Card.get_CrossbarPinInfo(FALSE").size(), 10u);
    EXPECT_EQ(sc::CallsStartingWith("Crossbar:Big Card.get_CrossbarPinInfo(TRUE").size(), 10u);
    // The record after it is untouched.
    EXPECT_TRUE(RecordIsZero(manager.Device(1)));
}

// Teardown releases in any order, but stops the graph first (its streaming
// threads fill the grabber until then), switches buffering off before the
// grabber goes, returns every reference and leaves the media library last.
TEST_F(CaptureManagerTest, TeardownStopsTheGraphFirstAndReturnsEveryReference) {
    sc::Device card = Camera("Card");
    card.hasCrossbar = true;
    sc::AddDevice(card);
    size_t mark = 0;
    {
        CCaptureManager manager;
        ASSERT_EQ(manager.Open(1, 1), 1);
        mark = sc::Calls().size();
    }
    const std::vector<std::string> teardown(sc::Calls().begin() + mark, sc::Calls().end());
    ASSERT_FALSE(teardown.empty());
    const size_t stop = First(teardown, "FilterGraph#1.Stop()");
    ASSERT_LT(stop, teardown.size()) << "the graph was never stopped";
    EXPECT_LT(stop, First(teardown, ".Release()")) << "released while the graph ran";
    EXPECT_EQ(sc::CallsStartingWith("FilterGraph#1.Stop()").size(), 1u);
    EXPECT_LT(First(teardown, "SampleGrabber#1.SetBufferSamples(FALSE)"),
              First(teardown, "SampleGrabber#1.Release()"));
    EXPECT_EQ(teardown.back(), "MediaLibrary.Stop()");
    EXPECT_EQ(sc::LiveObjects(), 0) << ::testing::PrintToString(sc::LiveObjectNames());
    // Every moniker handed out went back exactly once.
    EXPECT_EQ(sc::References("Moniker:Card"), 0);
}

TEST_F(CaptureManagerTest, AStreamThatFailsOrEndsIsReportedOnce) {
    sc::AddDevice(Camera("Cam", 4, 2));
    CCaptureManager manager;
    ASSERT_EQ(manager.Open(1, 0), 1);
    EXPECT_EQ(manager.PollDeviceEvents(), kCaptureRunning);
    sc::PostGraphEvent(EC_ERRORABORT);
    sc::PostGraphEvent(EC_COMPLETE);
    EXPECT_EQ(manager.PollDeviceEvents(), kCaptureStopped);
    sc::PostGraphEvent(EC_COMPLETE);
    EXPECT_EQ(manager.PollDeviceEvents(), kCaptureRunning);  // told once
    EXPECT_EQ(sc::CallsStartingWith("FilterGraph#1.FreeEventParams").size(), 3u);
}

TEST_F(CaptureManagerTest, MissingObjectsAreSkippedNotCalledThrough) {
    sc::AddDevice(Camera("Cam"));
    sc::FailCreation(CLSID_SampleGrabber, E_OUTOFMEMORY);
    {
        CCaptureManager manager;
        EXPECT_EQ(manager.Open(1, 0), 1);  // the device stays counted
        const CaptureDevice& d = manager.Device(0);
        EXPECT_EQ(d.grabberFilter, nullptr);
        EXPECT_EQ(d.grabber, nullptr);
        BITMAPINFO zero = {};
        EXPECT_EQ(std::memcmp(&d.header, &zero, sizeof zero), 0);
        EXPECT_TRUE(sc::CallsStartingWith("CaptureGraphBuilder#1.RenderStream").empty());
        CDibImage image;
        EXPECT_EQ(manager.GrabFrame(0, &image), -1);
        EXPECT_EQ(image.Bits(), nullptr);
    }
    EXPECT_EQ(sc::LiveObjects(), 0);

    sc::Reset();
    sc::AddDevice(Camera("Cam"));
    sc::FailCreation(CLSID_FilterGraph, E_OUTOFMEMORY);
    sc::FailCreation(CLSID_CaptureGraphBuilder2, E_OUTOFMEMORY);
    {
        CCaptureManager manager;
        EXPECT_EQ(manager.Open(1, 0), 1);
        EXPECT_TRUE(sc::CallsStartingWith("FilterGraph").empty());
        EXPECT_EQ(manager.Device(0).builder, nullptr);
        EXPECT_EQ(manager.Device(0).crossbar, nullptr);
    }
    EXPECT_EQ(sc::LiveObjects(), 0);

    sc::Reset();
    null_driver::Reset();
    sc::AddDevice(Camera("Cam"));
    sc::FailCreation(CLSID_SystemDeviceEnum, E_OUTOFMEMORY);
    {
        CCaptureManager manager;
        EXPECT_EQ(manager.Open(1, 0), -1);
        ASSERT_EQ(null_driver::MessageBoxes().size(), 1u);
        EXPECT_EQ(null_driver::MessageBoxes()[0].text, Cp932(kNoDevice));
    }
}

TEST_F(CaptureManagerTest, AnUnconnectedGrabberLeavesTheHeaderZero) {
    sc::Device cam = Camera("Cam");
    cam.connects = false;
    sc::AddDevice(cam);
    CCaptureManager manager;
    EXPECT_EQ(manager.Open(1, 0), 1);
    BITMAPINFO zero = {};
    EXPECT_EQ(std::memcmp(&manager.Device(0).header, &zero, sizeof zero), 0);
    EXPECT_EQ(manager.FrameSize(0), 0);
}

}  // namespace
