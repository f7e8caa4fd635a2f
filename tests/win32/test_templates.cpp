// Dialog templates, a string and an icon for the window layer and framework tests.
#include "tests/win32/test_templates.h"

#include <windows.h>

#include "platform/win32/resource_module.h"

namespace {

using win32res::ControlClass;
using win32res::ControlTemplate;
using win32res::DialogTemplate;

constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kFrame = WS_CHILD | WS_VISIBLE | SS_BLACKFRAME;

const ControlTemplate kTestControls[] = {
    {ControlClass::Static, "", 0, IDC_T_PICTURE, kFrame, 0, 0, 0, 183, 160},
    {ControlClass::Button, "Start", 0, IDC_T_START, kButton, 0, 3, 162, 31, 33},
    {ControlClass::Button, "Stop", 0, IDC_T_STOP, kButton, 0, 36, 162, 31, 33},
    {ControlClass::Button, "&Open", 0, IDC_T_OPEN, kButton, 0, 69, 162, 38, 16},
    {ControlClass::Static, "", 0, IDC_T_SMALL, kFrame, 0, 110, 162, 4, 8},
    {ControlClass::Static, "", 0, IDC_T_LARGE, kFrame, 0, 120, 162, 8, 16},
    {ControlClass::Button, "Cancel", 0, IDCANCEL, kButton, 0, 149, 162, 31, 33},
};

const ControlTemplate kNestedControls[] = {
    {ControlClass::Static, nullptr, IDI_T_ICON, -1, WS_CHILD | WS_VISIBLE | SS_ICON, 0, 4, 4, 20,
     20},
    {ControlClass::Button, "OK", 0, IDOK, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
     40, 4, 50, 14},
};

const DialogTemplate kTestDialogs[] = {
    {IDD_TEST, true, WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     WS_EX_APPWINDOW, 0, 0, 183, 197, "Test", 9, 0, 0, 1, "MS Shell Dlg", kTestControls,
     static_cast<int>(sizeof kTestControls / sizeof kTestControls[0])},
    {IDD_NESTED, false, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 0, 0,
     100, 30, "Nested", 9, 0, 0, 1, "MS Shell Dlg", kNestedControls,
     static_cast<int>(sizeof kNestedControls / sizeof kNestedControls[0])},
};

// A 2 x 2 checker of red and blue with a transparent top-left quarter.
const char* const kIconRows[] = {
    "................CCCCCCCCCCCCCCCC", "................CCCCCCCCCCCCCCCC",
    "................CCCCCCCCCCCCCCCC", "................CCCCCCCCCCCCCCCC",
    "................CCCCCCCCCCCCCCCC", "................CCCCCCCCCCCCCCCC",
    "................CCCCCCCCCCCCCCCC", "................CCCCCCCCCCCCCCCC",
    "................CCCCCCCCCCCCCCCC", "................CCCCCCCCCCCCCCCC",
    "................CCCCCCCCCCCCCCCC", "................CCCCCCCCCCCCCCCC",
    "................CCCCCCCCCCCCCCCC", "................CCCCCCCCCCCCCCCC",
    "................CCCCCCCCCCCCCCCC", "................CCCCCCCCCCCCCCCC",
    "CCCCCCCCCCCCCCCC9999999999999999", "CCCCCCCCCCCCCCCC9999999999999999",
    "CCCCCCCCCCCCCCCC9999999999999999", "CCCCCCCCCCCCCCCC9999999999999999",
    "CCCCCCCCCCCCCCCC9999999999999999", "CCCCCCCCCCCCCCCC9999999999999999",
    "CCCCCCCCCCCCCCCC9999999999999999", "CCCCCCCCCCCCCCCC9999999999999999",
    "CCCCCCCCCCCCCCCC9999999999999999", "CCCCCCCCCCCCCCCC9999999999999999",
    "CCCCCCCCCCCCCCCC9999999999999999", "CCCCCCCCCCCCCCCC9999999999999999",
    "CCCCCCCCCCCCCCCC9999999999999999", "CCCCCCCCCCCCCCCC9999999999999999",
    "CCCCCCCCCCCCCCCC9999999999999999", "CCCCCCCCCCCCCCCC9999999999999999",
};
const win32res::IconImage kIconImages[] = {{32, 32, kIconRows}};
const win32res::IconResource kTestIcons[] = {{IDI_T_ICON, kIconImages, 1}};

const win32res::StringResource kTestStrings[] = {{700, "menu entry"}};

const win32res::ResourceModule kTestModule = {kTestDialogs, 2, kTestStrings, 1, kTestIcons, 1};

const bool kRegistered = win32res::RegisterResourceModule(&kTestModule);

}  // namespace
