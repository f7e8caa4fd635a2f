// The system menu: GetSystemMenu and AppendMenuA.
//
// Stands in for the window menu of a dialog. Linux desktops have no window
// menu that an application can extend, so the drivers show this menu as a
// popup of their own (the gtk driver on a right click in the dialog and on
// Shift+F10); choosing an entry sends WM_SYSCOMMAND with its id. A dialog with
// WS_SYSMENU starts with one entry, "Close" (SC_CLOSE).
//
// Limits: only system menus exist; entries are strings and separators (no
// pop-ups, bitmaps or owner-drawn entries) and are only ever appended.
#include "menus.h"

#include "handle_table.h"
#include "window.h"

namespace win32core {

namespace {

using Menu = std::vector<MenuItem>;

HandleTable<Menu>& Menus() {
    static HandleTable<Menu> table(0x30000);
    return table;
}

Menu* Find(HMENU menu) {
    return Menus().Find(menu);
}

std::vector<MenuItem> DefaultSystemMenu() {
    return {MenuItem{MF_STRING, SC_CLOSE, "&Close"}};
}

}  // namespace

const std::vector<MenuItem>* MenuItems(HMENU menu) {
    return Find(menu);
}

void DestroySystemMenu(HMENU menu) {
    Menus().Erase(menu);
}

}  // namespace win32core

using namespace win32core;

HMENU WINAPI GetSystemMenu(HWND hWnd, BOOL bRevert) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr || (w->style & WS_SYSMENU) == 0) {
        return nullptr;
    }
    if (w->systemMenu == nullptr) {
        w->systemMenu = Menus().Add<HMENU>(std::make_unique<Menu>(DefaultSystemMenu()));
    }
    if (bRevert) {
        *Find(w->systemMenu) = DefaultSystemMenu();
        return nullptr;  // Windows returns NULL when it reverts the menu
    }
    return w->systemMenu;
}

BOOL WINAPI AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    std::vector<MenuItem>* items = Find(hMenu);
    if (items == nullptr || (uFlags & MF_POPUP) != 0) {
        return FALSE;
    }
    if ((uFlags & MF_SEPARATOR) != 0) {
        items->push_back(MenuItem{uFlags, 0, ""});
        return TRUE;
    }
    if (lpNewItem == nullptr) {
        return FALSE;
    }
    items->push_back(MenuItem{uFlags, uIDNewItem, lpNewItem});
    return TRUE;
}
