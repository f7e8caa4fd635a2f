// The dialog manager: dialogs built from templates, modal loops, EndDialog,
// the default dialog procedure, and a dialog's controls and units.
//
// Stands in for USER32's DialogBoxParam, CreateDialogParam, EndDialog,
// DefDlgProc, GetDlgItem, GetDlgCtrlID and MapDialogRect. A dialog is built
// from its template (found by id among the program's linked resources): the
// window with the template's caption, style and client size, then the controls
// in template order, which is also the tab order. WM_INITDIALOG runs before the
// dialog shows; a dialog ended inside it never shows. A template at (0, 0) is
// centred over its owner, or in the screen's work area (the screen without
// panels and docks) when it has none or the owner is hidden or minimised (what
// the application framework does for such templates). A modal loop disables the
// owner, dispatches every message of the thread (so the owner's timers and
// paints go on) and destroys the dialog and its timers before it returns.
//
// Limits: templates are found by numeric id only; no DS_CONTROL dialogs, no
// dialog menus, no WM_SETFONT/WM_GETDLGCODE protocol.
#include "dialog_manager.h"

#include "controls.h"
#include "dialog_units.h"
#include "driver.h"
#include "window.h"

#include "platform/centred_place.h"
#include "platform/win32/resource_module.h"

namespace win32core {

namespace {

RECT CentredRect(const Window* owner, int width, int height) {
    RECT work{0, 0, 1024, 768};
    if (WindowDriver* d = Driver()) {
        work = d->WorkArea();
    }
    const RECT area = owner != nullptr && owner->visible && !owner->iconic ? owner->rect : work;
    const POINT place = CentredPlace(area, work, width, height);
    return RECT{place.x, place.y, place.x + width, place.y + height};
}

void AddControl(Window& dialog, const win32res::ControlTemplate& t) {
    const bool button = t.windowClass == win32res::ControlClass::Button;
    Window& c = NewWindow(button ? WindowKind::Button : WindowKind::Static);
    c.parent = dialog.handle;
    c.id = t.id;
    c.style = t.style | WS_CHILD;
    c.exStyle = t.exStyle;
    c.text = t.text != nullptr ? t.text : "";
    const int x = DialogUnitsToPixelsX(t.x);
    const int y = DialogUnitsToPixelsY(t.y);
    c.rect = RECT{x, y, x + DialogUnitsToPixelsX(t.cx), y + DialogUnitsToPixelsY(t.cy)};
    c.visible = (t.style & WS_VISIBLE) != 0;
    c.enabled = (t.style & WS_DISABLED) == 0;
    c.proc = button ? ButtonProc : StaticProc;
    if (!button && (t.style & SS_TYPEMASK) == SS_ICON && t.iconId != 0) {
        c.staticIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(t.iconId));
        // An icon static takes the icon's size, as on Windows.
        c.rect.right = c.rect.left + GetSystemMetrics(SM_CXICON);
        c.rect.bottom = c.rect.top + GetSystemMetrics(SM_CYICON);
    }
    c.surface.Resize(c.rect.right - c.rect.left, c.rect.bottom - c.rect.top);
    dialog.children.push_back(c.handle);
}

HWND FirstTabStop(const Window& dialog) {
    for (HWND child : dialog.children) {
        Window* c = FindWindowData(child);
        if (c != nullptr && (c->style & WS_TABSTOP) != 0 && c->visible && c->enabled) {
            return child;
        }
    }
    return nullptr;
}

HWND CancelButton(HWND dialog) {
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    Window* c = FindWindowData(cancel);
    return c != nullptr && c->kind == WindowKind::Button ? cancel : nullptr;
}

HWND CreateDialogFromTemplate(WORD templateId, HWND owner, DLGPROC proc, LPARAM param) {
    WindowDriver* driver = Driver();
    const win32res::DialogTemplate* t = win32res::FindDialogTemplate(templateId);
    if (driver == nullptr || t == nullptr) {
        return nullptr;
    }
    Window* ownerWindow = TopLevelOf(FindWindowData(owner));
    Window& d = NewWindow(WindowKind::Dialog);
    const HWND hwnd = d.handle;
    d.owner = ownerWindow != nullptr ? ownerWindow->handle : nullptr;
    d.id = t->id;
    d.style = t->style;
    d.exStyle = t->exStyle;
    d.text = t->caption != nullptr ? t->caption : "";
    d.fontFace = t->typeface != nullptr ? t->typeface : "";
    d.fontPoints = t->pointSize;
    d.enabled = (t->style & WS_DISABLED) == 0;
    d.proc = DefDlgProcA;
    d.dlgProc = proc;
    const int width = DialogUnitsToPixelsX(t->cx);
    const int height = DialogUnitsToPixelsY(t->cy);
    if ((t->x == 0 && t->y == 0) || (t->style & DS_CENTER) != 0) {
        d.rect = CentredRect(ownerWindow, width, height);
    } else {
        const RECT base = ownerWindow != nullptr ? ownerWindow->rect : RECT{0, 0, 0, 0};
        const int left = base.left + DialogUnitsToPixelsX(t->x);
        const int top = base.top + DialogUnitsToPixelsY(t->y);
        d.rect = RECT{left, top, left + width, top + height};
    }
    d.surface.Resize(width, height);
    for (int i = 0; i < t->controlCount; ++i) {
        AddControl(d, t->controls[i]);
    }
    if ((t->style & WS_SYSMENU) != 0) {
        GetSystemMenu(hwnd, TRUE);  // builds the default system menu
    }
    driver->CreatePeer(d);

    const HWND first = FirstTabStop(d);
    if (SendMessageA(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) != 0 &&
        first != nullptr && IsWindow(first)) {
        SetFocus(first);
    }
    Window* after = FindWindowData(hwnd);
    if (after == nullptr) {
        return nullptr;  // destroyed inside WM_INITDIALOG
    }
    if ((after->style & WS_VISIBLE) != 0 && !after->ended) {
        ShowWindow(hwnd, SW_SHOW);
    }
    return hwnd;
}

INT_PTR RunModalLoop(HWND dialog) {
    Window* w = FindWindowData(dialog);
    if (w == nullptr) {
        return -1;
    }
    if (!w->ended) {
        ShowWindow(dialog, SW_SHOW);
    }
    const bool ended = RunNestedLoop([dialog] {
        Window* d = FindWindowData(dialog);
        return d == nullptr || d->ended;
    });
    w = FindWindowData(dialog);
    return ended && w != nullptr ? w->result : -1;
}

}  // namespace

void DispatchOne(const MSG& msg) {
    MSG copy = msg;
    Window* top = TopLevelOf(FindWindowData(msg.hwnd));
    if (top == nullptr || top->kind != WindowKind::Dialog ||
        !IsDialogMessageA(top->handle, &copy)) {
        TranslateMessage(&copy);
        DispatchMessageA(&copy);
    }
}

}  // namespace win32core

using namespace win32core;

HWND WINAPI CreateDialogParamA(HINSTANCE, LPCSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    if (!IS_INTRESOURCE(lpTemplateName)) {
        return nullptr;
    }
    const WORD id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(lpTemplateName));
    return CreateDialogFromTemplate(id, hWndParent, lpDialogFunc, dwInitParam);
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    Window* owner = TopLevelOf(FindWindowData(hWndParent));
    const HWND ownerHandle = owner != nullptr ? owner->handle : nullptr;
    const bool disableOwner = owner != nullptr && owner->enabled;
    if (disableOwner) {
        EnableWindow(ownerHandle, FALSE);
    }
    INT_PTR result = -1;
    HWND dialog =
        CreateDialogParamA(hInstance, lpTemplateName, ownerHandle, lpDialogFunc, dwInitParam);
    if (dialog != nullptr) {
        result = RunModalLoop(dialog);
    }
    // The owner is enabled again before the dialog goes, as on Windows.
    if (disableOwner && IsWindow(ownerHandle)) {
        EnableWindow(ownerHandle, TRUE);
    }
    if (dialog != nullptr) {
        DestroyWindow(dialog);
    }
    return result;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    Window* w = FindWindowData(hDlg);
    if (w == nullptr || w->kind != WindowKind::Dialog) {
        return FALSE;
    }
    w->ended = true;
    w->result = nResult;
    if (w->visible) {
        ShowWindow(hDlg, SW_HIDE);
    }
    WakeUp();
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    Window* w = FindWindowData(hDlg);
    if (w == nullptr) {
        return nullptr;
    }
    for (HWND child : w->children) {
        Window* c = FindWindowData(child);
        if (c != nullptr && c->id == nIDDlgItem) {
            return child;
        }
    }
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
    Window* w = FindWindowData(hWnd);
    return w != nullptr && w->parent != nullptr ? w->id : 0;
}

LRESULT CALLBACK DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindowData(hDlg);
    if (w == nullptr) {
        return 0;
    }
    if (w->dlgProc != nullptr) {
        w->msgResult = 0;
        const INT_PTR handled = w->dlgProc(hDlg, Msg, wParam, lParam);
        // These messages return the dialog procedure's own result.
        if (Msg == WM_INITDIALOG || Msg == WM_QUERYDRAGICON) {
            return handled;
        }
        if (handled != 0) {
            w = FindWindowData(hDlg);
            return w != nullptr ? w->msgResult : 0;
        }
        if (FindWindowData(hDlg) == nullptr) {
            return 0;
        }
    }
    switch (Msg) {
        case WM_INITDIALOG:
            return TRUE;  // focus the first tab stop
        case WM_CLOSE: {
            // Closing a dialog is its Cancel button, unless that is disabled.
            HWND cancel = CancelButton(hDlg);
            if (cancel == nullptr || IsWindowEnabled(cancel)) {
                PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                             reinterpret_cast<LPARAM>(cancel));
            }
            return 0;
        }
        case DM_GETDEFID:
            for (HWND child : w->children) {
                Window* c = FindWindowData(child);
                if (c != nullptr && c->kind == WindowKind::Button &&
                    (c->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                    return MAKELONG(c->id, DC_HASDEFID);
                }
            }
            return 0;
        default:
            return DefWindowProcA(hDlg, Msg, wParam, lParam);
    }
}

BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
    if (FindWindowData(hDlg) == nullptr || lpRect == nullptr) {
        return FALSE;
    }
    lpRect->left = DialogUnitsToPixelsX(lpRect->left);
    lpRect->right = DialogUnitsToPixelsX(lpRect->right);
    lpRect->top = DialogUnitsToPixelsY(lpRect->top);
    lpRect->bottom = DialogUnitsToPixelsY(lpRect->bottom);
    return TRUE;
}
