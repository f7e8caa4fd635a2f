// The umbrella <windows.h> for Linux builds of the system's code.
//
// Stands in for the Windows SDK header of the same name, but pulls in only the
// subset headers of our platform layer: basic types, the DIB structures, and
// the window, message-box and national-language subsets as far as the system
// calls them. A Windows build takes the real <windows.h> instead.
#pragma once

#include "windef.h"
#include "wingdi.h"
#include "winbase.h"
#include "winuser.h"
#include "winnls.h"
