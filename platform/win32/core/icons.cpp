// Icons: LoadIconA, the images behind an HICON, and GetSystemMetrics.
//
// Stands in for USER32's icons. LoadIconA finds the icon resource by id and
// returns one shared handle per id (icons from LoadIcon are never destroyed,
// as on Windows). Icon images are 16-colour with a transparency mask.
//
// Limits: no system icons (LoadIconA(NULL, IDI_...) fails); the system
// metrics known are the icon sizes and the screen size.
#include <map>
#include <memory>

#include "icons.h"

#include "driver.h"

#include "platform/win32/resource_module.h"

namespace win32core {

namespace {

struct IconObject {
    std::vector<IconBitmap> images;
};

std::map<WORD, std::unique_ptr<IconObject>>& Icons() {
    static std::map<WORD, std::unique_ptr<IconObject>> icons;
    return icons;
}

IconBitmap Decode(const win32res::IconImage& image) {
    IconBitmap b;
    b.width = image.width;
    b.height = image.height;
    b.argb.assign(static_cast<std::size_t>(b.width) * b.height, 0);
    for (int y = 0; y < b.height; ++y) {
        const char* row = image.rows[y];
        for (int x = 0; x < b.width && row[x] != '\0'; ++x) {
            const int index = win32res::IconPaletteIndex(row[x]);
            if (index >= 0) {
                b.argb[y * b.width + x] = 0xFF000000u | win32res::kIconPalette[index];
            }
        }
    }
    return b;
}

IconObject* FindIconObject(HICON icon) {
    for (auto& entry : Icons()) {
        if (reinterpret_cast<HICON>(entry.second.get()) == icon) {
            return entry.second.get();
        }
    }
    return nullptr;
}

}  // namespace

const IconBitmap* IconBitmapOf(HICON icon, int size) {
    IconObject* object = FindIconObject(icon);
    if (object == nullptr || object->images.empty()) {
        return nullptr;
    }
    const IconBitmap* best = &object->images.front();
    for (const IconBitmap& b : object->images) {
        if (b.width == size) {
            return &b;
        }
        if (b.width > best->width) {
            best = &b;
        }
    }
    return best;
}

}  // namespace win32core

using namespace win32core;

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    if (hInstance == nullptr || !IS_INTRESOURCE(lpIconName)) {
        return nullptr;
    }
    const WORD id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(lpIconName));
    auto& icons = Icons();
    auto it = icons.find(id);
    if (it == icons.end()) {
        const win32res::IconResource* resource = win32res::FindIcon(id);
        if (resource == nullptr) {
            return nullptr;
        }
        auto object = std::make_unique<IconObject>();
        for (int i = 0; i < resource->imageCount; ++i) {
            object->images.push_back(Decode(resource->images[i]));
        }
        it = icons.emplace(id, std::move(object)).first;
    }
    return reinterpret_cast<HICON>(it->second.get());
}

int WINAPI GetSystemMetrics(int nIndex) {
    switch (nIndex) {
        case SM_CXICON:
        case SM_CYICON:
            return 32;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16;
        case SM_CXSCREEN:
        case SM_CYSCREEN: {
            WindowDriver* d = Driver();
            if (d == nullptr) {
                return 0;
            }
            const SIZE s = d->ScreenSize();
            return nIndex == SM_CXSCREEN ? s.cx : s.cy;
        }
        default:
            return 0;
    }
}
