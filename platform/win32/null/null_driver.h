// Test API of the null window driver: windows without a display.
//
// Stands in for a user in front of the screen. With the null driver nothing is
// shown; a test drives the window layer from code:
//
//   null_driver::Use();                       // before any other window call
//   null_driver::QueueMessageBoxAnswer(IDYES); // answers the next MessageBoxA
//   ... code under test calls MessageBoxA(NULL, text, caption, MB_YESNO) ...
//   const auto& boxes = null_driver::MessageBoxes();
//   boxes[0].text      // the text as passed: code page 932 bytes
//   boxes[0].textUtf8  // the same text in UTF-8, for readable assertions
//   boxes[0].caption, boxes[0].captionUtf8, boxes[0].type (MB_YESNO ...),
//   boxes[0].answer    // what MessageBoxA returned
//   boxes[0].layout    // where the box, its lines and buttons would stand
//   null_driver::Reset();                     // between tests
//
// Message boxes: every MessageBoxA is recorded, in order, and answered from
// the queue of answers (first queued, first used). With no answer queued it
// gets what Enter would give: the default button (IDOK for MB_OK and
// MB_OKCANCEL, IDYES for MB_YESNO and MB_YESNOCANCEL; with MB_DEFBUTTON2 the
// second button, IDCANCEL or IDNO). The box returns at once. Its layout is
// measured with the null driver's fonts: 6 pixels for each byte of a
// character in code page 932 (so 12 for a Japanese one) and 12-pixel lines,
// in the box and in its title bar.
//
// Message loops (DoModal, DialogBoxParam, any GetMessage): when the queue is
// empty the loop calls the idle handler, which acts as the user (Click,
// FireTimers, PressKey, ChooseSystemMenuItem ...). When there is no handler or
// the handler queued nothing, nothing can ever happen: the loop ends as if
// WM_QUIT had come (a dialog then returns -1), and a note goes to stderr.
// PumpMessages dispatches what is queued without waiting, for windows that a
// test created with CreateDialogParam.
//
// Surfaces: every window has a pixel surface of its client size; Pixel reads
// it (what StretchDIBits, DrawIcon and the default painting wrote).
//
// This API and its behaviour stay compatible: other subsystems' tests use it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/core/message_box_layout.h"

namespace null_driver {

// Chooses the null driver for this process. Returns true when it is (or
// already was) the driver in use; false when another driver was chosen first.
bool Use();

// Forgets recorded boxes, queued answers, the idle handler and the work area.
// Windows that a test left open stay open.
void Reset();

struct MessageBoxRecord {
    HWND owner;               // NULL for a box without owner
    std::string text;         // code page 932 bytes, as passed
    std::string caption;      // code page 932 bytes, as passed ("Error" for NULL)
    std::string textUtf8;     // the text converted to UTF-8
    std::string captionUtf8;  // the caption converted to UTF-8
    UINT type;                // the uType flags, unchanged
    int answer;               // what MessageBoxA returned
    // What the box shows and where: its lines, buttons and place on the screen.
    win32core::MessageBoxLayout layout;
};

void QueueMessageBoxAnswer(int answer);
const std::vector<MessageBoxRecord>& MessageBoxes();

// The user's side of message loops.
void SetIdleHandler(std::function<void()> handler);
int PumpMessages();  // dispatches queued messages until none is left; returns how many

// Clicks the control with this id of the dialog (queued; a disabled button or
// a button of a disabled dialog ignores it, as on screen). False when the
// dialog has no such control.
bool Click(HWND dialog, int controlId);
// Presses a key (VK_ESCAPE, VK_RETURN, VK_TAB, VK_SPACE) in the dialog, at its
// focused control; shift for Shift+Tab.
bool PressKey(HWND dialog, UINT vk, bool shift = false);
// Lets the period of one timer, or of every timer set, elapse once.
bool FireTimer(HWND hwnd, UINT_PTR id);
int FireTimers();
bool HasTimer(HWND hwnd, UINT_PTR id);

// The system menu as the popup would show it, and choosing an entry of it
// (queues WM_SYSCOMMAND with the entry's id). False for no such entry.
struct MenuEntry {
    UINT id;
    UINT flags;        // MF_SEPARATOR, MF_STRING ...
    std::string text;  // code page 932
};
std::vector<MenuEntry> SystemMenu(HWND window);
bool ChooseSystemMenuItem(HWND window, UINT id);

// The screen is 1024 x 768 pixels. The part that windows may use (all of it
// unless set, as on a desktop without panels): dialogs without a visible
// owner are centred in it.
void SetWorkArea(const RECT& area);
// Where a window is: a top-level window's client area on the screen (the
// window manager adds the frame), a control's place in its dialog's client
// area. An empty rectangle for no such window.
RECT Placement(HWND window);

// Minimises or restores a top-level window, as the window manager would.
bool SetIconic(HWND window, bool iconic);

// The pixel at (x, y) of the window's client surface as 0x00RRGGBB, or -1 when
// there is no such window or pixel.
std::int64_t Pixel(HWND window, int x, int y);

// Top-level windows that are open, in creation order (dialogs and their
// nesting), and the one the user would see on top.
std::vector<HWND> TopLevelWindows();

}  // namespace null_driver
