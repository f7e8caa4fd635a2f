// The picture of one tick of the frame cycle (see shown_picture.h): newest
// camera frame -> shown size -> motion history -> shown picture (plain, or in
// stealth mode blended over the background) -> HUD.
#include "app/shown_picture.h"

#include <algorithm>

#include "processing/compositing.h"
#include "processing/motion_history.h"
#include "processing/resampling.h"

namespace {

// Sprite pixels of exactly this colour (pure green) are transparent.
const Pixel3 kSpriteKeyColor = {0x00, 0xFF, 0x00};

// HUD positions: top-left corners in the shown picture, row 0 at the top.
// Numbers are right-aligned on the units column; no leading zeros.
const int kItemMarkX = 3, kItemMarkY = 195;
const int kCamouflageMarkX = 260, kCamouflageMarkY = 7;
const int kDigitsY = 25;
const int kUnitsX = 290, kTensX = 279, kHundredsX = 269;

// Draws the HUD into `display`: in stealth mode the item mark and `percent`
// (brought into 0..100 first), in normal mode always the digit 0.
void DrawHud(CDibImage* display, const CDibImage* itemMark, const CDibImage* camouflageMark,
             const CDibImage* digits, int stealth, int percent) {
    if (stealth == 0) {
        PasteColorKeyed(display, camouflageMark, kCamouflageMarkX, kCamouflageMarkY,
                        kSpriteKeyColor);
        PasteColorKeyed(display, &digits[0], kUnitsX, kDigitsY, kSpriteKeyColor);
        return;
    }
    PasteColorKeyed(display, itemMark, kItemMarkX, kItemMarkY, kSpriteKeyColor);
    PasteColorKeyed(display, camouflageMark, kCamouflageMarkX, kCamouflageMarkY, kSpriteKeyColor);
    const int p = std::clamp(percent, 0, 100);
    if (p < 10) {
        PasteColorKeyed(display, &digits[p], kUnitsX, kDigitsY, kSpriteKeyColor);
    } else if (p < 100) {
        const int tens = p / 10;
        PasteColorKeyed(display, &digits[p - 10 * tens], kUnitsX, kDigitsY, kSpriteKeyColor);
        PasteColorKeyed(display, &digits[tens], kTensX, kDigitsY, kSpriteKeyColor);
    } else {
        PasteColorKeyed(display, &digits[0], kUnitsX, kDigitsY, kSpriteKeyColor);
        PasteColorKeyed(display, &digits[0], kTensX, kDigitsY, kSpriteKeyColor);
        PasteColorKeyed(display, &digits[1], kHundredsX, kDigitsY, kSpriteKeyColor);
    }
}

bool IsSized(const CDibImage& image, int width, int height) {
    return image.HasPixels() && image.Width() == width && image.Height() == height;
}

}  // namespace

int BuildShownPicture(const CDibImage* captured, const CDibImage* background,
                      const HudImages& sprites, int stealth, FrameCycleImages* cycle,
                      CDibImage* display) {
    const int width = display->Width();
    const int height = display->Height();
    // A frame of the shown size is used as it is: a copy would add nothing.
    const CDibImage* frame = &cycle->current;
    if (IsSized(*captured, width, height)) {
        frame = captured;
        if (cycle->current.HasPixels()) {
            cycle->current.Reset();  // no older picture to fall back on
        }
    } else {
        ResizeImage(captured, &cycle->current, width, height);
    }
    // Without a picture of the camera yet there is nothing to build: the
    // shown picture keeps what it holds and the HUD reads 0.
    int percent = 0;
    if (IsSized(*frame, width, height)) {
        // Runs in both modes, so the history is current when stealth starts.
        UpdateMotionHistory(frame, &cycle->motion);
        if (stealth != 0) {
            // Writes nothing and gives 0 unless every image has the same size.
            percent = BlendByHistory(frame, &cycle->motion, background, display);
        } else {
            display->CopyFrom(*frame);
        }
    }
    DrawHud(display, sprites.itemMark, sprites.camouflageMark, sprites.digits, stealth, percent);
    return percent;
}
