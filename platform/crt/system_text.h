// The code page of the system's narrow texts.
//
// Stands in for nothing: it says what the system's narrow strings are. Every
// text the system holds (message boxes, resources, device names) is code page
// 932 (Shift-JIS), as on the Japanese Windows the program was made for. On
// Linux the window layer takes them as such. On Windows the ANSI code page
// may be another one, so the texts go to the wide functions, converted here,
// and read right on any Windows.
#pragma once

#include <windows.h>

#include <string>

const UINT kSystemCodePage = 932;

#ifdef _WIN32
// `text` (code page 932, NUL-terminated; null for none) in UTF-16.
std::wstring WideFromSystemText(const char* text);
// `text` (UTF-16, NUL-terminated; null for none) in code page 932; characters
// the code page lacks become '?'.
std::string SystemTextFromWide(const wchar_t* text);
#endif
