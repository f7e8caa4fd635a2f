// The motion-history step for one row with AVX2: 32 pixels at a time.
#include "processing/motion_row_kernel.h"
#include "processing/pixel_formulas.h"
#include "processing/pixels_avx2.h"

namespace {
using namespace pixels_avx2;
#include "processing/motion_row_body.h"
}  // namespace

void MotionRowAvx2(const BYTE* frame, BYTE* prevGray, BYTE* history, BYTE* out, int width) {
    MotionRowVector(frame, prevGray, history, out, width);
}

void MotionLevelsRowAvx2(const BYTE* frame, BYTE* previous, BYTE* history, BYTE* out, int width) {
    MotionLevelsRowVector(frame, previous, history, out, width);
}
