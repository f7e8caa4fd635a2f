// BSTR allocation of <oleauto.h>, for Linux builds of the system's code.
//
// Stands in for SysAllocString and SysFreeString. Strings are UTF-16 (OLECHAR)
// with a 4-byte length prefix, as on Windows; SysFreeString(NULL) does nothing.
#pragma once

#include "oaidl.h"

BSTR SysAllocString(const OLECHAR* psz);
void SysFreeString(BSTR bstrString);
