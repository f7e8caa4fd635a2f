// The desktop icons: each theme size read back by GdkPixbuf, an independent
// PNG reader, equals the icon drawn from the program's own pixel maps, and the
// larger sizes are the small images' pixels scaled by whole factors.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dist/icon_sizes.h"
#include "dist/png_file.h"

namespace {

using tenebrix_dist::IconPixels;

std::vector<std::uint32_t> ReadBack(const std::string& png, int* width, int* height) {
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
    std::vector<std::uint32_t> argb;
    if (gdk_pixbuf_loader_write(loader, reinterpret_cast<const guchar*>(png.data()), png.size(),
                                nullptr) &&
        gdk_pixbuf_loader_close(loader, nullptr)) {
        GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader);
        *width = gdk_pixbuf_get_width(pixbuf);
        *height = gdk_pixbuf_get_height(pixbuf);
        EXPECT_TRUE(gdk_pixbuf_get_has_alpha(pixbuf));
        const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
        const int stride = gdk_pixbuf_get_rowstride(pixbuf);
        for (int y = 0; y < *height; ++y) {
            for (int x = 0; x < *width; ++x) {
                const guchar* p = pixels + y * stride + x * 4;
                const std::uint32_t a = p[3];
                argb.push_back(a == 0 ? 0 : a << 24 | p[0] << 16 | p[1] << 8 | p[2]);
            }
        }
    }
    g_object_unref(loader);
    return argb;
}

TEST(DesktopIcons, EveryThemeSizeReadsBackExactly) {
    for (int size : tenebrix_dist::IconThemeSizes()) {
        SCOPED_TRACE(size);
        const std::vector<std::uint32_t> drawn = IconPixels(size);
        ASSERT_EQ(drawn.size(), static_cast<std::size_t>(size) * size);
        int width = 0, height = 0;
        EXPECT_EQ(ReadBack(tenebrix_dist::PngFileBytes(size, size, drawn), &width, &height), drawn);
        EXPECT_EQ(width, size);
        EXPECT_EQ(height, size);
    }
}

TEST(DesktopIcons, LargerSizesScaleTheSmallImagesByWholeFactors) {
    const struct { int size, from; } scales[] = {{48, 16}, {64, 32}, {128, 32}, {256, 32}};
    for (const auto& s : scales) {
        SCOPED_TRACE(s.size);
        const std::vector<std::uint32_t> big = IconPixels(s.size);
        const std::vector<std::uint32_t> small = IconPixels(s.from);
        const int factor = s.size / s.from;
        for (int y = 0; y < s.size; ++y) {
            for (int x = 0; x < s.size; ++x) {
                ASSERT_EQ(big[y * s.size + x], small[(y / factor) * s.from + x / factor])
                    << x << ", " << y;
            }
        }
    }
    // Corners are transparent; the lens centre of the 32 x 32 image is
    // palette 'F', white.
    const std::vector<std::uint32_t> icon = IconPixels(32);
    EXPECT_EQ(icon[0], 0u);
    EXPECT_EQ(icon[14 * 32 + 18], 0xFFFFFFFFu);
    EXPECT_TRUE(IconPixels(24).empty());
}

}  // namespace
