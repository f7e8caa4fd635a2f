// The picture of one tick of the frame cycle, apart from the dialog, so that
// every program that shows or writes the effect builds it the same way.
#pragma once

#include "image/dib_image.h"

// The HUD's sprites; an empty one is simply not drawn.
struct HudImages {
    const CDibImage* itemMark;
    const CDibImage* camouflageMark;
    const CDibImage* digits;  // ten images: element i shows the digit i
};

// What a tick keeps for the next one besides the motion history's own state.
struct FrameCycleImages {
    CDibImage current;  // the camera's frame brought to the shown size (a frame
                        // already of that size is used as it is, not copied)
    CDibImage motion;   // room for a copy of the motion history (bright = moved
                        // lately), where a tick blends whole images
};

// Brings `captured` (at the camera's size) to the size of `display`, updates
// the motion history and writes the shown picture into `display`: the frame,
// or in stealth mode the frame blended over `background` by the history, then
// the HUD. Without a frame yet, `display` keeps what it holds under a HUD
// reading 0. Returns the hidden percentage the HUD shows.
int BuildShownPicture(const CDibImage* captured, const CDibImage* background,
                      const HudImages& sprites, int stealth, FrameCycleImages* cycle,
                      CDibImage* display);
