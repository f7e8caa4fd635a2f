// IMediaControl and IMediaEvent of <control.h>, for Linux builds.
//
// Stands in for the filter graph's run/stop control with only Run and Stop,
// and its event queue with only GetEvent and FreeEventParams; the automation
// base (IDispatch) and the other methods are left out.
#pragma once

#include <objbase.h>

extern const IID IID_IMediaControl;
extern const IID IID_IMediaEvent;

struct IMediaControl : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Run() = 0;
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;

  protected:
    ~IMediaControl() = default;
};

struct IMediaEvent : public IUnknown {
    // The next event (EC_ codes of <evcode.h>); E_ABORT when none came within
    // msTimeout milliseconds. Each event's parameters go to FreeEventParams.
    virtual HRESULT STDMETHODCALLTYPE GetEvent(long* lEventCode, LONG_PTR* lParam1,
                                               LONG_PTR* lParam2, long msTimeout) = 0;
    virtual HRESULT STDMETHODCALLTYPE FreeEventParams(long lEventCode, LONG_PTR lParam1,
                                                      LONG_PTR lParam2) = 0;

  protected:
    ~IMediaEvent() = default;
};
