// Internal state of the window layer's core: windows, surfaces, the queue.
//
// Stands in for what USER32 keeps per window and per thread. The core owns
// every behaviour of the window API (dialog manager, message queue, timers,
// painting, menus, icons); drivers only mirror windows natively and feed input
// back through the functions at the end of this file.
//
// Limits: one user-interface thread; nothing here is locked.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace win32core {

// Client-area pixels of a window, 0x00RRGGBB per pixel, row 0 at the top.
struct Surface {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    void Resize(int w, int h);
    std::uint32_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
    void FillRect(const RECT& r, std::uint32_t rgb);
};

enum class WindowKind { Dialog, Button, Static };

struct Window {
    HWND handle = nullptr;
    WindowKind kind = WindowKind::Dialog;
    HWND parent = nullptr;  // child controls: their dialog
    HWND owner = nullptr;   // top-level windows: the window they belong to
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string text;  // code page 932
    RECT rect{};       // children: in the parent's client area; top-level: on the screen
    bool enabled = true;
    bool visible = false;
    bool iconic = false;
    WNDPROC proc = nullptr;
    LONG_PTR userData = 0;

    // Dialogs.
    DLGPROC dlgProc = nullptr;
    LONG_PTR msgResult = 0;
    LONG_PTR dlgUser = 0;
    bool ended = false;
    INT_PTR result = 0;
    std::string fontFace;  // code page 932, as in the template
    int fontPoints = 0;
    std::vector<HWND> children;  // in template order, which is also the tab order
    HWND focus = nullptr;

    // Painting.
    Surface surface;
    bool needsPaint = false;
    bool erase = false;
    RECT update{};

    HMENU systemMenu = nullptr;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    HICON staticIcon = nullptr;  // SS_ICON statics

    void* driverData = nullptr;
};

// Window table. Handles are never reused, so a stale handle finds nothing.
Window* FindWindowData(HWND hwnd);
Window& NewWindow(WindowKind kind);
void ForgetWindow(HWND hwnd);
std::vector<HWND> AllWindows();  // in creation order

Window* TopLevelOf(Window* w);
bool AcceptsInput(HWND hwnd);  // enabled, and its top-level window too
RECT ClientRect(const Window& w);

// Message queue. GetMessage returns FALSE with this wParam when the driver
// can never deliver anything more (the null driver with nothing scripted).
constexpr WPARAM kNothingCanArrive = static_cast<WPARAM>(-1);
// Dispatches one message as a modal loop does: keys and everything else of a
// dialog through IsDialogMessage, other messages straight to their window.
void DispatchOne(const MSG& msg);
bool HasQueuedWork();
void WakeUp();  // makes a waiting GetMessage look again
void RemoveTimersOf(HWND hwnd);
void RemovePostedMessagesOf(HWND hwnd);

// Pops the next timer tick that is due, if any (WM_TIMER for msg).
bool TakeTimerMessage(MSG* msg, bool remove);
void TimerElapsed(HWND hwnd, UINT_PTR id);  // drivers: the period has passed

// Painting.
bool TakePaintMessage(MSG* msg);
void PaintStatic(Window& w, HDC dc);

// Dialog manager.
HWND CreateDialogFromTemplate(WORD templateId, HWND owner, DLGPROC proc, LPARAM param);
INT_PTR RunModalLoop(HWND dialog);
bool IsDialogWindow(HWND hwnd);

// Drivers: input. All of them go through the queue, never straight into a
// window procedure, so that handlers run one at a time from the loop.
void PostButtonClick(HWND button);
// Keys arrive as WM_KEYDOWN; with shift, kShiftDown is set in lParam (our
// own flag, in the bits that carry the scan code on Windows).
constexpr LPARAM kShiftDown = 0x00010000;
void PostKey(HWND target, UINT vk, bool shift = false);
void PostSystemCommand(HWND window, UINT id);
void SetIconicState(HWND window, bool iconic);
void NoteFocus(HWND control);  // the native focus moved (to a dialog itself: to no control)

// Menus: the entries of a menu, in order; nullptr for no such menu.
struct MenuItem {
    UINT flags;
    UINT_PTR id;
    std::string text;  // code page 932
};
const std::vector<MenuItem>* MenuItems(HMENU menu);
void DestroySystemMenu(HMENU menu);

// Dialog units to pixels: a 7 x 12 pixel base unit (the template font's
// average character), so x = units * 7 / 4 and y = units * 12 / 8, rounded as
// MulDiv rounds.
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);

// The installed font family that stands in for a template's Windows font
// (code page 932 name); an unknown face gives the default "Sans".
std::string SubstituteFont(const std::string& windowsFace);

// Window procedures of the predefined controls.
LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Icons: the image of an icon nearest to size x size, as 0xAARRGGBB with
// alpha 0 or 255, row 0 at the top; nullptr for no icon.
struct IconBitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};
const IconBitmap* IconBitmapOf(HICON icon, int size);

// Helpers shared by the parts of the core.
constexpr std::uint32_t kButtonFace = 0xF0F0F0;  // COLOR_BTNFACE

}  // namespace win32core
