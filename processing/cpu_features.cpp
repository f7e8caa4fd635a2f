#include "processing/cpu_features.h"

#include <atomic>

namespace {

VectorPath DetectVectorPath() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    // The compiler's check for AVX2 also asks the operating system whether it
    // saves the wide registers.
    if (__builtin_cpu_supports("avx2")) {
        return VectorPath::kAvx2;
    }
    if (__builtin_cpu_supports("sse4.1") && __builtin_cpu_supports("ssse3")) {
        return VectorPath::kSse41;
    }
#endif
    return VectorPath::kScalar;
}

std::atomic<int> g_limit{static_cast<int>(VectorPath::kAvx2)};

}  // namespace

VectorPath SupportedVectorPath() {
    static const VectorPath supported = DetectVectorPath();
    return supported;
}

VectorPath ActiveVectorPath() {
    const int supported = static_cast<int>(SupportedVectorPath());
    const int limit = g_limit.load(std::memory_order_relaxed);
    return static_cast<VectorPath>(supported < limit ? supported : limit);
}

VectorPath LimitVectorPath(VectorPath limit) {
    return static_cast<VectorPath>(
        g_limit.exchange(static_cast<int>(limit), std::memory_order_relaxed));
}

const char* VectorPathName(VectorPath path) {
    switch (path) {
        case VectorPath::kScalar:
            return "scalar";
        case VectorPath::kSse41:
            return "sse4.1";
        case VectorPath::kAvx2:
            return "avx2";
    }
    return "unknown";
}
