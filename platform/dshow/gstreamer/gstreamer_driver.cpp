// The GStreamer capture driver: start-up and the classes it implements.
//
// Stands in for the media framework's in-process classes on a real machine.
// Starting the driver initialises GStreamer (once per process: GStreamer
// cannot be initialised again after it is shut down, so stopping the driver
// leaves it initialised). The classes are the system device enumerator, the
// filter graph, the capture graph builder, the Sample Grabber and the Video
// Renderer (GStreamer's automatic video sink, in a window of its own).
#include <cstdio>

#include "platform/dshow/capture_driver.h"
#include "platform/dshow/gstreamer/gst_filters.h"

namespace {

HRESULT StartGStreamer() {
    GError* error = nullptr;
    if (!gst_init_check(nullptr, nullptr, &error)) {
        std::fprintf(stderr, "tenebrix: GStreamer cannot start: %s\n",
                     error ? error->message : "unknown error");
        g_clear_error(&error);
        return E_FAIL;
    }
    return S_OK;
}

void StopGStreamer() {}

HRESULT CreateGStreamerObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (IsEqualCLSID(clsid, CLSID_SystemDeviceEnum)) {
        return HandOut(new SystemDeviceEnum(), riid, ppv);
    }
    if (IsEqualCLSID(clsid, CLSID_FilterGraph)) {
        return HandOut(new FilterGraph(), riid, ppv);
    }
    if (IsEqualCLSID(clsid, CLSID_CaptureGraphBuilder2)) {
        return HandOut(new CaptureGraphBuilder(), riid, ppv);
    }
    if (IsEqualCLSID(clsid, CLSID_SampleGrabber)) {
        return HandOut(new SampleGrabber(), riid, ppv);
    }
    if (IsEqualCLSID(clsid, CLSID_VideoRenderer)) {
        GstElement* sink = gst_element_factory_make("autovideosink", nullptr);
        if (sink == nullptr) {
            return E_FAIL;
        }
        return HandOut(new VideoRenderer(sink), riid, ppv);
    }
    return REGDB_E_CLASSNOTREG;
}

}  // namespace

const CaptureDriver kGStreamerCaptureDriver = {
    "gstreamer", "video devices and graphs over GStreamer", StartGStreamer, StopGStreamer,
    CreateGStreamerObject};
