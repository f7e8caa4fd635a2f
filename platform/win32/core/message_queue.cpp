// The thread's message queue: posted messages, WM_PAINT, WM_TIMER and WM_QUIT.
//
// Stands in for USER32's queue of the one user-interface thread. Messages come
// out in Windows' order of priority: posted messages first (FIFO), then
// WM_QUIT, then WM_PAINT for a window with an update region (one per window,
// however often it was invalidated), then WM_TIMER for a timer that has
// elapsed (one per timer, however many periods passed). When the queue is
// empty GetMessage waits in the driver.
//
// Limits: message filters other than "all" (0, 0) are ignored; there are no
// cross-thread sends.
#include <deque>

#include "message_queue.h"

#include "driver.h"
#include "paint.h"
#include "timers.h"
#include "window.h"

namespace win32core {

namespace {

struct Queue {
    std::deque<MSG> posted;
    bool quit = false;
    int quitCode = 0;
};

Queue& TheQueue() {
    static Queue queue;
    return queue;
}

bool MatchesFilter(HWND filter, HWND hwnd) {
    if (filter == nullptr) {
        return true;
    }
    for (Window* w = FindWindowData(hwnd); w != nullptr; w = FindWindowData(w->parent)) {
        if (w->handle == filter) {
            return true;
        }
    }
    return false;
}

bool TakeMessage(MSG* msg, HWND filter, bool remove) {
    Queue& q = TheQueue();
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (MatchesFilter(filter, it->hwnd)) {
            *msg = *it;
            if (remove) {
                q.posted.erase(it);
            }
            return true;
        }
    }
    if (q.quit) {
        *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, 0, {0, 0}};
        if (remove) {
            q.quit = false;
        }
        return true;
    }
    if (TakePaintMessage(msg) && MatchesFilter(filter, msg->hwnd)) {
        return true;
    }
    return TakeTimerMessage(msg, remove) && MatchesFilter(filter, msg->hwnd);
}

}  // namespace

bool HasQueuedWork() {
    MSG msg;
    return TakeMessage(&msg, nullptr, false);
}

void WakeUp() {
    // One queued message is enough to end a wait.
    if (TheQueue().posted.empty()) {
        PostMessageA(nullptr, WM_NULL, 0, 0);
    }
}

void RemovePostedMessagesOf(HWND hwnd) {
    auto& posted = TheQueue().posted;
    for (auto it = posted.begin(); it != posted.end();) {
        it = it->hwnd == hwnd ? posted.erase(it) : it + 1;
    }
}

}  // namespace win32core

using namespace win32core;

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd != nullptr && FindWindowData(hWnd) == nullptr) {
        return FALSE;
    }
    TheQueue().posted.push_back(MSG{hWnd, Msg, wParam, lParam, 0, {0, 0}});
    return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
    TheQueue().quit = true;
    TheQueue().quitCode = nExitCode;
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT, UINT, UINT wRemoveMsg) {
    return TakeMessage(lpMsg, hWnd, (wRemoveMsg & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT, UINT) {
    WindowDriver* driver = Driver();
    for (;;) {
        if (TakeMessage(lpMsg, hWnd, true)) {
            return lpMsg->message == WM_QUIT ? FALSE : TRUE;
        }
        if (driver == nullptr || !driver->WaitForEvents()) {
            // Nothing can ever arrive: end the caller's loop as WM_QUIT would.
            *lpMsg = MSG{nullptr, WM_QUIT, kNothingCanArrive, 0, 0, {0, 0}};
            return FALSE;
        }
    }
}

BOOL WINAPI TranslateMessage(const MSG*) {
    // Keys are delivered as WM_KEYDOWN only; nothing reads WM_CHAR.
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    if (lpMsg->message == WM_TIMER && lpMsg->lParam != 0) {
        auto proc = reinterpret_cast<TIMERPROC>(lpMsg->lParam);
        proc(lpMsg->hwnd, WM_TIMER, static_cast<UINT_PTR>(lpMsg->wParam), 0);
        return 0;
    }
    if (lpMsg->hwnd == nullptr) {
        return 0;  // thread messages (WM_NULL wake-ups) have no window
    }
    return SendMessageA(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}
