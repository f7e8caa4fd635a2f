// The size and layout of a message box: where its text, icon and buttons go,
// how its text wraps, and where the box stands on the screen.
//
// Stands in for the layout that USER32 computes for MessageBoxA. The core
// computes it once and every driver shows it as it is, so the box is the same
// whatever the driver. The rules, in pixels of the box's client area:
//   - margins of 7 dialog units all round, buttons of 50 x 14 units (wider
//     for a longer label), 4 units between buttons, centred in a row under
//     the text, 7 units between the text (or its icon) and that row;
//   - the text wraps at 5/8 of the work area's width; when the box would
//     then be taller than the work area, at 3/4, then at 7/8; what is still
//     too tall is cut after the last line that fits, which ends in "…";
//   - the box is at least as wide as its caption in the title bar's font
//     plus the title bar's icon and buttons (four squares the title bar's
//     height: the window menu, minimise, maximise and close, for window
//     managers that show them all);
//   - the box with its frame is never wider or taller than the work area; it
//     is centred in the work area, or over a visible owner and then moved
//     into the work area.
// The frame is estimated from the title bar's font: borders of 4 pixels and a
// title bar 8 pixels taller than the font's line.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace win32core {

// How a driver's fonts measure text, in pixels: the box's own font for its
// text and buttons, and the title bar's font for the caption. Widths are of
// one line of UTF-8 text.
class BoxFonts {
  public:
    virtual ~BoxFonts() = default;
    virtual int TextWidth(const std::string& utf8) = 0;
    virtual int TextLineHeight() = 0;
    virtual int CaptionWidth(const std::string& utf8) = 0;
    virtual int CaptionLineHeight() = 0;
};

struct BoxButton {
    int id;             // IDOK, IDYES ...
    std::string label;  // with the '&' of its mnemonic: "&Yes"
    RECT rect;          // in the client area
};

struct MessageBoxLayout {
    std::string caption;             // UTF-8
    RECT client{};                   // the client area on the screen
    RECT frame{};                    // the estimated frame around it on the screen
    RECT icon{};                     // in the client area; empty without an icon
    RECT text{};                     // in the client area
    std::vector<std::string> lines;  // UTF-8, as wrapped (and cut)
    bool cut = false;                // the text did not fit; its last line ends in "…"
    std::vector<BoxButton> buttons;  // in order, left to right
    int defaultButton = 0;           // index into buttons
    int closeAnswer = 0;             // what Esc and the close button give; 0: they do nothing
};

// The layout of MessageBoxA(owner, text, caption, type) on a screen whose work
// area is workArea; owner is the owner's client area, or nullptr when there is
// no visible owner. Texts are UTF-8.
MessageBoxLayout LayoutMessageBox(const std::string& text, const std::string& caption, UINT type,
                                  BoxFonts& fonts, const RECT& workArea, const RECT* owner);

}  // namespace win32core
