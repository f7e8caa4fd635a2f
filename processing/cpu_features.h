// Run-time choice of the vector code paths of the pixel operations.
//
// Each vector path gives exactly the bytes of the plain path; the choice is a
// matter of speed only. The best path the processor (and the operating system)
// supports is used, unless a lower limit has been set, e.g. kScalar to compare
// the plain path with the vector ones byte for byte.
#pragma once

enum class VectorPath {
    kScalar = 0,  // plain C++, no instruction set beyond the x86-64 baseline
    kSse41 = 1,   // SSE4.1 (with SSSE3)
    kAvx2 = 2,    // AVX2
};

// The path the pixel operations take now: the best supported one, capped by
// the limit.
VectorPath ActiveVectorPath();

// The best path this processor supports, whatever the limit.
VectorPath SupportedVectorPath();

// Caps the path the pixel operations may take (kAvx2: no cap, the default).
// Returns the previous limit.
VectorPath LimitVectorPath(VectorPath limit);

// Name of a path for messages: "scalar", "sse4.1", "avx2".
const char* VectorPathName(VectorPath path);
