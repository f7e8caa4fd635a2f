// MessageBoxA for the gtk driver (see gtk_message_box.h).
#include "gtk_message_box.h"

#include <cctype>

#include "gtk_peer.h"
#include "platform/win32/core/dialog_manager.h"

namespace win32core {

namespace {

const char* IconNameFor(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return "dialog-error";
        case MB_ICONQUESTION:
            return "dialog-question";
        case MB_ICONEXCLAMATION:
            return "dialog-warning";
        default:
            return "dialog-information";
    }
}

struct BoxState {
    const MessageBoxLayout* layout = nullptr;
    int answer = 0;
    bool done = false;
};

void Answer(BoxState* state, int answer) {
    state->answer = answer;
    state->done = true;
    WakeUp();
}

void OnButton(GtkButton* button, gpointer data) {
    Answer(static_cast<BoxState*>(data),
           GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), "tenebrix-id")));
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
    auto* state = static_cast<BoxState*>(data);
    if (state->layout->closeAnswer != 0) {
        Answer(state, state->layout->closeAnswer);
    }
    return TRUE;  // the box goes when MessageBoxA returns
}

// As in a Windows dialog: Esc closes where the box can be closed, and a
// button's mnemonic letter, with or without Alt, answers with that button.
gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer data) {
    auto* state = static_cast<BoxState*>(data);
    if (event->keyval == GDK_KEY_Escape) {
        if (state->layout->closeAnswer != 0) {
            Answer(state, state->layout->closeAnswer);
        }
        return TRUE;
    }
    const guint32 typed = gdk_keyval_to_unicode(gdk_keyval_to_lower(event->keyval));
    if ((event->state & GDK_CONTROL_MASK) != 0 || typed == 0 || typed > 0x7F) {
        return FALSE;
    }
    for (const BoxButton& b : state->layout->buttons) {
        const std::size_t amp = b.label.find('&');
        if (amp != std::string::npos && amp + 1 < b.label.size() &&
            std::tolower(static_cast<unsigned char>(b.label[amp + 1])) == static_cast<int>(typed)) {
            Answer(state, b.id);
            return TRUE;
        }
    }
    return FALSE;
}

int PixelWidth(PangoLayout* layout, const std::string& utf8) {
    int width = 0;
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
    pango_layout_get_pixel_size(layout, &width, nullptr);
    return width;
}

int LineHeight(PangoLayout* layout) {
    int height = 0;
    pango_layout_set_text(layout, "Ag\xE3\x81\x82", -1);  // "Agあ"
    pango_layout_get_pixel_size(layout, nullptr, &height);
    return height;
}

PangoLayout* LayoutInFont(PangoFontDescription* font) {
    PangoContext* context = gdk_pango_context_get();
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, font);
    g_object_unref(context);
    pango_font_description_free(font);
    return layout;
}

}  // namespace

GtkBoxFonts::GtkBoxFonts(const std::string& family, int points) {
    PangoFontDescription* text = pango_font_description_new();
    pango_font_description_set_family(text, family.c_str());
    pango_font_description_set_size(text, points * PANGO_SCALE);
    m_text = LayoutInFont(text);

    gchar* uiFont = nullptr;
    g_object_get(gtk_settings_get_default(), "gtk-font-name", &uiFont, nullptr);
    PangoFontDescription* title = pango_font_description_from_string(uiFont ? uiFont : "Sans 10");
    g_free(uiFont);
    pango_font_description_set_weight(title, PANGO_WEIGHT_BOLD);
    m_caption = LayoutInFont(title);
}

GtkBoxFonts::~GtkBoxFonts() {
    g_object_unref(m_text);
    g_object_unref(m_caption);
}

int GtkBoxFonts::TextWidth(const std::string& utf8) {
    return PixelWidth(m_text, utf8);
}

int GtkBoxFonts::TextLineHeight() {
    return LineHeight(m_text);
}

int GtkBoxFonts::CaptionWidth(const std::string& utf8) {
    return PixelWidth(m_caption, utf8);
}

int GtkBoxFonts::CaptionLineHeight() {
    return LineHeight(m_caption);
}

int RunGtkMessageBox(GtkWindow* parent, const MessageBoxLayout& layout, UINT type,
                     const std::string& fontClass) {
    GtkWidget* dialog = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* window = GTK_WINDOW(dialog);
    gtk_window_set_title(window, layout.caption.c_str());
    gtk_window_set_resizable(window, FALSE);
    gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_deletable(window, layout.closeAnswer != 0);
    if (parent != nullptr) {
        gtk_window_set_transient_for(window, parent);
        gtk_window_set_modal(window, TRUE);
    } else {
        gtk_window_set_keep_above(window, TRUE);
    }
    // With the default gravity this is where the frame's corner goes.
    gtk_window_move(window, layout.frame.left, layout.frame.top);
    gtk_style_context_add_class(gtk_widget_get_style_context(dialog), fontClass.c_str());

    GtkWidget* fixed = gtk_fixed_new();
    gtk_widget_set_size_request(fixed, layout.client.right - layout.client.left,
                                layout.client.bottom - layout.client.top);
    gtk_container_add(GTK_CONTAINER(dialog), fixed);
    if (layout.icon.right > layout.icon.left) {
        GtkWidget* icon = gtk_image_new_from_icon_name(IconNameFor(type), GTK_ICON_SIZE_DIALOG);
        gtk_image_set_pixel_size(GTK_IMAGE(icon), layout.icon.right - layout.icon.left);
        gtk_fixed_put(GTK_FIXED(fixed), icon, layout.icon.left, layout.icon.top);
    }
    std::string text;
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        text += (i > 0 ? "\n" : "") + layout.lines[i];
    }
    GtkWidget* label = gtk_label_new(text.c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
    gtk_widget_set_size_request(label, layout.text.right - layout.text.left,
                                layout.text.bottom - layout.text.top);
    gtk_fixed_put(GTK_FIXED(fixed), label, layout.text.left, layout.text.top);

    BoxState state;
    state.layout = &layout;
    GtkWidget* defaultButton = nullptr;
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
        const BoxButton& b = layout.buttons[i];
        GtkWidget* button = gtk_button_new_with_mnemonic(MnemonicLabel(b.label).c_str());
        gtk_style_context_add_class(gtk_widget_get_style_context(button), "tenebrix");
        gtk_widget_set_size_request(button, b.rect.right - b.rect.left, b.rect.bottom - b.rect.top);
        g_object_set_data(G_OBJECT(button), "tenebrix-id", GINT_TO_POINTER(b.id));
        g_signal_connect(button, "clicked", G_CALLBACK(OnButton), &state);
        gtk_fixed_put(GTK_FIXED(fixed), button, b.rect.left, b.rect.top);
        if (static_cast<int>(i) == layout.defaultButton) {
            defaultButton = button;
        }
    }
    gtk_widget_set_can_default(defaultButton, TRUE);
    gtk_window_set_default(window, defaultButton);
    gtk_widget_grab_focus(defaultButton);
    g_signal_connect(dialog, "delete-event", G_CALLBACK(OnDelete), &state);
    g_signal_connect(dialog, "key-press-event", G_CALLBACK(OnKey), &state);

    // Size hints and the dialog type do not keep every window manager from
    // offering to resize or maximise: the Motif hints say what it may do.
    gtk_widget_realize(dialog);
    GdkWindow* native = gtk_widget_get_window(dialog);
    gdk_window_set_functions(
        native,
        static_cast<GdkWMFunction>(GDK_FUNC_MOVE | (layout.closeAnswer != 0 ? GDK_FUNC_CLOSE : 0)));
    gdk_window_set_decorations(
        native, static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU));
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
