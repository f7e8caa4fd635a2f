// The null window driver: windows without a display, driven by tests.
//
// Stands in for the screen, the mouse, the keyboard and the clock. Windows
// exist only in the core (with their pixel surfaces); timers elapse when a
// test fires them; message boxes are recorded and answered from a script.
// See null_driver.h for the test API. It is not in the program: a test that
// links it has the driver "null" in the window driver table.
#include "null_driver.h"

#include <cstdio>
#include <deque>
#include <utility>

#include "platform/win32/core/dialog_manager.h"
#include "platform/win32/core/driver.h"
#include "platform/win32/core/menus.h"
#include "platform/win32/core/text_codec.h"
#include "platform/win32/core/timers.h"
#include "platform/win32/core/window_api.h"

namespace {

using namespace win32core;

constexpr RECT kWholeScreen = {0, 0, 1024, 768};

struct NullState {
    std::vector<null_driver::MessageBoxRecord> boxes;
    std::deque<int> answers;
    std::function<void()> idle;
    std::vector<std::pair<HWND, UINT_PTR>> timers;
    RECT workArea = kWholeScreen;
};

NullState& State() {
    static NullState state;
    return state;
}

// The null driver's fonts: a fixed cell of 6 x 12 pixels, one cell for a
// character that is one byte in code page 932 and two for a double-byte one
// (a 9 point Japanese UI font at 96 dpi), in the box and in its title bar.
class NullBoxFonts : public BoxFonts {
  public:
    int TextWidth(const std::string& utf8) override { return Width(utf8); }
    int TextLineHeight() override { return 12; }
    int CaptionWidth(const std::string& utf8) override { return Width(utf8); }
    int CaptionLineHeight() override { return 12; }

  private:
    static int Width(const std::string& utf8) {
        return 6 * static_cast<int>(Utf8ToCp932(utf8).size());
    }
};

class NullDriver : public WindowDriver {
  public:
    void CreatePeer(Window&) override {}
    void DestroyPeer(Window&) override {}
    void ShowPeer(Window&, bool) override {}
    void EnablePeer(Window&, bool) override {}
    void TextChanged(Window&) override {}
    void IconChanged(Window&) override {}
    void FocusPeer(Window&) override {}
    void Minimize(Window&, bool) override {}
    void SurfaceChanged(Window&, const RECT&) override {}

    void TimerSet(HWND hwnd, UINT_PTR id, UINT) override { State().timers.emplace_back(hwnd, id); }
    void TimerKilled(HWND hwnd, UINT_PTR id) override {
        auto& timers = State().timers;
        for (auto it = timers.begin(); it != timers.end(); ++it) {
            if (it->first == hwnd && it->second == id) {
                timers.erase(it);
                return;
            }
        }
    }

    bool WaitForEvents() override {
        NullState& s = State();
        if (s.idle) {
            // Copy: the handler may replace itself.
            std::function<void()> idle = s.idle;
            idle();
            if (HasQueuedWork()) {
                return true;
            }
        }
        std::fprintf(stderr,
                     "null window driver: the message loop is idle and nothing more is "
                     "scripted; ending the loop\n");
        return false;
    }

    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type,
                   const MessageBoxLayout& layout) override {
        NullState& s = State();
        // What Enter would give: the default button.
        int answer = layout.buttons[layout.defaultButton].id;
        if (!s.answers.empty()) {
            answer = s.answers.front();
            s.answers.pop_front();
        }
        s.boxes.push_back(null_driver::MessageBoxRecord{
            owner, text, caption, Cp932ToUtf8(text), Cp932ToUtf8(caption), type, answer, layout});
        return answer;
    }

    BoxFonts& MessageBoxFonts() override { return m_fonts; }

    SIZE ScreenSize() override { return SIZE{kWholeScreen.right, kWholeScreen.bottom}; }
    RECT WorkArea() override { return State().workArea; }

  private:
    NullBoxFonts m_fonts;
};

WindowDriver* CreateNullDriver(std::string*) {
    static NullDriver driver;
    return &driver;
}

const DriverEntry kNullDriver = {"null", "no display; scripted by tests", CreateNullDriver};
// Linked into a test, the null driver joins the table before main.
[[maybe_unused]] const bool s_added = AddWindowDriver(&kNullDriver);

}  // namespace

namespace null_driver {

bool Use() {
    std::string error;
    if (!SelectDriver("null", &error)) {
        std::fprintf(stderr, "null_driver::Use: %s\n", error.c_str());
        return false;
    }
    return true;
}

void Reset() {
    NullState& s = State();
    s.boxes.clear();
    s.answers.clear();
    s.idle = nullptr;
    s.workArea = kWholeScreen;
}

void QueueMessageBoxAnswer(int answer) {
    State().answers.push_back(answer);
}

const std::vector<MessageBoxRecord>& MessageBoxes() {
    return State().boxes;
}

void SetIdleHandler(std::function<void()> handler) {
    State().idle = std::move(handler);
}

int PumpMessages() {
    int count = 0;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        DispatchOne(msg);
        ++count;
    }
    return count;
}

bool Click(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    if (control == nullptr) {
        return false;
    }
    PostButtonClick(control);
    return true;
}

bool PressKey(HWND dialog, UINT vk, bool shift) {
    Window* w = FindWindowData(dialog);
    if (w == nullptr) {
        return false;
    }
    PostKey(w->focus != nullptr ? w->focus : dialog, vk, shift);
    return true;
}

bool FireTimer(HWND hwnd, UINT_PTR id) {
    if (!HasTimer(hwnd, id)) {
        return false;
    }
    TimerElapsed(hwnd, id);
    return true;
}

int FireTimers() {
    const auto timers = State().timers;
    for (const auto& t : timers) {
        TimerElapsed(t.first, t.second);
    }
    return static_cast<int>(timers.size());
}

bool HasTimer(HWND hwnd, UINT_PTR id) {
    for (const auto& t : State().timers) {
        if (t.first == hwnd && t.second == id) {
            return true;
        }
    }
    return false;
}

std::vector<MenuEntry> SystemMenu(HWND window) {
    std::vector<MenuEntry> entries;
    Window* w = FindWindowData(window);
    if (w == nullptr || w->systemMenu == nullptr) {
        return entries;
    }
    if (const auto* items = MenuItems(w->systemMenu)) {
        for (const MenuItem& item : *items) {
            entries.push_back(MenuEntry{static_cast<UINT>(item.id), item.flags, item.text});
        }
    }
    return entries;
}

bool ChooseSystemMenuItem(HWND window, UINT id) {
    for (const MenuEntry& e : SystemMenu(window)) {
        if (e.id == id && (e.flags & MF_SEPARATOR) == 0) {
            if ((e.flags & (MF_GRAYED | MF_DISABLED)) != 0 || !AcceptsInput(window)) {
                return true;  // shown, but choosing it does nothing
            }
            PostSystemCommand(window, id);
            return true;
        }
    }
    return false;
}

void SetWorkArea(const RECT& area) {
    State().workArea = area;
}

RECT Placement(HWND window) {
    Window* w = FindWindowData(window);
    return w != nullptr ? w->rect : RECT{0, 0, 0, 0};
}

bool SetIconic(HWND window, bool iconic) {
    Window* w = FindWindowData(window);
    if (w == nullptr || w->parent != nullptr) {
        return false;
    }
    SetIconicState(window, iconic);
    return true;
}

std::int64_t Pixel(HWND window, int x, int y) {
    Window* w = FindWindowData(window);
    if (w == nullptr || x < 0 || y < 0 || x >= w->surface.width || y >= w->surface.height) {
        return -1;
    }
    return w->surface.Row(y)[x];
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> tops;
    for (HWND h : AllWindows()) {
        Window* w = FindWindowData(h);
        if (w != nullptr && w->parent == nullptr) {
            tops.push_back(h);
        }
    }
    return tops;
}

}  // namespace null_driver
