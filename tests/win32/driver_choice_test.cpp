// Choosing the window driver: from TENEBRIX_WINDOW_DRIVER, once per process;
// a named driver that cannot start is an error, never a silent fallback.
// Each case runs in a child process of its own, before any driver is chosen.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "platform/win32/null/null_driver.h"

namespace {

// Exits 0 when every window call failed as it must without a driver.
[[noreturn]] void ExitWhetherWindowCallsFail() {
    const bool failed = GetSystemMetrics(SM_CXSCREEN) == 0 &&
                        MessageBoxA(nullptr, "text", "caption", MB_OK) == 0 &&
                        DialogBoxParamA(nullptr, MAKEINTRESOURCEA(1), nullptr, nullptr, 0) == -1 &&
                        !null_driver::Use();
    std::exit(failed ? 0 : 1);
}

TEST(DriverChoiceDeathTest, UnknownDriverNameIsAnError) {
    EXPECT_EXIT(
        {
            setenv("TENEBRIX_WINDOW_DRIVER", "nonesuch", 1);
            ExitWhetherWindowCallsFail();
        },
        ::testing::ExitedWithCode(0),
        "window driver \"nonesuch\" cannot start: no window driver named \"nonesuch\"");
}

TEST(DriverChoiceDeathTest, GtkWithoutADisplayIsAnErrorNotTheNullDriver) {
    EXPECT_EXIT(
        {
            setenv("TENEBRIX_WINDOW_DRIVER", "gtk", 1);
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            ExitWhetherWindowCallsFail();
        },
        ::testing::ExitedWithCode(0),
        "window driver \"gtk\" cannot start: cannot open the display");
}

TEST(DriverChoiceDeathTest, GtkIsTheDefault) {
    EXPECT_EXIT(
        {
            unsetenv("TENEBRIX_WINDOW_DRIVER");
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            ExitWhetherWindowCallsFail();
        },
        ::testing::ExitedWithCode(0), "window driver \"gtk\" cannot start");
}

TEST(DriverChoiceDeathTest, NullByNameAndFromCodeAgree) {
    EXPECT_EXIT(
        {
            setenv("TENEBRIX_WINDOW_DRIVER", "null", 1);
            const bool ok = GetSystemMetrics(SM_CXSCREEN) == 1024 && null_driver::Use();
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
