// Window timers: SetTimer, KillTimer and the WM_TIMER they produce.
//
// Stands in for USER32's timers. The driver measures the periods (GLib
// timeouts in the gtk driver, explicit ticks in the null driver) and reports
// each elapsed period; the core turns that into at most one pending WM_TIMER
// per timer, as Windows does, and forgets it on KillTimer or when the window
// is destroyed, so no tick arrives after either.
//
// Limits: timers belong to a window (hWnd NULL is refused); a TIMERPROC is
// called from DispatchMessage like on Windows.
#include <vector>

#include "timers.h"

#include "driver.h"
#include "window.h"

namespace win32core {

namespace {

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT elapse;
    TIMERPROC proc;
    bool pending;
    unsigned long long order;  // when it last elapsed, for fair delivery
};

struct Timers {
    std::vector<Timer> list;
    unsigned long long clock = 0;
};

Timers& TheTimers() {
    static Timers timers;
    return timers;
}

Timer* Find(HWND hwnd, UINT_PTR id) {
    for (Timer& t : TheTimers().list) {
        if (t.hwnd == hwnd && t.id == id) {
            return &t;
        }
    }
    return nullptr;
}

}  // namespace

void TimerElapsed(HWND hwnd, UINT_PTR id) {
    Timer* t = Find(hwnd, id);
    if (t != nullptr && !t->pending) {
        t->pending = true;
        t->order = ++TheTimers().clock;
    }
}

bool TakeTimerMessage(MSG* msg, bool remove) {
    Timer* next = nullptr;
    for (Timer& t : TheTimers().list) {
        if (t.pending && (next == nullptr || t.order < next->order)) {
            next = &t;
        }
    }
    if (next == nullptr) {
        return false;
    }
    *msg = MSG{next->hwnd, WM_TIMER, next->id, reinterpret_cast<LPARAM>(next->proc), 0, {0, 0}};
    if (remove) {
        next->pending = false;
    }
    return true;
}

void RemoveTimersOf(HWND hwnd) {
    auto& list = TheTimers().list;
    for (auto it = list.begin(); it != list.end();) {
        if (it->hwnd == hwnd) {
            if (WindowDriver* d = Driver()) {
                d->TimerKilled(it->hwnd, it->id);
            }
            it = list.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace win32core

using namespace win32core;

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
    WindowDriver* driver = Driver();
    if (driver == nullptr || FindWindowData(hWnd) == nullptr) {
        return 0;
    }
    // Windows clamps periods below 10 ms (USER_TIMER_MINIMUM).
    const UINT elapse = uElapse < 10 ? 10 : uElapse;
    if (Timer* t = Find(hWnd, nIDEvent)) {
        t->elapse = elapse;
        t->proc = lpTimerFunc;
        t->pending = false;
        driver->TimerKilled(hWnd, nIDEvent);
    } else {
        TheTimers().list.push_back(Timer{hWnd, nIDEvent, elapse, lpTimerFunc, false, 0});
    }
    driver->TimerSet(hWnd, nIDEvent, elapse);
    // Windows returns the id, or 1 when the caller asked for id 0.
    return nIDEvent == 0 ? 1 : nIDEvent;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    auto& list = TheTimers().list;
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->hwnd == hWnd && it->id == uIDEvent) {
            list.erase(it);
            if (WindowDriver* d = Driver()) {
                d->TimerKilled(hWnd, uIDEvent);
            }
            return TRUE;
        }
    }
    return FALSE;
}
