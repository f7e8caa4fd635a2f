// A camera whose frame format describes no pixels: the frame cycle never gets
// a picture. A program of its own, so that the cycle's images are fresh.
#include <gtest/gtest.h>

#include "tests/app/main_dialog.h"

namespace {

TEST_F(DialogTest, WithoutACameraPictureThePictureStaysAndStealthShowsZero) {
    scripted_capture::Device camera;
    camera.name = "Formatless Camera";
    camera.frame = std::vector<BYTE>(16, 0x77);  // a frame, but no format for it
    scripted_capture::AddDevice(camera);
    Run({
        Tick(),
        CheckThenClick(IDC_STEALTH,
                       [&](CCamouflageDlg& dlg) {
                           // The black picture of start-up with the normal HUD.
                           CDibImage expected = SplitPicture(0, {0, 0, 0}, {0, 0, 0});
                           DrawExpectedHud(&expected, m_sprites, false, 0);
                           EXPECT_EQ(FirstDifference(dlg.m_display, expected), "");
                       }),
        Tick(),
        CheckThenTick([&](CCamouflageDlg& dlg) {
            // No blend; the stealth HUD with 0 drawn over what was shown.
            CDibImage expected = SplitPicture(0, {0, 0, 0}, {0, 0, 0});
            DrawExpectedHud(&expected, m_sprites, false, 0);
            DrawExpectedHud(&expected, m_sprites, true, 0);
            EXPECT_EQ(FirstDifference(dlg.m_display, expected), "");
        }),
        Click(IDC_SNAPSHOT),
    });
    // The picture is still a whole 320 x 240 picture, so it can be saved.
    CDibImage saved;
    EXPECT_EQ(saved.Load("snapshot000.bmp"), 0);
    EXPECT_EQ(saved.Width(), 320);
}

}  // namespace
