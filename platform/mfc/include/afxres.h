// Framework resource ids (<afxres.h>), for Linux builds.
//
// Stands in for the ids that the framework reserves and that resource scripts
// use: IDC_STATIC for controls without an id, and the standard commands the
// system routes (ID_HELP). Only these are here. A resource compiler (windres
// in the Windows build) gets the system's resource definitions with them, as
// the framework's own header gives them to scripts.
#pragma once

#ifdef RC_INVOKED
#include <winresrc.h>
#endif

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define ID_HELP 0xE146  // 57670: the framework's help command
