// The system's capture code against the real media framework (Wine, or
// Windows) with the test camera registered: the device question names it, the
// grabbed frame is the camera's picture to the byte, the optional Video
// Renderer shows moving pictures in its window, and the manager's teardown
// leaves no reference behind (the camera's DLL may unload).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "capture/capture_manager.h"
#include "tests/capture/first_frame.h"
#include "tools/test_camera/picture.h"

namespace {

// Answers the device questions of this process as a user would: waits for
// each message box, notes its text, and presses its Yes or No button.
class QuestionAnswerer {
  public:
    explicit QuestionAnswerer(int button) : m_button(button), m_thread([this] { Run(); }) {}
    ~QuestionAnswerer() { Stop(); }
    // The texts of the boxes answered; no more are answered after this.
    std::vector<std::string> Texts() {
        Stop();
        return m_texts;
    }

  private:
    void Stop() {
        m_done = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }
    static BOOL CALLBACK FindBox(HWND window, LPARAM found) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char kind[16] = {};
        GetClassNameA(window, kind, sizeof kind);
        if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
            std::string(kind) == "#32770") {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    void Run() {
        while (!m_done) {
            HWND box = NULL;
            EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&box));
            HWND button = box != NULL ? GetDlgItem(box, m_button) : NULL;
            if (button != NULL) {
                m_texts.push_back(TextOf(box));
                SendMessageA(button, BM_CLICK, 0, 0);
            }
            Sleep(50);
        }
    }
    // The box's message: its static text child (id 0xFFFF).
    static std::string TextOf(HWND box) {
        char text[256] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        return text;
    }

    const int m_button;
    std::atomic<bool> m_done{false};
    std::vector<std::string> m_texts;
    std::thread m_thread;
};

bool CameraUnloadable() {
    HMODULE dll = GetModuleHandleW(L"tenebrix_test_camera.dll");
    if (dll == NULL) {
        return true;  // never bound
    }
    typedef HRESULT(STDAPICALLTYPE * CanUnload)();
    CanUnload canUnload = reinterpret_cast<CanUnload>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
    return canUnload != NULL && canUnload() == S_OK;
}

std::vector<BYTE> StillFrame() {
    CameraOptions options;
    std::string error;
    CameraPicture picture;
    ParseCameraOptions("", &options, &error);
    picture.Prepare(options);
    std::vector<BYTE> bits(picture.FrameBytes());
    picture.Draw(0, bits.data());
    return bits;
}

// The pixels of a window's client area as the screen shows them.
std::vector<BYTE> WindowPixels(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const BYTE* start = static_cast<const BYTE*>(bits);
    std::vector<BYTE> pixels(start, start + 4 * client.right * client.bottom);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return pixels;
}

// COM stays initialised around each test, as the manager's own CoUninitialize
// would otherwise unload the camera's DLL and hide a reference left behind.
class CaptureWithTestCamera : public testing::Test {
  protected:
    void SetUp() override { CoInitialize(NULL); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(CaptureWithTestCamera, YesTakesTheCameraAndGrabsItsExactPicture) {
    SetEnvironmentVariableA("TENEBRIX_TEST_CAMERA", NULL);
    {
        QuestionAnswerer user(IDYES);
        CCaptureManager manager;
        ASSERT_EQ(manager.Open(1, 0), 1);
        EXPECT_EQ(user.Texts(), std::vector<std::string>{"Tenebrix Test Camera"});
        EXPECT_STREQ(manager.Device(0).name, "Tenebrix Test Camera");
        EXPECT_EQ(manager.Device(0).crossbar, nullptr);
        EXPECT_EQ(manager.FrameWidth(0), 640);
        EXPECT_EQ(manager.FrameHeight(0), 480);
        EXPECT_EQ(manager.FrameSize(0), 640 * 480 * 3);
        CDibImage frame;
        ASSERT_EQ(GrabFirstFrame(manager, &frame), 0);
        const std::vector<BYTE> expected = StillFrame();
        ASSERT_EQ(frame.ImageSize(), static_cast<int>(expected.size()));
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), frame.Bits()));
    }
    EXPECT_TRUE(CameraUnloadable()) << "the capture code left a reference on the camera";
}

TEST_F(CaptureWithTestCamera, NoLeavesNoDeviceAndNothingHeld) {
    {
        QuestionAnswerer user(IDNO);
        CCaptureManager manager;
        EXPECT_EQ(manager.Open(1, 0), 0);
        EXPECT_EQ(user.Texts(), std::vector<std::string>{"Tenebrix Test Camera"});
    }
    EXPECT_TRUE(CameraUnloadable());
}

TEST_F(CaptureWithTestCamera, TheRendererWindowShowsMovingPictures) {
    SetEnvironmentVariableA("TENEBRIX_TEST_CAMERA", "picture=moving;size=320x240");
    {
        QuestionAnswerer user(IDYES);
        CCaptureManager manager;
        ASSERT_EQ(manager.Open(1, 1), 1);
        ASSERT_NE(manager.Device(0).renderer, nullptr);
        CDibImage frame;
        ASSERT_EQ(GrabFirstFrame(manager, &frame), 0);  // the grabber still delivers
        IVideoWindow* video = NULL;
        manager.Device(0).renderer->QueryInterface(IID_IVideoWindow,
                                                   reinterpret_cast<void**>(&video));
        ASSERT_NE(video, nullptr);
        long visible = 0;
        video->get_Visible(&visible);
        video->Release();
        EXPECT_EQ(visible, OATRUE);
        HWND window = FindWindowA(NULL, "ActiveMovie Window");
        ASSERT_NE(window, nullptr);
        Sleep(500);
        const std::vector<BYTE> before = WindowPixels(window);
        Sleep(700);
        const std::vector<BYTE> after = WindowPixels(window);
        EXPECT_FALSE(before.empty());
        EXPECT_TRUE(before != after) << "the renderer's picture stood still";
    }
    EXPECT_TRUE(CameraUnloadable());
}

}  // namespace
