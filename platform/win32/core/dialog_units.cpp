// Dialog units, MulDiv and the font substitution of dialog templates (see
// dialog_units.h): a control of 183 x 160 dialog units is exactly 320 x 240
// pixels.
#include "dialog_units.h"

#include <windows.h>

#include <cstdint>

namespace win32core {

namespace {

constexpr int kBaseUnitX = 7;
constexpr int kBaseUnitY = 12;

// Windows fonts of templates and the free fonts that stand in for them.
struct FontSubstitute {
    const char* windowsFace;  // code page 932
    const char* family;
};

const FontSubstitute kFontSubstitutes[] = {
    // "ＭＳ Ｐゴシック" (MS PGothic)
    {"\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e", "IPAPGothic"},
    // "ＭＳ ゴシック" (MS Gothic)
    {"\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e", "IPAGothic"},
    {"MS Sans Serif", "Sans"},
    {"MS Shell Dlg", "Sans"},
};

}  // namespace

int DialogUnitsToPixelsX(int units) {
    return MulDiv(units, kBaseUnitX, 4);
}

int DialogUnitsToPixelsY(int units) {
    return MulDiv(units, kBaseUnitY, 8);
}

std::string SubstituteFont(const std::string& windowsFace) {
    for (const FontSubstitute& s : kFontSubstitutes) {
        if (windowsFace == s.windowsFace) {
            return s.family;
        }
    }
    return "Sans";
}

}  // namespace win32core

using namespace win32core;

int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0) {
        return -1;
    }
    std::int64_t product = static_cast<std::int64_t>(nNumber) * nNumerator;
    std::int64_t denominator = nDenominator;
    if (denominator < 0) {
        product = -product;
        denominator = -denominator;
    }
    // Round half away from zero.
    const std::int64_t half = denominator / 2;
    const std::int64_t result =
        product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
    if (result > INT32_MAX || result < INT32_MIN) {
        return -1;
    }
    return static_cast<int>(result);
}
