// Resampling: a projective warp with bilinear interpolation, and the resize that
// brings capture frames of any size to the working size through it.
//
// Destination pixel (j, i) maps back to the source position
//   w = m6 * j + m7 * i + m8,  x = (m0 * j + m1 * i + m2) / w,  y = (m3 * j + m4 * i + m5) / w
// in pixel units (column j, row i from the top; no half-pixel offset). A pixel is
// written only when the 2x2 source neighbourhood at (floor(x), floor(y)) lies
// wholly inside the source; otherwise it keeps its previous contents. Every byte
// is what the double-precision formulas give when evaluated as written; the fast
// paths are proven equal to them by the tests.
#pragma once

#include <windows.h>

#include "image/dib_image.h"

// Interpolates one pixel from p00 at (x0, y0), p10 at (x0 + 1, y0), p01 at
// (x0, y0 + 1) and p11 at (x0 + 1, y0 + 1) with the fractions fx, fy in [0, 1):
// per channel v = ((a - b - c + d) * fy + (b - a)) * fx + (c - a) * fy + a,
// clamped to a byte and truncated (no rounding offset).
void SampleBilinear(const BYTE* p00, const BYTE* p10, const BYTE* p01, const BYTE* p11,
                    const double* fx, const double* fy, BYTE* out);

// Fills dst by inverse mapping through the nine-entry matrix m (row by row).
// dst keeps its size. Nothing happens when src or dst has no pixels. Positions
// that are infinite, not a number or beyond the range of int leave their pixel
// untouched. src and dst may be the same image (the source is copied first).
void WarpProjective(const CDibImage* src, CDibImage* dst, const double* m);

// Makes dst a width x height picture of src by scaling with the plain ratio of
// the sizes (source pixel (0, 0) onto destination pixel (0, 0)). A source of that
// size already is copied whole, header included. Nothing happens when src has no
// pixels or width or height is not positive. dst is reshaped only when its size
// differs, so a steady stream of frames allocates nothing.
void ResizeImage(const CDibImage* src, CDibImage* dst, int width, int height);

class RowReadAhead;

// Told of each destination row of a resize once its bytes are final, with the
// resize's read of the source ahead (null when there is none), to keep asking
// for the source rows while working on the row.
class ResizedRows {
  public:
    virtual void RowDone(int row, RowReadAhead* ahead) = 0;

  protected:
    ~ResizedRows() = default;
};

// ResizeImage that tells `rows` of every destination row once it is final, so
// that the caller can work on a row while it is still in the caches: the rows
// in the order written (mostly the bottom row first), none when nothing is
// written.
void ResizeImage(const CDibImage* src, CDibImage* dst, int width, int height, ResizedRows* rows);
