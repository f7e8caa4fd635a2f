// Registration of in-process class servers with our COM runtime.
//
// Stands in for the registry entries and DllGetClassObject of a Windows
// in-process server: a library of ours that implements COM classes (the media
// layer) registers one server. CoInitialize starts every registered server the
// first time COM is initialised in the process, CoUninitialize stops them when
// the last initialisation goes, and CoCreateInstance asks each started server
// in turn for the class. Registration happens during static initialisation.
#pragma once

#include <objbase.h>

struct ComInprocServer {
    const char* name;
    // Starts the server; a failure is reported by CoInitialize and leaves the
    // server's classes unavailable until a later start succeeds.
    HRESULT (*start)();
    void (*stop)();
    // Creates an instance of `clsid` as `riid`; REGDB_E_CLASSNOTREG when the
    // server does not implement that class.
    HRESULT (*create)(REFCLSID clsid, REFIID riid, void** ppv);
};

// Adds `server` (which must live as long as the process); returns true so that
// it can initialise a static flag.
bool ComRegisterServer(const ComInprocServer* server);
