// The history-weighted blend of one row with SSE4.1: 16 pixels at a time.
#include "processing/blend_kernels.h"
#include "processing/pixel_formulas.h"
#include "processing/pixels_sse41.h"

namespace {
using namespace pixels_sse41;
#include "processing/blend_row_body.h"
}  // namespace

std::uint64_t BlendRowSse41(const BYTE* frame, const BYTE* history, const BYTE* background,
                            BYTE* out, int width, const SameColourTable* sameColourTable) {
    return BlendRowVector(frame, HistoryRedBytes{history}, background, out, width, sameColourTable);
}

std::uint64_t BlendWeightsRowSse41(const BYTE* frame, const BYTE* weights, const BYTE* background,
                                   BYTE* out, int width, const SameColourTable* sameColourTable) {
    return BlendRowVector(frame, WeightBytes{weights}, background, out, width, sameColourTable);
}
