// What drivers report of the user, as window calls (see window_api.cpp).
//
// Every input goes through the queue, never straight into a window
// procedure, so that handlers run one at a time from the loop.
#pragma once

#include <windows.h>

namespace win32core {

void PostButtonClick(HWND button);
// Keys arrive as WM_KEYDOWN; with shift, kShiftDown is set in lParam (our
// own flag, in the bits that carry the scan code on Windows).
constexpr LPARAM kShiftDown = 0x00010000;
void PostKey(HWND target, UINT vk, bool shift = false);
void PostSystemCommand(HWND window, UINT id);
void SetIconicState(HWND window, bool iconic);
void NoteFocus(HWND control);  // the native focus moved (to a dialog itself: to no control)

}  // namespace win32core
