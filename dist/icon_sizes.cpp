#include "icon_sizes.h"

#include "platform/win32/resource_module.h"
#include "resource.h"

namespace tenebrix_dist {

const std::vector<int>& IconThemeSizes() {
    static const std::vector<int> sizes = {16, 32, 48, 64, 128, 256};
    return sizes;
}

std::vector<std::uint32_t> IconPixels(int size) {
    const win32res::IconResource* icon = win32res::FindIcon(IDR_MAINFRAME);
    const win32res::IconImage* best = nullptr;
    for (int i = 0; icon && i < icon->imageCount; ++i) {
        const win32res::IconImage& image = icon->images[i];
        if (image.width == image.height && image.width <= size && size % image.width == 0 &&
            (!best || image.width > best->width)) {
            best = &image;
        }
    }
    if (!best) {
        return {};
    }
    const int scale = size / best->width;
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(size) * size, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int index = win32res::IconPaletteIndex(best->rows[y / scale][x / scale]);
            if (index >= 0) {
                argb[static_cast<std::size_t>(y) * size + x] =
                    0xFF000000u | win32res::kIconPalette[index];
            }
        }
    }
    return argb;
}

}  // namespace tenebrix_dist
