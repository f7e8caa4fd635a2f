// Window calls: destroying, showing, enabling, focus, texts, window data,
// DefWindowProc, and the user's input that drivers report.
//
// Stands in for the window part of USER32 for dialogs and their controls.
// Windows have no non-client area of their own here: a top-level window's
// rectangle is its client area on the screen, and the driver adds the frame.
//
// Limits: no window classes besides dialogs, "BUTTON" (push buttons) and
// "STATIC"; no z-order, moving or resizing.
#include "window_api.h"

#include "driver.h"
#include "menus.h"
#include "message_queue.h"
#include "timers.h"
#include "window.h"

namespace win32core {

namespace {

HWND g_focus = nullptr;

void InvalidateTree(Window& w) {
    InvalidateRect(w.handle, nullptr, TRUE);
    for (HWND child : w.children) {
        Window* c = FindWindowData(child);
        if (c != nullptr && c->visible) {
            InvalidateRect(child, nullptr, TRUE);
        }
    }
}

}  // namespace

void NoteFocus(HWND control) {
    Window* w = FindWindowData(control);
    if (w == nullptr) {
        return;
    }
    g_focus = control;
    // A dialog that has the focus itself has no focused control.
    Window* top = TopLevelOf(w);
    if (top != nullptr) {
        top->focus = top != w ? control : nullptr;
    }
}

void SetIconicState(HWND window, bool iconic) {
    Window* w = FindWindowData(window);
    if (w == nullptr || w->iconic == iconic) {
        return;
    }
    w->iconic = iconic;
    // Windows repaints a window when it is minimised or restored.
    InvalidateRect(window, nullptr, TRUE);
}

void PostButtonClick(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

void PostKey(HWND target, UINT vk, bool shift) {
    PostMessageA(target, WM_KEYDOWN, vk, shift ? kShiftDown : 0);
}

void PostSystemCommand(HWND window, UINT id) {
    PostMessageA(window, WM_SYSCOMMAND, id, 0);
}

}  // namespace win32core

using namespace win32core;

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    Window* w = FindWindowData(hWnd);
    return w != nullptr && w->enabled ? TRUE : FALSE;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr) {
        return FALSE;
    }
    const BOOL wasDisabled = w->enabled ? FALSE : TRUE;
    const bool enable = bEnable != FALSE;
    if (w->enabled != enable) {
        w->enabled = enable;
        if (!enable && g_focus == hWnd) {
            // A disabled window cannot keep the focus; no control has it now
            // (GTK, too, takes the focus from an insensitive widget).
            g_focus = nullptr;
            Window* top = TopLevelOf(w);
            if (top != nullptr && top->focus == hWnd) {
                top->focus = nullptr;
            }
        }
        if (WindowDriver* d = Driver()) {
            d->EnablePeer(*w, enable);
        }
        SendMessageA(hWnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    }
    return wasDisabled;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    Window* w = FindWindowData(hWnd);
    WindowDriver* d = Driver();
    if (w == nullptr || d == nullptr) {
        return FALSE;
    }
    const BOOL wasVisible = w->visible ? TRUE : FALSE;
    switch (nCmdShow) {
        case SW_HIDE:
            if (w->visible) {
                w->visible = false;
                d->ShowPeer(*w, false);
            }
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            if (!w->visible) {
                w->visible = true;
                d->ShowPeer(*w, true);
            }
            d->Minimize(*w, true);
            SetIconicState(hWnd, true);
            break;
        case SW_RESTORE:
            d->Minimize(*w, false);
            SetIconicState(hWnd, false);
            [[fallthrough]];
        default:
            if (!w->visible) {
                w->visible = true;
                d->ShowPeer(*w, true);
                InvalidateTree(*w);
            }
            break;
    }
    return wasVisible;
}

BOOL WINAPI IsIconic(HWND hWnd) {
    Window* w = FindWindowData(hWnd);
    return w != nullptr && w->iconic ? TRUE : FALSE;
}

HWND WINAPI GetParent(HWND hWnd) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr) {
        return nullptr;
    }
    // As on Windows, a pop-up's "parent" is its owner.
    return w->parent != nullptr ? w->parent : w->owner;
}

HWND WINAPI SetFocus(HWND hWnd) {
    HWND previous = g_focus;
    Window* w = FindWindowData(hWnd);
    if (w == nullptr) {
        return previous;
    }
    NoteFocus(hWnd);
    if (WindowDriver* d = Driver()) {
        d->FocusPeer(*w);
    }
    return previous;
}

HWND WINAPI GetFocus(void) {
    return FindWindowData(g_focus) != nullptr ? g_focus : nullptr;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr || lpRect == nullptr) {
        return FALSE;
    }
    *lpRect = ClientRect(*w);
    return TRUE;
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr || lpString == nullptr || nMaxCount <= 0) {
        return 0;
    }
    const int n = static_cast<int>(w->text.size()) < nMaxCount - 1
                      ? static_cast<int>(w->text.size())
                      : nMaxCount - 1;
    w->text.copy(lpString, n);
    lpString[n] = '\0';
    return n;
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr) {
        return FALSE;
    }
    w->text = lpString != nullptr ? lpString : "";
    if (WindowDriver* d = Driver()) {
        d->TextChanged(*w);
    }
    return TRUE;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr) {
        return 0;
    }
    const bool dialog = w->kind == WindowKind::Dialog;
    switch (nIndex) {
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(w->proc);
        case GWLP_USERDATA:
            return w->userData;
        case GWLP_ID:
            return w->id;
        case GWL_STYLE:
            return static_cast<LONG_PTR>(w->style);
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(w->exStyle);
        case DWLP_MSGRESULT:
            return dialog ? w->msgResult : 0;
        case DWLP_DLGPROC:
            return dialog ? reinterpret_cast<LONG_PTR>(w->dlgProc) : 0;
        case DWLP_USER:
            return dialog ? w->dlgUser : 0;
        default:
            return 0;
    }
}

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) {
    return static_cast<LONG>(GetWindowLongPtrA(hWnd, nIndex));
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr) {
        return 0;
    }
    const LONG_PTR previous = GetWindowLongPtrA(hWnd, nIndex);
    const bool dialog = w->kind == WindowKind::Dialog;
    switch (nIndex) {
        case GWLP_WNDPROC:
            w->proc = reinterpret_cast<WNDPROC>(dwNewLong);
            break;
        case GWLP_USERDATA:
            w->userData = dwNewLong;
            break;
        case GWLP_ID:
            w->id = static_cast<int>(dwNewLong);
            break;
        case DWLP_MSGRESULT:
            if (dialog) {
                w->msgResult = dwNewLong;
            }
            break;
        case DWLP_DLGPROC:
            if (dialog) {
                w->dlgProc = reinterpret_cast<DLGPROC>(dwNewLong);
            }
            break;
        case DWLP_USER:
            if (dialog) {
                w->dlgUser = dwNewLong;
            }
            break;
        default:
            return 0;
    }
    return previous;
}

LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam,
                               LPARAM lParam) {
    return lpPrevWndFunc != nullptr ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr) {
        return FALSE;
    }
    // Owned windows go first, as on Windows.
    for (HWND other : AllWindows()) {
        Window* o = FindWindowData(other);
        if (o != nullptr && o->owner == hWnd) {
            DestroyWindow(other);
        }
    }
    SendMessageA(hWnd, WM_DESTROY, 0, 0);
    w = FindWindowData(hWnd);
    if (w == nullptr) {
        return TRUE;
    }
    const std::vector<HWND> children = w->children;
    for (HWND child : children) {
        DestroyWindow(child);
    }
    w = FindWindowData(hWnd);
    if (w == nullptr) {
        return TRUE;
    }
    RemoveTimersOf(hWnd);
    if (WindowDriver* d = Driver()) {
        d->DestroyPeer(*w);
    }
    if (w->systemMenu != nullptr) {
        DestroySystemMenu(w->systemMenu);
        w->systemMenu = nullptr;
    }
    if (Window* parent = FindWindowData(w->parent)) {
        auto& siblings = parent->children;
        for (auto it = siblings.begin(); it != siblings.end(); ++it) {
            if (*it == hWnd) {
                siblings.erase(it);
                break;
            }
        }
        if (parent->focus == hWnd) {
            parent->focus = nullptr;
        }
    }
    if (g_focus == hWnd) {
        g_focus = nullptr;
    }
    SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
    RemovePostedMessagesOf(hWnd);
    ForgetWindow(hWnd);
    return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr) {
        return 0;
    }
    switch (Msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hWnd, &ps);
            EndPaint(hWnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
        case WM_ICONERASEBKGND: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            RECT client = ClientRect(*w);
            if (WindowFromDC(dc) != hWnd) {
                return 0;
            }
            w->surface.FillRect(client, kButtonFace);
            if (WindowDriver* d = Driver()) {
                d->SurfaceChanged(*w, client);
            }
            return 1;
        }
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    SendMessageA(hWnd, WM_CLOSE, 0, 0);
                    break;
                case SC_MINIMIZE:
                    ShowWindow(hWnd, SW_MINIMIZE);
                    break;
                case SC_RESTORE:
                    ShowWindow(hWnd, SW_RESTORE);
                    break;
                default:
                    break;
            }
            return 0;
        case WM_CLOSE:
            DestroyWindow(hWnd);
            return 0;
        case WM_SETICON: {
            HICON icon = reinterpret_cast<HICON>(lParam);
            HICON& slot = wParam == ICON_BIG ? w->bigIcon : w->smallIcon;
            HICON previous = slot;
            slot = icon;
            if (WindowDriver* d = Driver()) {
                d->IconChanged(*w);
            }
            return reinterpret_cast<LRESULT>(previous);
        }
        case WM_GETICON:
            return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? w->bigIcon : w->smallIcon);
        case WM_SETTEXT:
            return SetWindowTextA(hWnd, reinterpret_cast<LPCSTR>(lParam));
        case WM_GETTEXT:
            return GetWindowTextA(hWnd, reinterpret_cast<LPSTR>(lParam), static_cast<int>(wParam));
        default:
            return 0;
    }
}
