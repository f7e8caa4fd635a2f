// Internal to the motion history: the fused per-row kernels and the step that
// works on given state images (tests run it with state of their own).
#pragma once

#include <windows.h>

#include "image/dib_image.h"

// One row of a motion-history step in one pass, for `width` pixels: the new
// grey value of each frame pixel is compared with the green byte of prevGray
// and then written over prevGray; every history byte decays by 0.98, or becomes
// 255 where the grey value changed by more than 20; the new history row is also
// written to out when it is not null. Gives exactly the bytes of the separate
// operations on the grey image, the mask and the history.
void MotionRowAvx2(const BYTE* frame, BYTE* prevGray, BYTE* history, BYTE* out, int width);

// UpdateMotionHistory on the given state images: reshapes them (cleared) when
// the frame's width, height or image size differs from theirs, updates them
// from the frame and copies the history into *out (when not null). The plain
// path stores this frame's grey image and mask in gray and diffMask; the
// vector path keeps them in registers and leaves those two alone, since
// nothing reads them after the call.
void MotionHistoryStep(const CDibImage* frame, CDibImage* prevGray, CDibImage* history,
                       CDibImage* gray, CDibImage* diffMask, CDibImage* out);
