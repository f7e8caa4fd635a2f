// CCaptureManager: one device's capture chain on the shared graph, and what
// the manager records about the device (crossbar, frame format).
//
// Results of the platform calls are not examined, as a failed step must not
// stop the later ones; but a step whose interface could not be obtained is
// skipped instead of calling through a null pointer.
#include <cstring>

#include "capture/capture_manager.h"

void CCaptureManager::BuildDeviceGraph(CaptureDevice* device, int withRenderer) {
    CoCreateInstance(CLSID_SampleGrabber, NULL, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                     IID_IBaseFilter, reinterpret_cast<void**>(&device->grabberFilter));
    if (device->grabberFilter != NULL) {
        device->grabberFilter->QueryInterface(IID_ISampleGrabber,
                                              reinterpret_cast<void**>(&device->grabber));
    }
    SetGrabberMediaType(device);
    if (m_graph != NULL && device->grabberFilter != NULL) {
        m_graph->AddFilter(device->grabberFilter, OLESTR("Sample Grabber"));
    }
    CoCreateInstance(CLSID_CaptureGraphBuilder2, NULL, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                     IID_ICaptureGraphBuilder2, reinterpret_cast<void**>(&device->builder));
    if (device->builder != NULL && m_graph != NULL) {
        device->builder->SetFiltergraph(m_graph);
    }
    if (m_graph != NULL && device->deviceFilter != NULL) {
        m_graph->AddFilter(device->deviceFilter, OLESTR("Device Filter"));
    }
    if (withRenderer == 1) {
        AddRenderer(device);
    }
    if (device->builder != NULL && device->grabberFilter != NULL) {
        device->builder->RenderStream(&PIN_CATEGORY_PREVIEW, NULL, device->deviceFilter, NULL,
                                      device->grabberFilter);
    }
    if (device->grabber != NULL) {
        device->grabber->SetBufferSamples(TRUE);
    }
    ReadCrossbarInfo(device);
    ReadConnectedFormat(device);
}

HRESULT CCaptureManager::SetGrabberMediaType(CaptureDevice* device) {
    if (device->grabber == NULL) {
        return E_POINTER;
    }
    AM_MEDIA_TYPE type;
    std::memset(&type, 0, sizeof type);
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    type.formattype = FORMAT_VideoInfo;
    return device->grabber->SetMediaType(&type);
}

HRESULT CCaptureManager::AddRenderer(CaptureDevice* device) {
    HRESULT hr = CoCreateInstance(CLSID_VideoRenderer, NULL, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(&device->renderer));
    if (device->renderer == NULL) {
        return FAILED(hr) ? hr : E_POINTER;
    }
    if (m_graph != NULL) {
        hr = m_graph->AddFilter(device->renderer, OLESTR("Video Renderer"));
    }
    if (device->builder != NULL && device->grabberFilter != NULL) {
        hr = device->builder->RenderStream(&PIN_CATEGORY_PREVIEW, NULL, device->deviceFilter,
                                           device->grabberFilter, device->renderer);
    }
    return hr;
}

int CCaptureManager::ReadCrossbarInfo(CaptureDevice* device) {
    if (device->builder == NULL || device->deviceFilter == NULL) {
        return -1;
    }
    const HRESULT hr = device->builder->FindInterface(&LOOK_UPSTREAM_ONLY, NULL,
                                                      device->deviceFilter, IID_IAMCrossbar,
                                                      reinterpret_cast<void**>(&device->crossbar));
    if (FAILED(hr) || device->crossbar == NULL) {
        device->crossbar = NULL;
        return -1;
    }
    device->outputPinCount = -1;
    device->inputPinCount = -1;
    device->crossbar->get_PinCounts(&device->outputPinCount, &device->inputPinCount);
    // The counts are kept as reported; only the first kMaxCrossbarPins types fit.
    for (LONG pin = 0; pin < device->outputPinCount && pin < kMaxCrossbarPins; ++pin) {
        LONG related = -1;
        device->crossbar->get_CrossbarPinInfo(FALSE, pin, &related, &device->outputPinTypes[pin]);
    }
    for (LONG pin = 0; pin < device->inputPinCount && pin < kMaxCrossbarPins; ++pin) {
        LONG related = -1;
        device->crossbar->get_CrossbarPinInfo(TRUE, pin, &related, &device->inputPinTypes[pin]);
    }
    return 0;
}

void CCaptureManager::ReadConnectedFormat(CaptureDevice* device) {
    if (device->grabber == NULL) {
        return;
    }
    AM_MEDIA_TYPE type;
    std::memset(&type, 0, sizeof type);
    const HRESULT hr = device->grabber->GetConnectedMediaType(&type);
    // Without a whole VIDEOINFOHEADER there is no format to copy: header stays zero.
    if (SUCCEEDED(hr) && type.pbFormat != NULL && type.cbFormat >= sizeof(VIDEOINFOHEADER)) {
        const VIDEOINFOHEADER* format = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
        std::memcpy(&device->header.bmiHeader, &format->bmiHeader, sizeof(BITMAPINFOHEADER));
    }
    if (type.pbFormat != NULL) {
        CoTaskMemFree(type.pbFormat);
    }
    if (type.pUnk != NULL) {
        type.pUnk->Release();
    }
}
