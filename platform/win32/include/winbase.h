// The few <winbase.h> (KERNEL32) calls of the window layer, for Linux builds.
//
// Stands in for MulDiv, with which dialog units become pixels, and
// GetModuleHandleA(NULL), the program's module handle under which its linked
// resources are found. Other modules than the program itself do not exist.
#pragma once

#include "windef.h"

// (nNumber * nNumerator) / nDenominator with a 64-bit product, rounded half away
// from zero; -1 when nDenominator is 0 or the result does not fit in an int.
int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator);
HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName);
#define GetModuleHandle GetModuleHandleA
