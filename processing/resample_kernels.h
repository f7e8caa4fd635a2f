// Row kernels of the table-driven warp: bilinear interpolation of whole rows of
// channel values gathered from the source, one plain and two vector versions
// that give identical bytes. Element c of a, b, c, d is one channel of the
// source pixels at (x0, y0), (x0 + 1, y0), (x0, y0 + 1), (x0 + 1, y0 + 1); three
// consecutive elements make one pixel (blue, green, red).
//
// Kernels may read and write up to kKernelPadding elements past `count`: the
// caller pads every array by that much, with initialised values.
//
// This header declares functions only, so that files built for wider
// instruction sets can include it without sharing inline code with the rest.
#pragma once

#include <cstdint>

#include "processing/cpu_features.h"

constexpr int kKernelPadding = 32;

// Fractions that are multiples of 1/128 are handled in exact integers.
constexpr int kFixedOne = 128;

// Which source bytes make up the packed pixels of one row. For the vector
// paths it also holds, for each leading 16-byte block of the packed output, a
// 32-byte window of the source row that contains all its bytes and the shuffle
// controls that pick them out.
constexpr int kGatherBlock = 16;
struct GatherPlan {
    const int32_t* offset;  // per pixel: byte offset of its (left) source pixel
    int count;              // pixels
    int blocks;             // leading output blocks that have a window (may be 0)
    const int32_t* window;  // per block: first source byte of its window
    const uint8_t* select;  // per block: 32 controls, for window bytes 0-15 and 16-31
};

struct ResampleKernels {
    // out gets, packed, the three bytes of the source pixel of each entry of the
    // plan (shift 0) or of the pixel right of it (shift 3). Reads stay within the
    // pixel bytes of the row when every offset is at most 3 * (width - 2) and
    // every window ends 3 bytes before the row's pixel bytes do; writes stay
    // within 3 * count bytes (no padding needed).
    void (*gatherPixels)(const uint8_t* row, const GatherPlan& plan, int shift, uint8_t* out);
    // Fractions kx[e] / 128 and ky / 128 (0 .. 127). out[e] is the bilinear value
    // ((128 - ky) * (a * (128 - kx) + b * kx) + ky * (c * (128 - kx) + d * kx)) >> 14,
    // which equals the double formula for such fractions: every step of it is then
    // exact, and the value, a weighted mean of bytes, needs no clamp.
    void (*bilinearFixed)(const uint8_t* a, const uint8_t* b, const uint8_t* c, const uint8_t* d,
                          const int16_t* kx, int ky, int count, uint8_t* out);
    // Any fractions: the double formula evaluated as written, clamped and
    // truncated to a byte. fx holds one fraction per element.
    void (*bilinearDouble)(const uint8_t* a, const uint8_t* b, const uint8_t* c, const uint8_t* d,
                           const double* fx, double fy, int count, uint8_t* out);
};

const ResampleKernels& ScalarResampleKernels();
// The plain gather of pixels first .. count - 1 of a plan, which the vector
// gathers finish with.
void GatherPixelsPlain(const uint8_t* row, const GatherPlan& plan, int first, int shift,
                       uint8_t* out);
// The gather through the plan's windows (SSSE3), for both vector paths.
void GatherPixelsShuffled(const uint8_t* row, const GatherPlan& plan, int shift, uint8_t* out);
const ResampleKernels& Sse41ResampleKernels();
const ResampleKernels& Avx2ResampleKernels();

// The kernels of the given path.
const ResampleKernels& ResampleKernelsFor(VectorPath path);
