// IMediaControl of <control.h>, for Linux builds.
//
// Stands in for the filter graph's run/stop control with only Run and Stop;
// the automation base (IDispatch) and the other methods are left out.
#pragma once

#include <objbase.h>

extern const IID IID_IMediaControl;

struct IMediaControl : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Run() = 0;
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;

  protected:
    ~IMediaControl() = default;
};
