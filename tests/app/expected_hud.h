// What the HUD must look like, drawn independently of the program's code, for
// exact picture comparisons in the dialog tests and the end-to-end checks.
#pragma once

#include <cstring>

#include "image/dib_image.h"

struct HudSprites {
    CDibImage item;
    CDibImage camouflage;
    CDibImage digits[10];
};

// Copies every sprite pixel that is not pure green (blue 0, green 255, red 0)
// to (x + j, y + i) of the picture, row 0 at the top; pixels outside are cut.
inline void PasteExpected(CDibImage* picture, const CDibImage& sprite, int x, int y) {
    static const BYTE kKey[3] = {0x00, 0xFF, 0x00};
    for (int i = 0; i < sprite.Height(); ++i) {
        for (int j = 0; j < sprite.Width(); ++j) {
            const BYTE* s = sprite.Row(i) + 3 * j;
            const int X = x + j, Y = y + i;
            if (std::memcmp(s, kKey, 3) != 0 && X >= 0 && X < picture->Width() && Y >= 0 &&
                Y < picture->Height()) {
                std::memcpy(picture->Row(Y) + 3 * X, s, 3);
            }
        }
    }
}

// The HUD: in normal mode the camouflage mark at (260, 7) and the digit 0 at
// (290, 25); in stealth mode first the item mark at (3, 195), then the mark,
// then `percent` right-aligned on column 290 (tens at 279, hundreds at 269).
inline void DrawExpectedHud(CDibImage* picture, const HudSprites& s, bool stealth, int percent) {
    if (!stealth) {
        PasteExpected(picture, s.camouflage, 260, 7);
        PasteExpected(picture, s.digits[0], 290, 25);
        return;
    }
    PasteExpected(picture, s.item, 3, 195);
    PasteExpected(picture, s.camouflage, 260, 7);
    PasteExpected(picture, s.digits[percent % 10], 290, 25);
    if (percent >= 10) {
        PasteExpected(picture, s.digits[(percent / 10) % 10], 279, 25);
    }
    if (percent >= 100) {
        PasteExpected(picture, s.digits[1], 269, 25);
    }
}
