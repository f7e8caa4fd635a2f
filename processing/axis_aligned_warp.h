// The warp for matrices without rotation, shear or perspective (entries m1, m3,
// m6 and m7 zero), as the resize uses: the source column of a destination pixel
// then depends on its column only and the source row on its row only, so both
// come from small tables instead of two divisions and two floors per pixel.
#pragma once

#include "image/dib_image.h"
#include "processing/resample_kernels.h"
#include "processing/resampling.h"

// True when m has the form this warp handles.
bool IsAxisAligned(const double* m);

// The warp of src into dst through an axis-aligned m, byte for byte what the
// per-pixel warp gives. Both images have pixels and are different images.
// Tells `rows` (when not null) of each destination row once it is final.
void WarpAxisAligned(const CDibImage& src, CDibImage* dst, const double* m,
                     const ResampleKernels& kernels, ResizedRows* rows);
