// Window timers as the queue and the drivers see them (see timers.cpp).
#pragma once

#include <windows.h>

namespace win32core {

// The driver reports that a timer's period has passed.
void TimerElapsed(HWND hwnd, UINT_PTR id);
// Pops the next timer tick that is due, if any (WM_TIMER for msg).
bool TakeTimerMessage(MSG* msg, bool remove);
// Forgets the timers of a window that goes.
void RemoveTimersOf(HWND hwnd);

}  // namespace win32core
