// The GStreamer capture driver through the media-framework interfaces: a
// virtual test-pattern camera is enumerated, bound, linked into a Sample
// Grabber, run, and its frames come out bottom-up in blue-green-red order.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

#include <objbase.h>
#include <dshow.h>
#include <qedit.h>

#include "platform/com/com_strings.h"

namespace {

// SMPTE colour bars drawn straight in BGR: the top rows run white, yellow,
// cyan, green, magenta, red, blue from left to right; the bottom-left corner
// is dark blue (-I), the bottom-right corner light grey.
const char kBars[] =
    "Bars=videotestsrc pattern=smpte is-live=true ! "
    "video/x-raw,format=BGR,width=640,height=480,framerate=30/1";

class GStreamerGraph : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(NULL))); }
    void TearDown() override { CoUninitialize(); }

    // The monikers of the video input devices, or none.
    std::vector<IMoniker*> Monikers() {
        std::vector<IMoniker*> monikers;
        ICreateDevEnum* devEnum = NULL;
        EXPECT_EQ(CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER,
                                   IID_ICreateDevEnum, reinterpret_cast<void**>(&devEnum)),
                  S_OK);
        IEnumMoniker* list = NULL;
        devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &list, 0);
        if (list != NULL) {
            IMoniker* moniker = NULL;
            while (list->Next(1, &moniker, NULL) == S_OK) {
                monikers.push_back(moniker);
            }
            list->Release();
        }
        devEnum->Release();
        return monikers;
    }

    // Binds the last video input device (the virtual camera a test sets up
    // last); null when that fails.
    IBaseFilter* BindLastDevice() {
        std::vector<IMoniker*> monikers = Monikers();
        IBaseFilter* device = NULL;
        if (!monikers.empty()) {
            monikers.back()->BindToObject(NULL, NULL, IID_IBaseFilter,
                                          reinterpret_cast<void**>(&device));
        }
        for (IMoniker* moniker : monikers) {
            moniker->Release();
        }
        return device;
    }

    // The objects of one capture chain, each holding one reference.
    struct Chain {
        IGraphBuilder* graph = NULL;
        IBaseFilter* grabberFilter = NULL;
        ISampleGrabber* grabber = NULL;
        ICaptureGraphBuilder2* builder = NULL;
        IMediaControl* control = NULL;
    };

    static Chain CreateChain() {
        Chain chain;
        CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                         reinterpret_cast<void**>(&chain.graph));
        CoCreateInstance(CLSID_SampleGrabber, NULL, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                         reinterpret_cast<void**>(&chain.grabberFilter));
        CoCreateInstance(CLSID_CaptureGraphBuilder2, NULL, CLSCTX_INPROC_SERVER,
                         IID_ICaptureGraphBuilder2, reinterpret_cast<void**>(&chain.builder));
        if (chain.grabberFilter != NULL) {
            chain.grabberFilter->QueryInterface(IID_ISampleGrabber,
                                                reinterpret_cast<void**>(&chain.grabber));
        }
        if (chain.graph != NULL) {
            chain.graph->QueryInterface(IID_IMediaControl,
                                        reinterpret_cast<void**>(&chain.control));
        }
        return chain;
    }

    static void ReleaseChain(Chain* chain, IBaseFilter* device) {
        for (IUnknown* object :
             std::initializer_list<IUnknown*>{chain->control, chain->grabber, chain->grabberFilter,
                                              chain->builder, device, chain->graph}) {
            if (object != NULL) {
                object->Release();
            }
        }
    }

    // Copies the newest frame into `frame` once one has arrived (10 s at
    // most); the last result of GetCurrentBuffer, the count it wrote in *size.
    static HRESULT WaitForFrame(ISampleGrabber* grabber, std::vector<BYTE>* frame, LONG* size) {
        HRESULT hr = VFW_E_WRONG_STATE;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (hr == VFW_E_WRONG_STATE && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            *size = static_cast<LONG>(frame->size());
            hr = grabber->GetCurrentBuffer(size, reinterpret_cast<LONG*>(frame->data()));
        }
        return hr;
    }

    static std::string NameOf(IMoniker* moniker) {
        IPropertyBag* bag = NULL;
        moniker->BindToStorage(NULL, NULL, IID_IPropertyBag, reinterpret_cast<void**>(&bag));
        VARIANT value = {};
        value.vt = VT_BSTR;
        EXPECT_EQ(bag->Read(OLESTR("FriendlyName"), &value, NULL), S_OK);
        std::string name = Utf16ToUtf8(value.bstrVal);
        SysFreeString(value.bstrVal);
        bag->Release();
        return name;
    }
};

TEST_F(GStreamerGraph, VirtualCamerasComeAfterTheRealOnesWithTheirNames) {
    setenv("TENEBRIX_VIRTUAL_CAMERAS", " Cam A = videotestsrc ; ;Cam B=videotestsrc pattern=ball",
           1);
    std::vector<IMoniker*> monikers = Monikers();
    ASSERT_GE(monikers.size(), 2u);
    EXPECT_EQ(NameOf(monikers[monikers.size() - 2]), "Cam A");
    EXPECT_EQ(NameOf(monikers[monikers.size() - 1]), "Cam B");
    for (IMoniker* moniker : monikers) {
        moniker->Release();
    }
    unsetenv("TENEBRIX_VIRTUAL_CAMERAS");
}

TEST_F(GStreamerGraph, ADescriptionThatDoesNotParseFailsToBind) {
    setenv("TENEBRIX_VIRTUAL_CAMERAS", "Broken=nosuchelement ! fakesink", 1);
    std::vector<IMoniker*> monikers = Monikers();
    ASSERT_FALSE(monikers.empty());
    IBaseFilter* filter = NULL;
    EXPECT_LT(monikers.back()->BindToObject(NULL, NULL, IID_IBaseFilter,
                                            reinterpret_cast<void**>(&filter)),
              0);
    EXPECT_EQ(filter, nullptr);
    for (IMoniker* moniker : monikers) {
        moniker->Release();
    }
    unsetenv("TENEBRIX_VIRTUAL_CAMERAS");
}

TEST_F(GStreamerGraph, GrabberDeliversBottomUpBgrFramesOfTheDeviceSize) {
    setenv("TENEBRIX_VIRTUAL_CAMERAS", kBars, 1);
    IBaseFilter* device = BindLastDevice();
    ASSERT_NE(device, nullptr);
    Chain chain = CreateChain();
    IGraphBuilder* graph = chain.graph;
    IBaseFilter* grabberFilter = chain.grabberFilter;
    ISampleGrabber* grabber = chain.grabber;
    ICaptureGraphBuilder2* builder = chain.builder;
    ASSERT_TRUE(graph && grabberFilter && grabber && builder && chain.control);
    AM_MEDIA_TYPE rgb24 = {};
    rgb24.majortype = MEDIATYPE_Video;
    rgb24.subtype = MEDIASUBTYPE_RGB24;
    rgb24.formattype = FORMAT_VideoInfo;
    EXPECT_EQ(grabber->SetMediaType(&rgb24), S_OK);
    AM_MEDIA_TYPE other = rgb24;
    other.subtype = MEDIATYPE_Video;  // anything but RGB24
    EXPECT_EQ(grabber->SetMediaType(&other), VFW_E_TYPE_NOT_ACCEPTED);
    EXPECT_EQ(graph->AddFilter(grabberFilter, OLESTR("Sample Grabber")), S_OK);
    EXPECT_EQ(builder->SetFiltergraph(graph), S_OK);
    EXPECT_EQ(graph->AddFilter(device, OLESTR("Device Filter")), S_OK);
    IAMCrossbar* crossbar = NULL;
    EXPECT_LT(builder->FindInterface(&LOOK_UPSTREAM_ONLY, NULL, device, IID_IAMCrossbar,
                                     reinterpret_cast<void**>(&crossbar)),
              0);
    EXPECT_EQ(crossbar, nullptr);
    EXPECT_EQ(builder->RenderStream(&PIN_CATEGORY_PREVIEW, NULL, device, NULL, grabberFilter),
              S_OK);
    // A second stream out of the same device output is refused.
    EXPECT_EQ(builder->RenderStream(&PIN_CATEGORY_PREVIEW, NULL, device, NULL, grabberFilter),
              VFW_E_ALREADY_CONNECTED);

    // The format is known before the graph runs.
    AM_MEDIA_TYPE connected = {};
    ASSERT_EQ(grabber->GetConnectedMediaType(&connected), S_OK);
    ASSERT_EQ(connected.cbFormat, sizeof(VIDEOINFOHEADER));
    const BITMAPINFOHEADER header =
        reinterpret_cast<VIDEOINFOHEADER*>(connected.pbFormat)->bmiHeader;
    CoTaskMemFree(connected.pbFormat);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 640);
    EXPECT_EQ(header.biHeight, 480);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(header.biSizeImage, 640u * 3 * 480);

    EXPECT_EQ(grabber->SetBufferSamples(TRUE), S_OK);
    std::vector<BYTE> frame(640 * 3 * 480, 0x55);
    LONG size = static_cast<LONG>(frame.size());
    EXPECT_EQ(grabber->GetCurrentBuffer(&size, reinterpret_cast<LONG*>(frame.data())),
              VFW_E_WRONG_STATE);  // nothing has arrived before the graph runs
    ASSERT_TRUE(SUCCEEDED(chain.control->Run()));
    ASSERT_EQ(WaitForFrame(grabber, &frame, &size), S_OK);
    EXPECT_EQ(size, 640 * 3 * 480);
    LONG needed = 0;
    EXPECT_EQ(grabber->GetCurrentBuffer(&needed, NULL), S_OK);
    EXPECT_EQ(needed, 640 * 3 * 480);
    LONG small = size - 1;
    EXPECT_EQ(grabber->GetCurrentBuffer(&small, reinterpret_cast<LONG*>(frame.data())),
              E_OUTOFMEMORY);
    auto pixel = [&](int x, int yFromTop) {
        const BYTE* p = &frame[static_cast<size_t>(479 - yFromTop) * 640 * 3 + x * 3];
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(pixel(0, 0), (std::vector<int>{255, 255, 255}));      // white
    EXPECT_EQ(pixel(100, 0), (std::vector<int>{0, 255, 255}));      // yellow
    EXPECT_EQ(pixel(500, 0), (std::vector<int>{0, 0, 255}));        // red
    EXPECT_EQ(pixel(639, 0), (std::vector<int>{255, 0, 0}));        // blue
    EXPECT_EQ(pixel(0, 479), (std::vector<int>{128, 0, 0}));        // dark blue
    EXPECT_EQ(pixel(639, 479), (std::vector<int>{223, 223, 223}));  // light grey
    EXPECT_EQ(chain.control->Stop(), S_OK);
    ReleaseChain(&chain, device);
    unsetenv("TENEBRIX_VIRTUAL_CAMERAS");
}

TEST_F(GStreamerGraph, ACameraThatSendsJpegIsDecoded) {
    setenv("TENEBRIX_VIRTUAL_CAMERAS",
           "Jpeg=videotestsrc pattern=white is-live=true ! "
           "video/x-raw,width=320,height=240,framerate=15/1 ! jpegenc ! "
           "image/jpeg,width=320,height=240",
           1);
    IBaseFilter* device = BindLastDevice();
    ASSERT_NE(device, nullptr);
    Chain chain = CreateChain();
    ASSERT_TRUE(chain.graph && chain.grabber && chain.builder && chain.control);
    chain.graph->AddFilter(chain.grabberFilter, OLESTR("Sample Grabber"));
    chain.builder->SetFiltergraph(chain.graph);
    chain.graph->AddFilter(device, OLESTR("Device Filter"));
    EXPECT_EQ(
        chain.builder->RenderStream(&PIN_CATEGORY_PREVIEW, NULL, device, NULL, chain.grabberFilter),
        S_OK);
    chain.grabber->SetBufferSamples(TRUE);
    chain.control->Run();
    std::vector<BYTE> frame(960 * 240);
    LONG size = 0;
    EXPECT_EQ(WaitForFrame(chain.grabber, &frame, &size), S_OK);
    EXPECT_EQ(size, 960 * 240);
    // A white picture comes out light and even (JPEG keeps it within a few steps).
    EXPECT_GT(frame[0], 200);
    EXPECT_EQ(std::count(frame.begin(), frame.end(), frame[0]), 960 * 240);
    chain.control->Stop();
    ReleaseChain(&chain, device);
    unsetenv("TENEBRIX_VIRTUAL_CAMERAS");
}

}  // namespace
