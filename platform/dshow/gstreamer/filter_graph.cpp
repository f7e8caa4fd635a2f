// The filter graph of the GStreamer driver: a pipeline (see gst_filters.h).
//
// Stands in for the filter graph manager (IGraphBuilder, IMediaControl,
// IMediaEvent). Limits: AddFilter, Run, Stop, GetEvent and FreeEventParams
// only; Run links a fake sink to each grabber whose output nothing uses; the
// events are EC_ERRORABORT (errors also go to stderr) and EC_COMPLETE, with
// no event window and no default handling. While the graph runs, its device
// filters watch for their cameras to come back.
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/com/com_strings.h"
#include "platform/dshow/gstreamer/bounded_wait.h"
#include "platform/dshow/gstreamer/gst_filters.h"

namespace {

// The bus is read here, on the streaming threads: errors go to stderr, errors
// and the end of the streams become events, and every message is dropped so
// that none piles up.
GstBusSyncReply ReportAndDrop(GstBus*, GstMessage* message, gpointer data) {
    auto& queue = **static_cast<std::shared_ptr<FilterGraph::EventQueue>*>(data);
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
        std::lock_guard<std::mutex> guard(queue.lock);
        queue.events.emplace_back(EC_COMPLETE, S_OK);
    }
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
        {
            std::lock_guard<std::mutex> guard(queue.lock);
            queue.events.emplace_back(EC_ERRORABORT, E_FAIL);
        }
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

void ForgetQueue(gpointer data) {
    delete static_cast<std::shared_ptr<FilterGraph::EventQueue>*>(data);
}

}  // namespace

FilterGraph::FilterGraph()
    : m_pipeline(gst_pipeline_new(nullptr)), m_events(std::make_shared<EventQueue>()) {
    gst_object_ref_sink(m_pipeline);
    // The bus keeps the queue alive as long as it may post into it, even
    // where a pipeline is left to its threads beyond the graph's life.
    GstBus* bus = gst_element_get_bus(m_pipeline);
    gst_bus_set_sync_handler(bus, ReportAndDrop, new std::shared_ptr<EventQueue>(m_events),
                             ForgetQueue);
    gst_object_unref(bus);
}

FilterGraph::~FilterGraph() {
    FinalRelease();
    gst_object_unref(m_pipeline);
}

void FilterGraph::FinalRelease() {
    // Streaming stops before any filter goes, or never: then the pipeline
    // keeps the elements for its threads.
    StopStreaming();
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

void FilterGraph::UnholdDevices() {
    for (IBaseFilter* filter : m_filters) {
        if (auto* device = dynamic_cast<DeviceFilter*>(filter)) {
            device->Unhold();
        }
    }
}

HRESULT FilterGraph::Run() {
    TerminateOpenOutputs();
    // The devices are open already (paused, held back): everything else gets
    // ready, then all go on together, a paused device passing its own state
    // (live or not) to the graph. Only then does their output flow, so that
    // it never meets an element that is not yet paused.
    gst_element_set_state(m_pipeline, GST_STATE_READY);
    for (IBaseFilter* filter : m_filters) {
        if (auto* device = dynamic_cast<DeviceFilter*>(filter)) {
            gst_element_set_locked_state(device->Element(), FALSE);
        }
    }
    const GstStateChangeReturn result = gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
    UnholdDevices();
    if (result != GST_STATE_CHANGE_FAILURE) {
        WatchReplugs(true);
    }
    switch (result) {
        case GST_STATE_CHANGE_FAILURE:
            return E_FAIL;
        case GST_STATE_CHANGE_ASYNC:
            return S_FALSE;  // still on its way, as DirectShow says
        default:
            return S_OK;
    }
}

bool FilterGraph::StopStreaming() {
    if (m_leftToStream) {
        return false;
    }
    WatchReplugs(false);
    UnholdDevices();  // a device held open stops with the rest
    GstElement* pipeline = GST_ELEMENT(gst_object_ref(m_pipeline));
    auto result = std::make_shared<GstStateChangeReturn>(GST_STATE_CHANGE_FAILURE);
    const bool stopped = FinishesWithin(
        [pipeline, result]() {
            *result = gst_element_set_state(pipeline, GST_STATE_NULL);
            gst_object_unref(pipeline);
        },
        kStopWait);
    if (!stopped) {
        m_leftToStream = true;
        std::fprintf(stderr, "tenebrix: video capture: the camera does not stop; left behind\n");
        return false;
    }
    return *result != GST_STATE_CHANGE_FAILURE;
}

HRESULT FilterGraph::Stop() {
    if (m_leftToStream) {
        return S_FALSE;  // as DirectShow says of a graph still on its way
    }
    return StopStreaming() ? S_OK : (m_leftToStream ? S_FALSE : E_FAIL);
}

HRESULT FilterGraph::GetEvent(long* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2,
                              long msTimeout) {
    if (lEventCode == nullptr || lParam1 == nullptr || lParam2 == nullptr) {
        return E_POINTER;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(msTimeout);
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(m_events->lock);
            if (!m_events->events.empty()) {
                *lEventCode = m_events->events.front().first;
                *lParam1 = m_events->events.front().second;
                *lParam2 = 0;
                m_events->events.pop_front();
                return S_OK;
            }
        }
        // Waiting is for callers that ask to; the frame cycle never does.
        if (msTimeout == 0 || (msTimeout > 0 && std::chrono::steady_clock::now() >= deadline)) {
            *lEventCode = 0;
            return E_ABORT;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

HRESULT FilterGraph::FreeEventParams(long, LONG_PTR, LONG_PTR) {
    return S_OK;  // the parameters are plain numbers
}
