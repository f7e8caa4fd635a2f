// Compositing: the history-weighted blend of the live frame over the stored
// background (which also measures how much of the picture is hidden), and
// colour-keyed sprite pasting. Pixels are three bytes: blue, green, red.
//
// Every result is bit for bit what the double-precision formulas give when
// evaluated one pixel after the other; the vector paths are proven equal to
// them by the tests.
#pragma once

#include <windows.h>

#include "image/dib_image.h"

// A pixel value passed by value: the type of the sprite key colour.
struct Pixel3 {
    BYTE blue;
    BYTE green;
    BYTE red;
};

// A channel value to a byte: above 255 gives 255, below 0 (and not a number)
// gives 0, anything else is truncated toward zero.
BYTE ClampToByte(double value);

// 1 when the three bytes at a equal the three bytes at b, else 0.
int SameColor(const BYTE* a, const BYTE* b);

// out = background * (1 - a) + frame * a per channel, truncated, with
// a = (red byte of the history pixel) * (1/255). Returns the hidden percentage
// (100 - mean(a) * 100 + 0.5, truncated). A frame without pixels, or a history,
// background or output image without pixels or of another width or height,
// writes nothing and returns 0.
int BlendByHistory(const CDibImage* frame, const CDibImage* history, const CDibImage* background,
                   CDibImage* out);

// Copies every sprite pixel that differs from `key` into dst with the sprite's
// top-left corner at column x, row y (counted from the top); pixels outside dst
// are skipped. An empty dst or sprite changes nothing.
void PasteColorKeyed(CDibImage* dst, const CDibImage* sprite, int x, int y, Pixel3 key);
