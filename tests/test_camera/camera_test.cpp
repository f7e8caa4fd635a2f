// The test camera as a program sees it through the media framework (Windows,
// or Wine, with the camera registered by regsvr32): the device enumerator
// lists it by name, the capture graph builder connects its preview stream to
// a Sample Grabber, and the grabber receives the exact frames of the chosen
// picture and size with rising time stamps until the graph stops. Releasing
// everything leaves no reference and lets the DLL unload.
#include <gtest/gtest.h>

#include <windows.h>
#include <dshow.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "capture/sample_grabber_ids.h"
#include "image/dib_image.h"
#include "tools/test_camera/picture.h"

namespace {

// What the grabber's callback saw.
class FrameCounter final : public ISampleGrabberCB {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISampleGrabberCB)) {
            *out = this;
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double, IMediaSample* sample) override {
        REFERENCE_TIME start = 0, end = 0;
        const bool timed = SUCCEEDED(sample->GetTime(&start, &end));
        BYTE* bits = NULL;
        sample->GetPointer(&bits);
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_frames == 0 && bits != NULL) {
            m_first.assign(bits, bits + sample->GetActualDataLength());
        }
        ++m_frames;
        m_timed = m_timed && timed && end > start && start > m_lastStart;
        m_lastStart = start;
        return S_OK;
    }
    STDMETHODIMP BufferCB(double, BYTE*, LONG) override { return E_NOTIMPL; }

    int Frames() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_frames;
    }
    bool Timed() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_timed;
    }
    std::vector<BYTE> First() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_first;
    }

  private:
    std::mutex m_mutex;
    int m_frames = 0;
    bool m_timed = true;
    REFERENCE_TIME m_lastStart = -1;
    std::vector<BYTE> m_first;
};

std::string FriendlyName(IMoniker* moniker) {
    IPropertyBag* bag = NULL;
    std::string name;
    if (SUCCEEDED(
            moniker->BindToStorage(NULL, NULL, IID_IPropertyBag, reinterpret_cast<void**>(&bag)))) {
        VARIANT value;
        VariantInit(&value);
        if (SUCCEEDED(bag->Read(L"FriendlyName", &value, NULL)) && value.vt == VT_BSTR) {
            char text[256] = {};
            WideCharToMultiByte(CP_UTF8, 0, value.bstrVal, -1, text, sizeof text, NULL, NULL);
            name = text;
        }
        VariantClear(&value);
        bag->Release();
    }
    return name;
}

// The moniker of the test camera, or null when it is not registered.
IMoniker* FindTestCamera() {
    ICreateDevEnum* devices = NULL;
    IEnumMoniker* monikers = NULL;
    CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                     reinterpret_cast<void**>(&devices));
    if (devices == NULL) {
        return NULL;
    }
    devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0);
    devices->Release();
    IMoniker* found = NULL;
    IMoniker* moniker = NULL;
    while (monikers != NULL && found == NULL && monikers->Next(1, &moniker, NULL) == S_OK) {
        if (FriendlyName(moniker) == "Tenebrix Test Camera") {
            found = moniker;
        } else {
            moniker->Release();
        }
    }
    if (monikers != NULL) {
        monikers->Release();
    }
    return found;
}

// Binds the test camera with these options: the filter, or null.
IBaseFilter* BindTestCamera(const char* options) {
    SetEnvironmentVariableA("TENEBRIX_TEST_CAMERA", options);
    IMoniker* moniker = FindTestCamera();
    IBaseFilter* filter = NULL;
    if (moniker != NULL) {
        if (FAILED(moniker->BindToObject(NULL, NULL, IID_IBaseFilter,
                                         reinterpret_cast<void**>(&filter)))) {
            filter = NULL;
        }
        moniker->Release();
    }
    return filter;
}

bool CameraUnloadable() {
    HMODULE dll = GetModuleHandleW(L"tenebrix_test_camera.dll");
    if (dll == NULL) {
        return true;
    }
    typedef HRESULT(STDAPICALLTYPE * CanUnload)();
    CanUnload canUnload = reinterpret_cast<CanUnload>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
    return canUnload != NULL && canUnload() == S_OK;
}

struct RunResult {
    BITMAPINFOHEADER format = {};
    std::vector<BYTE> first;    // the first frame the grabber saw
    std::vector<BYTE> current;  // the grabber's buffer after a few frames
    bool timed = false;
    int framesAfterStop = -1;  // frames that came after Stop returned
    ULONG cameraRefsLeft = 1;  // our reference's release result at the end
};

// The program's graph: camera -> (what the builder inserts) -> Sample Grabber,
// run until a few frames have arrived, then stopped and released. The preview
// stream goes through a Smart Tee, whose preview pin drops the time stamps;
// the capture stream keeps them.
void RunCamera(IBaseFilter* camera, RunResult* result,
               const GUID& category = PIN_CATEGORY_PREVIEW) {
    IGraphBuilder* graph = NULL;
    ICaptureGraphBuilder2* builder = NULL;
    IBaseFilter* grabberFilter = NULL;
    ISampleGrabber* grabber = NULL;
    IMediaControl* control = NULL;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                               reinterpret_cast<void**>(&graph)),
              S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_CaptureGraphBuilder2, NULL, CLSCTX_INPROC_SERVER,
                               IID_ICaptureGraphBuilder2, reinterpret_cast<void**>(&builder)),
              S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_SampleGrabber, NULL, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               reinterpret_cast<void**>(&grabberFilter)),
              S_OK);
    grabberFilter->QueryInterface(IID_ISampleGrabber, reinterpret_cast<void**>(&grabber));
    AM_MEDIA_TYPE type = {};
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    type.formattype = FORMAT_VideoInfo;
    grabber->SetMediaType(&type);
    FrameCounter counter;
    grabber->SetCallback(&counter, 0);
    grabber->SetBufferSamples(TRUE);
    graph->AddFilter(grabberFilter, L"Sample Grabber");
    builder->SetFiltergraph(graph);
    graph->AddFilter(camera, L"Device Filter");
    const HRESULT rendered = builder->RenderStream(&category, NULL, camera, NULL, grabberFilter);
    EXPECT_TRUE(SUCCEEDED(rendered)) << std::hex << rendered;
    AM_MEDIA_TYPE connected = {};
    if (SUCCEEDED(grabber->GetConnectedMediaType(&connected))) {
        result->format = reinterpret_cast<VIDEOINFOHEADER*>(connected.pbFormat)->bmiHeader;
        CoTaskMemFree(connected.pbFormat);
    }
    graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
    control->Run();
    for (int waited = 0; counter.Frames() < 5 && waited < 30000; waited += 50) {
        Sleep(50);
    }
    LONG size = result->format.biSizeImage;
    result->current.resize(size);
    if (size <= 0 ||
        FAILED(grabber->GetCurrentBuffer(&size, reinterpret_cast<LONG*>(result->current.data())))) {
        result->current.clear();
    }
    control->Stop();
    const int atStop = counter.Frames();
    Sleep(300);
    result->framesAfterStop = counter.Frames() - atStop;
    result->first = counter.First();
    result->timed = counter.Timed();
    // The program's order of release.
    grabber->SetBufferSamples(FALSE);
    grabber->SetCallback(NULL, 0);
    grabber->Release();
    grabberFilter->Release();
    builder->Release();
    control->Release();
    graph->Release();
    result->cameraRefsLeft = camera->Release();
}

std::vector<BYTE> Expected(const char* options, int64_t frame) {
    CameraOptions parsed;
    std::string error;
    CameraPicture picture;
    if (!ParseCameraOptions(options, &parsed, &error) || !picture.Prepare(parsed)) {
        return {};
    }
    std::vector<BYTE> bits(picture.FrameBytes());
    picture.Draw(frame, bits.data());
    return bits;
}

class TestCamera : public testing::Test {
  protected:
    void SetUp() override { CoInitialize(NULL); }
    void TearDown() override {
        CoUninitialize();
        SetEnvironmentVariableA("TENEBRIX_TEST_CAMERA", NULL);
    }
};

TEST_F(TestCamera, IsListedAsAVideoInputDevice) {
    IMoniker* moniker = FindTestCamera();
    ASSERT_NE(moniker, nullptr) << "\"Tenebrix Test Camera\" is not registered";
    moniker->Release();
}

TEST_F(TestCamera, DeliversTheStillPatternAtEachSizeUntilStopped) {
    const struct {
        const char* options;
        int width, height;
    } cases[] = {{"size=320x240", 320, 240}, {"", 640, 480}, {"size=1280x720", 1280, 720}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        IBaseFilter* camera = BindTestCamera(c.options);
        ASSERT_NE(camera, nullptr);
        RunResult run;
        RunCamera(camera, &run);
        EXPECT_EQ(run.format.biWidth, c.width);
        EXPECT_EQ(run.format.biHeight, c.height);
        EXPECT_EQ(run.format.biBitCount, 24);
        EXPECT_EQ(static_cast<int>(run.format.biSizeImage), ((c.width * 3 + 3) & ~3) * c.height);
        EXPECT_TRUE(run.current == Expected(c.options, 0)) << "the buffered frame differs";
        EXPECT_EQ(run.framesAfterStop, 0);
        EXPECT_EQ(run.cameraRefsLeft, 0u);
        EXPECT_TRUE(CameraUnloadable());
    }
}

TEST_F(TestCamera, MovingPictureStartsAtFrameZeroAndMovesWithTimeStamps) {
    const char* options = "picture=moving;size=320x240";
    IBaseFilter* camera = BindTestCamera(options);
    ASSERT_NE(camera, nullptr);
    RunResult run;
    RunCamera(camera, &run, PIN_CATEGORY_CAPTURE);
    EXPECT_TRUE(run.timed) << "time stamps missing or not rising";
    EXPECT_TRUE(run.first == Expected(options, 0));
    EXPECT_FALSE(run.current.empty());
    EXPECT_FALSE(run.current == run.first) << "the ball stood still";
    EXPECT_EQ(run.cameraRefsLeft, 0u);
}

TEST_F(TestCamera, ShowsABmpFileScaledToTheFrame) {
    // 2 x 2 pixels, one colour each, become 15 x 12 blocks of a 30 x 24 frame
    // (rows of 90 bytes padded to 92).
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    const std::string file = std::string(path) + "tenebrix_camera_picture.bmp";
    CDibImage image;
    ASSERT_EQ(image.Create(2, 2), 0);
    const BYTE colours[4][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {10, 20, 30}};
    for (int i = 0; i < 4; ++i) {
        std::memcpy(image.Row(i / 2) + 3 * (i % 2), colours[i], 3);
    }
    ASSERT_EQ(image.Save(file.c_str()), 0);
    const std::string options = "size=30x24;picture=" + file;
    IBaseFilter* camera = BindTestCamera(options.c_str());
    ASSERT_NE(camera, nullptr);
    RunResult run;
    RunCamera(camera, &run);
    ASSERT_EQ(run.current.size(), 92u * 24);
    const BYTE* topLeft = &run.current[23 * 92];  // bottom row first
    const BYTE* bottomRight = &run.current[29 * 3];
    EXPECT_EQ(std::memcmp(topLeft, colours[0], 3), 0);
    EXPECT_EQ(std::memcmp(bottomRight, colours[3], 3), 0);
    EXPECT_TRUE(run.current == Expected(options.c_str(), 0));
    DeleteFileA(file.c_str());
}

TEST_F(TestCamera, WrongOptionsFailTheBind) {
    EXPECT_EQ(BindTestCamera("size=8x8"), nullptr);
    EXPECT_EQ(BindTestCamera("colour=red"), nullptr);
    EXPECT_EQ(BindTestCamera("picture=C:\\no\\such\\picture.bmp"), nullptr);
    EXPECT_TRUE(CameraUnloadable());
}

}  // namespace
