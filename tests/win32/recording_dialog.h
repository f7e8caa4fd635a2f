// Window-layer tests over a modeless test dialog, built from IDD_TEST with a
// dialog procedure that records what reaches it.
#pragma once

#include <windows.h>

#include <vector>

#include "tests/support/scripted_user.h"
#include "tests/win32/test_templates.h"

struct Received {
    UINT message;
    WPARAM wParam;
};

class Win32Test : public ScriptedUserTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ScriptedUserTest::SetUp());
        s_received = &received;
        dlg = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST), nullptr,
                                 Record, 0);
        ASSERT_NE(dlg, nullptr);
        null_driver::PumpMessages();  // the first paints
        received.clear();
    }
    void TearDown() override {
        DestroyWindow(dlg);
        null_driver::PumpMessages();
        s_received = nullptr;
        ScriptedUserTest::TearDown();
    }

    int Count(UINT message) const {
        int n = 0;
        for (const Received& r : received) {
            n += r.message == message ? 1 : 0;
        }
        return n;
    }
    std::vector<WPARAM> Commands() const {
        std::vector<WPARAM> ids;
        for (const Received& r : received) {
            if (r.message == WM_COMMAND) {
                ids.push_back(r.wParam);
            }
        }
        return ids;
    }

    static INT_PTR CALLBACK Record(HWND, UINT message, WPARAM wParam, LPARAM) {
        if (s_received != nullptr && message != WM_INITDIALOG) {
            s_received->push_back(Received{message, wParam});
        }
        return message == WM_INITDIALOG ? TRUE : FALSE;
    }

    HWND dlg = nullptr;
    std::vector<Received> received;
    static inline std::vector<Received>* s_received = nullptr;
};
