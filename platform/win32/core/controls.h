// The predefined controls' window procedures (see controls.cpp).
#pragma once

#include <windows.h>

namespace win32core {

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace win32core
