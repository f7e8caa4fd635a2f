// The motion-history step for one row with SSE4.1: 16 pixels at a time.
#include "processing/motion_row_kernel.h"
#include "processing/pixel_formulas.h"
#include "processing/pixels_sse41.h"

namespace {
using namespace pixels_sse41;
#include "processing/motion_row_body.h"
}  // namespace

void MotionRowSse41(const BYTE* frame, BYTE* prevGray, BYTE* history, BYTE* out, int width) {
    MotionRowVector(frame, prevGray, history, out, width);
}

void MotionLevelsRowSse41(const BYTE* frame, BYTE* previous, BYTE* history, BYTE* out, int width) {
    MotionLevelsRowVector(frame, previous, history, out, width);
}
