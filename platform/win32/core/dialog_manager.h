// Modal loops, for the dialog manager and the drivers' own modal windows
// (see dialog_manager.cpp).
#pragma once

#include <windows.h>

#include "message_queue.h"

namespace win32core {

// Dispatches one message as a modal loop does: keys and everything else of a
// dialog through IsDialogMessage, other messages straight to their window.
void DispatchOne(const MSG& msg);

// Runs the message loop until done() holds; false when the loop had to stop
// (WM_QUIT, which stays queued for the outer loops, or nothing can arrive any
// more).
template <class Done>
bool RunNestedLoop(Done done) {
    MSG msg;
    while (!done()) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            if (msg.wParam != kNothingCanArrive) {
                PostQuitMessage(static_cast<int>(msg.wParam));
            }
            return false;
        }
        DispatchOne(msg);
    }
    return true;
}

}  // namespace win32core
