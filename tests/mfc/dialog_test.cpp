// The framework's dialogs with the null window driver: message-map dispatch
// and fallback, DoModal's life cycle, button enabling, timers, nested modal
// loops and the system menu.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/scripted_user.h"
#include "tests/win32/test_templates.h"

namespace {

class CLogDlg : public CDialog {
  public:
    explicit CLogDlg(UINT id = IDD_TEST, CWnd* parent = NULL) : CDialog(id, parent) {}

    std::vector<std::string> log;
    CButton m_start;
    CButton m_stop;
    std::function<void(CLogDlg&)> onInit;
    std::function<void(CLogDlg&)> onTick;
    int ticks = 0;
    int paints = 0;
    INT_PTR nestedResult = 0;

  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_T_STOP, m_stop);
        DDX_Control(pDX, IDC_T_START, m_start);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        log.push_back("init");
        if (onInit) {
            onInit(*this);
        }
        return TRUE;
    }
    afx_msg void OnTimer(UINT_PTR) {
        ++ticks;
        if (onTick) {
            onTick(*this);
        }
    }
    afx_msg void OnPaint() {
        ++paints;
        CDialog::OnPaint();
    }
    afx_msg void OnStart() {
        log.push_back("start");
        m_start.EnableWindow(FALSE);
        m_stop.EnableWindow(TRUE);
    }
    afx_msg void OnStop() {
        log.push_back("stop");
        m_start.EnableWindow(TRUE);
        m_stop.EnableWindow(FALSE);
    }
    afx_msg void OnOpen() {
        log.push_back("open");
        CDialog nested(IDD_NESTED);
        nestedResult = nested.DoModal();
        log.push_back("closed");
    }
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam) {
        if ((nID & 0xFFF0) == 0x0010) {
            log.push_back("about");
        } else {
            log.push_back("syscommand");
            CDialog::OnSysCommand(nID, lParam);
        }
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLogDlg, CDialog)
ON_WM_TIMER()
ON_WM_PAINT()
ON_BN_CLICKED(IDC_T_START, OnStart)
ON_BN_CLICKED(IDC_T_STOP, OnStop)
ON_BN_CLICKED(IDC_T_OPEN, OnOpen)
ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

// Handles Start itself; everything else falls back to CLogDlg's map.
class CDerivedDlg : public CLogDlg {
  protected:
    afx_msg void OnDerivedStart() { log.push_back("derived start"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedDlg, CLogDlg)
ON_BN_CLICKED(IDC_T_START, OnDerivedStart)
END_MESSAGE_MAP()

using DialogTest = ScriptedUserTest;

TEST_F(DialogTest, InitRunsBeforeTheDialogShowsAndEndingDestroysIt) {
    CLogDlg dlg;
    HWND hwnd = NULL;
    bool visibleInInit = true;
    dlg.onInit = [&](CLogDlg& d) {
        hwnd = d.m_hWnd;
        visibleInInit = ::IsWindowVisible(d.m_hWnd) != FALSE;
        d.SetTimer(0, 30, NULL);
    };
    bool visibleLater = false;
    HWND focus = NULL;
    HWND start = NULL;
    Then([&] {
        visibleLater = ::IsWindowVisible(hwnd) != FALSE;
        focus = ::GetFocus();
        start = ::GetDlgItem(hwnd, IDC_T_START);
        null_driver::Click(hwnd, IDCANCEL);
    });

    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(visibleInInit);
    EXPECT_TRUE(visibleLater);
    EXPECT_NE(start, nullptr);
    EXPECT_EQ(focus, start) << "first tab stop in template order";
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_start.m_hWnd, nullptr);
    EXPECT_FALSE(null_driver::HasTimer(hwnd, 0)) << "timers go with the window";
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"init"}));
    EXPECT_GE(dlg.paints, 1);
}

TEST_F(DialogTest, DerivedMapComesFirstThenBaseMapThenDefault) {
    CDerivedDlg dlg;
    LRESULT previousIcon = 1;
    Then([&] { null_driver::Click(dlg.m_hWnd, IDC_T_START); });
    Then([&] { null_driver::Click(dlg.m_hWnd, IDC_T_STOP); });
    Then([&] {
        // No map lists WM_SETICON: the window's default procedure answers.
        previousIcon = dlg.SendMessage(WM_SETICON, ICON_BIG, 0);
        null_driver::ChooseSystemMenuItem(dlg.m_hWnd, SC_CLOSE);
    });

    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"init", "derived start", "stop", "syscommand"}));
    EXPECT_EQ(previousIcon, 0);
}

TEST_F(DialogTest, DisabledButtonIgnoresClicksUntilEnabledAgain) {
    CLogDlg dlg;
    dlg.onInit = [](CLogDlg& d) {
        d.m_start.EnableWindow(FALSE);
        d.m_stop.EnableWindow(TRUE);
    };
    std::vector<bool> startEnabled;
    Then([&] { null_driver::Click(dlg.m_hWnd, IDC_T_START); });  // ignored
    Then([&] { null_driver::Click(dlg.m_hWnd, IDC_T_STOP); });
    Then([&] {
        startEnabled.push_back(dlg.m_start.IsWindowEnabled() != FALSE);
        null_driver::Click(dlg.m_hWnd, IDC_T_STOP);  // ignored now
    });
    Then([&] { null_driver::Click(dlg.m_hWnd, IDC_T_START); });
    Then([&] {
        startEnabled.push_back(dlg.m_start.IsWindowEnabled() != FALSE);
        null_driver::PressKey(dlg.m_hWnd, VK_ESCAPE);
    });

    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"init", "stop", "start"}));
    EXPECT_EQ(startEnabled, (std::vector<bool>{true, false}));
}

TEST_F(DialogTest, TimerTicksArriveOnlyWhileTheTimerIsSet) {
    CLogDlg dlg;
    dlg.onInit = [](CLogDlg& d) { d.SetTimer(0, 30, NULL); };
    bool firedAfterKill = true;
    Then([&] { null_driver::FireTimers(); });
    Then([&] {
        // Two periods before the loop looks: one WM_TIMER, as on Windows.
        null_driver::FireTimer(dlg.m_hWnd, 0);
        null_driver::FireTimer(dlg.m_hWnd, 0);
    });
    Then([&] {
        null_driver::FireTimer(dlg.m_hWnd, 0);  // elapsed, not yet delivered
        dlg.KillTimer(0);
        firedAfterKill = null_driver::FireTimer(dlg.m_hWnd, 0);
        null_driver::Click(dlg.m_hWnd, IDCANCEL);
    });

    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.ticks, 2);
    EXPECT_FALSE(firedAfterKill);
}

// The nested dialog has no parent: the application's main window owns it.
class CMainApp : public CWinApp {};

TEST_F(DialogTest, NestedModalDialogKeepsOwnerTicksGoingAndDisablesTheOwner) {
    CMainApp app;
    CLogDlg dlg;
    app.m_pMainWnd = &dlg;
    dlg.onInit = [](CLogDlg& d) { d.SetTimer(0, 30, NULL); };
    bool ownerEnabledDuring = true;
    bool ownerEnabledAfter = false;
    int ticksDuringNested = 0;
    HWND nested = NULL;
    Then([&] { null_driver::Click(dlg.m_hWnd, IDC_T_OPEN); });
    Then([&] {
        nested = null_driver::TopLevelWindows().back();
        ownerEnabledDuring = ::IsWindowEnabled(dlg.m_hWnd) != FALSE;
        null_driver::Click(dlg.m_hWnd, IDC_T_STOP);  // the owner takes no input
        null_driver::FireTimers();
    });
    Then([&] { null_driver::FireTimers(); });
    Then([&] {
        ticksDuringNested = dlg.ticks;
        null_driver::Click(nested, IDOK);
    });
    Then([&] {
        ownerEnabledAfter = ::IsWindowEnabled(dlg.m_hWnd) != FALSE;
        null_driver::Click(dlg.m_hWnd, IDCANCEL);
    });

    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_NE(nested, dlg.m_hWnd);
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(ownerEnabledAfter);
    EXPECT_EQ(ticksDuringNested, 2);
    EXPECT_EQ(dlg.nestedResult, IDOK);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"init", "open", "closed"}));
    EXPECT_FALSE(::IsWindow(nested));
}

TEST_F(DialogTest, EndDialogInsideOnInitDialogNeverShowsTheDialog) {
    CLogDlg dlg;
    dlg.onInit = [](CLogDlg& d) {
        d.SetTimer(0, 30, NULL);
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(IdleCalls(), 0) << "the modal loop never ran";
    EXPECT_EQ(dlg.paints, 0) << "the dialog never became visible";
}

TEST_F(DialogTest, SystemMenuEntrySendsItsCommand) {
    CLogDlg dlg;
    dlg.onInit = [](CLogDlg& d) {
        CMenu* menu = d.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        CString text;
        ASSERT_TRUE(text.LoadString(700));
        menu->AppendMenu(MF_SEPARATOR);
        menu->AppendMenu(MF_STRING, 0x0010, text);
    };
    std::vector<null_driver::MenuEntry> entries;
    Then([&] {
        entries = null_driver::SystemMenu(dlg.m_hWnd);
        null_driver::ChooseSystemMenuItem(dlg.m_hWnd, 0x0010);
    });
    Then([&] { null_driver::PressKey(dlg.m_hWnd, VK_ESCAPE); });

    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].id, static_cast<UINT>(SC_CLOSE));
    EXPECT_EQ(entries[0].text, "&Close");
    EXPECT_EQ(entries[1].flags & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(entries[2].id, 0x0010u);
    EXPECT_EQ(entries[2].text, "menu entry");
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"init", "about"}));
}

// As the program's application object routes the help command.
class CHelpApp : public CWinApp {
  public:
    CHelpApp() : CWinApp("tenebrix") {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHelpApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

TEST_F(DialogTest, CommandsTheDialogLeavesGoToTheApplication) {
    CHelpApp app;
    CLogDlg dlg;
    app.m_pMainWnd = &dlg;
    HWND hwnd = NULL;
    Then([&] {
        hwnd = dlg.m_hWnd;
        dlg.PostMessage(WM_COMMAND, ID_HELP, 0);
    });
    Then([&] { null_driver::PressKey(dlg.m_hWnd, VK_ESCAPE); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(null_driver::MessageBoxes().size(), 1u);
    EXPECT_EQ(null_driver::MessageBoxes()[0].text, "No help is available for this program.");
    EXPECT_EQ(null_driver::MessageBoxes()[0].caption, "tenebrix");
    EXPECT_EQ(null_driver::MessageBoxes()[0].owner, hwnd);
}

// Paints with a CPaintDC only: the paint DC's constructor and destructor
// bracket the painting and validate the update area.
class CPaintOnlyDlg : public CDialog {
  public:
    CPaintOnlyDlg() : CDialog(IDD_TEST) {}
    int paints = 0;
    RECT lastPaint{};
    HDC lastDc = NULL;

  protected:
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        ++paints;
        lastPaint = dc.m_ps.rcPaint;
        lastDc = dc.GetSafeHdc();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintOnlyDlg, CDialog)
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST_F(DialogTest, InvalidationsCoalesceIntoOnePaintThatCPaintDcValidates) {
    CPaintOnlyDlg dlg;
    int paintsBefore = 0;
    int paintsAfter = 0;
    Then([&] {
        paintsBefore = dlg.paints;
        RECT a{0, 0, 320, 240};
        RECT b{10, 250, 20, 260};
        dlg.InvalidateRect(&a, FALSE);
        dlg.InvalidateRect(&b, FALSE);
        dlg.InvalidateRect(&a, FALSE);
    });
    Then([&] {
        paintsAfter = dlg.paints;
        null_driver::PressKey(dlg.m_hWnd, VK_ESCAPE);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(paintsBefore, 1) << "the first showing";
    EXPECT_EQ(paintsAfter, 2) << "three invalidations, one WM_PAINT, and no repeat";
    EXPECT_EQ(dlg.lastPaint.left, 0);
    EXPECT_EQ(dlg.lastPaint.top, 0);
    EXPECT_EQ(dlg.lastPaint.right, 320);
    EXPECT_EQ(dlg.lastPaint.bottom, 260);
    EXPECT_NE(dlg.lastDc, nullptr);
    EXPECT_EQ(::WindowFromDC(dlg.lastDc), nullptr) << "EndPaint released the paint DC";
}

TEST_F(DialogTest, OkCommandEndsWithIdok) {
    CLogDlg dlg;
    Then([&] { dlg.PostMessage(WM_COMMAND, IDOK, 0); });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST_F(DialogTest, LoopWithNothingLeftToDoEndsTheDialogWithMinusOne) {
    CLogDlg dlg;
    EXPECT_EQ(dlg.DoModal(), -1);
}

TEST_F(DialogTest, MissingTemplateFailsWithMinusOne) {
    CDialog dlg(9999);
    EXPECT_EQ(dlg.DoModal(), -1);
}

}  // namespace
