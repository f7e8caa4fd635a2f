// The framework over the real Windows platform (run under Wine, on the test
// command's display): a template at (0, 0) is centred, in the work area or
// over its owner, and menu entries and captions of code page 932 read right
// whatever the ANSI code page is.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <cstdlib>
#include <functional>

#include "app/about_dlg.h"
#include "res/resource.h"

namespace {

CWinApp theTestApp;

const wchar_t kAboutCaption[] = L"Tenebrixのﾊﾞｰｼﾞｮﾝ情報";

// What the timer does on each tick, inside whichever modal loop runs.
std::function<void()> g_tick;
int g_ticksLeft = 0;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_tick) {
        g_tick();
    }
    // A dialog that never shows as expected must not hang the test: after
    // about a minute every dialog of this thread is cancelled.
    if (--g_ticksLeft == 0) {
        g_tick = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND w, LPARAM) -> BOOL {
                PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
                return TRUE;
            },
            0);
        g_ticksLeft = 20;
    }
}

// This thread's visible top-level window called `caption`, or null.
HWND ShownWindow(const wchar_t* caption) {
    struct Search {
        const wchar_t* caption;
        HWND found;
    } search{caption, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            wchar_t text[256] = L"";
            GetWindowTextW(w, text, 256);
            if (IsWindowVisible(w) && wcscmp(text, s->caption) == 0) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT PlaceOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

// Expects `inner` centred in `outer` (an odd pixel left over goes right/down).
void ExpectCentred(const RECT& inner, const RECT& outer) {
    const LONG width = inner.right - inner.left;
    const LONG height = inner.bottom - inner.top;
    EXPECT_EQ(inner.left, outer.left + (outer.right - outer.left - width) / 2);
    EXPECT_EQ(inner.top, outer.top + (outer.bottom - outer.top - height) / 2);
}

class WindowsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0') {
            GTEST_SKIP() << "no X display";
        }
        g_ticksLeft = 1200;
        m_timer = SetTimer(nullptr, 0, 50, Tick);
    }
    void TearDown() override {
        KillTimer(nullptr, m_timer);
        g_tick = nullptr;
        theTestApp.m_pMainWnd = nullptr;
    }
    UINT_PTR m_timer = 0;
};

TEST_F(WindowsDialogTest, TemplateAtTheOriginWithoutOwnerIsCentredInTheWorkArea) {
    RECT about{}, area{};
    g_tick = [&] {
        if (HWND dlg = ShownWindow(kAboutCaption)) {
            about = PlaceOf(dlg);
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
            PostMessageW(dlg, WM_COMMAND, IDOK, 0);
            g_tick = nullptr;
        }
    };
    CAboutDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_NE(about.right, 0) << "the About box never showed";
    ExpectCentred(about, area);
}

TEST_F(WindowsDialogTest, AboutBoxIsCentredOverItsOwnerAndTheMenuEntryReadsRight) {
    CDialog mainDlg(IDD_MAIN);
    theTestApp.m_pMainWnd = &mainDlg;
    RECT owner{}, about{};
    wchar_t entry[64] = L"";
    wchar_t caption[16] = L"";
    char narrow[16] = "";
    char cut[16] = "";
    bool opened = false;
    g_tick = [&] {
        HWND main = ShownWindow(L"TENEBRIX");
        if (!opened && main != nullptr) {
            opened = true;
            // "Tenebrix のﾊﾞｰｼﾞｮﾝ情報(&A)..." in code page 932, through the framework.
            mainDlg.GetSystemMenu(FALSE)->AppendMenu(
                MF_STRING, IDM_ABOUTBOX,
                "Tenebrix \x82\xcc\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1(&A)...");
            GetMenuStringW(GetSystemMenu(main, FALSE), IDM_ABOUTBOX, entry, 64, MF_BYCOMMAND);
            // A caption of code page 932 ("テスト"), read back both ways and cut
            // at a whole character.
            mainDlg.SetWindowText("\x83\x65\x83\x58\x83\x67");
            GetWindowTextW(main, caption, 16);
            mainDlg.GetWindowText(narrow, 16);
            mainDlg.GetWindowText(cut, 4);
            // Away from the middle of the screen, so that "over the owner"
            // shows, yet far enough from its edge for the box to fit.
            SetWindowPos(main, nullptr, 100, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            owner = PlaceOf(main);
            CAboutDlg aboutDlg;  // nested: the ticks go on in its loop
            EXPECT_EQ(aboutDlg.DoModal(), IDOK);
            PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
        } else if (HWND dlg = ShownWindow(kAboutCaption); dlg != nullptr && about.right == 0) {
            about = PlaceOf(dlg);
            PostMessageW(dlg, WM_COMMAND, IDOK, 0);
        }
    };
    EXPECT_EQ(mainDlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(entry, L"Tenebrix のﾊﾞｰｼﾞｮﾝ情報(&A)...");
    EXPECT_STREQ(caption, L"テスト");
    EXPECT_STREQ(narrow, "\x83\x65\x83\x58\x83\x67");
    EXPECT_STREQ(cut, "\x83\x65");
    ASSERT_NE(about.right, 0) << "the About box never showed";
    ExpectCentred(about, owner);
}

}  // namespace
