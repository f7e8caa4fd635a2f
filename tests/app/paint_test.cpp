// Painting into a picture control smaller than the picture, and the icon of
// the minimised dialog. A program of its own: it replaces the main dialog's
// template with one whose picture control is 171 x 133 dialog units, 299 x 200
// pixels (x * 7 / 4, y * 12 / 8; no whole number of units gives 300).
#include <gtest/gtest.h>

#include "platform/win32/resource_module.h"
#include "tests/app/main_dialog.h"

namespace {

const scripted_capture::Pixel kTop = {30, 200, 10};  // blue, green, red
const scripted_capture::Pixel kBottom = {5, 6, 250};

// Gives the main dialog a smaller picture control.
bool UseSmallPicture() {
    MainTemplateCopy* copy = OverrideMainTemplate();
    if (copy == nullptr) {
        return false;
    }
    for (auto& control : copy->controls) {
        if (control.id == IDC_PICTURE) {
            control.cx = 171;
            control.cy = 133;
        }
    }
    return true;
}

TEST_F(DialogTest, ASmallerControlShowsTheTopLeftOfThePictureUnscaled) {
    ASSERT_TRUE(UseSmallPicture());
    AddCamera(SplitFrame(150, kTop, kBottom));
    Run({
        Tick(),
        CheckThenTick([](CCamouflageDlg& dlg) {
            HWND picture = GetDlgItem(dlg.m_hWnd, IDC_PICTURE);
            ExpectControlShowsPicture(dlg, 299, 200);
            EXPECT_EQ(null_driver::Pixel(picture, 0, 149), 0x0AC81E);
            EXPECT_EQ(null_driver::Pixel(picture, 0, 150), 0xFA0605);
            EXPECT_EQ(null_driver::Pixel(picture, 291, 25), 0xC80A32);  // the digit 0
            EXPECT_EQ(null_driver::Pixel(picture, 299, 0), -1);
        }),
    });
}

TEST_F(DialogTest, TheMinimisedDialogShowsItsIconCentred) {
    AddCamera(SplitFrame(150, kTop, kBottom));
    const win32res::IconResource* icon = win32res::FindIcon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    const win32res::IconImage* big = nullptr;
    for (int i = 0; i < icon->imageCount; ++i) {
        if (icon->images[i].width == 32) {
            big = &icon->images[i];
        }
    }
    ASSERT_NE(big, nullptr);
    Run({
        [](CCamouflageDlg& dlg) {
            EXPECT_EQ((HICON)dlg.SendMessage(WM_QUERYDRAGICON), dlg.m_hIcon);
            ASSERT_TRUE(null_driver::SetIconic(dlg.m_hWnd, true));
            EXPECT_TRUE(null_driver::Click(dlg.m_hWnd, IDC_STOP));
        },
        [&](CCamouflageDlg& dlg) {
            RECT client;
            GetClientRect(dlg.m_hWnd, &client);
            // An odd free pixel goes to the left or top margin.
            const int x0 = (client.right - 32 + 1) / 2;
            const int y0 = (client.bottom - 32 + 1) / 2;
            int drawn = 0, wrong = 0;
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    const char c = big->rows[y][x];
                    if (c == '.') {
                        continue;
                    }
                    const int index = c <= '9' ? c - '0' : c - 'A' + 10;
                    ++drawn;
                    wrong += null_driver::Pixel(dlg.m_hWnd, x0 + x, y0 + y) ==
                                     static_cast<std::int64_t>(win32res::kIconPalette[index])
                                 ? 0
                                 : 1;
                }
            }
            EXPECT_GT(drawn, 0);
            EXPECT_EQ(wrong, 0) << "icon expected at (" << x0 << ", " << y0 << ")";
            ASSERT_TRUE(null_driver::SetIconic(dlg.m_hWnd, false));
            EXPECT_TRUE(null_driver::Click(dlg.m_hWnd, IDC_START));
        },
    });
}

}  // namespace
