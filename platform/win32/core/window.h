// Windows and their table: what the core keeps per window, found by HWND.
//
// Stands in for what USER32 keeps per window. The area at the bottom of the
// core above text, units and resources: it knows no other area, and offers
// the record of a window, the table of handles and the calls that only read a
// window or hand a message to its procedure (IsWindow, IsWindowVisible,
// SendMessageA).
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

// Handles are never reused, so a stale handle finds nothing.
Window* FindWindowData(HWND hwnd);
Window& NewWindow(WindowKind kind);
void ForgetWindow(HWND hwnd);
std::vector<HWND> AllWindows();  // in creation order
// The first window, in creation order, that `wanted` accepts; walks the table
// without copying it, for lookups made on every message. `wanted` must not
// make or destroy windows.
Window* FirstWindowWhere(bool (*wanted)(const Window&));

Window* TopLevelOf(Window* w);
bool AcceptsInput(HWND hwnd);  // enabled, and its top-level window too
RECT ClientRect(const Window& w);

// The colour of a window's background before anything paints it.
constexpr std::uint32_t kButtonFace = 0xF0F0F0;  // COLOR_BTNFACE

}  // namespace win32core
