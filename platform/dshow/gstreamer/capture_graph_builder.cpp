// The capture graph builder of the GStreamer driver (see gst_filters.h).
//
// RenderStream links a device's output through a colour converter and a
// scaler into a Sample Grabber or a renderer, fixing the device's default
// frame size at that moment; with an intermediate grabber the stream goes on
// from the grabber, through another converter, into the renderer. A device
// output or filter input that is already linked is not linked again
// (VFW_E_ALREADY_CONNECTED). Devices of this driver have no crossbar.
#include "platform/dshow/gstreamer/gst_filters.h"

namespace {

bool IsLinked(GstPad* pad) {
    return pad != nullptr && gst_pad_is_linked(pad);
}

// `from` -> videoconvert -> videoscale -> `to`, all in `graph`'s pipeline.
bool LinkThroughConverter(FilterGraph* graph, GstElement* from, GstElement* to) {
    GstElement* convert = gst_element_factory_make("videoconvert", nullptr);
    GstElement* scale = gst_element_factory_make("videoscale", nullptr);
    if (convert == nullptr || scale == nullptr) {
        if (convert != nullptr) {
            gst_object_unref(gst_object_ref_sink(convert));
        }
        if (scale != nullptr) {
            gst_object_unref(gst_object_ref_sink(scale));
        }
        return false;
    }
    gst_bin_add_many(GST_BIN(graph->Pipeline()), convert, scale, nullptr);
    if (gst_element_link_many(from, convert, scale, to, nullptr)) {
        return true;
    }
    gst_element_set_state(convert, GST_STATE_NULL);
    gst_element_set_state(scale, GST_STATE_NULL);
    gst_bin_remove_many(GST_BIN(graph->Pipeline()), convert, scale, nullptr);
    return false;
}

template <class Filter>
Filter* AsFilter(IUnknown* unknown) {
    return unknown ? dynamic_cast<Filter*>(unknown) : nullptr;
}

}  // namespace

HRESULT CaptureGraphBuilder::SetFiltergraph(IGraphBuilder* pfg) {
    if (pfg == nullptr) {
        return E_POINTER;
    }
    if (m_graph != nullptr) {
        return E_UNEXPECTED;
    }
    if (dynamic_cast<FilterGraph*>(pfg) == nullptr) {
        return E_INVALIDARG;
    }
    m_graph = pfg;
    m_graph->AddRef();
    return S_OK;
}

void CaptureGraphBuilder::FinalRelease() {
    if (m_graph != nullptr) {
        m_graph->Release();
        m_graph = nullptr;
    }
}

HRESULT CaptureGraphBuilder::FindInterface(const GUID*, const GUID*, IBaseFilter* pf, REFIID,
                                           void** ppint) {
    if (ppint == nullptr) {
        return E_POINTER;
    }
    *ppint = nullptr;
    return pf == nullptr ? E_POINTER : E_NOINTERFACE;
}

HRESULT CaptureGraphBuilder::RenderStream(const GUID* pCategory, const GUID* pType,
                                          IUnknown* pSource, IBaseFilter* pfCompressor,
                                          IBaseFilter* pfRenderer) {
    auto* graph = dynamic_cast<FilterGraph*>(m_graph);
    if (graph == nullptr) {
        return E_UNEXPECTED;
    }
    if ((pCategory != nullptr && !IsEqualGUID(*pCategory, PIN_CATEGORY_PREVIEW)) ||
        (pType != nullptr && !IsEqualGUID(*pType, MEDIATYPE_Video))) {
        return E_INVALIDARG;
    }
    auto* device = AsFilter<DeviceFilter>(pSource);
    auto* sink = AsFilter<GstFilter>(pfRenderer);
    auto* middle = AsFilter<SampleGrabber>(pfCompressor);
    if (device == nullptr || sink == nullptr || (pfCompressor != nullptr && middle == nullptr)) {
        return E_INVALIDARG;
    }
    if (device->Graph() != graph || sink->Graph() != graph ||
        (middle != nullptr && middle->Graph() != graph)) {
        return VFW_E_NOT_IN_GRAPH;
    }
    GstFilter* first = middle ? static_cast<GstFilter*>(middle) : sink;
    GstPad* deviceOut = device->OutputPad();
    GstPad* firstIn = first->InputPad();
    GstPad* middleOut = middle ? middle->OutputPad() : nullptr;
    GstPad* sinkIn = middle ? sink->InputPad() : nullptr;
    const bool busy = deviceOut == nullptr || firstIn == nullptr || IsLinked(deviceOut) ||
                      IsLinked(firstIn) || IsLinked(middleOut) || IsLinked(sinkIn);
    for (GstPad* pad : {deviceOut, firstIn, middleOut, sinkIn}) {
        if (pad != nullptr) {
            gst_object_unref(pad);
        }
    }
    if (busy) {
        return VFW_E_ALREADY_CONNECTED;
    }
    int width = 0;
    int height = 0;
    REFERENCE_TIME frameTime = 0;
    if (!device->DefaultFrameSize(&width, &height, &frameTime)) {
        return VFW_E_CANNOT_CONNECT;
    }
    if (!LinkThroughConverter(graph, device->Element(), first->Element())) {
        return VFW_E_CANNOT_CONNECT;
    }
    if (auto* grabber = dynamic_cast<SampleGrabber*>(first)) {
        grabber->Connect(width, height, frameTime);
    }
    if (middle != nullptr && !LinkThroughConverter(graph, middle->Element(), sink->Element())) {
        return VFW_E_CANNOT_CONNECT;
    }
    return S_OK;
}

void* CaptureGraphBuilder::InterfaceFor(REFIID riid) {
    return IsEqualIID(riid, IID_ICaptureGraphBuilder2) ? static_cast<ICaptureGraphBuilder2*>(this)
                                                       : nullptr;
}
