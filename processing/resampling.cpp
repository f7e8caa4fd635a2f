#include "processing/resampling.h"

#include "processing/axis_aligned_warp.h"
#include "processing/compositing.h"
#include "processing/cpu_features.h"
#include "processing/resample_kernels.h"
#include "processing/warp_geometry.h"

namespace {

// The warp as written: one source position, with its divisions and floors,
// per destination pixel.
void WarpEachPixel(const CDibImage& src, CDibImage* dst, const double* m) {
    const int sw = src.Width();
    const int sh = src.Height();
    const int dw = dst->Width();
    const int dh = dst->Height();
    for (int i = 0; i < dh; ++i) {
        BYTE* out = dst->Row(i);
        for (int j = 0; j < dw; ++j) {
            double x;
            double y;
            SourcePosition(m, j, i, &x, &y);
            int x0;
            int y0;
            double fx;
            double fy;
            if (!SplitCoordinate(x, sw, &x0, &fx) || !SplitCoordinate(y, sh, &y0, &fy)) {
                continue;
            }
            const BYTE* top = src.Row(y0) + x0 * 3;
            const BYTE* bottom = src.Row(y0 + 1) + x0 * 3;
            SampleBilinear(top, top + 3, bottom, bottom + 3, &fx, &fy, out + j * 3);
        }
    }
}

// Tells rows (when not null) of every row of image, bottom row first.
void TellEveryRow(const CDibImage& image, ResizedRows* rows) {
    if (rows == nullptr || !image.HasPixels()) {
        return;
    }
    for (int i = image.Height() - 1; i >= 0; --i) {
        rows->RowDone(i, nullptr);
    }
}

void Warp(const CDibImage* src, CDibImage* dst, const double* m, ResizedRows* rows) {
    if (!src->HasPixels() || !dst->HasPixels()) {
        return;
    }
    if (src == dst) {
        // Every pixel must be read from the picture as it was before the warp.
        const CDibImage original(*src);
        Warp(&original, dst, m, rows);
        return;
    }
    if (IsAxisAligned(m)) {
        WarpAxisAligned(*src, dst, m, ResampleKernelsFor(ActiveVectorPath()), rows);
    } else {
        WarpEachPixel(*src, dst, m);
        TellEveryRow(*dst, rows);
    }
}

}  // namespace

void SampleBilinear(const BYTE* p00, const BYTE* p10, const BYTE* p01, const BYTE* p11,
                    const double* fx, const double* fy, BYTE* out) {
    for (int c = 2; c >= 0; --c) {
        const int a = p00[c];
        const int b = p10[c];
        const int cc = p01[c];
        const int d = p11[c];
        const double v = ((a - b - cc + d) * *fy + (b - a)) * *fx + (cc - a) * *fy + a;
        out[c] = ClampToByte(v);
    }
}

void WarpProjective(const CDibImage* src, CDibImage* dst, const double* m) {
    Warp(src, dst, m, nullptr);
}

void ResizeImage(const CDibImage* src, CDibImage* dst, int width, int height) {
    ResizeImage(src, dst, width, height, nullptr);
}

void ResizeImage(const CDibImage* src, CDibImage* dst, int width, int height, ResizedRows* rows) {
    if (!src->HasPixels() || width <= 0 || height <= 0) {
        return;
    }
    if (src->Width() == width && src->Height() == height) {
        dst->CopyFrom(*src);
        TellEveryRow(*dst, rows);
        return;
    }
    if (src == dst) {
        // Reshaping dst would lose the source.
        const CDibImage original(*src);
        ResizeImage(&original, dst, width, height, rows);
        return;
    }
    if (dst->Width() != width || dst->Height() != height || !dst->HasPixels()) {
        dst->Create(width, height);
    }
    const double sx = static_cast<double>(src->Width()) / static_cast<double>(width);
    const double sy = static_cast<double>(src->Height()) / static_cast<double>(height);
    const double m[9] = {sx, 0.0, 0.0, 0.0, sy, 0.0, 0.0, 0.0, 1.0};
    Warp(src, dst, m, rows);
}
