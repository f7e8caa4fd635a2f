// A plain transcription of the resampling formulas, one pixel and one channel
// at a time, with nothing precomputed: the yardstick that the fast resampling
// code is compared with, byte for byte.
#pragma once

#include <windows.h>

#include "image/dib_image.h"

namespace reference {

// One channel: ((a - b - c + d) * fy + (b - a)) * fx + (c - a) * fy + a, then
// clamped and truncated to a byte.
BYTE BilinearChannel(int a, int b, int c, int d, double fx, double fy);

// The warp through the nine-entry matrix m; src and dst are different images.
void WarpProjective(const CDibImage& src, CDibImage* dst, const double* m);

// The resize: a copy for an equal size, else a scaling warp into dst (reshaped
// to width x height when its size differs).
void ResizeImage(const CDibImage& src, CDibImage* dst, int width, int height);

}  // namespace reference
