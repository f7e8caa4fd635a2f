// For tests that run once on each vector path of the pixel operations.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "processing/cpu_features.h"

// Every path, as test parameters.
inline auto AllVectorPaths() {
    return ::testing::Values(VectorPath::kScalar, VectorPath::kSse41, VectorPath::kAvx2);
}

// True when this processor can take the path (tests of the others skip).
inline bool ProcessorHas(VectorPath path) {
    return static_cast<int>(path) <= static_cast<int>(SupportedVectorPath());
}

// The path's part of a test name: "Scalar", "Sse41", "Avx2".
inline std::string VectorPathTestName(const ::testing::TestParamInfo<VectorPath>& info) {
    return info.param == VectorPath::kScalar  ? "Scalar"
           : info.param == VectorPath::kSse41 ? "Sse41"
                                              : "Avx2";
}
