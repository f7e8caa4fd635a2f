// MessageBoxA: a modal box with a text, a caption and OK or Yes/No buttons.
//
// Stands in for USER32's message box. The core lays the box out (see
// message_box_layout.h); the driver shows it as laid out (a GTK window, or the
// null driver's script) and runs a nested message loop while it waits, so
// timers and paints of other windows go on. An owner window is disabled while
// the box is open, as on Windows; with no owner nothing is.
//
// Limits: the button sets MB_OK, MB_OKCANCEL, MB_YESNO and MB_YESNOCANCEL
// (others show OK); the MB_ICON kinds are the GTK theme's dialog icons.
#include "driver.h"
#include "text_codec.h"
#include "window.h"

using namespace win32core;

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    WindowDriver* driver = Driver();
    if (driver == nullptr) {
        return 0;
    }
    // Windows shows "Error" when the caption is NULL.
    const std::string text = lpText != nullptr ? lpText : "";
    const std::string caption = lpCaption != nullptr ? lpCaption : "Error";
    Window* owner = FindWindowData(hWnd);
    Window* top = TopLevelOf(owner);
    const bool ownerShows = top != nullptr && top->visible && !top->iconic;
    const MessageBoxLayout layout =
        LayoutMessageBox(Cp932ToUtf8(text), Cp932ToUtf8(caption), uType, driver->MessageBoxFonts(),
                         driver->WorkArea(), ownerShows ? &top->rect : nullptr);
    const bool disableOwner = top != nullptr && top->enabled;
    if (disableOwner) {
        EnableWindow(top->handle, FALSE);
    }
    const int answer =
        driver->MessageBox(top != nullptr ? top->handle : nullptr, text, caption, uType, layout);
    if (disableOwner && IsWindow(top->handle)) {
        EnableWindow(top->handle, TRUE);
    }
    return answer;
}
