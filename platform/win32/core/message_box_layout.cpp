// The size and layout of a message box (see message_box_layout.h).
#include "message_box_layout.h"

#include <algorithm>

#include "dialog_units.h"
#include "text_wrap.h"

namespace win32core {

namespace {

constexpr int kIconSize = 32;
constexpr int kFrameBorder = 4;
constexpr int kTitleBarPadding = 8;
constexpr int kTitleBarButtons = 4;

// The shares of the work area's width that the text may take, tried in turn
// until the box fits the work area's height: numerators over eighths.
constexpr int kTextWidthEighths[] = {5, 6, 7};

struct ButtonSpec {
    int id;
    const char* label;
};

std::vector<ButtonSpec> ButtonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
        case MB_YESNO:
            return {{IDYES, "&Yes"}, {IDNO, "&No"}};
        case MB_YESNOCANCEL:
            return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
        default:
            return {{IDOK, "OK"}};
    }
}

// Esc and the close button give Cancel where there is one, OK in an OK-only
// box, and nothing in a Yes/No box, which can only be answered.
int CloseAnswerFor(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
        case MB_YESNOCANCEL:
            return IDCANCEL;
        case MB_YESNO:
            return 0;
        default:
            return IDOK;
    }
}

std::string WithoutMnemonic(const std::string& label) {
    std::string out;
    for (char c : label) {
        if (c != '&') {
            out += c;
        }
    }
    return out;
}

int Width(const RECT& r) {
    return r.right - r.left;
}

int Height(const RECT& r) {
    return r.bottom - r.top;
}

// The middle of area, moved as little as needed to lie within bounds.
RECT PlaceWithin(const RECT& area, const RECT& bounds, int width, int height) {
    int left = area.left + (Width(area) - width) / 2;
    int top = area.top + (Height(area) - height) / 2;
    left = std::max<int>(bounds.left, std::min<int>(left, bounds.right - width));
    top = std::max<int>(bounds.top, std::min<int>(top, bounds.bottom - height));
    return RECT{left, top, left + width, top + height};
}

}  // namespace

MessageBoxLayout LayoutMessageBox(const std::string& text, const std::string& caption, UINT type,
                                  BoxFonts& fonts, const RECT& workArea, const RECT* owner) {
    MessageBoxLayout box;
    box.caption = caption;
    box.closeAnswer = CloseAnswerFor(type);
    const MeasureText textWidth = [&fonts](const std::string& s) { return fonts.TextWidth(s); };

    const int marginX = DialogUnitsToPixelsX(7);
    const int marginY = DialogUnitsToPixelsY(7);
    const int buttonGap = DialogUnitsToPixelsX(4);
    const int buttonHeight = DialogUnitsToPixelsY(14);
    const int lineHeight = std::max(1, fonts.TextLineHeight());
    const bool hasIcon = (type & MB_ICONMASK) != 0;
    const int iconPart = hasIcon ? kIconSize + marginX : 0;

    // The frame, estimated: the title bar's height follows its font.
    const int titleBar = fonts.CaptionLineHeight() + kTitleBarPadding;
    const int frameWidth = 2 * kFrameBorder;
    const int frameHeight = 2 * kFrameBorder + titleBar;
    const int maxClientWidth = std::max(1, Width(workArea) - frameWidth);
    const int maxClientHeight = std::max(1, Height(workArea) - frameHeight);

    // The buttons' sizes and their row.
    std::vector<int> buttonWidths;
    int rowWidth = 0;
    for (const ButtonSpec& b : ButtonsFor(type)) {
        const int labelWidth = fonts.TextWidth(WithoutMnemonic(b.label));
        buttonWidths.push_back(
            std::max(DialogUnitsToPixelsX(50), labelWidth + 2 * DialogUnitsToPixelsX(4)));
        rowWidth += buttonWidths.back() + (box.buttons.empty() ? 0 : buttonGap);
        box.buttons.push_back(BoxButton{b.id, b.label, RECT{}});
    }
    const std::size_t defIndex = (type & MB_DEFMASK) >> 8;
    box.defaultButton = defIndex < box.buttons.size() ? static_cast<int>(defIndex) : 0;

    // The text: wrapped at the smallest share of the work area's width that
    // lets the box fit its height; cut when even the largest does not.
    const int aroundText = 2 * marginY + marginY + buttonHeight;
    int maxTextWidth = 1;
    for (int eighths : kTextWidthEighths) {
        maxTextWidth = std::max(
            1, std::min(Width(workArea) * eighths / 8, maxClientWidth - 2 * marginX - iconPart));
        box.lines = WrapText(text, maxTextWidth, textWidth);
        if (aroundText + static_cast<int>(box.lines.size()) * lineHeight <= maxClientHeight) {
            break;
        }
    }
    const std::size_t maxLines =
        static_cast<std::size_t>(std::max(1, (maxClientHeight - aroundText) / lineHeight));
    if (box.lines.size() > maxLines) {
        box.lines.resize(maxLines);
        box.lines.back() = EllipsizeLine(box.lines.back(), maxTextWidth, textWidth);
        box.cut = true;
    }
    int longestLine = 0;
    for (const std::string& line : box.lines) {
        longestLine = std::max(longestLine, fonts.TextWidth(line));
    }
    const int textHeight = static_cast<int>(box.lines.size()) * lineHeight;
    const int bodyHeight = std::max(textHeight, hasIcon ? kIconSize : 0);

    // The client area: wide enough for the text, the buttons and the caption
    // with the title bar's buttons, within the work area.
    const int captionNeeds = fonts.CaptionWidth(caption) + kTitleBarButtons * titleBar;
    const int clientWidth = std::min(
        maxClientWidth,
        std::max({longestLine + 2 * marginX + iconPart, rowWidth + 2 * marginX, captionNeeds}));
    const int clientHeight = std::min(maxClientHeight, aroundText + bodyHeight);

    if (hasIcon) {
        box.icon = RECT{marginX, marginY, marginX + kIconSize, marginY + kIconSize};
    }
    const int textTop = marginY + (bodyHeight - textHeight) / 2;
    box.text = RECT{marginX + iconPart, textTop, clientWidth - marginX, textTop + textHeight};
    int x = (clientWidth - rowWidth) / 2;
    const int y = clientHeight - marginY - buttonHeight;
    for (std::size_t i = 0; i < box.buttons.size(); ++i) {
        box.buttons[i].rect = RECT{x, y, x + buttonWidths[i], y + buttonHeight};
        x += buttonWidths[i] + buttonGap;
    }

    box.frame = PlaceWithin(owner != nullptr ? *owner : workArea, workArea,
                            clientWidth + frameWidth, clientHeight + frameHeight);
    box.client = RECT{box.frame.left + kFrameBorder, box.frame.top + kFrameBorder + titleBar,
                      box.frame.right - kFrameBorder, box.frame.bottom - kFrameBorder};
    return box;
}

}  // namespace win32core
