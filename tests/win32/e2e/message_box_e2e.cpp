// End-to-end helper for message boxes under a window manager (see
// message_box_wm_e2e.sh):
//
//   message_box_e2e box yesno|ok CAPTION TEXT  shows MessageBoxA(NULL, TEXT,
//                                              CAPTION, MB_YESNO or MB_OK), the
//                                              texts given in UTF-8; prints
//                                              "answer N" when it is answered
//   message_box_e2e ruler CAPTION              a plain, wide, resizable GTK
//                                              window titled CAPTION, so the
//                                              script sees the whole caption
//                                              as the window manager draws it
//   message_box_e2e span SHOT1 SHOT2 X Y W H   prints the width of the columns
//                                              that differ between two xwd
//                                              screenshots within the rectangle
//                                              (0 when none does)
#include <gtk/gtk.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32/core/text_codec.h"
#include "tests/win32/e2e/xwd_image.h"

namespace {

int ShowBox(const char* kind, const char* caption, const char* text) {
    const UINT type = std::strcmp(kind, "yesno") == 0 ? MB_YESNO : MB_OK;
    const int answer = MessageBoxA(nullptr, win32core::Utf8ToCp932(text).c_str(),
                                   win32core::Utf8ToCp932(caption).c_str(), type);
    std::printf("answer %d\n", answer);
    return answer != 0 ? 0 : 1;
}

int ShowRuler(const char* caption) {
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), caption);
    gtk_window_set_default_size(GTK_WINDOW(window), 900, 60);
    gtk_window_move(GTK_WINDOW(window), 20, 20);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}

int PrintSpan(char** argv) {
    XwdImage a;
    XwdImage b;
    std::string error;
    if (!ReadXwd(argv[0], &a, &error) || !ReadXwd(argv[1], &b, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (a.width != b.width || a.height != b.height) {
        std::fprintf(stderr, "the screenshots differ in size\n");
        return 1;
    }
    const int left = std::max(0, std::atoi(argv[2]));
    const int top = std::max(0, std::atoi(argv[3]));
    const int right = std::min(a.width, left + std::atoi(argv[4]));
    const int bottom = std::min(a.height, top + std::atoi(argv[5]));
    int first = -1;
    int last = -1;
    for (int x = left; x < right; ++x) {
        for (int y = top; y < bottom; ++y) {
            if (a.At(x, y) != b.At(x, y)) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    std::printf("%d\n", first < 0 ? 0 : last - first + 1);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "box") == 0) {
        return ShowBox(argv[2], argv[3], argv[4]);
    }
    if (argc == 3 && std::strcmp(argv[1], "ruler") == 0) {
        return ShowRuler(argv[2]);
    }
    if (argc == 8 && std::strcmp(argv[1], "span") == 0) {
        return PrintSpan(argv + 2);
    }
    std::fprintf(stderr,
                 "usage: message_box_e2e box yesno|ok CAPTION TEXT | ruler CAPTION |"
                 " span SHOT1 SHOT2 X Y W H\n");
    return 2;
}
