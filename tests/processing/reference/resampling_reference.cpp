#include "tests/processing/reference/resampling_reference.h"

#include <cmath>

namespace reference {

namespace {

BYTE Clamp(double v) {
    if (std::isnan(v) || v < 0.0) {
        return 0;
    }
    if (v > 255.0) {
        return 255;
    }
    return static_cast<BYTE>(static_cast<int>(v));
}

// floor(v) as an int when floor(v) and floor(v) + 1 are both below size and not
// negative; -1 otherwise (also for infinities and NaN, which must not be
// converted).
int FirstOfPair(double v, int size) {
    const double f = std::floor(v);
    if (std::isnan(f) || f < 0.0 || f + 1.0 >= size) {
        return -1;
    }
    return static_cast<int>(f);
}

}  // namespace

BYTE BilinearChannel(int a, int b, int c, int d, double fx, double fy) {
    const int cross = a - b - c + d;
    const int right = b - a;
    const int down = c - a;
    double v = cross * fy;
    v = v + right;
    v = v * fx;
    v = v + down * fy;
    v = v + a;
    return Clamp(v);
}

void WarpProjective(const CDibImage& src, CDibImage* dst, const double* m) {
    if (src.ImageSize() <= 0 || dst->ImageSize() <= 0) {
        return;
    }
    const int sw = src.Width();
    const int sh = src.Height();
    for (int i = 0; i < dst->Height(); ++i) {
        for (int j = 0; j < dst->Width(); ++j) {
            const double w = m[6] * j + m[7] * i + m[8];
            const double x = (m[0] * j + m[1] * i + m[2]) / w;
            const double y = (m[3] * j + m[4] * i + m[5]) / w;
            const int x0 = FirstOfPair(x, sw);
            const int y0 = FirstOfPair(y, sh);
            if (x0 < 0 || y0 < 0) {
                continue;
            }
            const double fx = x - x0;
            const double fy = y - y0;
            const BYTE* p00 = src.Row(y0) + 3 * x0;
            const BYTE* p10 = src.Row(y0) + 3 * (x0 + 1);
            const BYTE* p01 = src.Row(y0 + 1) + 3 * x0;
            const BYTE* p11 = src.Row(y0 + 1) + 3 * (x0 + 1);
            BYTE* out = dst->Row(i) + 3 * j;
            for (int c = 2; c >= 0; --c) {
                out[c] = BilinearChannel(p00[c], p10[c], p01[c], p11[c], fx, fy);
            }
        }
    }
}

void ResizeImage(const CDibImage& src, CDibImage* dst, int width, int height) {
    if (src.ImageSize() <= 0) {
        return;
    }
    if (src.Width() == width && src.Height() == height) {
        dst->CopyFrom(src);
        return;
    }
    if (dst->Width() != width || dst->Height() != height || dst->ImageSize() <= 0) {
        dst->Create(width, height);
    }
    const double m[9] = {static_cast<double>(src.Width()) / width,
                         0,
                         0,
                         0,
                         static_cast<double>(src.Height()) / height,
                         0,
                         0,
                         0,
                         1};
    WarpProjective(src, dst, m);
}

}  // namespace reference
