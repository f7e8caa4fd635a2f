// The COM runtime of <objbase.h>, for Linux builds of the system's code.
//
// Stands in for CoInitialize, CoUninitialize, CoCreateInstance and the task
// allocator. Only in-process classes exist: the media layer registers its
// classes with our runtime, and CoInitialize starts it (CoUninitialize stops it
// when the last initialisation on the process goes). There is no apartment
// marshalling, no registry, no aggregation and no out-of-process server.
// OLESTR("text") makes an OLECHAR string literal (UTF-16), as L"text" does on
// Windows.
#pragma once

#include "windef.h"
#include "winerror.h"
#include "guiddef.h"
#include "unknwn.h"
#include "objidl.h"
#include "oaidl.h"
#include "oleauto.h"

#define OLESTR(str) u##str

enum tagCLSCTX {
    CLSCTX_INPROC_SERVER = 0x1,
    CLSCTX_INPROC_HANDLER = 0x2,
    CLSCTX_LOCAL_SERVER = 0x4,
};

HRESULT CoInitialize(LPVOID pvReserved);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                         LPVOID* ppv);
LPVOID CoTaskMemAlloc(size_t cb);
void CoTaskMemFree(LPVOID pv);
