// The plain row kernels, and the choice between them and the vector ones.
#include "processing/resample_kernels.h"

#include "processing/resampling.h"

namespace {

void BilinearFixedScalar(const uint8_t* a, const uint8_t* b, const uint8_t* c, const uint8_t* d,
                         const int16_t* kx, int ky, int count, uint8_t* out) {
    for (int e = 0; e < count; ++e) {
        const int wx = kx[e];
        const int top = a[e] * (kFixedOne - wx) + b[e] * wx;
        const int bottom = c[e] * (kFixedOne - wx) + d[e] * wx;
        out[e] = static_cast<uint8_t>(((kFixedOne - ky) * top + ky * bottom) >> 14);
    }
}

void BilinearDoubleScalar(const uint8_t* a, const uint8_t* b, const uint8_t* c, const uint8_t* d,
                          const double* fx, double fy, int count, uint8_t* out) {
    // One pixel at a time through the formula itself; the three channels of a
    // pixel share one fraction.
    for (int e = 0; e + 2 < count; e += 3) {
        SampleBilinear(a + e, b + e, c + e, d + e, fx + e, &fy, out + e);
    }
}

const ResampleKernels kScalarKernels = {BilinearFixedScalar, BilinearDoubleScalar};

}  // namespace

const ResampleKernels& ScalarResampleKernels() {
    return kScalarKernels;
}

const ResampleKernels& ResampleKernelsFor(VectorPath path) {
    switch (path) {
        case VectorPath::kAvx2:
            return Avx2ResampleKernels();
        case VectorPath::kSse41:
            return Sse41ResampleKernels();
        case VectorPath::kScalar:
            break;
    }
    return ScalarResampleKernels();
}
