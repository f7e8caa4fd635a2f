// Moving pixels between CDibImage and the reference's packed pictures, and
// random test images.
#pragma once

#include <cstdint>
#include <random>

#include "image/dib_image.h"
#include "tests/processing/reference/motion_compositing_reference.h"

namespace reference {

// A width x height 24-bit image holding the picture's pixels; the row padding
// is filled with `padding` so that a write past a row shows.
CDibImage ToImage(const Picture& picture, std::uint8_t padding = 0xA5);
Picture ToPicture(const CDibImage& image);
// Every byte random.
Picture RandomPicture(int width, int height, std::mt19937* random);

}  // namespace reference
