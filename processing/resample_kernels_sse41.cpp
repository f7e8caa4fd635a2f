// The row kernels with SSE4.1 (built with -msse4.1 and called only when the
// processor has it). Only intrinsics and functions of this file are used here,
// so that no shared inline code is compiled for SSE4.1.
#include <smmintrin.h>

#include "processing/resample_kernels.h"

void GatherPixelsShuffled(const uint8_t* row, const GatherPlan& plan, int shift, uint8_t* out) {
    for (int k = 0; k < plan.blocks; ++k) {
        const uint8_t* window = row + plan.window[k] + shift;
        const uint8_t* select = plan.select + 2 * kGatherBlock * k;
        const __m128i low =
            _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(window)),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(select)));
        const __m128i high = _mm_shuffle_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(window + kGatherBlock)),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(select + kGatherBlock)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + kGatherBlock * k),
                         _mm_or_si128(low, high));
    }
    // From the pixel that the last block reached into (its bytes are written again).
    GatherPixelsPlain(row, plan, kGatherBlock * plan.blocks / 3, shift, out);
}

namespace {

__m128i Widen16(const uint8_t* p) {
    return _mm_cvtepu8_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
}

void BilinearFixedSse41(const uint8_t* a, const uint8_t* b, const uint8_t* c, const uint8_t* d,
                        const int16_t* kx, int ky, int count, uint8_t* out) {
    const __m128i one = _mm_set1_epi16(kFixedOne);
    // (128 - ky, ky) pairs for the multiply-add of interleaved (top, bottom) values.
    const __m128i wy = _mm_set1_epi32(static_cast<int>((static_cast<uint32_t>(ky) << 16) |
                                                       static_cast<uint32_t>(kFixedOne - ky)));
    for (int e = 0; e < count; e += 8) {
        const __m128i wx = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kx + e));
        const __m128i wx0 = _mm_sub_epi16(one, wx);
        // At most 255 * 128 = 32640: fits a signed 16-bit lane.
        const __m128i top = _mm_add_epi16(_mm_mullo_epi16(Widen16(a + e), wx0),
                                          _mm_mullo_epi16(Widen16(b + e), wx));
        const __m128i bottom = _mm_add_epi16(_mm_mullo_epi16(Widen16(c + e), wx0),
                                             _mm_mullo_epi16(Widen16(d + e), wx));
        const __m128i low = _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(top, bottom), wy), 14);
        const __m128i high =
            _mm_srli_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(top, bottom), wy), 14);
        const __m128i words = _mm_packus_epi32(low, high);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + e), _mm_packus_epi16(words, words));
    }
}

__m128i Widen32(const uint8_t* p) {
    int32_t four;
    __builtin_memcpy(&four, p, sizeof(four));
    return _mm_cvtepu8_epi32(_mm_cvtsi32_si128(four));
}

// Two channels: the formula in the order written, then the clamp (max with 0
// also turns NaN into 0) and truncation. The integers are in lanes 0 and 1.
__attribute__((always_inline)) inline __m128i BilinearDouble2(__m128i va, __m128i vb, __m128i vc,
                                                              __m128i vd, const double* fx,
                                                              __m128d fy) {
    const __m128i cross = _mm_add_epi32(_mm_sub_epi32(_mm_sub_epi32(va, vb), vc), vd);
    const __m128d t1 = _mm_mul_pd(_mm_cvtepi32_pd(cross), fy);
    const __m128d t2 = _mm_add_pd(t1, _mm_cvtepi32_pd(_mm_sub_epi32(vb, va)));
    const __m128d t3 = _mm_mul_pd(t2, _mm_loadu_pd(fx));
    const __m128d t4 = _mm_mul_pd(_mm_cvtepi32_pd(_mm_sub_epi32(vc, va)), fy);
    const __m128d v = _mm_add_pd(_mm_add_pd(t3, t4), _mm_cvtepi32_pd(va));
    const __m128d clamped = _mm_min_pd(_mm_max_pd(v, _mm_setzero_pd()), _mm_set1_pd(255.0));
    return _mm_cvttpd_epi32(clamped);
}

void BilinearDoubleSse41(const uint8_t* a, const uint8_t* b, const uint8_t* c, const uint8_t* d,
                         const double* fx, double fy, int count, uint8_t* out) {
    const __m128d vfy = _mm_set1_pd(fy);
    for (int e = 0; e < count; e += 4) {
        const __m128i va = Widen32(a + e);
        const __m128i vb = Widen32(b + e);
        const __m128i vc = Widen32(c + e);
        const __m128i vd = Widen32(d + e);
        const __m128i low = BilinearDouble2(va, vb, vc, vd, fx + e, vfy);
        const __m128i high =
            BilinearDouble2(_mm_srli_si128(va, 8), _mm_srli_si128(vb, 8), _mm_srli_si128(vc, 8),
                            _mm_srli_si128(vd, 8), fx + e + 2, vfy);
        const __m128i words = _mm_packus_epi32(_mm_unpacklo_epi64(low, high), low);
        const int four = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
        __builtin_memcpy(out + e, &four, sizeof(four));
    }
}

const ResampleKernels kSse41Kernels = {GatherPixelsShuffled, BilinearFixedSse41,
                                       BilinearDoubleSse41};

}  // namespace

const ResampleKernels& Sse41ResampleKernels() {
    return kSse41Kernels;
}
