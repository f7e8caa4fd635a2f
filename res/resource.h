// Resource ids of Tenebrix: dialogs, controls, strings, the icon and the
// system-menu command. The one list of ids, shared by the program's code and
// by the resource tables in this folder (and by a Windows resource script
// made from them).
#pragma once

#define IDM_ABOUTBOX 0x0010  // system-menu command; the low four bits are the system's
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN 102
#define IDR_MAINFRAME 128
#define IDC_START 1000
#define IDC_STOP 1001
#define IDC_BACKGROUND 1002
#define IDC_SNAPSHOT 1003
#define IDC_PICTURE 1005
#define IDC_STEALTH 1007

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
