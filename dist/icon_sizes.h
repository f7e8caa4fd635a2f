// The program icon at the sizes of a desktop icon theme, drawn from its own
// 16 x 16 and 32 x 32 pixel maps: each size is the nearest smaller-or-equal
// image that divides it, scaled by a whole factor (so 48 is the 16 x 16 image
// three times over, 256 the 32 x 32 one eight times), pixels kept square.
#pragma once

#include <cstdint>
#include <vector>

namespace tenebrix_dist {

// The theme sizes we install: 16, 32, 48, 64, 128, 256.
const std::vector<int>& IconThemeSizes();

// The icon IDR_MAINFRAME at size x size, 0xAARRGGBB rows from the top;
// transparent pixels are 0. Empty when no image of the icon divides the size.
std::vector<std::uint32_t> IconPixels(int size);

}  // namespace tenebrix_dist
