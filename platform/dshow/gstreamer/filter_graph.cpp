// The filter graph of the GStreamer driver: a pipeline (see gst_filters.h).
//
// Stands in for the filter graph manager (IGraphBuilder, IMediaControl).
// Limits: AddFilter, Run and Stop only; Run links a fake sink to each grabber
// whose output nothing uses; the bus is not read (errors go to stderr). While
// the graph runs, its device filters watch for their cameras to come back.
#include <cstdio>

#include "platform/com/com_strings.h"
#include "platform/dshow/gstreamer/gst_filters.h"

namespace {

// Nobody reads the pipeline's bus: errors go to stderr, every message is
// dropped so that none piles up.
GstBusSyncReply ReportAndDrop(GstBus*, GstMessage* message, gpointer) {
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
        GError* error = nullptr;
        gchar* debug = nullptr;
        gst_message_parse_error(message, &error, &debug);
        std::fprintf(stderr, "tenebrix: video capture: %s (%s)\n",
                     error ? error->message : "unknown error", debug ? debug : "");
        g_clear_error(&error);
        g_free(debug);
    }
    gst_message_unref(message);
    return GST_BUS_DROP;
}

}  // namespace

FilterGraph::FilterGraph() : m_pipeline(gst_pipeline_new(nullptr)) {
    gst_object_ref_sink(m_pipeline);
    GstBus* bus = gst_element_get_bus(m_pipeline);
    gst_bus_set_sync_handler(bus, ReportAndDrop, nullptr, nullptr);
    gst_object_unref(bus);
}

FilterGraph::~FilterGraph() {
    FinalRelease();
    gst_object_unref(m_pipeline);
}

void FilterGraph::FinalRelease() {
    // Streaming stops before any filter goes.
    WatchReplugs(false);
    gst_element_set_state(m_pipeline, GST_STATE_NULL);
    for (IBaseFilter* filter : m_filters) {
        dynamic_cast<GstFilter*>(filter)->JoinGraph(nullptr);
        filter->Release();
    }
    m_filters.clear();
}

HRESULT FilterGraph::AddFilter(IBaseFilter* pFilter, LPCWSTR) {
    if (pFilter == nullptr) {
        return E_POINTER;
    }
    auto* filter = dynamic_cast<GstFilter*>(pFilter);
    if (filter == nullptr) {
        return E_INVALIDARG;
    }
    if (filter->Graph() != nullptr) {
        return filter->Graph() == this ? S_OK : VFW_E_WRONG_STATE;
    }
    if (!gst_bin_add(GST_BIN(m_pipeline), filter->Element())) {
        return E_FAIL;
    }
    filter->JoinGraph(this);
    pFilter->AddRef();
    m_filters.push_back(pFilter);
    return S_OK;
}

void FilterGraph::TerminateOpenOutputs() {
    for (IBaseFilter* filter : m_filters) {
        auto* grabber = dynamic_cast<SampleGrabber*>(filter);
        if (grabber == nullptr) {
            continue;
        }
        GstPad* in = grabber->InputPad();
        GstPad* out = grabber->OutputPad();
        if (in != nullptr && out != nullptr && gst_pad_is_linked(in) && !gst_pad_is_linked(out)) {
            GstElement* sink = gst_element_factory_make("fakesink", nullptr);
            // Synchronised, so that a source that is not live still runs at its
            // frame rate instead of as fast as it can.
            g_object_set(sink, "sync", TRUE, nullptr);
            gst_bin_add(GST_BIN(m_pipeline), sink);
            gst_element_link(grabber->Element(), sink);
        }
        if (in != nullptr) {
            gst_object_unref(in);
        }
        if (out != nullptr) {
            gst_object_unref(out);
        }
    }
}

void FilterGraph::WatchReplugs(bool on) {
    for (IBaseFilter* filter : m_filters) {
        if (auto* device = dynamic_cast<DeviceFilter*>(filter)) {
            device->WatchReplug(on);
        }
    }
}

HRESULT FilterGraph::Run() {
    TerminateOpenOutputs();
    const GstStateChangeReturn result = gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
    if (result == GST_STATE_CHANGE_FAILURE) {
        return E_FAIL;
    }
    WatchReplugs(true);
    return result == GST_STATE_CHANGE_ASYNC ? S_FALSE  // still on its way, as DirectShow says
                                            : S_OK;
}

HRESULT FilterGraph::Stop() {
    WatchReplugs(false);
    return gst_element_set_state(m_pipeline, GST_STATE_NULL) == GST_STATE_CHANGE_FAILURE ? E_FAIL
                                                                                         : S_OK;
}

void* FilterGraph::InterfaceFor(REFIID riid) {
    if (IsEqualIID(riid, IID_IGraphBuilder)) {
        return static_cast<IGraphBuilder*>(this);
    }
    if (IsEqualIID(riid, IID_IMediaControl)) {
        return static_cast<IMediaControl*>(this);
    }
    return nullptr;
}
