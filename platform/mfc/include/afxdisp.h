// Control containment of the framework (<afxdisp.h>), for Linux builds.
//
// Stands in for AfxEnableControlContainer, which lets dialogs hold OLE
// controls. Our dialog templates hold only push buttons and statics, so
// enabling containment records the request and changes nothing else.
#pragma once

#include "afxwin.h"

class COccManager;

void AFXAPI AfxEnableControlContainer(COccManager* pOccManager = NULL);

// Whether AfxEnableControlContainer was called.
BOOL AfxControlContainerEnabled();
