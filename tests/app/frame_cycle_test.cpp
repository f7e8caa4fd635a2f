// The frame cycle: the picture and HUD that every tick builds, checked pixel
// for pixel against pictures drawn independently (expected_hud.h).
#include <gtest/gtest.h>

#include "tests/app/main_dialog.h"

namespace {

const scripted_capture::Pixel kStill = {120, 90, 60};    // blue, green, red
const scripted_capture::Pixel kMoved = {250, 250, 250};  // far from kStill in grey
const scripted_capture::Pixel kBackground = {30, 200, 10};
const int kFadeTicks = 115;  // a history of 255 left alone reaches 0 after 114

// Steps that take the background, then keep the scene still until the whole
// motion history has faded to 0.
std::vector<Step> FadeOut(bool takeBackground) {
    std::vector<Step> steps;
    if (takeBackground) {
        steps.push_back([](CCamouflageDlg& dlg) {
            scripted_capture::SetFrame(0, SolidFrame(kBackground));
            EXPECT_TRUE(null_driver::Click(dlg.m_hWnd, IDC_BACKGROUND));
        });
    }
    steps.push_back([](CCamouflageDlg& dlg) {
        scripted_capture::SetFrame(0, SolidFrame(kStill));
        EXPECT_TRUE(null_driver::Click(dlg.m_hWnd, IDC_STEALTH));
    });
    for (int i = 0; i < kFadeTicks; ++i) {
        steps.push_back(DialogTest::Tick());
    }
    return steps;
}

// The hidden percentage p when the top `rows` rows moved on the last tick (a
// history of 255 there) and the rest stood still (0): 100 - 100 * rows / 240
// + 0.5, truncated.
struct HudCase {
    int rows;
    int percent;
};

class HudTest : public DialogTest, public ::testing::WithParamInterface<HudCase> {};

TEST_P(HudTest, ShowsThePercentageOverBlendOfFrameAndBackground) {
    const HudCase c = GetParam();
    AddCamera(SolidFrame(kStill));
    std::vector<Step> steps = FadeOut(true);
    steps.push_back(TickWith(SplitFrame(c.rows, kMoved, kStill)));
    steps.push_back(CheckThenTick([&](CCamouflageDlg& dlg) {
        // Moved rows show the live frame, still ones the background.
        CDibImage expected = SplitPicture(c.rows, kMoved, kBackground);
        DrawExpectedHud(&expected, m_sprites, true, c.percent);
        EXPECT_EQ(FirstDifference(dlg.m_display, expected), "") << "p = " << c.percent;
    }));
    Run(steps);
}

INSTANTIATE_TEST_SUITE_P(Percentages, HudTest,
                         ::testing::Values(HudCase{0, 100}, HudCase{2, 99}, HudCase{103, 57},
                                           HudCase{216, 10}, HudCase{218, 9}),
                         [](const ::testing::TestParamInfo<HudCase>& info) {
                             return "p" + std::to_string(info.param.percent);
                         });

TEST_F(DialogTest, HistoryOf255EverywhereShowsTheLiveFrameAndZeroHidden) {
    AddCamera(SolidFrame(kStill));
    Run({
        [](CCamouflageDlg& dlg) {
            scripted_capture::SetFrame(0, SolidFrame(kBackground));
            EXPECT_TRUE(null_driver::Click(dlg.m_hWnd, IDC_BACKGROUND));
        },
        Click(IDC_STEALTH),
        TickWith(SolidFrame(kStill)),
        TickWith(SolidFrame(kMoved)),  // every pixel moved: history 255 everywhere
        CheckThenTick([&](CCamouflageDlg& dlg) {
            CDibImage expected = SplitPicture(0, kMoved, kMoved);
            DrawExpectedHud(&expected, m_sprites, true, 0);
            EXPECT_EQ(FirstDifference(dlg.m_display, expected), "");
        }),
    });
}

TEST_F(DialogTest, ABackgroundNeverTakenIsBlack) {
    AddCamera(SolidFrame(kStill));
    std::vector<Step> steps = FadeOut(false);
    steps.push_back(CheckThenTick([&](CCamouflageDlg& dlg) {
        CDibImage expected = SplitPicture(0, {0, 0, 0}, {0, 0, 0});
        DrawExpectedHud(&expected, m_sprites, true, 100);
        EXPECT_EQ(FirstDifference(dlg.m_display, expected), "");
    }));
    Run(steps);
}

TEST_F(DialogTest, NormalModeShowsTheFrameWithTheMarkAndAZeroWhateverTheHistory) {
    AddCamera(SolidFrame(kStill));
    std::vector<Step> steps = FadeOut(true);  // history 0: stealth would show 100
    steps.push_back(Click(IDC_STEALTH));      // back to normal mode
    steps.push_back(TickWith(SplitFrame(103, kMoved, kStill)));
    steps.push_back(CheckThenTick([&](CCamouflageDlg& dlg) {
        CDibImage expected = SplitPicture(103, kMoved, kStill);
        DrawExpectedHud(&expected, m_sprites, false, 0);
        EXPECT_EQ(FirstDifference(dlg.m_display, expected), "");
    }));
    Run(steps);
}

TEST_F(DialogTest, RealSpritesAreKeyedAndClippedAtTheEdges) {
    // A camouflage mark wider than 60 columns is cut at the right edge.
    m_sprites.camouflage.Create(70, 3);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 70; ++j) {
            BYTE* p = m_sprites.camouflage.Row(i) + 3 * j;
            p[0] = 0x00;
            p[1] = 0xFF;
            p[2] = j == 5 ? 0x01 : 0x00;  // one byte off the key: drawn
        }
    }
    m_sprites.camouflage.Row(2)[3 * 69] = 9;  // column 329: outside the picture
    m_sprites.camouflage.Save("images/camouflage.bmp");
    AddCamera(SolidFrame(kStill));
    Run({
        Tick(),
        CheckThenTick([&](CCamouflageDlg& dlg) {
            CDibImage expected = SplitPicture(0, kStill, kStill);
            DrawExpectedHud(&expected, m_sprites, false, 0);
            EXPECT_EQ(FirstDifference(dlg.m_display, expected), "");
            const BYTE* drawn = dlg.m_display.Row(7) + 3 * 265;
            EXPECT_EQ(drawn[2], 0x01);
        }),
    });
}

}  // namespace
