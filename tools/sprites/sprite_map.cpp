// Parsing of text pixel maps into sprites (format in sprite_map.h).
#include "tools/sprites/sprite_map.h"

#include <array>
#include <sstream>
#include <vector>

namespace {

struct Colour {
    bool defined = false;
    BYTE red = 0, green = 0, blue = 0;
};

bool Fail(std::string* error, int line, const std::string& why) {
    *error = "line " + std::to_string(line) + ": " + why;
    return false;
}

// One "color" instruction: the rest of the line after the word.
bool ParseColour(std::istringstream& in, int line, std::array<Colour, 256>* palette,
                 std::string* error) {
    std::string symbol;
    if (!(in >> symbol) || symbol.size() != 1) {
        return Fail(error, line, "color needs one pixel character");
    }
    Colour& colour = (*palette)[static_cast<unsigned char>(symbol[0])];
    if (colour.defined) {
        return Fail(error, line, "the character '" + symbol + "' has a colour already");
    }
    std::string first;
    if (!(in >> first)) {
        return Fail(error, line, "color needs 'key' or three values");
    }
    if (first == "key") {
        colour.red = kSpriteKeyRed;
        colour.green = kSpriteKeyGreen;
        colour.blue = kSpriteKeyBlue;
    } else {
        int rgb[3];
        std::istringstream values(first);
        if (!(values >> rgb[0]) || !values.eof() || !(in >> rgb[1] >> rgb[2])) {
            return Fail(error, line, "color needs 'key' or three values 0..255");
        }
        for (int v : rgb) {
            if (v < 0 || v > 255) {
                return Fail(error, line, "colour values lie in 0..255");
            }
        }
        if (rgb[0] == kSpriteKeyRed && rgb[1] == kSpriteKeyGreen && rgb[2] == kSpriteKeyBlue) {
            return Fail(error, line, "a visible colour may not be the key colour; use 'key'");
        }
        colour.red = static_cast<BYTE>(rgb[0]);
        colour.green = static_cast<BYTE>(rgb[1]);
        colour.blue = static_cast<BYTE>(rgb[2]);
    }
    std::string extra;
    if (in >> extra) {
        return Fail(error, line, "unexpected '" + extra + "' after the colour");
    }
    colour.defined = true;
    return true;
}

bool Parse(const std::string& text, CDibImage* sprite, std::string* error) {
    std::array<Colour, 256> palette;
    std::vector<std::string> rows;
    std::vector<int> rowLines;
    bool inPixels = false;
    std::istringstream lines(text);
    std::string raw;
    for (int line = 1; std::getline(lines, raw); ++line) {
        if (!raw.empty() && raw.back() == '\r') {
            raw.pop_back();
        }
        if (inPixels) {
            if (raw.empty()) {
                continue;  // a trailing blank line ends nothing
            }
            rows.push_back(raw);
            rowLines.push_back(line);
            continue;
        }
        std::istringstream in(raw);
        std::string word;
        if (!(in >> word) || word[0] == ';') {
            continue;
        }
        if (word == "color") {
            if (!ParseColour(in, line, &palette, error)) {
                return false;
            }
        } else if (word == "pixels") {
            inPixels = true;
        } else {
            return Fail(error, line, "unknown instruction '" + word + "'");
        }
    }
    if (rows.empty()) {
        return Fail(error, 0, "no pixel rows (they follow a 'pixels' line)");
    }
    const size_t width = rows[0].size();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].size() != width) {
            return Fail(error, rowLines[i],
                        "row is " + std::to_string(rows[i].size()) + " pixels wide, the first " +
                            std::to_string(width));
        }
        for (size_t j = 0; j < width; ++j) {
            if (!palette[static_cast<unsigned char>(rows[i][j])].defined) {
                return Fail(error, rowLines[i],
                            std::string("the character '") + rows[i][j] + "' has no colour");
            }
        }
    }
    if (sprite->Create(static_cast<int>(width), static_cast<int>(rows.size())) != 0) {
        return Fail(error, 0, "the sprite is too large");
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        BYTE* pixel = sprite->Row(static_cast<int>(i));
        for (char c : rows[i]) {
            const Colour& colour = palette[static_cast<unsigned char>(c)];
            pixel[0] = colour.blue;
            pixel[1] = colour.green;
            pixel[2] = colour.red;
            pixel += 3;
        }
    }
    return true;
}

}  // namespace

int ParseSpriteMap(const std::string& text, CDibImage* sprite, std::string* error) {
    return Parse(text, sprite, error) ? 0 : -1;
}
