// The framework headers every file of the program starts with.
#pragma once

#include <afxwin.h>   // framework core: application, windows, dialogs, controls
#include <afxdisp.h>  // control containment (AfxEnableControlContainer)
