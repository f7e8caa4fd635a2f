// Internal to the motion history: the fused per-row kernels of the vector paths.
// Kept apart from the image type, so that no inline code of a shared header is
// ever compiled for a vector instruction set and then picked by the linker for plain code.
#pragma once

#include <windows.h>

// One row of a motion-history step in one pass, for `width` pixels: the new
// grey value of each frame pixel is compared with the green byte of prevGray
// and then written over prevGray; every history byte decays by 0.98, or becomes
// 255 where the grey value changed by more than 20; the new history row is also
// written to out when it is not null. Gives exactly the bytes of the separate
// operations on the grey image, the mask and the history.
void MotionRowAvx2(const BYTE* frame, BYTE* prevGray, BYTE* history, BYTE* out, int width);
void MotionRowSse41(const BYTE* frame, BYTE* prevGray, BYTE* history, BYTE* out, int width);

// The same row with the grey levels and the history kept one byte a pixel in
// `previous` and `history` (pixel x at byte x); out, when not null, gets each
// history level in all three bytes of its pixel. Gives exactly the bytes of
// the row above for a history whose three bytes a pixel are equal.
void MotionLevelsRowAvx2(const BYTE* frame, BYTE* previous, BYTE* history, BYTE* out, int width);
void MotionLevelsRowSse41(const BYTE* frame, BYTE* previous, BYTE* history, BYTE* out, int width);
