// The application object and the framework's entry point, CString and the
// rest of the framework that is not a dialog.
#include <gtest/gtest.h>

#include <afxdisp.h>
#include <afxwin.h>

#include "tests/support/scripted_user.h"

namespace {

class CTestApp : public CWinApp {
  public:
    explicit CTestApp(BOOL result) : m_result(result) {}
    BOOL InitInstance() override {
        ++m_initCalls;
        AfxEnableControlContainer();
        EXPECT_TRUE(Enable3dControlsStatic());
        return m_result;
    }
    int m_initCalls = 0;
    BOOL m_result;
};

using AppTest = ScriptedUserTest;

TEST_F(AppTest, InitInstanceRunsOnceAndFalseEndsTheProgram) {
    CTestApp app(FALSE);
    EXPECT_EQ(AfxGetApp(), &app);
    char name[] = "/usr/bin/tenebrix";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(AfxWinMain(1, argv), 0);
    EXPECT_EQ(app.m_initCalls, 1);
    EXPECT_STREQ(app.m_pszAppName, "tenebrix");
    EXPECT_TRUE(AfxControlContainerEnabled());
    EXPECT_NE(app.m_hInstance, nullptr);
}

TEST_F(AppTest, TheProgramIsNamedAfterItsFileWithoutFolderOrExe) {
    char windowsName[] = "C:\\Games\\Tenebrix\\tenebrix.EXE";
    char plainName[] = "tenebrix.exe.old";
    for (char* name : {windowsName, plainName}) {
        CTestApp app(FALSE);
        char* argv[] = {name, nullptr};
        EXPECT_EQ(AfxWinMain(1, argv), 0);
        EXPECT_STREQ(app.m_pszAppName, name == windowsName ? "tenebrix" : "tenebrix.exe.old");
    }
}

TEST_F(AppTest, TrueRunsTheMessageLoopUntilQuit) {
    CTestApp app(TRUE);
    Then([] { PostQuitMessage(3); });
    EXPECT_EQ(AfxWinMain(0, nullptr), 3);
    EXPECT_EQ(app.m_initCalls, 1);
}

TEST_F(AppTest, NoApplicationObjectIsAnError) {
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxWinMain(0, nullptr), 1);
}

TEST_F(AppTest, LoadStringReadsTheStringTable) {
    CString s;
    EXPECT_TRUE(s.LoadString(700));
    EXPECT_STREQ(static_cast<LPCTSTR>(s), "menu entry");
    EXPECT_FALSE(s.IsEmpty());
    EXPECT_FALSE(s.LoadString(701));
    EXPECT_TRUE(s.IsEmpty());
}

}  // namespace
