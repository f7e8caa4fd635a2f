// IUnknown of <unknwn.h>, for Linux builds of the system's code.
//
// Stands in for the root COM interface: reference counting and QueryInterface.
// Interfaces are C++ abstract structs as on Windows; there is no C binding and
// no marshalling. An object is freed when its last reference goes.
#pragma once

#include "guiddef.h"
#include "winerror.h"

#define STDMETHODCALLTYPE

extern const IID IID_IUnknown;

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

  protected:
    ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;
