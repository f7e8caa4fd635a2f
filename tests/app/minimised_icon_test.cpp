// The icon of the minimised main dialog, in client areas whose free width and
// height (client size less the 32 x 32 icon) are odd or negative. A program of
// its own: it replaces the main dialog's template with one whose size each
// test sets (x * 7 / 4 and y * 12 / 8 pixels, rounded half away from zero).
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "platform/win32/resource_module.h"
#include "tests/app/main_dialog.h"

namespace {

constexpr std::int64_t kFace = 0xF0F0F0;  // the erased background of the dialog

const win32res::IconImage* BigIconImage() {
    const win32res::IconResource* icon = win32res::FindIcon(IDR_MAINFRAME);
    if (icon == nullptr) {
        return nullptr;
    }
    for (int i = 0; i < icon->imageCount; ++i) {
        if (icon->images[i].width == 32 && icon->images[i].height == 32) {
            return &icon->images[i];
        }
    }
    return nullptr;
}

// What the 32 x 32 icon with its top-left corner at (x0, y0) leaves at (x, y)
// of the dialog: its colour where the icon is opaque, the background elsewhere.
std::int64_t ExpectedPixel(const win32res::IconImage& icon, int x0, int y0, int x, int y) {
    const int ix = x - x0, iy = y - y0;
    if (ix < 0 || iy < 0 || ix >= 32 || iy >= 32 || icon.rows[iy][ix] == '.') {
        return kFace;
    }
    const char c = icon.rows[iy][ix];
    return win32res::kIconPalette[c <= '9' ? c - '0' : c - 'A' + 10];
}

class MinimisedIconTest : public DialogTest {
  protected:
    // Runs the dialog at cx x cy dialog units, minimises it, and expects its
    // client area (width x height pixels) to show only the icon at (x0, y0).
    void ExpectIconAt(short cx, short cy, int width, int height, int x0, int y0) {
        MainTemplateCopy* copy = OverrideMainTemplate();
        ASSERT_NE(copy, nullptr);
        win32res::DialogTemplate* t = &copy->dialog;
        const win32res::IconImage* icon = BigIconImage();
        ASSERT_NE(icon, nullptr);
        t->cx = cx;
        t->cy = cy;
        AddCamera(SolidFrame({120, 90, 60}));
        Run({
            [](CCamouflageDlg& dlg) {
                ASSERT_TRUE(null_driver::SetIconic(dlg.m_hWnd, true));
                EXPECT_TRUE(null_driver::Click(dlg.m_hWnd, IDC_STOP));  // no ticks meanwhile
            },
            [&](CCamouflageDlg& dlg) {
                RECT client;
                GetClientRect(dlg.m_hWnd, &client);
                ASSERT_EQ(client.right, width);
                ASSERT_EQ(client.bottom, height);
                std::ostringstream wrong;
                int drawn = 0;
                for (int y = 0; y < height; ++y) {
                    for (int x = 0; x < width; ++x) {
                        const std::int64_t expected = ExpectedPixel(*icon, x0, y0, x, y);
                        drawn += expected != kFace ? 1 : 0;
                        if (null_driver::Pixel(dlg.m_hWnd, x, y) != expected &&
                            wrong.tellp() < 200) {
                            wrong << " (" << x << ", " << y << ")";
                        }
                    }
                }
                EXPECT_GT(drawn, 0);
                EXPECT_EQ(wrong.str(), "") << "icon expected at (" << x0 << ", " << y0 << ")";
                ASSERT_TRUE(null_driver::SetIconic(dlg.m_hWnd, false));
                EXPECT_TRUE(null_driver::Click(dlg.m_hWnd, IDC_START));
            },
        });
    }
};

TEST_F(MinimisedIconTest, AnOddFreePixelGoesToTheLeftAndTopMargins) {
    // 37 x 39 pixels: free width 5 gives x = 3, free height 7 gives y = 4.
    ExpectIconAt(21, 26, 37, 39, 3, 4);
}

TEST_F(MinimisedIconTest, EvenFreeSpaceIsSharedEqually) {
    // 40 x 36 pixels: free width 8 gives x = 4, free height 4 gives y = 2.
    ExpectIconAt(23, 24, 40, 36, 4, 2);
}

TEST_F(MinimisedIconTest, AClientSmallerThanTheIconCentresItByTruncation) {
    // 26 x 26 pixels: free size -6 gives -5 / 2, truncated toward zero: -2.
    ExpectIconAt(15, 17, 26, 26, -2, -2);
}

}  // namespace
