// The filter-graph interfaces of <strmif.h>, for Linux builds.
//
// Stands in for DirectShow's interfaces as far as the system calls them:
// the system device enumerator, filters, the filter graph, the capture graph
// builder and the crossbar. Each interface declares only the methods that are
// called, with the Windows signatures; the base interfaces that nothing calls
// (IPersist, IMediaFilter) are left out, so IBaseFilter is a plain IUnknown.
#pragma once

#include <objbase.h>

#include "vfwmsgs.h"

typedef LONGLONG REFERENCE_TIME;

typedef struct _AMMediaType {
    GUID majortype;
    GUID subtype;
    BOOL bFixedSizeSamples;
    BOOL bTemporalCompression;
    ULONG lSampleSize;
    GUID formattype;
    IUnknown* pUnk;
    ULONG cbFormat;
    BYTE* pbFormat;
} AM_MEDIA_TYPE;

typedef enum tagPhysicalConnectorType {
    PhysConn_Video_Tuner = 1,
    PhysConn_Video_Composite,
    PhysConn_Video_SVideo,
    PhysConn_Video_RGB,
    PhysConn_Video_YRYBY,
    PhysConn_Video_SerialDigital,
    PhysConn_Video_ParallelDigital,
    PhysConn_Video_SCSI,
    PhysConn_Video_AUX,
    PhysConn_Video_1394,
    PhysConn_Video_USB,
    PhysConn_Video_VideoDecoder,
    PhysConn_Video_VideoEncoder,
    PhysConn_Video_SCART,
    PhysConn_Video_Black,
    PhysConn_Audio_Tuner = 0x1000,
    PhysConn_Audio_Line = 0x1001,
    PhysConn_Audio_Mic = 0x1002,
} PhysicalConnectorType;

extern const IID IID_ICreateDevEnum;
extern const IID IID_IBaseFilter;
extern const IID IID_IGraphBuilder;
extern const IID IID_ICaptureGraphBuilder2;
extern const IID IID_IAMCrossbar;

struct ICreateDevEnum : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID clsidDeviceClass,
                                                            IEnumMoniker** ppEnumMoniker,
                                                            DWORD dwFlags) = 0;

  protected:
    ~ICreateDevEnum() = default;
};

struct IBaseFilter : public IUnknown {
  protected:
    ~IBaseFilter() = default;
};

struct IFilterGraph : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* pFilter, LPCWSTR pName) = 0;

  protected:
    ~IFilterGraph() = default;
};

struct IGraphBuilder : public IFilterGraph {
  protected:
    ~IGraphBuilder() = default;
};

struct ICaptureGraphBuilder2 : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder* pfg) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindInterface(const GUID* pCategory, const GUID* pType,
                                                    IBaseFilter* pf, REFIID riid, void** ppint) = 0;
    virtual HRESULT STDMETHODCALLTYPE RenderStream(const GUID* pCategory, const GUID* pType,
                                                   IUnknown* pSource, IBaseFilter* pfCompressor,
                                                   IBaseFilter* pfRenderer) = 0;

  protected:
    ~ICaptureGraphBuilder2() = default;
};

struct IAMCrossbar : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_PinCounts(LONG* OutputPinCount, LONG* InputPinCount) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CrossbarPinInfo(BOOL IsInputPin, LONG PinIndex,
                                                          LONG* PinIndexRelated,
                                                          LONG* PhysicalType) = 0;

  protected:
    ~IAMCrossbar() = default;
};
