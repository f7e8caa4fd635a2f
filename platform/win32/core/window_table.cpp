// The table of windows behind HWND handles.
//
// Stands in for USER32's handle table. A handle is a number that is never
// reused, so calls with the handle of a destroyed window fail instead of
// reaching another window.
#include <map>
#include <memory>

#include "core.h"

namespace win32core {

namespace {

struct Table {
    std::uintptr_t next = 0x10000;
    std::map<std::uintptr_t, std::unique_ptr<Window>> windows;
};

Table& TheTable() {
    static Table table;
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
    Table& t = TheTable();
    auto it = t.windows.find(reinterpret_cast<std::uintptr_t>(hwnd));
    return it == t.windows.end() ? nullptr : it->second.get();
}

Window& NewWindow(WindowKind kind) {
    Table& t = TheTable();
    const std::uintptr_t key = t.next;
    t.next += 4;
    auto w = std::make_unique<Window>();
    w->kind = kind;
    w->handle = reinterpret_cast<HWND>(key);
    Window& ref = *w;
    t.windows.emplace(key, std::move(w));
    return ref;
}

void ForgetWindow(HWND hwnd) {
    TheTable().windows.erase(reinterpret_cast<std::uintptr_t>(hwnd));
}

std::vector<HWND> AllWindows() {
    std::vector<HWND> all;
    for (auto& entry : TheTable().windows) {
        all.push_back(entry.second->handle);
    }
    return all;
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

std::uint32_t ColorToPixel(COLORREF c) {
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

}  // namespace win32core
