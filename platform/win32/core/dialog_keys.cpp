// IsDialogMessage: the dialog keyboard interface.
//
// Stands in for the dialog manager's keys: Tab moves the focus to the next
// tab stop in template order (Shift+Tab to the previous one); Enter and Space activate the focused
// push button; Enter with no push button focused sends the default button's id, or IDOK when there
// is none; Esc sends IDCANCEL (not when the Cancel button is disabled). Keys reach only a dialog
// that accepts input.
//
// Limits: no arrow keys, no mnemonics.
#include "window.h"
#include "window_api.h"

namespace win32core {

namespace {

bool IsPushButton(const Window* w) {
    return w != nullptr && w->kind == WindowKind::Button;
}

void SendCommand(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (control != nullptr && !AcceptsInput(control)) {
        return;  // a disabled button is not pressed by keys either
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

void FocusNextTabStop(Window& dialog, bool backwards) {
    const auto& children = dialog.children;
    const int count = static_cast<int>(children.size());
    int start = -1;
    for (int i = 0; i < count; ++i) {
        if (children[i] == dialog.focus) {
            start = i;
        }
    }
    if (start < 0 && backwards) {
        start = 0;
    }
    for (int step = 1; step <= count; ++step) {
        const int index = backwards ? start - step : start + step;
        HWND candidate = children[((index % count) + count) % count];
        Window* c = FindWindowData(candidate);
        if (c != nullptr && (c->style & WS_TABSTOP) != 0 && c->visible && c->enabled) {
            SetFocus(candidate);
            return;
        }
    }
}

void HandleKey(Window& dialog, UINT vk, bool shift) {
    const HWND hDlg = dialog.handle;
    Window* focus = FindWindowData(dialog.focus);
    switch (vk) {
        case VK_ESCAPE:
            SendCommand(hDlg, IDCANCEL);
            break;
        case VK_RETURN:
            if (IsPushButton(focus)) {
                SendMessageA(focus->handle, BM_CLICK, 0, 0);
            } else {
                const LRESULT def = SendMessageA(hDlg, DM_GETDEFID, 0, 0);
                SendCommand(hDlg, HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK);
            }
            break;
        case VK_SPACE:
            if (IsPushButton(focus)) {
                SendMessageA(focus->handle, BM_CLICK, 0, 0);
            }
            break;
        case VK_TAB:
            FocusNextTabStop(dialog, shift);
            break;
        default:
            break;
    }
}

}  // namespace

}  // namespace win32core

using namespace win32core;

BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
    Window* dialog = FindWindowData(hDlg);
    if (dialog == nullptr || lpMsg == nullptr) {
        return FALSE;
    }
    Window* target = FindWindowData(lpMsg->hwnd);
    if (target == nullptr || TopLevelOf(target) != dialog) {
        return FALSE;
    }
    if (lpMsg->message == WM_KEYDOWN) {
        if (AcceptsInput(hDlg)) {
            HandleKey(*dialog, static_cast<UINT>(lpMsg->wParam), (lpMsg->lParam & kShiftDown) != 0);
        }
        return TRUE;
    }
    DispatchMessageA(lpMsg);
    return TRUE;
}
