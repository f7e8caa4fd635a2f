// The history-weighted blend of one row with AVX2: 32 pixels at a time.
#include "processing/blend_kernels.h"
#include "processing/pixel_formulas.h"
#include "processing/pixels_avx2.h"

namespace {
using namespace pixels_avx2;
#include "processing/blend_row_body.h"
}  // namespace

std::uint64_t BlendRowAvx2(const BYTE* frame, const BYTE* history, const BYTE* background,
                           BYTE* out, int width, const SameColourTable* sameColourTable) {
    return BlendRowVector(frame, HistoryRedBytes{history}, background, out, width, sameColourTable);
}

std::uint64_t BlendWeightsRowAvx2(const BYTE* frame, const BYTE* weights, const BYTE* background,
                                  BYTE* out, int width, const SameColourTable* sameColourTable) {
    return BlendRowVector(frame, WeightBytes{weights}, background, out, width, sameColourTable);
}
