// WideCharToMultiByte of <winnls.h>, for Linux builds of the system's code.
//
// Stands in for the conversion from UTF-16 to the system's ANSI code page,
// which is Japanese Shift-JIS (code page 932) as on the machines the system
// was made for. Supported code pages: CP_ACP and 932 (both Shift-JIS, done by
// glibc's iconv "CP932"), and CP_UTF8. Characters that the code page lacks and
// unpaired surrogates become the default character ('?' unless one is given).
// Flags are ignored. When the output does not fit cbMultiByte bytes the text
// is cut at a character boundary, NUL-terminated when the input counted its
// terminator (cchWideChar -1) and there is room for it, and the call returns 0
// as Windows does (insufficient buffer).
#pragma once

#include "windef.h"

#define CP_ACP 0
#define CP_UTF8 65001

typedef const WCHAR* LPCWCH;
typedef const CHAR* LPCCH;
typedef BOOL* LPBOOL;

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCCH lpDefaultChar,
                        LPBOOL lpUsedDefaultChar);
