// The thread's message queue as the rest of the core sees it (see
// message_queue.cpp).
#pragma once

#include <windows.h>

namespace win32core {

// GetMessage returns FALSE with this wParam when the driver can never deliver
// anything more.
constexpr WPARAM kNothingCanArrive = static_cast<WPARAM>(-1);

bool HasQueuedWork();
void WakeUp();  // makes a waiting GetMessage look again
void RemovePostedMessagesOf(HWND hwnd);

}  // namespace win32core
