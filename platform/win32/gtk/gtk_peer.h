// The GTK widgets behind one window of the core, and the labels of their
// mnemonics (gtk driver).
//
// Stands in for the native window of an HWND: a top-level dialog has a
// GtkWindow with a GtkFixed for its controls (and its system-menu popup); a
// control has the one widget that shows it.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>

namespace win32core {

class X11SharedPicture;  // x11_shared_picture.h, where a Peer is deleted

// "&Start" -> "_Start", "&&" -> "&", "_" -> "__": Windows mnemonics in GTK terms.
std::string MnemonicLabel(const std::string& utf8);

struct Peer {
    GtkWidget* window = nullptr;  // dialogs
    GtkWidget* fixed = nullptr;   // dialogs: holds the controls at their positions
    GtkWidget* menu = nullptr;    // dialogs: the system menu while it was last shown
    GtkWidget* widget = nullptr;  // controls
    // Pictures: the pixels shared with an X server, made at the first draw;
    // refused once, the picture goes through GDK from then on.
    std::unique_ptr<X11SharedPicture> shared;
    bool sharedRefused = false;
};

}  // namespace win32core
