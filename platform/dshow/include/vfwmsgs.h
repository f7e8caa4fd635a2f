// Media-framework result codes of <vfwmsgs.h>, for Linux builds.
//
// Stands in for the DirectShow HRESULTs that our media layer returns.
#pragma once

#include <winerror.h>

#define VFW_E_INVALIDMEDIATYPE ((HRESULT)0x80040200L)
#define VFW_E_ALREADY_CONNECTED ((HRESULT)0x80040204L)
#define VFW_E_NOT_CONNECTED ((HRESULT)0x80040209L)
#define VFW_E_NOT_FOUND ((HRESULT)0x80040216L)
#define VFW_E_CANNOT_CONNECT ((HRESULT)0x80040217L)
#define VFW_E_WRONG_STATE ((HRESULT)0x80040227L)
#define VFW_E_TYPE_NOT_ACCEPTED ((HRESULT)0x8004022AL)
#define VFW_E_NOT_IN_GRAPH ((HRESULT)0x8004025FL)
