// Dialog units and the fonts of dialog templates.
//
// Stands in for the dialog manager's base units, which Windows takes from the
// template font. Ours are fixed at 7 x 12 pixels (the average character of a
// 9 point Japanese UI font at 96 dpi), so x = units * 7 / 4 and
// y = units * 12 / 8, rounded as MulDiv rounds, whatever font is installed.
// At the bottom of the core: it knows no other area.
#pragma once

#include <string>

namespace win32core {

int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);

// The installed font family that stands in for a template's Windows font
// (code page 932 name); an unknown face gives the default "Sans".
std::string SubstituteFont(const std::string& windowsFace);

}  // namespace win32core
