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
#include <map>
#include <memory>

#include "core.h"

namespace win32core {

namespace {

struct MenuTable {
    std::uintptr_t next = 0x30000;
    std::map<std::uintptr_t, std::vector<MenuItem>> menus;
};

MenuTable& Menus() {
    static MenuTable table;
    return table;
}

std::vector<MenuItem>* Find(HMENU menu) {
    auto it = Menus().menus.find(reinterpret_cast<std::uintptr_t>(menu));
    return it == Menus().menus.end() ? nullptr : &it->second;
}

std::vector<MenuItem> DefaultSystemMenu() {
    return {MenuItem{MF_STRING, SC_CLOSE, "&Close"}};
}

}  // namespace

const std::vector<MenuItem>* MenuItems(HMENU menu) {
    return Find(menu);
}

void DestroySystemMenu(HMENU menu) {
    Menus().menus.erase(reinterpret_cast<std::uintptr_t>(menu));
}

}  // namespace win32core

using namespace win32core;

HMENU WINAPI GetSystemMenu(HWND hWnd, BOOL bRevert) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr || (w->style & WS_SYSMENU) == 0) {
        return nullptr;
    }
    if (w->systemMenu == nullptr) {
        MenuTable& t = Menus();
        const std::uintptr_t key = t.next;
        t.next += 4;
        t.menus.emplace(key, DefaultSystemMenu());
        w->systemMenu = reinterpret_cast<HMENU>(key);
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
