// Compositing: the history-weighted blend of the live frame over the stored
// background (which also measures how much of the picture is hidden), and
// colour-keyed sprite pasting. Pixels are three bytes: blue, green, red.
//
// Every result is bit for bit what the double-precision formulas give when
// evaluated one pixel after the other; the vector paths are proven equal to
// them by the tests.
#pragma once

#include <windows.h>

#include <cstdint>

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

struct SameColourTable;

// The blend of BlendByHistory one row at a time, with the weights (the history
// bytes) given one byte a pixel, for a caller that works on each row while it
// is still in the caches. Start says whether the blend goes that way (frame,
// background and output with pixels and of one size, and a vector path); if
// so, Row must blend every row once, in any order (the bottom row first is
// forward in memory), and Percentage gives the hidden percentage when the
// weights' sum settles it, else false (then HiddenPercentageOf a history with
// those weights does); if not, call BlendByHistory instead.
class HistoryBlendRows {
  public:
    bool Start(const CDibImage* frame, const CDibImage* background, CDibImage* out);
    void Row(int row, const BYTE* weights);
    bool Percentage(int* percentage) const;

  private:
    const CDibImage* m_frame = nullptr;
    const CDibImage* m_background = nullptr;
    CDibImage* m_out = nullptr;
    std::uint64_t (*m_row)(const BYTE*, const BYTE*, const BYTE*, BYTE*, int,
                           const SameColourTable*) = nullptr;
    const SameColourTable* m_table = nullptr;
    std::uint64_t m_weightSum = 0;  // of the rows blended
};

// The hidden percentage that BlendByHistory gives for this history (of the
// size of the pictures blended).
int HiddenPercentageOf(const CDibImage* history);

// Copies every sprite pixel that differs from `key` into dst with the sprite's
// top-left corner at column x, row y (counted from the top); pixels outside dst
// are skipped. An empty dst or sprite changes nothing.
void PasteColorKeyed(CDibImage* dst, const CDibImage* sprite, int x, int y, Pixel3 key);
