// The dialog manager with the null driver: dialog units, the keyboard, the
// system menu, enabling and the close command.
#include "tests/win32/recording_dialog.h"

namespace {

using DialogManagerTest = Win32Test;

TEST_F(DialogManagerTest, DialogUnitsBecomePixelsAsMulDivRounds) {
    RECT picture;
    GetClientRect(GetDlgItem(dlg, IDC_T_PICTURE), &picture);
    EXPECT_EQ(picture.right, 320);
    EXPECT_EQ(picture.bottom, 240);
    RECT client;
    GetClientRect(dlg, &client);
    EXPECT_EQ(client.right, 320);   // 183 * 7 / 4 = 320.25
    EXPECT_EQ(client.bottom, 296);  // 197 * 12 / 8 = 295.5, rounded up

    RECT units{3, 162, 34, 195};
    ASSERT_TRUE(MapDialogRect(dlg, &units));
    EXPECT_EQ(units.left, 5);      // 5.25
    EXPECT_EQ(units.top, 243);     // 243
    EXPECT_EQ(units.right, 60);    // 59.5
    EXPECT_EQ(units.bottom, 293);  // 292.5
}

// Left, top, right, bottom of a window's place, for one-line comparisons.
std::vector<LONG> Place(HWND window) {
    const RECT r = null_driver::Placement(window);
    return {r.left, r.top, r.right, r.bottom};
}

TEST_F(DialogManagerTest, TemplatesAtTheOriginAreCentredInTheWorkAreaOrOverTheirOwner) {
    // 320 x 296 pixels on the whole 1024 x 768 screen.
    EXPECT_EQ(Place(dlg), (std::vector<LONG>{352, 236, 672, 532}));

    // A desktop with a 32-pixel panel at the top and a 64-pixel dock on the left.
    null_driver::SetWorkArea(RECT{64, 32, 1024, 768});
    HWND second = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_TEST), nullptr, Record, 0);
    EXPECT_EQ(Place(second), (std::vector<LONG>{384, 252, 704, 548}));
    DestroyWindow(second);

    // 175 x 45 pixels over the visible owner; in the work area while the owner
    // is minimised.
    HWND nested = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_NESTED), dlg, Record, 0);
    EXPECT_EQ(Place(nested), (std::vector<LONG>{424, 361, 599, 406}));
    DestroyWindow(nested);
    null_driver::SetIconic(dlg, true);
    nested = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_NESTED), dlg, Record, 0);
    EXPECT_EQ(Place(nested), (std::vector<LONG>{456, 377, 631, 422}));
    DestroyWindow(nested);

    // Over an owner that reaches past the work area's edges the box stays in
    // the work area.
    null_driver::SetIconic(dlg, false);
    null_driver::SetWorkArea(RECT{450, 32, 1024, 768});
    nested = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_NESTED), dlg, Record, 0);
    EXPECT_EQ(Place(nested), (std::vector<LONG>{450, 361, 625, 406}));
    DestroyWindow(nested);
    null_driver::SetWorkArea(RECT{0, 0, 560, 390});
    nested = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_NESTED), dlg, Record, 0);
    EXPECT_EQ(Place(nested), (std::vector<LONG>{385, 345, 560, 390}));
    DestroyWindow(nested);
    null_driver::PumpMessages();
}

TEST(MulDivTest, RoundsHalfAwayFromZeroAndReportsOverflow) {
    EXPECT_EQ(MulDiv(183, 7, 4), 320);
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(-3, 1, 4), -1);
    EXPECT_EQ(MulDiv(5, 3, -2), -8);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 4, 1), -1);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF), 0x7FFFFFFF);
}

TEST_F(DialogManagerTest, KeysFollowTheFocusAndTheDialogsButtons) {
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_T_START));
    null_driver::PressKey(dlg, VK_RETURN);  // the focused button
    null_driver::PressKey(dlg, VK_TAB);
    null_driver::PumpMessages();
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_T_STOP));
    null_driver::PressKey(dlg, VK_SPACE);
    null_driver::PressKey(dlg, VK_ESCAPE);
    null_driver::PumpMessages();
    // Enter with no push button focused, in a dialog without a default button.
    SetFocus(GetDlgItem(dlg, IDC_T_PICTURE));
    null_driver::PressKey(dlg, VK_RETURN);
    null_driver::PumpMessages();
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{IDC_T_START, IDC_T_STOP, IDCANCEL, IDOK}));
}

TEST_F(DialogManagerTest, TabWrapsAroundAndSkipsDisabledButtons) {
    EnableWindow(GetDlgItem(dlg, IDC_T_STOP), FALSE);
    null_driver::PressKey(dlg, VK_TAB);
    null_driver::PumpMessages();
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_T_OPEN));
    null_driver::PressKey(dlg, VK_TAB);
    null_driver::PressKey(dlg, VK_TAB);
    null_driver::PumpMessages();
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_T_START));
    null_driver::PressKey(dlg, VK_TAB, true);
    null_driver::PumpMessages();
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDCANCEL)) << "Shift+Tab goes back, wrapping";
    null_driver::PressKey(dlg, VK_TAB, true);
    null_driver::PumpMessages();
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_T_OPEN));
}

TEST_F(DialogManagerTest, AFocusedButtonThatIsDisabledLosesTheFocus) {
    // As a Stop button that disables itself when clicked.
    null_driver::Click(dlg, IDC_T_STOP);
    null_driver::PumpMessages();
    ASSERT_EQ(GetFocus(), GetDlgItem(dlg, IDC_T_STOP));
    EnableWindow(GetDlgItem(dlg, IDC_T_START), FALSE);  // not the focus: nothing moves
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_T_STOP));
    EnableWindow(GetDlgItem(dlg, IDC_T_STOP), FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    // No push button has the focus now: Enter is IDOK, Space nothing; Tab
    // starts again from the first tab stop that takes it.
    null_driver::PressKey(dlg, VK_SPACE);
    null_driver::PressKey(dlg, VK_RETURN);
    null_driver::PressKey(dlg, VK_TAB);
    null_driver::PumpMessages();
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{IDC_T_STOP, MAKEWPARAM(IDOK, BN_CLICKED)}));
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_T_OPEN));
}

TEST_F(DialogManagerTest, EnterPressesTheDefaultButton) {
    HWND nested = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_NESTED), dlg, Record, 0);
    ASSERT_NE(nested, nullptr);
    EXPECT_FALSE(IsWindowVisible(nested)) << "the template is not WS_VISIBLE";
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(nested, IDOK))) << "nor are its controls";
    ShowWindow(nested, SW_SHOW);
    SetFocus(nullptr);
    SetFocus(GetDlgItem(nested, -1));  // the icon, not a button
    null_driver::PressKey(nested, VK_RETURN);
    null_driver::PumpMessages();
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{IDOK}));
    DestroyWindow(nested);
}

TEST_F(DialogManagerTest, EscDoesNothingWhileCancelIsDisabled) {
    EnableWindow(GetDlgItem(dlg, IDCANCEL), FALSE);
    null_driver::PressKey(dlg, VK_ESCAPE);
    null_driver::ChooseSystemMenuItem(dlg, SC_CLOSE);
    null_driver::PumpMessages();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(Count(WM_SYSCOMMAND), 1);
}

TEST_F(DialogManagerTest, CloseCommandBecomesCancel) {
    null_driver::ChooseSystemMenuItem(dlg, SC_CLOSE);
    null_driver::PumpMessages();
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{MAKEWPARAM(IDCANCEL, BN_CLICKED)}));
}

TEST_F(DialogManagerTest, DisabledButtonsAndDisabledDialogsIgnoreClicks) {
    EnableWindow(GetDlgItem(dlg, IDC_T_START), FALSE);
    null_driver::Click(dlg, IDC_T_START);
    null_driver::PumpMessages();
    EXPECT_TRUE(Commands().empty());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_T_START)));

    EnableWindow(dlg, FALSE);
    null_driver::Click(dlg, IDC_T_STOP);
    null_driver::PressKey(dlg, VK_ESCAPE);
    null_driver::PumpMessages();
    EXPECT_TRUE(Commands().empty());

    EnableWindow(dlg, TRUE);
    EnableWindow(GetDlgItem(dlg, IDC_T_START), TRUE);
    null_driver::Click(dlg, IDC_T_START);
    null_driver::PumpMessages();
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{IDC_T_START}));
    EXPECT_FALSE(null_driver::Click(dlg, 4242)) << "no such control";
}

TEST_F(DialogManagerTest, AppendedSystemMenuEntriesStandAtTheEndAndSendTheirIds) {
    HMENU menu = GetSystemMenu(dlg, FALSE);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetSystemMenu(dlg, FALSE), menu);
    EXPECT_TRUE(AppendMenuA(menu, MF_SEPARATOR, 0, nullptr));
    EXPECT_TRUE(AppendMenuA(menu, MF_STRING, 0x0010, "About"));
    EXPECT_FALSE(AppendMenuA(menu, MF_STRING, 0x0020, nullptr));
    EXPECT_FALSE(AppendMenuA(menu, MF_POPUP, 0x0020, "popup"));

    const auto entries = null_driver::SystemMenu(dlg);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].id, static_cast<UINT>(SC_CLOSE));
    EXPECT_EQ(entries[1].flags, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(entries[2].text, "About");

    EXPECT_TRUE(null_driver::ChooseSystemMenuItem(dlg, 0x0010));
    EXPECT_FALSE(null_driver::ChooseSystemMenuItem(dlg, 0x0030));
    null_driver::PumpMessages();
    ASSERT_EQ(Count(WM_SYSCOMMAND), 1);
    EXPECT_EQ(received.back().wParam, 0x0010u);

    // Reverting gives the default menu back.
    EXPECT_EQ(GetSystemMenu(dlg, TRUE), nullptr);
    EXPECT_EQ(null_driver::SystemMenu(dlg).size(), 1u);
}

TEST_F(DialogManagerTest, TimersStopWithKillTimerAndWithTheWindow) {
    EXPECT_EQ(SetTimer(dlg, 0, 30, nullptr), 1u);
    EXPECT_EQ(SetTimer(dlg, 5, 30, nullptr), 5u);
    EXPECT_EQ(SetTimer(nullptr, 5, 30, nullptr), 0u);
    EXPECT_EQ(null_driver::FireTimers(), 2);
    null_driver::PumpMessages();
    EXPECT_EQ(Count(WM_TIMER), 2);
    EXPECT_TRUE(KillTimer(dlg, 5));
    EXPECT_FALSE(KillTimer(dlg, 5));
    EXPECT_EQ(null_driver::FireTimers(), 1);
    null_driver::PumpMessages();
    EXPECT_EQ(Count(WM_TIMER), 3);

    HWND nested = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_NESTED), dlg, Record, 0);
    SetTimer(nested, 1, 30, nullptr);
    EXPECT_TRUE(null_driver::HasTimer(nested, 1));
    DestroyWindow(nested);
    EXPECT_FALSE(null_driver::HasTimer(nested, 1));
    EXPECT_FALSE(IsWindow(nested));
}

TEST_F(DialogManagerTest, ControlsHaveTheirTemplateTextsAndIds) {
    char text[32];
    EXPECT_EQ(GetWindowTextA(GetDlgItem(dlg, IDC_T_OPEN), text, sizeof text), 5);
    EXPECT_STREQ(text, "&Open");
    EXPECT_EQ(GetWindowTextA(dlg, text, 3), 2);
    EXPECT_STREQ(text, "Te");
    EXPECT_EQ(GetDlgCtrlID(GetDlgItem(dlg, IDC_T_STOP)), IDC_T_STOP);
    EXPECT_EQ(GetParent(GetDlgItem(dlg, IDC_T_STOP)), dlg);
}

}  // namespace
