// A timer tick that arrives while a tick is still being built (nested message
// processing) gets only the default processing.
//
// The frame cycle runs nothing that dispatches messages, so the test makes the
// nesting itself: this program is linked with the window API's InvalidateRect
// wrapped (-Wl,--wrap), and the wrapper, which runs inside the tick, sends the
// dialog one more WM_TIMER.
#include <gtest/gtest.h>

#include "tests/app/main_dialog.h"

#define REAL_INVALIDATE_RECT __real__Z14InvalidateRectP6HWND__PK7tagRECTi
#define WRAP_INVALIDATE_RECT __wrap__Z14InvalidateRectP6HWND__PK7tagRECTi

extern "C" BOOL REAL_INVALIDATE_RECT(HWND hWnd, const RECT* lpRect, BOOL bErase);

namespace {

int s_invalidations = 0;
bool s_nestTick = false;
const scripted_capture::Pixel kFirst = {120, 90, 60};
const scripted_capture::Pixel kSecond = {30, 200, 10};

}  // namespace

extern "C" BOOL WRAP_INVALIDATE_RECT(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    ++s_invalidations;
    if (s_nestTick) {
        s_nestTick = false;
        // Had this tick run the cycle, it would grab this frame.
        scripted_capture::SetFrame(0, SolidFrame(kSecond));
        SendMessage(hWnd, WM_TIMER, 0, 0);
    }
    return REAL_INVALIDATE_RECT(hWnd, lpRect, bErase);
}

namespace {

size_t Grabs() {
    size_t n = 0;
    for (const std::string& call : scripted_capture::Calls()) {
        n += call.find(".GetCurrentBuffer(") != std::string::npos ? 1 : 0;
    }
    return n;
}

TEST_F(DialogTest, ATickArrivingWhileOneRunsOnlyGetsDefaultProcessing) {
    AddCamera(SolidFrame(kFirst));
    size_t grabsBefore = 0;
    Run({
        [&](CCamouflageDlg& dlg) {
            grabsBefore = Grabs();
            s_invalidations = 0;
            s_nestTick = true;
            EXPECT_TRUE(null_driver::FireTimer(dlg.m_hWnd, 0));
        },
        CheckThenTick([&](CCamouflageDlg& dlg) {
            EXPECT_FALSE(s_nestTick) << "the tick did not reach InvalidateRect";
            // One grab and one invalidation: the nested tick built nothing.
            EXPECT_EQ(Grabs() - grabsBefore, 1u);
            EXPECT_EQ(s_invalidations, 1);
            CDibImage expected = SplitPicture(0, kFirst, kFirst);
            DrawExpectedHud(&expected, m_sprites, false, 0);
            EXPECT_EQ(FirstDifference(dlg.m_display, expected), "");
        }),
        // The busy flag was cleared: the next tick runs in full.
        CheckThenTick([&](CCamouflageDlg& dlg) {
            EXPECT_EQ(s_invalidations, 2);
            CDibImage expected = SplitPicture(0, kSecond, kSecond);
            DrawExpectedHud(&expected, m_sprites, false, 0);
            EXPECT_EQ(FirstDifference(dlg.m_display, expected), "");
        }),
    });
}

}  // namespace
