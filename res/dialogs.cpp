// The dialog templates: the main dialog IDD_MAIN and the About box
// IDD_ABOUTBOX. Positions and sizes are dialog units; texts are code page 932.
#include "resources.h"

#include "resource.h"
#include "version_info.h"

namespace tenebrix_res {

namespace {

using win32res::ControlClass;
using win32res::ControlTemplate;
using win32res::DialogTemplate;

// "ＭＳ Ｐゴシック", 9 point, for both dialogs.
const char kDialogFont[] =
    "\x82l\x82r \x82o\x83S\x83V\x83"
    "b\x83N";
constexpr WORD kDialogFontPoints = 9;
constexpr BYTE kDefaultCharset = 1;

constexpr DWORD kPushButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

// Template order is tab order: "The End" first.
const ControlTemplate kMainControls[] = {
    {ControlClass::Button, "The End", 0, IDCANCEL, kPushButton, 0, 149, 162, 31, 33},
    {ControlClass::Button, "Start", 0, IDC_START, kPushButton, 0, 3, 162, 31, 33},
    {ControlClass::Button, "Stop", 0, IDC_STOP, kPushButton, 0, 36, 162, 31, 33},
    {ControlClass::Button, "Background", 0, IDC_BACKGROUND, kPushButton, 0, 69, 162, 38, 16},
    {ControlClass::Button, "Snapshot", 0, IDC_SNAPSHOT, kPushButton, 0, 109, 162, 38, 16},
    {ControlClass::Static, "", 0, IDC_PICTURE, WS_CHILD | WS_VISIBLE | SS_BLACKFRAME, 0, 0, 0, 183,
     160},
    {ControlClass::Button, "Stealth", 0, IDC_STEALTH, kPushButton, 0, 69, 180, 78, 14},
};

const ControlTemplate kAboutControls[] = {
    {ControlClass::Static, nullptr, IDR_MAINFRAME, IDC_STATIC, WS_CHILD | WS_VISIBLE | SS_ICON, 0,
     11, 17, 20, 20},
    {ControlClass::Static, TENEBRIX_TITLE_AND_VERSION, 0, IDC_STATIC,
     WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_NOPREFIX, 0, 40, 10, 119, 8},
    {ControlClass::Static, "Copyright (C) 2026", 0, IDC_STATIC,
     WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 0, 40, 25, 119, 8},
    {ControlClass::Button, "OK", 0, IDOK,
     WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 178, 7, 50, 14},
};

}  // namespace

const DialogTemplate kDialogs[] = {
    {IDD_ABOUTBOX, false, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 0, 0,
     235, 55,
     // "Tenebrixのﾊﾞｰｼﾞｮﾝ情報"
     "Tenebrix\x82\xcc\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1", kDialogFontPoints, 0, 0,
     kDefaultCharset, kDialogFont, kAboutControls,
     static_cast<int>(sizeof kAboutControls / sizeof kAboutControls[0])},
    {IDD_MAIN, true, WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     WS_EX_APPWINDOW, 0, 0, 183, 197, "TENEBRIX", kDialogFontPoints, 0, 0, kDefaultCharset,
     kDialogFont, kMainControls, static_cast<int>(sizeof kMainControls / sizeof kMainControls[0])},
};

const int kDialogCount = static_cast<int>(sizeof kDialogs / sizeof kDialogs[0]);

}  // namespace tenebrix_res
