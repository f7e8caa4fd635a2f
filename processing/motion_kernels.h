// Internal to the motion history: the step that works on given state images
// (on state images the caller gives), and the fused row kernel it uses.
#pragma once

#include <windows.h>

#include "image/dib_image.h"
#include "processing/motion_row_kernel.h"

// UpdateMotionHistory on the given state images: reshapes them (cleared) when
// the frame's width, height or image size differs from theirs, updates them
// from the frame and copies the history into *out (when not null). The plain
// path stores this frame's grey image and mask in gray and diffMask; the
// vector path keeps them in registers and leaves those two alone, since
// nothing reads them after the call.
void MotionHistoryStep(const CDibImage* frame, CDibImage* prevGray, CDibImage* history,
                       CDibImage* gray, CDibImage* diffMask, CDibImage* out);
