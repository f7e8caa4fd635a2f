// The Sample Grabber of <qedit.h>, for Linux builds.
//
// Stands in for ISampleGrabber with the calls the system makes: a media type
// to accept (24-bit RGB video only), buffering of the newest sample, the
// connected media type and a copy of the buffered frame. No one-shot mode, no
// callbacks, no IMediaSample access.
//
// GetCurrentBuffer(pBufferSize, pBuffer): with pBuffer null, writes the size
// of the buffered frame; otherwise copies it as bottom-up 24-bit rows (first
// row in memory = bottom of the picture, rows padded to 4 bytes) when
// *pBufferSize is large enough, and writes the count copied. Fails with
// VFW_E_WRONG_STATE when no frame has arrived (or buffering is off) and with
// E_OUTOFMEMORY when *pBufferSize is too small; nothing is written then.
#pragma once

#include "dshow.h"

extern const CLSID CLSID_SampleGrabber;
extern const IID IID_ISampleGrabber;

struct ISampleGrabber : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetMediaType(const AM_MEDIA_TYPE* pType) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetConnectedMediaType(AM_MEDIA_TYPE* pType) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBufferSamples(BOOL BufferThem) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentBuffer(LONG* pBufferSize, LONG* pBuffer) = 0;

  protected:
    ~ISampleGrabber() = default;
};
