// MessageBoxA for the gtk driver: a modal GTK window laid out by the core.
//
// Stands in for the Windows message box window: the caption, the text as the
// core wrapped it, the icon of the MB_ICON kind and the buttons, each where
// the core's layout puts it, in the box's font. The window cannot be resized
// or maximised: besides the dialog type, its size hints fix its size (which
// openbox, for one, needs) and its Motif hints let the window manager only
// move it, and close it where the box can be closed (what many others go
// by). A Yes/No box ignores the close button and Esc: it can only be
// answered. While it is open the core's message loop
// runs, so other windows' timers and paints go on.
#pragma once

#include <gtk/gtk.h>

#include <string>

#include <windows.h>

#include "platform/win32/core/message_box_layout.h"

namespace win32core {

// The box's fonts measured with Pango as GTK draws them: the box's own font
// (family and size), and for the caption the title bar's font. A window
// manager keeps that one to itself; we take the desktop's UI font (GTK's
// gtk-font-name, which a desktop's settings daemon hands out) in bold, as
// large as or larger than the title fonts of openbox, xfwm4 and metacity by
// default, so that the box errs on the wide side.
class GtkBoxFonts : public BoxFonts {
  public:
    GtkBoxFonts(const std::string& family, int points);
    ~GtkBoxFonts() override;
    GtkBoxFonts(const GtkBoxFonts&) = delete;
    GtkBoxFonts& operator=(const GtkBoxFonts&) = delete;

    int TextWidth(const std::string& utf8) override;
    int TextLineHeight() override;
    int CaptionWidth(const std::string& utf8) override;
    int CaptionLineHeight() override;

  private:
    PangoLayout* m_text = nullptr;
    PangoLayout* m_caption = nullptr;
};

int RunGtkMessageBox(GtkWindow* parent, const MessageBoxLayout& layout, UINT type,
                     const std::string& fontClass);

}  // namespace win32core
