// The plain row kernels, and the choice between them and the vector ones.
#include "processing/resample_kernels.h"

#include "processing/resampling.h"

#include <cstring>

namespace {

uint32_t Load4(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof(v));
    return v;
}

// Four bytes at a time from byte `from` of each offset, shifted right by
// `drop` bits; the fourth byte written is overwritten by the next pixel.
template <int from, int drop>
void GatherLoop(const uint8_t* row, const int32_t* offset, int count, uint8_t* out) {
#pragma GCC unroll 4
    for (int n = 0; n < count; ++n) {
        const uint32_t v = Load4(row + offset[n] + from) >> drop;
        std::memcpy(out + n * 3, &v, sizeof(v));
    }
}

void GatherPixelsScalar(const uint8_t* row, const GatherPlan& plan, int shift, uint8_t* out) {
    GatherPixelsPlain(row, plan, 0, shift, out);
}

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

const ResampleKernels kScalarKernels = {GatherPixelsScalar, BilinearFixedScalar,
                                        BilinearDoubleScalar};

}  // namespace

const ResampleKernels& ScalarResampleKernels() {
    return kScalarKernels;
}

void GatherPixelsPlain(const uint8_t* row, const GatherPlan& plan, int first, int shift,
                       uint8_t* out) {
    const int count = plan.count - first;
    if (count <= 0) {
        return;
    }
    const int32_t* offset = plan.offset + first;
    uint8_t* to = out + first * 3;
    // The pixel on the right is read from one byte earlier, so that the read
    // ends within the row, and the first byte dropped.
    if (shift == 0) {
        GatherLoop<0, 0>(row, offset, count - 1, to);
    } else {
        GatherLoop<2, 8>(row, offset, count - 1, to);
    }
    std::memcpy(to + (count - 1) * 3, row + offset[count - 1] + shift, 3);
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
