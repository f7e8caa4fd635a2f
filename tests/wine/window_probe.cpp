// window_probe: what a user of a Windows program sees of its windows, read
// under Wine from outside the program (same prefix, same display).
//
//   window_probe list              every visible top-level window and its
//                                  controls, one line each, in UTF-8
//   window_probe wait TITLE SECS   waits until a visible top-level window is
//                                  called TITLE; status 1 when none comes
//   window_probe click TITLE TEXT  clicks the button TEXT of window TITLE
//   window_probe codepage          the ANSI code page of this Wine session
//
// Lines of list:
//   workarea L,T,R,B
//   window "CAPTION" class=C rect=L,T,R,B owner="CAPTION" enabled=0|1
//     control id=N class=C "TEXT" rect=L,T,R,B icon=0|1
// Rectangles are on the screen; icon is 1 for a static that shows an icon.
// A control whose template names a resource (an icon's static) shows its
// name as TEXT: "#N" for the ordinal N.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    out.resize(std::char_traits<char>::length(out.c_str()));
    return out;
}

std::wstring Wide(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = L"";
    // WM_GETTEXT reaches controls of other processes too (GetWindowText does not).
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, nullptr);
    return text;
}

// A template's resource ordinal comes as the text 0xFFFF, N.
std::string ControlText(HWND control) {
    const std::wstring text = TextOf(control);
    if (text.size() >= 2 && text[0] == 0xFFFF) {
        return "#" + std::to_string(static_cast<unsigned>(text[1]));
    }
    return Utf8(text);
}

std::string ClassOf(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return Utf8(name);
}

std::string RectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    char out[64];
    std::snprintf(out, sizeof out, "%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
    return out;
}

void Print(const std::string& line) {
    const std::string out = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), static_cast<DWORD>(out.size()), &written,
              nullptr);
}

std::vector<HWND> VisibleTopLevels() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND w, LPARAM list) -> BOOL {
            if (IsWindowVisible(w)) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND FindTopLevel(const std::wstring& title) {
    for (HWND w : VisibleTopLevels()) {
        if (TextOf(w) == title) {
            return w;
        }
    }
    return nullptr;
}

int List() {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    char line[96];
    std::snprintf(line, sizeof line, "workarea %ld,%ld,%ld,%ld", area.left, area.top, area.right,
                  area.bottom);
    Print(line);
    for (HWND w : VisibleTopLevels()) {
        HWND owner = GetWindow(w, GW_OWNER);
        Print("window \"" + Utf8(TextOf(w)) + "\" class=" + ClassOf(w) + " rect=" + RectOf(w) +
              " owner=\"" + (owner != nullptr ? Utf8(TextOf(owner)) : std::string()) +
              "\" enabled=" + (IsWindowEnabled(w) ? "1" : "0"));
        for (HWND c : Children(w)) {
            const bool icon = SendMessageW(c, STM_GETICON, 0, 0) != 0;
            Print("  control id=" + std::to_string(GetDlgCtrlID(c)) + " class=" + ClassOf(c) +
                  " \"" + ControlText(c) + "\" rect=" + RectOf(c) + " icon=" + (icon ? "1" : "0"));
        }
    }
    return 0;
}

int Wait(const std::wstring& title, int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        if (FindTopLevel(title) != nullptr) {
            return 0;
        }
        Sleep(100);
    }
    return 1;
}

int Click(const std::wstring& title, const std::wstring& button) {
    HWND window = FindTopLevel(title);
    for (HWND c : window != nullptr ? Children(window) : std::vector<HWND>()) {
        if (ClassOf(c) == "Button" && TextOf(c) == button) {
            // Posted: the click may start a modal loop in the program.
            return PostMessageW(c, BM_CLICK, 0, 0) ? 0 : 1;
        }
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "list" && argc == 2) {
        return List();
    }
    if (command == "wait" && argc == 4) {
        return Wait(Wide(argv[2]), std::atoi(argv[3]));
    }
    if (command == "click" && argc == 4) {
        return Click(Wide(argv[2]), Wide(argv[3]));
    }
    if (command == "codepage" && argc == 2) {
        Print(std::to_string(GetACP()));
        return 0;
    }
    std::fprintf(stderr,
                 "usage: window_probe list | wait TITLE SECONDS | click TITLE BUTTON | "
                 "codepage\n");
    return 2;
}
