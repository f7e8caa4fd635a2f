// PNG files of 8-bit RGBA pictures, for the desktop icons. Written with
// uncompressed deflate blocks: icons are small, and no zlib is needed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tenebrix_dist {

// Pixels row by row from the top, 0xAARRGGBB each. Returns the whole file.
std::string PngFileBytes(int width, int height, const std::vector<std::uint32_t>& argb);

}  // namespace tenebrix_dist
