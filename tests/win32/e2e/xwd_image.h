// Reading an X window dump (xwd -root) of a 24/32-bit TrueColor screen, for
// the end-to-end tests' screenshots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct XwdImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, row 0 at the top

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// False (with *error) for a file that is not a ZPixmap dump of 3 or 4 bytes a pixel.
bool ReadXwd(const std::string& path, XwdImage* image, std::string* error);
