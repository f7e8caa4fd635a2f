// Sprites from text pixel maps: the readable source of the HUD bitmaps.
//
// A map is plain text, one instruction a line:
//   ; a comment
//   color C key          the character C stands for the key colour (pure green,
//                        transparent when the sprite is pasted)
//   color C R G B        the character C stands for that colour (0..255 each)
//   pixels               the rows follow, top row first, one character a pixel
// Every row must be as long as the first; every pixel character must have a
// colour. A visible colour may not be the key colour itself, so that nothing
// meant to show turns transparent by accident.
#pragma once

#include <string>

#include "image/dib_image.h"

// The colour of transparent sprite pixels, as red, green, blue.
constexpr int kSpriteKeyRed = 0;
constexpr int kSpriteKeyGreen = 255;
constexpr int kSpriteKeyBlue = 0;

// Builds the 24-bit sprite that `text` describes. 0 on success; -1 when the
// map is malformed, with the line number and the reason in *error.
int ParseSpriteMap(const std::string& text, CDibImage* sprite, std::string* error);
