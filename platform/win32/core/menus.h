// The system menus of windows, as the drivers show them (see menus.cpp).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace win32core {

struct MenuItem {
    UINT flags;
    UINT_PTR id;
    std::string text;  // code page 932
};

// The entries of a menu, in order; nullptr for no such menu.
const std::vector<MenuItem>* MenuItems(HMENU menu);
// Called when its window goes.
void DestroySystemMenu(HMENU menu);

}  // namespace win32core
