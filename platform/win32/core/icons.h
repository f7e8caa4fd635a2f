// The images behind an HICON, for drawing and for the drivers (see icons.cpp).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace win32core {

// One image of an icon as 0xAARRGGBB with alpha 0 or 255, row 0 at the top.
struct IconBitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};

// The image of an icon nearest to size x size; nullptr for no icon.
const IconBitmap* IconBitmapOf(HICON icon, int size);

}  // namespace win32core
