// MessageBoxA for the gtk driver: a modal GTK message dialog.
//
// Stands in for the Windows message box: the caption and text (already UTF-8),
// the buttons the flags ask for (OK; OK/Cancel; Yes/No; Yes/No/Cancel) with
// the MB_DEFBUTTONn default, and the MB_ICON kind. While it is open the core's
// message loop runs, so other windows' timers and paints go on.
#pragma once

#include <gtk/gtk.h>

#include <string>

#include <windows.h>

namespace win32core {

int RunGtkMessageBox(GtkWindow* parent, const std::string& text, const std::string& caption,
                     UINT type, const std::string& fontClass);

}  // namespace win32core
