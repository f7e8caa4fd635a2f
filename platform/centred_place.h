// Where a dialog whose template sits at (0, 0) goes, on both builds: centred
// over `area` (its visible owner, else the work area), yet kept in the work
// area, so that a box over an owner near the screen's edge is never partly
// off the screen; its top-left corner stays visible when it is larger.
#pragma once

#include <windows.h>

#include <algorithm>

inline POINT CentredPlace(const RECT& area, const RECT& work, int width, int height) {
    const LONG left = area.left + (area.right - area.left - width) / 2;
    const LONG top = area.top + (area.bottom - area.top - height) / 2;
    return POINT{std::max<LONG>(work.left, std::min<LONG>(left, work.right - width)),
                 std::max<LONG>(work.top, std::min<LONG>(top, work.bottom - height))};
}
