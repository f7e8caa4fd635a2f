// The window driver table: how the core shows windows and waits for input.
//
// Stands in for the display side of USER32. Like SDL's video drivers, one
// driver is chosen once per process: the one selected from code if any, else
// the one TENEBRIX_WINDOW_DRIVER names, else gtk. The program has one driver,
// "gtk"; a library linked beside it may add more before the first window
// call. A driver that was named but cannot start is an error (reported once
// on stderr; window calls then fail), never a silent fallback.
//
// The table sits just above the windows in the core: every area above calls
// the driver through this interface, and the drivers (at the top) call back
// into the core through the areas' headers.
#pragma once

#include <string>

#include "message_box_layout.h"
#include "window.h"

namespace win32core {

class WindowDriver {
  public:
    virtual ~WindowDriver() = default;

    // Native peers of windows. Called once the core has built the window (and,
    // for a dialog, all of its controls).
    virtual void CreatePeer(Window& w) = 0;
    virtual void DestroyPeer(Window& w) = 0;
    virtual void ShowPeer(Window& w, bool show) = 0;
    virtual void EnablePeer(Window& w, bool enable) = 0;
    virtual void TextChanged(Window& w) = 0;
    virtual void IconChanged(Window& w) = 0;
    virtual void FocusPeer(Window& w) = 0;
    virtual void Minimize(Window& w, bool iconic) = 0;
    // The window's surface changed within rect (client coordinates).
    virtual void SurfaceChanged(Window& w, const RECT& rect) = 0;

    virtual void TimerSet(HWND hwnd, UINT_PTR id, UINT elapse) = 0;
    virtual void TimerKilled(HWND hwnd, UINT_PTR id) = 0;

    // Blocks until input, a timer or WakeUp may have queued something. Returns
    // false when nothing can ever arrive (the null driver with nothing left).
    virtual bool WaitForEvents() = 0;

    // Shows a message box as laid out and returns the answer (IDOK, IDYES,
    // IDNO ...). The texts are code page 932, as passed to MessageBoxA. The
    // driver runs a nested message loop while it waits (dialog_manager.h).
    virtual int MessageBox(HWND owner, const std::string& text, const std::string& caption,
                           UINT type, const MessageBoxLayout& layout) = 0;
    // How the driver's fonts measure a message box's texts.
    virtual BoxFonts& MessageBoxFonts() = 0;

    // The whole primary screen (SM_CXSCREEN, SM_CYSCREEN), and the part of it
    // that windows may use, without panels and docks, in screen coordinates:
    // dialogs that have no visible owner are centred in the latter.
    virtual SIZE ScreenSize() = 0;
    virtual RECT WorkArea() = 0;
};

struct DriverEntry {
    const char* name;
    const char* description;
    WindowDriver* (*create)(std::string* error);  // nullptr and *error when it cannot start
};

// Adds a driver after the ones already known, at static initialisation or at
// least before the first window call. Returns true.
bool AddWindowDriver(const DriverEntry* entry);

// The driver of this process, chosen on first use; nullptr when the chosen
// driver could not start.
WindowDriver* Driver();

// Chooses a driver by name before first use. Returns false (with *error) when
// another driver is already in use, the name is unknown or it cannot start.
bool SelectDriver(const char* name, std::string* error);

}  // namespace win32core
