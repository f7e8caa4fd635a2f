// Monikers of <objidl.h>, for Linux builds of the system's code.
//
// Stands in for IMoniker and IEnumMoniker with only the calls that device
// enumeration makes: BindToObject, BindToStorage and Next. Bind contexts are
// never created; IBindCtx is only named so that the signatures match.
#pragma once

#include "unknwn.h"

struct IBindCtx;

extern const IID IID_IMoniker;
extern const IID IID_IEnumMoniker;

struct IMoniker : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* pbc, IMoniker* pmkToLeft,
                                                   REFIID riidResult, void** ppvResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riid,
                                                    void** ppvObj) = 0;

  protected:
    ~IMoniker() = default;
};

struct IEnumMoniker : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) = 0;

  protected:
    ~IEnumMoniker() = default;
};
