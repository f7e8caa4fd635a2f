// MessageBoxA for the gtk driver (see gtk_message_box.h).
//
// Stands in for the Windows message box window; limits: no help button, no
// MB_ABORTRETRYIGNORE or MB_RETRYCANCEL button sets (they show OK).
#include "gtk_message_box.h"

#include <vector>

#include "platform/win32/core/driver.h"

namespace win32core {

namespace {

struct Button {
    const char* label;
    int id;
};

std::vector<Button> ButtonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {{"OK", IDOK}, {"Cancel", IDCANCEL}};
        case MB_YESNO:
            return {{"_Yes", IDYES}, {"_No", IDNO}};
        case MB_YESNOCANCEL:
            return {{"_Yes", IDYES}, {"_No", IDNO}, {"Cancel", IDCANCEL}};
        default:
            return {{"OK", IDOK}};
    }
}

GtkMessageType KindFor(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return GTK_MESSAGE_ERROR;
        case MB_ICONQUESTION:
            return GTK_MESSAGE_QUESTION;
        case MB_ICONEXCLAMATION:
            return GTK_MESSAGE_WARNING;
        case MB_ICONASTERISK:
            return GTK_MESSAGE_INFO;
        default:
            return GTK_MESSAGE_OTHER;
    }
}

struct BoxState {
    int answer = 0;
    bool done = false;
    bool closable = false;  // the box has a way out besides its buttons
    int closeAnswer = 0;
};

void OnResponse(GtkDialog*, gint response, gpointer data) {
    auto* state = static_cast<BoxState*>(data);
    if (response == GTK_RESPONSE_DELETE_EVENT) {
        if (!state->closable) {
            return;  // Yes/No boxes can only be answered
        }
        response = state->closeAnswer;
    }
    state->answer = response;
    state->done = true;
    WakeUp();
}

}  // namespace

int RunGtkMessageBox(GtkWindow* parent, const std::string& text, const std::string& caption,
                     UINT type, const std::string& fontClass) {
    GtkWidget* dialog = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, KindFor(type),
                                               GTK_BUTTONS_NONE, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
    gtk_style_context_add_class(gtk_widget_get_style_context(dialog), fontClass.c_str());
    const std::vector<Button> buttons = ButtonsFor(type);
    for (const Button& b : buttons) {
        gtk_dialog_add_button(GTK_DIALOG(dialog), b.label, b.id);
    }
    std::size_t defIndex = ((type & MB_DEFMASK) >> 8);
    if (defIndex >= buttons.size()) {
        defIndex = 0;
    }
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), buttons[defIndex].id);
    if (GtkWidget* def =
            gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), buttons[defIndex].id)) {
        gtk_widget_grab_focus(def);
    }

    // As on Windows: Esc and the close button give Cancel where there is one,
    // OK in an OK-only box, and nothing in a Yes/No box.
    BoxState state;
    const UINT kind = type & MB_TYPEMASK;
    state.closable = kind != MB_YESNO;
    state.closeAnswer = (kind == MB_OKCANCEL || kind == MB_YESNOCANCEL) ? IDCANCEL : IDOK;
    gtk_window_set_deletable(GTK_WINDOW(dialog), state.closable);
    if (parent == nullptr) {
        gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
        gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    }
    g_signal_connect(dialog, "response", G_CALLBACK(OnResponse), &state);
    gtk_widget_show_all(dialog);

    RunNestedLoop([&state] { return state.done; });
    g_signal_handlers_disconnect_by_data(dialog, &state);
    gtk_widget_destroy(dialog);
    // Gone from the screen now, even when the program goes on to wait for
    // something (a camera opening) before it reads events again.
    gdk_display_flush(gdk_display_get_default());
    return state.done ? state.answer : 0;
}

}  // namespace win32core
