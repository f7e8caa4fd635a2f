// The capture graph builder of the GStreamer driver (see gst_filters.h).
//
// Stands in for ICaptureGraphBuilder2. RenderStream links a device's output
// (through a JPEG decoder when the device only sends JPEG frames), a colour
// converter and a scaler into a Sample Grabber or a renderer, fixing the
// device's default frame size at that moment; with an intermediate grabber the
// stream goes on from the grabber, through another converter, into the
// renderer. A device output or filter input that is already linked is not
// linked again (VFW_E_ALREADY_CONNECTED).
//
// Limits: the preview category and video only; no compressors other than a
// grabber; no crossbars (FindInterface finds nothing).
#include <string>
#include <vector>

#include "platform/dshow/gstreamer/gst_filters.h"

namespace {

bool IsLinked(GstPad* pad) {
    return pad != nullptr && gst_pad_is_linked(pad);
}

// `from` -> [jpegdec ->] videoconvert -> videoscale -> `to`, all in `graph`'s
// pipeline; nothing is left behind when the link cannot be made.
bool LinkThroughConverter(FilterGraph* graph, GstElement* from, GstElement* to, bool jpeg) {
    std::vector<GstElement*> chain;
    for (const char* factory : {"jpegdec", "videoconvert", "videoscale"}) {
        if (!jpeg && std::string(factory) == "jpegdec") {
            continue;
        }
        GstElement* element = gst_element_factory_make(factory, nullptr);
        if (element == nullptr) {
            for (GstElement* made : chain) {
                gst_object_unref(gst_object_ref_sink(made));
            }
            return false;
        }
        chain.push_back(element);
    }
    GstBin* pipeline = GST_BIN(graph->Pipeline());
    for (GstElement* element : chain) {
        gst_bin_add(pipeline, element);
    }
    bool linked = gst_element_link(from, chain.front()) && gst_element_link(chain.back(), to);
    for (size_t i = 1; linked && i < chain.size(); ++i) {
        linked = gst_element_link(chain[i - 1], chain[i]);
    }
    if (!linked) {
        for (GstElement* element : chain) {
            gst_element_set_state(element, GST_STATE_NULL);
            gst_bin_remove(pipeline, element);
        }
    }
    return linked;
}

template <class Filter>
Filter* AsFilter(IUnknown* unknown) {
    return unknown ? dynamic_cast<Filter*>(unknown) : nullptr;
}

}  // namespace

bool CaptureGraphBuilder::CanBuildIn(IGraphBuilder* graph) const {
    return dynamic_cast<FilterGraph*>(graph) != nullptr;
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
    auto* graph = dynamic_cast<FilterGraph*>(Graph());
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
    DeviceFormat format;
    if (!device->DefaultFormat(&format) ||
        !LinkThroughConverter(graph, device->Element(), first->Element(), format.jpeg)) {
        return VFW_E_CANNOT_CONNECT;
    }
    if (auto* grabber = dynamic_cast<SampleGrabber*>(first)) {
        grabber->Connect(format.width, format.height, format.frameTime);
    }
    if (middle != nullptr &&
        !LinkThroughConverter(graph, middle->Element(), sink->Element(), false)) {
        return VFW_E_CANNOT_CONNECT;
    }
    return S_OK;
}
