// The row kernels with AVX2 (built with -mavx2 and called only when the
// processor has it). Only intrinsics and functions of this file are used here,
// so that no shared inline code is compiled for AVX2; the compiler clears the
// upper register halves (vzeroupper) on return to the baseline callers.
#include <immintrin.h>

#include "processing/resample_kernels.h"

namespace {

__m256i Widen16(const uint8_t* p) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

void BilinearFixedAvx2(const uint8_t* a, const uint8_t* b, const uint8_t* c, const uint8_t* d,
                       const int16_t* kx, int ky, int count, uint8_t* out) {
    const __m256i one = _mm256_set1_epi16(kFixedOne);
    // (128 - ky, ky) pairs for the multiply-add of interleaved (top, bottom) values.
    const __m256i wy = _mm256_set1_epi32(static_cast<int>((static_cast<uint32_t>(ky) << 16) |
                                                          static_cast<uint32_t>(kFixedOne - ky)));
    for (int e = 0; e < count; e += 16) {
        const __m256i wx = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kx + e));
        const __m256i wx0 = _mm256_sub_epi16(one, wx);
        // At most 255 * 128 = 32640: fits a signed 16-bit lane.
        const __m256i top = _mm256_add_epi16(_mm256_mullo_epi16(Widen16(a + e), wx0),
                                             _mm256_mullo_epi16(Widen16(b + e), wx));
        const __m256i bottom = _mm256_add_epi16(_mm256_mullo_epi16(Widen16(c + e), wx0),
                                                _mm256_mullo_epi16(Widen16(d + e), wx));
        // Per 128-bit lane: elements 0-3 (8-11) and 4-7 (12-15).
        const __m256i low =
            _mm256_srli_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(top, bottom), wy), 14);
        const __m256i high =
            _mm256_srli_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(top, bottom), wy), 14);
        const __m256i words = _mm256_packus_epi32(low, high);  // 0-7 | 8-15
        const __m256i bytes = _mm256_packus_epi16(words, words);
        const __m256i ordered = _mm256_permute4x64_epi64(bytes, 0x08);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + e), _mm256_castsi256_si128(ordered));
    }
}

__m256i Widen32(const uint8_t* p) {
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
}

// Four channels from their integer differences: the formula in the order
// written, then the clamp (max with 0 also turns NaN into 0) and truncation.
__attribute__((always_inline)) inline __m128i BilinearDouble4(__m128i cross, __m128i right,
                                                              __m128i down, __m128i a,
                                                              const double* fx, __m256d fy) {
    const __m256d t1 = _mm256_mul_pd(_mm256_cvtepi32_pd(cross), fy);
    const __m256d t2 = _mm256_add_pd(t1, _mm256_cvtepi32_pd(right));
    const __m256d t3 = _mm256_mul_pd(t2, _mm256_loadu_pd(fx));
    const __m256d t4 = _mm256_mul_pd(_mm256_cvtepi32_pd(down), fy);
    const __m256d v = _mm256_add_pd(_mm256_add_pd(t3, t4), _mm256_cvtepi32_pd(a));
    const __m256d clamped =
        _mm256_min_pd(_mm256_max_pd(v, _mm256_setzero_pd()), _mm256_set1_pd(255.0));
    return _mm256_cvttpd_epi32(clamped);
}

void BilinearDoubleAvx2(const uint8_t* a, const uint8_t* b, const uint8_t* c, const uint8_t* d,
                        const double* fx, double fy, int count, uint8_t* out) {
    const __m256d vfy = _mm256_set1_pd(fy);
    for (int e = 0; e < count; e += 8) {
        // The integer differences of eight channels at once (exact).
        const __m256i va = Widen32(a + e);
        const __m256i vb = Widen32(b + e);
        const __m256i vc = Widen32(c + e);
        const __m256i vd = Widen32(d + e);
        const __m256i cross = _mm256_add_epi32(_mm256_sub_epi32(_mm256_sub_epi32(va, vb), vc), vd);
        const __m256i right = _mm256_sub_epi32(vb, va);
        const __m256i down = _mm256_sub_epi32(vc, va);
        const __m128i low =
            BilinearDouble4(_mm256_castsi256_si128(cross), _mm256_castsi256_si128(right),
                            _mm256_castsi256_si128(down), _mm256_castsi256_si128(va), fx + e, vfy);
        const __m128i high = BilinearDouble4(
            _mm256_extracti128_si256(cross, 1), _mm256_extracti128_si256(right, 1),
            _mm256_extracti128_si256(down, 1), _mm256_extracti128_si256(va, 1), fx + e + 4, vfy);
        const __m128i words = _mm_packus_epi32(low, high);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + e), _mm_packus_epi16(words, words));
    }
}

const ResampleKernels kAvx2Kernels = {GatherPixelsShuffled, BilinearFixedAvx2, BilinearDoubleAvx2};

}  // namespace

const ResampleKernels& Avx2ResampleKernels() {
    return kAvx2Kernels;
}
