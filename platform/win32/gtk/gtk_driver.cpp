// The gtk window driver: dialogs as GTK 3 windows on the desktop.
//
// Stands in for the Windows desktop. Each dialog is a GTK top-level window
// with the template's caption and the program icon; its controls sit at their
// template positions in a GtkFixed: push buttons are GtkButtons with the
// template labels, text statics are GtkLabels, and statics without text (the
// black-frame picture, icons) are drawing areas that show the control's pixel
// surface; a changed surface goes to the screen at once, on X11 through memory
// shared with the server (x11_shared_picture.h). Timers are GLib timeouts. Esc,
// Tab, Enter without a focused button and the window's close button go to the
// core's dialog manager; a right click in the dialog or Shift+F10 opens the
// system menu as a popup. A window destroyed from outside the program is
// closed as by its close button; a display lost ends the program with status 1
// and one line on stderr. Texts are code page 932 and converted to UTF-8; the
// template font goes through the core's substitution table, and falls back to
// "Sans" when the family is missing.
//
// Limits: the window manager places and frames windows; windows are not
// resizable; Space and Enter on a focused button are GTK's own activation.
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif
#include <langinfo.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <utility>

#include "gtk_message_box.h"
#include "gtk_peer.h"
#include "platform/win32/core/dialog_units.h"
#include "platform/win32/core/driver.h"
#include "platform/win32/core/icons.h"
#include "platform/win32/core/menus.h"
#include "platform/win32/core/text_codec.h"
#include "platform/win32/core/timers.h"
#include "platform/win32/core/window_api.h"
#include "x11_shared_picture.h"

namespace win32core {

namespace {

bool FamilyInstalled(const std::string& family) {
    PangoFontMap* map = pango_cairo_font_map_get_default();
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(map, &families, &count);
    bool found = false;
    for (int i = 0; i < count && !found; ++i) {
        found = g_ascii_strcasecmp(pango_font_family_get_name(families[i]), family.c_str()) == 0;
    }
    g_free(families);
    return found;
}

GdkPixbuf* PixbufOf(const IconBitmap& icon) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, icon.width, icon.height);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x) {
            const std::uint32_t argb = icon.argb[y * icon.width + x];
            guchar* p = pixels + y * stride + x * 4;
            p[0] = (argb >> 16) & 0xFF;
            p[1] = (argb >> 8) & 0xFF;
            p[2] = argb & 0xFF;
            p[3] = (argb >> 24) & 0xFF;
        }
    }
    return pixbuf;
}

class GtkDriver : public WindowDriver {
  public:
    GtkDriver() {
        m_css = gtk_css_provider_new();
        // Compact buttons, so that labels fit the template's small buttons.
        AddCss("button.tenebrix { padding: 0 2px; min-height: 0; min-width: 0; }\n");
    }

    void CreatePeer(Window& w) override {
        if (w.parent != nullptr) {
            return;  // controls are built with their dialog
        }
        auto* peer = new Peer;
        w.driverData = peer;
        peer->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        GtkWindow* window = GTK_WINDOW(peer->window);
        gtk_window_set_title(window, Cp932ToUtf8(w.text).c_str());
        gtk_window_set_resizable(window, FALSE);
        gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
        gtk_window_move(window, w.rect.left, w.rect.top);
        if ((w.exStyle & WS_EX_APPWINDOW) == 0 && w.owner != nullptr) {
            gtk_window_set_skip_taskbar_hint(window, TRUE);
        }
        if (Window* owner = FindWindowData(w.owner); owner != nullptr && PeerOf(*owner)) {
            gtk_window_set_transient_for(window, GTK_WINDOW(PeerOf(*owner)->window));
            gtk_window_set_modal(window, TRUE);
        }
        gtk_style_context_add_class(gtk_widget_get_style_context(peer->window),
                                    FontClass(w).c_str());
        peer->fixed = gtk_fixed_new();
        gtk_widget_set_size_request(peer->fixed, w.rect.right - w.rect.left,
                                    w.rect.bottom - w.rect.top);
        gtk_container_add(GTK_CONTAINER(window), peer->fixed);
        for (HWND child : w.children) {
            if (Window* c = FindWindowData(child)) {
                AddControl(*peer, *c);
            }
        }
        gtk_widget_add_events(peer->window, GDK_BUTTON_PRESS_MASK);
        g_signal_connect(peer->window, "delete-event", G_CALLBACK(OnDelete), w.handle);
        g_signal_connect(peer->window, "destroy-event", G_CALLBACK(OnDestroyedOutside), w.handle);
        g_signal_connect(peer->window, "key-press-event", G_CALLBACK(OnKey), w.handle);
        g_signal_connect(peer->window, "button-press-event", G_CALLBACK(OnButtonPress), w.handle);
        g_signal_connect(peer->window, "window-state-event", G_CALLBACK(OnState), w.handle);
        IconChanged(w);
    }

    void DestroyPeer(Window& w) override {
        Peer* peer = PeerOf(w);
        if (peer == nullptr) {
            return;
        }
        if (peer->window != nullptr) {
            // The handlers must not reach the core for a window it forgot.
            g_signal_handlers_disconnect_by_data(peer->window, w.handle);
            gtk_widget_destroy(peer->window);
            // Gone from the screen now, whatever the program does next.
            gdk_display_flush(gdk_display_get_default());
        } else if (peer->widget != nullptr) {
            g_signal_handlers_disconnect_by_data(peer->widget, w.handle);
        }
        delete peer;
        w.driverData = nullptr;
    }

    void ShowPeer(Window& w, bool show) override {
        Peer* peer = PeerOf(w);
        if (peer == nullptr) {
            return;
        }
        GtkWidget* widget = peer->window != nullptr ? peer->window : peer->widget;
        if (show && peer->window != nullptr) {
            gtk_widget_show(peer->fixed);
            gtk_widget_show(peer->window);
            gtk_window_present(GTK_WINDOW(peer->window));
            if (HWND focus = w.focus) {
                if (Window* f = FindWindowData(focus)) {
                    FocusPeer(*f);
                }
            }
        } else {
            gtk_widget_set_visible(widget, show);
        }
    }

    void EnablePeer(Window& w, bool enable) override {
        // A disabled dialog keeps its look; the core ignores its input and a
        // modal child window blocks it natively.
        Peer* peer = PeerOf(w);
        if (peer != nullptr && peer->widget != nullptr) {
            gtk_widget_set_sensitive(peer->widget, enable);
        }
    }

    void TextChanged(Window& w) override {
        Peer* peer = PeerOf(w);
        if (peer == nullptr) {
            return;
        }
        const std::string utf8 = Cp932ToUtf8(w.text);
        if (peer->window != nullptr) {
            gtk_window_set_title(GTK_WINDOW(peer->window), utf8.c_str());
        } else if (GTK_IS_BUTTON(peer->widget)) {
            gtk_button_set_label(GTK_BUTTON(peer->widget), MnemonicLabel(utf8).c_str());
        } else if (GTK_IS_LABEL(peer->widget)) {
            SetLabelText(w, GTK_LABEL(peer->widget));
        }
    }

    void IconChanged(Window& w) override {
        Peer* peer = PeerOf(w);
        if (peer == nullptr || peer->window == nullptr) {
            return;
        }
        // The big icon's 32 x 32 image and the small icon's 16 x 16 one, also
        // when both are the same icon (as Windows picks each size from it).
        const std::pair<HICON, int> sizes[] = {{w.bigIcon, 32}, {w.smallIcon, 16}};
        GList* list = nullptr;
        for (const auto& [icon, size] : sizes) {
            const IconBitmap* b = IconBitmapOf(icon, size);
            if (b != nullptr) {
                list = g_list_append(list, PixbufOf(*b));
            }
        }
        gtk_window_set_icon_list(GTK_WINDOW(peer->window), list);
        g_list_free_full(list, g_object_unref);
    }

    void FocusPeer(Window& w) override {
        Peer* peer = PeerOf(w);
        if (peer != nullptr && peer->widget != nullptr && gtk_widget_get_can_focus(peer->widget)) {
            gtk_widget_grab_focus(peer->widget);
        }
    }

    void Minimize(Window& w, bool iconic) override {
        Peer* peer = PeerOf(w);
        if (peer == nullptr || peer->window == nullptr) {
            return;
        }
        if (iconic) {
            gtk_window_iconify(GTK_WINDOW(peer->window));
        } else {
            gtk_window_deiconify(GTK_WINDOW(peer->window));
        }
    }

    void SurfaceChanged(Window& w, const RECT& r) override {
        Peer* peer = PeerOf(w);
        if (peer != nullptr && peer->widget != nullptr && GTK_IS_DRAWING_AREA(peer->widget) &&
            !DrawNow(w, *peer, r)) {
            gtk_widget_queue_draw_area(peer->widget, r.left, r.top, r.right - r.left,
                                       r.bottom - r.top);
        }
    }

    void TimerSet(HWND hwnd, UINT_PTR id, UINT elapse) override {
        auto* key = new std::pair<HWND, UINT_PTR>(hwnd, id);
        const guint source = g_timeout_add_full(
            G_PRIORITY_DEFAULT, elapse, OnTimer, key,
            [](gpointer p) { delete static_cast<std::pair<HWND, UINT_PTR>*>(p); });
        m_timers[std::make_pair(hwnd, id)] = source;
    }

    void TimerKilled(HWND hwnd, UINT_PTR id) override {
        auto it = m_timers.find(std::make_pair(hwnd, id));
        if (it != m_timers.end()) {
            g_source_remove(it->second);
            m_timers.erase(it);
        }
    }

    bool WaitForEvents() override {
        g_main_context_iteration(nullptr, TRUE);
        return true;
    }

    int MessageBox(HWND owner, const std::string&, const std::string&, UINT type,
                   const MessageBoxLayout& layout) override {
        Window* o = FindWindowData(owner);
        Peer* peer = o != nullptr ? PeerOf(*o) : nullptr;
        GtkWindow* parent = peer != nullptr ? GTK_WINDOW(peer->window) : nullptr;
        return RunGtkMessageBox(parent, layout, type,
                                FontClassFor(DefaultUiFontFace(), kMessageBoxPoints));
    }

    BoxFonts& MessageBoxFonts() override {
        if (!m_boxFonts) {
            m_boxFonts =
                std::make_unique<GtkBoxFonts>(FamilyFor(DefaultUiFontFace()), kMessageBoxPoints);
        }
        return *m_boxFonts;
    }

    SIZE ScreenSize() override {
        GdkRectangle area;
        if (GdkMonitor* monitor = PrimaryMonitor()) {
            gdk_monitor_get_geometry(monitor, &area);
            return SIZE{area.width, area.height};
        }
        return SIZE{1024, 768};
    }

    RECT WorkArea() override {
        GdkRectangle area;
        if (GdkMonitor* monitor = PrimaryMonitor()) {
            gdk_monitor_get_workarea(monitor, &area);
            return RECT{area.x, area.y, area.x + area.width, area.y + area.height};
        }
        return RECT{0, 0, 1024, 768};
    }

  private:
    static Peer* PeerOf(Window& w) { return static_cast<Peer*>(w.driverData); }

    static GdkMonitor* PrimaryMonitor() {
        GdkDisplay* display = gdk_display_get_default();
        GdkMonitor* monitor =
            display != nullptr ? gdk_display_get_primary_monitor(display) : nullptr;
        if (monitor == nullptr && display != nullptr) {
            monitor = gdk_display_get_monitor(display, 0);
        }
        return monitor;
    }

    void AddCss(const std::string& rule) {
        m_cssText += rule;
        gtk_css_provider_load_from_data(m_css, m_cssText.c_str(), -1, nullptr);
        if (!m_cssAdded) {
            gtk_style_context_add_provider_for_screen(gdk_screen_get_default(),
                                                      GTK_STYLE_PROVIDER(m_css),
                                                      GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
            m_cssAdded = true;
        }
    }

    // "ＭＳ Ｐゴシック", code page 932: the face of our dialog templates, also used
    // for message boxes so that they show Japanese in the same font.
    static std::string DefaultUiFontFace() {
        return "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";
    }

    static constexpr int kMessageBoxPoints = 9;

    // The installed family that stands in for a template's face.
    static std::string FamilyFor(const std::string& face) {
        const std::string family = SubstituteFont(face);
        return FamilyInstalled(family) ? family : "Sans";
    }

    // A CSS class that sets the substitute family and size on a window and
    // everything in it.
    std::string FontClassFor(const std::string& face, int points) {
        const std::string family = FamilyFor(face);
        const std::string cls =
            "tenebrix-font-" + std::to_string(m_fontClasses.size()) + "-" + std::to_string(points);
        auto key = std::make_pair(family, points);
        auto it = m_fontClasses.find(key);
        if (it != m_fontClasses.end()) {
            return it->second;
        }
        m_fontClasses[key] = cls;
        AddCss("." + cls + ", ." + cls + " * { font-family: \"" + family +
               "\", Sans; font-size: " + std::to_string(points > 0 ? points : 9) + "pt; }\n");
        return cls;
    }

    std::string FontClass(const Window& w) { return FontClassFor(w.fontFace, w.fontPoints); }

    static void SetLabelText(const Window& w, GtkLabel* label) {
        const std::string utf8 = Cp932ToUtf8(w.text);
        if ((w.style & SS_NOPREFIX) != 0) {
            gtk_label_set_text(label, utf8.c_str());
        } else {
            gtk_label_set_text_with_mnemonic(label, MnemonicLabel(utf8).c_str());
        }
    }

    void AddControl(Peer& dialog, Window& c) {
        auto* peer = new Peer;
        c.driverData = peer;
        const int width = c.rect.right - c.rect.left;
        const int height = c.rect.bottom - c.rect.top;
        if (c.kind == WindowKind::Button) {
            peer->widget = gtk_button_new_with_mnemonic(MnemonicLabel(Cp932ToUtf8(c.text)).c_str());
            gtk_style_context_add_class(gtk_widget_get_style_context(peer->widget), "tenebrix");
            g_signal_connect(peer->widget, "clicked", G_CALLBACK(OnClicked), c.handle);
            g_signal_connect(peer->widget, "focus-in-event", G_CALLBACK(OnFocus), c.handle);
            if ((c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                gtk_widget_set_can_default(peer->widget, TRUE);
                gtk_window_set_default(GTK_WINDOW(dialog.window), peer->widget);
            }
        } else {
            const DWORD type = c.style & SS_TYPEMASK;
            if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) {
                peer->widget = gtk_label_new(nullptr);
                GtkLabel* label = GTK_LABEL(peer->widget);
                SetLabelText(c, label);
                gtk_label_set_xalign(label, type == SS_LEFT     ? 0.0f
                                            : type == SS_CENTER ? 0.5f
                                                                : 1.0f);
                gtk_label_set_yalign(label, 0.0f);
                gtk_label_set_line_wrap(label, TRUE);
                gtk_label_set_max_width_chars(label, 1);
            } else {
                peer->widget = gtk_drawing_area_new();
                g_signal_connect(peer->widget, "draw", G_CALLBACK(OnDraw), c.handle);
            }
        }
        gtk_widget_set_size_request(peer->widget, width, height);
        gtk_fixed_put(GTK_FIXED(dialog.fixed), peer->widget, c.rect.left, c.rect.top);
        gtk_widget_set_sensitive(peer->widget, c.enabled);
        gtk_widget_set_no_show_all(peer->widget, !c.visible);
        if (c.visible) {
            gtk_widget_show(peer->widget);
        }
    }

    static void ShowSystemMenu(HWND hwnd, const GdkEvent* event) {
        Window* w = FindWindowData(hwnd);
        Peer* peer = w != nullptr ? PeerOf(*w) : nullptr;
        const auto* items = w != nullptr ? MenuItems(w->systemMenu) : nullptr;
        if (peer == nullptr || items == nullptr || !AcceptsInput(hwnd)) {
            return;
        }
        if (peer->menu != nullptr) {
            gtk_widget_destroy(peer->menu);
        }
        peer->menu = gtk_menu_new();
        gtk_menu_attach_to_widget(GTK_MENU(peer->menu), peer->window, nullptr);
        for (const MenuItem& item : *items) {
            GtkWidget* entry;
            if ((item.flags & MF_SEPARATOR) != 0) {
                entry = gtk_separator_menu_item_new();
            } else {
                entry =
                    gtk_menu_item_new_with_mnemonic(MnemonicLabel(Cp932ToUtf8(item.text)).c_str());
                gtk_widget_set_sensitive(entry, (item.flags & (MF_GRAYED | MF_DISABLED)) == 0);
                g_object_set_data(G_OBJECT(entry), "tenebrix-id",
                                  reinterpret_cast<gpointer>(static_cast<std::uintptr_t>(item.id)));
                g_signal_connect(entry, "activate", G_CALLBACK(OnMenuItem), hwnd);
            }
            gtk_menu_shell_append(GTK_MENU_SHELL(peer->menu), entry);
        }
        gtk_widget_show_all(peer->menu);
        if (event != nullptr && event->type == GDK_BUTTON_PRESS) {
            gtk_menu_popup_at_pointer(GTK_MENU(peer->menu), event);
        } else {
            gtk_menu_popup_at_widget(GTK_MENU(peer->menu), peer->fixed, GDK_GRAVITY_NORTH_WEST,
                                     GDK_GRAVITY_NORTH_WEST, event);
        }
    }

    static void OnMenuItem(GtkMenuItem* item, gpointer hwnd) {
        const auto id =
            reinterpret_cast<std::uintptr_t>(g_object_get_data(G_OBJECT(item), "tenebrix-id"));
        PostSystemCommand(static_cast<HWND>(hwnd), static_cast<UINT>(id));
    }

    static void OnClicked(GtkButton*, gpointer hwnd) { PostButtonClick(static_cast<HWND>(hwnd)); }

    static gboolean OnFocus(GtkWidget*, GdkEvent*, gpointer hwnd) {
        NoteFocus(static_cast<HWND>(hwnd));
        return FALSE;
    }

    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer hwnd) {
        if (AcceptsInput(static_cast<HWND>(hwnd))) {
            PostSystemCommand(static_cast<HWND>(hwnd), SC_CLOSE);
        }
        return TRUE;  // the core decides whether the window goes
    }

    // The window was destroyed by someone else (another client, a window
    // manager): it is closed as by its close button, whatever its state, and
    // the widget stays until the core lets the window go.
    static gboolean OnDestroyedOutside(GtkWidget*, GdkEvent*, gpointer hwnd) {
        PostSystemCommand(static_cast<HWND>(hwnd), SC_CLOSE);
        return TRUE;
    }

    static gboolean OnKey(GtkWidget* widget, GdkEventKey* event, gpointer hwnd) {
        const HWND dialog = static_cast<HWND>(hwnd);
        const bool shift = (event->state & GDK_SHIFT_MASK) != 0;
        switch (event->keyval) {
            case GDK_KEY_Escape:
                PostKey(dialog, VK_ESCAPE);
                return TRUE;
            case GDK_KEY_Return:
            case GDK_KEY_KP_Enter: {
                GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(widget));
                if (focus != nullptr && GTK_IS_BUTTON(focus)) {
                    return FALSE;  // GTK activates the focused button
                }
                NoteFocus(dialog);  // no button has the focus: the default button's turn
                PostKey(dialog, VK_RETURN);
                return TRUE;
            }
            case GDK_KEY_Tab:
            case GDK_KEY_KP_Tab:
            case GDK_KEY_ISO_Left_Tab:
                // Tab order is template order, not GTK's geometric order.
                PostKey(dialog, VK_TAB, shift || event->keyval == GDK_KEY_ISO_Left_Tab);
                return TRUE;
            case GDK_KEY_F10:
                if (!shift) {
                    return FALSE;
                }
                ShowSystemMenu(dialog, reinterpret_cast<GdkEvent*>(event));
                return TRUE;
            case GDK_KEY_Menu:
                ShowSystemMenu(dialog, reinterpret_cast<GdkEvent*>(event));
                return TRUE;
            default:
                return FALSE;
        }
    }

    static gboolean OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer hwnd) {
        if (event->type == GDK_BUTTON_PRESS && event->button == GDK_BUTTON_SECONDARY) {
            ShowSystemMenu(static_cast<HWND>(hwnd), reinterpret_cast<GdkEvent*>(event));
            return TRUE;
        }
        return FALSE;
    }

    static gboolean OnState(GtkWidget*, GdkEventWindowState* event, gpointer hwnd) {
        if ((event->changed_mask & GDK_WINDOW_STATE_ICONIFIED) != 0) {
            SetIconicState(static_cast<HWND>(hwnd),
                           (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0);
        }
        return FALSE;
    }

    static void PaintSurface(cairo_t* cr, Surface& s) {
        cairo_surface_t* image =
            cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(s.pixels.data()),
                                                CAIRO_FORMAT_RGB24, s.width, s.height, s.width * 4);
        cairo_set_source_surface(cr, image, 0, 0);
        cairo_paint(cr);
        cairo_surface_destroy(image);
    }

    static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer hwnd) {
        Window* w = FindWindowData(static_cast<HWND>(hwnd));
        if (w == nullptr || w->surface.width == 0 || w->surface.height == 0) {
            return FALSE;
        }
        PaintSurface(cr, w->surface);
        return TRUE;
    }

    // Puts the changed part of a control's surface on the screen at once,
    // instead of asking GTK for a redraw of the window: a redraw runs the
    // frame clock and walks the whole widget tree, several times the cost of
    // the copy itself on every frame of the picture. Only a control that is
    // on the screen is drawn this way; false leaves it to GTK.
    static bool DrawNow(Window& w, Peer& peer, const RECT& r) {
        GtkWidget* widget = peer.widget;
        GdkWindow* window = gtk_widget_get_window(widget);
        if (!gtk_widget_is_drawable(widget) || window == nullptr || w.surface.width == 0 ||
            w.surface.height == 0) {
            return false;
        }
        GtkAllocation a;
        gtk_widget_get_allocation(widget, &a);
        const int right = std::min<int>({r.right, a.width, w.surface.width});
        const int bottom = std::min<int>({r.bottom, a.height, w.surface.height});
        if (right <= r.left || bottom <= r.top) {
            return true;  // nothing of it shows
        }
        // The control's origin in `window`: that of its own window, or where
        // it lies in its parent's when it has none of its own.
        const bool own = gtk_widget_get_has_window(widget);
        const int x = own ? 0 : a.x;
        const int y = own ? 0 : a.y;
        if (PutShared(w, peer, window, x, y, RECT{r.left, r.top, right, bottom})) {
            return true;
        }
        const cairo_rectangle_int_t area = {x + r.left, y + r.top, right - r.left, bottom - r.top};
        cairo_region_t* region = cairo_region_create_rectangle(&area);
        GdkDrawingContext* context = gdk_window_begin_draw_frame(window, region);
        cairo_t* cr = gdk_drawing_context_get_cairo_context(context);
        cairo_translate(cr, x, y);
        PaintSurface(cr, w.surface);
        gdk_window_end_draw_frame(window, context);
        cairo_region_destroy(region);
        return true;
    }

    // DrawNow through memory shared with the X server, where it can: the
    // part `r` of the surface goes to the native window that shows the
    // control, in one request. (x, y) is the control's origin in `window`.
    // No other widget of a dialog lies over a picture control, so the put is
    // clipped to the native window alone.
    static bool PutShared(Window& w, Peer& peer, GdkWindow* window, int x, int y, const RECT& r) {
#ifdef GDK_WINDOWING_X11
        if (peer.sharedRefused || !GDK_IS_X11_WINDOW(window)) {
            return false;
        }
        // Client-side windows lie inside the native one that shows them.
        GdkWindow* native = window;
        while (native != nullptr && !gdk_window_has_native(native)) {
            int dx;
            int dy;
            gdk_window_get_position(native, &dx, &dy);
            x += dx;
            y += dy;
            native = gdk_window_get_parent(native);
        }
        if (native == nullptr) {
            return false;
        }
        if (peer.shared == nullptr || peer.shared->Width() != w.surface.width ||
            peer.shared->Height() != w.surface.height) {
            GdkVisual* visual = gdk_window_get_visual(native);
            peer.shared.reset();
            peer.shared = X11SharedPicture::Create(
                GDK_WINDOW_XDISPLAY(native), GDK_WINDOW_XID(native),
                gdk_x11_visual_get_xvisual(visual), gdk_visual_get_depth(visual), w.surface.width,
                w.surface.height);
            if (peer.shared == nullptr) {
                peer.sharedRefused = true;
                return false;
            }
        }
        peer.shared->Put(GDK_WINDOW_XID(native), w.surface.pixels.data(), r.left, r.top, r.right,
                         r.bottom, x + r.left, y + r.top);
        return true;
#else
        (void)w;
        (void)peer;
        (void)window;
        (void)x;
        (void)y;
        (void)r;
        return false;
#endif
    }

    static gboolean OnTimer(gpointer data) {
        auto* key = static_cast<std::pair<HWND, UINT_PTR>*>(data);
        TimerElapsed(key->first, key->second);
        return G_SOURCE_CONTINUE;
    }

    GtkCssProvider* m_css = nullptr;
    std::string m_cssText;
    bool m_cssAdded = false;
    std::map<std::pair<std::string, int>, std::string> m_fontClasses;
    std::map<std::pair<HWND, UINT_PTR>, guint> m_timers;
    std::unique_ptr<GtkBoxFonts> m_boxFonts;
};

}  // namespace

namespace {

// GTK writes window titles into the legacy X name through the locale's
// character set; the C locale has no room for Japanese there, so titles would
// be missing for tools and window managers that read that name. The character
// type is therefore always UTF-8: the user's locale when it is UTF-8 already,
// else C.UTF-8 (every other category stays as the user set it).
void UseUtf8CharacterType() {
    std::setlocale(LC_ALL, "");
    const char* codeset = nl_langinfo(CODESET);
    if (codeset == nullptr || std::strcmp(codeset, "UTF-8") != 0) {
        std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    gtk_disable_setlocale();
}

#ifdef GDK_WINDOWING_X11
// Without its display the program cannot go on (GDK would end it silently):
// it ends with status 1 and says why.
int OnDisplayLost(Display* display) {
    std::fprintf(stderr, "tenebrix: the connection to the display %s was lost\n",
                 DisplayString(display));
    std::_Exit(1);
}
#endif

}  // namespace

WindowDriver* CreateGtkDriver(std::string* error) {
    UseUtf8CharacterType();
    if (!gtk_init_check(nullptr, nullptr)) {
        *error = "cannot open the display (is DISPLAY set?)";
        return nullptr;
    }
#ifdef GDK_WINDOWING_X11
    if (GDK_IS_X11_DISPLAY(gdk_display_get_default())) {
        XSetIOErrorHandler(OnDisplayLost);
    }
#endif
    static GtkDriver* driver = new GtkDriver;
    return driver;
}

}  // namespace win32core
