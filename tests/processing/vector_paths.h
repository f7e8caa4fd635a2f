// For tests that run once on each vector path of the pixel operations: a path
// this processor lacks shows as skipped, never as a rerun of a lower one.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "processing/cpu_features.h"

// Every path, as test parameters.
inline auto AllVectorPaths() {
    return ::testing::Values(VectorPath::kScalar, VectorPath::kSse41, VectorPath::kAvx2);
}

// True when this processor can take the path.
inline bool ProcessorHas(VectorPath path) {
    return static_cast<int>(path) <= static_cast<int>(SupportedVectorPath());
}

// The path's part of a test name: "Scalar", "Sse41", "Avx2".
inline std::string VectorPathTestName(const ::testing::TestParamInfo<VectorPath>& info) {
    return info.param == VectorPath::kScalar  ? "Scalar"
           : info.param == VectorPath::kSse41 ? "Sse41"
                                              : "Avx2";
}

// Runs each test with the pixel operations capped at the parameter's path;
// instantiate with AllVectorPaths() and VectorPathTestName.
class OnVectorPath : public ::testing::TestWithParam<VectorPath> {
  protected:
    void SetUp() override {
        if (!ProcessorHas(GetParam())) {
            GTEST_SKIP() << "processor lacks " << VectorPathName(GetParam());
        }
        m_previous = LimitVectorPath(GetParam());
    }
    void TearDown() override { LimitVectorPath(m_previous); }

  private:
    VectorPath m_previous = VectorPath::kAvx2;
};
