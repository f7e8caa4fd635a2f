// Dialog templates of the window layer and framework tests, registered before
// main runs (link test_templates.cpp into the test).
#pragma once

// A test dialog: "Start" (1000) and "Stop" (1001) buttons, "Open" (1010), which
// opens a nested dialog, a 320 x 240 picture (1005), a small picture (1020,
// 7 x 12 px) and a large one (1021, 14 x 24 px), and "Cancel" (IDCANCEL).
#define IDD_TEST 500
// A nested dialog with an "OK" default button, no WS_VISIBLE.
#define IDD_NESTED 501

#define IDC_T_START 1000
#define IDC_T_STOP 1001
#define IDC_T_PICTURE 1005
#define IDC_T_OPEN 1010
#define IDC_T_SMALL 1020
#define IDC_T_LARGE 1021
#define IDI_T_ICON 600
