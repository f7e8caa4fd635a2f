// The window procedures of the predefined controls: push buttons and statics.
//
// Stands in for USER32's "BUTTON" and "STATIC" classes. A push button turns
// a click into WM_COMMAND with BN_CLICKED to its dialog; a static paints its
// frame, rectangle or icon into its surface, and leaves text to the driver's
// native label.
//
// Limits: push buttons only (no check boxes or radio buttons); statics of the
// kinds SS_BLACKFRAME, SS_BLACKRECT, SS_ICON and text.
#include "controls.h"

#include "driver.h"
#include "window.h"

namespace win32core {

namespace {

constexpr std::uint32_t kBlack = 0x000000;

void PaintStatic(Window& w, HDC dc) {
    const RECT client = ClientRect(w);
    w.surface.FillRect(client, kButtonFace);
    switch (w.style & SS_TYPEMASK) {
        case SS_BLACKFRAME:
            w.surface.FillRect(RECT{0, 0, client.right, 1}, kBlack);
            w.surface.FillRect(RECT{0, client.bottom - 1, client.right, client.bottom}, kBlack);
            w.surface.FillRect(RECT{0, 0, 1, client.bottom}, kBlack);
            w.surface.FillRect(RECT{client.right - 1, 0, client.right, client.bottom}, kBlack);
            break;
        case SS_BLACKRECT:
            w.surface.FillRect(client, kBlack);
            break;
        case SS_ICON:
            if (w.staticIcon != nullptr) {
                DrawIcon(dc, 0, 0, w.staticIcon);
            }
            break;
        default:
            break;  // text is drawn by the driver's native label
    }
    if (WindowDriver* d = Driver()) {
        d->SurfaceChanged(w, client);
    }
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == BM_CLICK) {
        // A disabled button, or one in a disabled dialog, ignores clicks.
        Window* w = FindWindowData(hwnd);
        if (w == nullptr || !AcceptsInput(hwnd) || !w->visible) {
            return 0;
        }
        SetFocus(hwnd);
        SendMessageA(w->parent, WM_COMMAND, MAKEWPARAM(w->id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        Window* w = FindWindowData(hwnd);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (w != nullptr && dc != nullptr) {
            PaintStatic(*w, dc);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace win32core
