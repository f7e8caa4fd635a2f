// Motion history: which parts of the picture moved lately.
//
// Every pixel whose grey value changes by more than 20 from one frame to the
// next is set to 255 in the history, which then fades by 2 % a frame (255 falls
// to 0 in 114 frames). Images are 24-bit (blue, green, red); a grey image or a
// mask carries its value in all three bytes of a pixel.
//
// The stateless operations below do nothing when an image has no pixels or
// differs in width or height from the one that gives the size.
#pragma once

#include <windows.h>

#include "image/dib_image.h"

// Writes ((green * 0.587 + red * 0.299) + blue * 0.114) + 0.5, truncated, to *out.
void Luminance(BYTE red, BYTE green, BYTE blue, int* out);

// gray = the luminance of each source pixel in all three bytes.
void ConvertToGray(const CDibImage* source, CDibImage* gray);

// mask = 255 where |previous - current| (green bytes) exceeds threshold, else 0.
void ThresholdDifference(const CDibImage* current, const CDibImage* previous, CDibImage* mask,
                         int threshold);

// Every history byte becomes trunc(byte * factor) (kept within 0..255); where
// the mask's green byte is above 64 the pixel takes the mask's bytes instead.
void UpdateHistory(const CDibImage* mask, CDibImage* history, double factor);

// One frame of the motion history: compares the frame's grey image with the
// previous frame's, decays the history by 0.98, sets 255 where the grey value
// changed by more than 20, and hands a copy of the history back in *history.
// The state lives until process exit. A frame whose width, height or image size
// differs from the previous one starts the history again, at zero.
void UpdateMotionHistory(CDibImage frame, CDibImage* history);
// The same step on the same state for a frame passed by address (not null),
// without the copy of it (a frame that is *history itself is copied first).
void UpdateMotionHistory(const CDibImage* frame, CDibImage* history);

// The same step taken one row at a time, for a caller that works on each row
// of a frame while it is still in the caches. StartMotionHistoryRows says
// whether the step goes that way (a frame with pixels, and a history other than
// the frame, which it shapes like the frame; a null history asks for no copy);
// if so, StepMotionHistoryRow must take every row of the frame once, in any
// order (the bottom row first is forward in memory), and
// FinishMotionHistoryRows end the step; if not, call UpdateMotionHistory
// instead. StepMotionHistoryRow gives the row's new history levels, one byte a
// pixel, valid until the next step.
bool StartMotionHistoryRows(const CDibImage* frame, CDibImage* history);
const BYTE* StepMotionHistoryRow(const CDibImage* frame, int row, CDibImage* history);
void FinishMotionHistoryRows(CDibImage* history);

// Hands back the history as the last step left it, as UpdateMotionHistory
// does, without a step.
void CopyMotionHistory(CDibImage* history);
