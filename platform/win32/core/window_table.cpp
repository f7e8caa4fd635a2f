// The table of windows behind HWND handles, small helpers on windows, and the
// calls that only read a window or hand a message to its procedure.
//
// Stands in for USER32's window handles (see handle_table.h): calls with the
// handle of a destroyed window fail instead of reaching another window.
#include "window.h"

#include "handle_table.h"

namespace win32core {

namespace {

HandleTable<Window>& TheTable() {
    static HandleTable<Window> table(0x10000);
    return table;
}

}  // namespace

void Surface::Resize(int w, int h) {
    width = w > 0 ? w : 0;
    height = h > 0 ? h : 0;
    pixels.assign(static_cast<std::size_t>(width) * height, kButtonFace);
}

void Surface::FillRect(const RECT& r, std::uint32_t rgb) {
    const int left = r.left < 0 ? 0 : r.left;
    const int top = r.top < 0 ? 0 : r.top;
    const int right = r.right > width ? width : r.right;
    const int bottom = r.bottom > height ? height : r.bottom;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            Row(y)[x] = rgb;
        }
    }
}

Window* FindWindowData(HWND hwnd) {
    return TheTable().Find(hwnd);
}

Window& NewWindow(WindowKind kind) {
    auto w = std::make_unique<Window>();
    w->kind = kind;
    Window& ref = *w;
    ref.handle = TheTable().Add<HWND>(std::move(w));
    return ref;
}

void ForgetWindow(HWND hwnd) {
    TheTable().Erase(hwnd);
}

std::vector<HWND> AllWindows() {
    std::vector<HWND> all;
    for (const auto& entry : TheTable().Objects()) {
        all.push_back(entry.second->handle);
    }
    return all;
}

Window* FirstWindowWhere(bool (*wanted)(const Window&)) {
    for (const auto& entry : TheTable().Objects()) {
        if (wanted(*entry.second)) {
            return entry.second.get();
        }
    }
    return nullptr;
}

Window* TopLevelOf(Window* w) {
    while (w != nullptr && w->parent != nullptr) {
        w = FindWindowData(w->parent);
    }
    return w;
}

bool AcceptsInput(HWND hwnd) {
    Window* w = FindWindowData(hwnd);
    if (w == nullptr || !w->enabled) {
        return false;
    }
    Window* top = TopLevelOf(w);
    return top != nullptr && top->enabled;
}

RECT ClientRect(const Window& w) {
    return RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
}

}  // namespace win32core

using namespace win32core;

BOOL WINAPI IsWindow(HWND hWnd) {
    return FindWindowData(hWnd) != nullptr ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
    for (Window* w = FindWindowData(hWnd); w != nullptr; w = FindWindowData(w->parent)) {
        if (!w->visible) {
            return FALSE;
        }
        if (w->parent == nullptr) {
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr || w->proc == nullptr) {
        return 0;
    }
    return w->proc(hWnd, Msg, wParam, lParam);
}
