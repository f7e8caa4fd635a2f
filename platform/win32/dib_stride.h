// Bytes one row of a 24-bit DIB takes, for the platform's own code (drawing,
// the capture drivers' frames and media types): three bytes a pixel, brought up
// to a multiple of four. The system's code has its own in image/, as it builds
// against the Windows headers too.
#pragma once

#include <cstddef>

inline size_t Dib24RowBytes(size_t width) {
    return (width * 3 + 3) & ~static_cast<size_t>(3);
}
