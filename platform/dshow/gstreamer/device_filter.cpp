// The device filter of the GStreamer driver (see gst_filters.h).
//
// Stands in for a capture device's source filter. Limits: a device sends one
// mode, the one chosen for it (camera_modes.h); a camera that comes back must
// offer that mode again; a camera that never comes back is not given up.
#include <cstdio>

#include "platform/dshow/gstreamer/camera_identity.h"
#include "platform/dshow/gstreamer/camera_modes.h"
#include "platform/dshow/gstreamer/gst_filters.h"

namespace {

// source ! capsfilter name=mode, the filter's output as the bin's "src".
GstElement* MakeDeviceBin(GstElement* source) {
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* mode = gst_element_factory_make("capsfilter", "mode");
    gst_bin_add_many(GST_BIN(bin), source, mode, nullptr);
    gst_element_link(source, mode);
    GstPad* out = gst_element_get_static_pad(mode, "src");
    gst_element_add_pad(bin, gst_ghost_pad_new("src", out));
    gst_object_unref(out);
    return bin;
}

// A camera that goes away ends its stream (after the error it reports); the
// frames after it come from the camera that comes back, so the end never
// reaches the grabber and its sink. A virtual camera's end does: it does not
// come back.
GstPadProbeReturn DropEndOfStream(GstPad*, GstPadProbeInfo* info, gpointer) {
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    return event != nullptr && GST_EVENT_TYPE(event) == GST_EVENT_EOS ? GST_PAD_PROBE_DROP
                                                                      : GST_PAD_PROBE_OK;
}

// Holds every buffer and event at the device's output while the probe is set.
GstPadProbeReturn HoldBack(GstPad*, GstPadProbeInfo*, gpointer) {
    return GST_PAD_PROBE_OK;
}

}  // namespace

DeviceFilter::DeviceFilter(std::string name, GstElement* source, GstDevice* device)
    : GstFilter(MakeDeviceBin(source)),
      m_name(std::move(name)),
      m_source(source),
      m_device(device) {
    m_mode = gst_bin_get_by_name(GST_BIN(Element()), "mode");
    gst_object_unref(m_mode);  // the bin holds it as long as the filter lives
    if (m_device != nullptr) {
        GstPad* in = gst_element_get_static_pad(m_mode, "sink");
        gst_pad_add_probe(in, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, DropEndOfStream, nullptr,
                          nullptr);
        gst_object_unref(in);
    }
}

DeviceFilter::~DeviceFilter() {
    Unhold();
    WatchReplug(false);
    if (m_device != nullptr) {
        gst_object_unref(m_device);
    }
}

bool DeviceFilter::Open() {
    // Only paused does every source open its device: a file or pipe, for
    // one, is opened then. Nothing leaves it until the graph runs.
    m_heldPad = OutputPad();
    if (m_heldPad != nullptr) {
        m_hold = gst_pad_add_probe(m_heldPad, GST_PAD_PROBE_TYPE_BLOCK_DOWNSTREAM, HoldBack,
                                   nullptr, nullptr);
    }
    if (gst_element_set_state(Element(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        gst_element_set_state(Element(), GST_STATE_NULL);
        Unhold();
        return false;
    }
    // The graph's state changes leave it open until it runs (see Unhold).
    gst_element_set_locked_state(Element(), TRUE);
    // Paused, every source tells the formats it really sends (a parser in a
    // virtual camera, for one, only then).
    DeviceFormat format;
    DefaultFormat(&format);
    return true;
}

void DeviceFilter::Unhold() {
    gst_element_set_locked_state(Element(), FALSE);
    if (m_heldPad != nullptr) {
        gst_pad_remove_probe(m_heldPad, m_hold);
        gst_object_unref(m_heldPad);
        m_heldPad = nullptr;
        m_hold = 0;
    }
}

bool DeviceFilter::DefaultFormat(DeviceFormat* format) {
    if (!m_probed) {
        m_probed = true;
        // A real device tells its modes only once it is open (READY).
        if (GST_STATE(Element()) == GST_STATE_NULL) {
            gst_element_set_state(Element(), GST_STATE_READY);
        }
        GstPad* in = gst_element_get_static_pad(m_mode, "sink");
        GstCaps* offered = gst_pad_peer_query_caps(in, nullptr);
        gst_object_unref(in);
        CameraMode mode;
        if (offered != nullptr && ChooseMode(OfferedModes(offered), &mode)) {
            m_format.width = mode.width;
            m_format.height = mode.height;
            m_format.jpeg = mode.jpeg;
            if (mode.rateNum > 0) {
                m_format.frameTime = 10000000LL * mode.rateDen / mode.rateNum;
            }
            // A camera is held to its mode. A virtual camera runs as its
            // description negotiates (a parser in it tells only ranges), and
            // its frames are scaled to the size taken.
            if (m_device != nullptr) {
                GstCaps* wanted = ModeCaps(mode);
                g_object_set(m_mode, "caps", wanted, nullptr);
                gst_caps_unref(wanted);
                std::fprintf(stderr, "tenebrix: camera \"%s\": %s\n", m_name.c_str(),
                             DescribeMode(mode).c_str());
            }
        } else {
            std::fprintf(stderr, "tenebrix: camera \"%s\" offers no video format we can show\n",
                         m_name.c_str());
        }
        if (offered != nullptr) {
            gst_caps_unref(offered);
        }
    }
    *format = m_format;
    return m_format.width > 0;
}

void DeviceFilter::WatchReplug(bool on) {
    if (on && m_monitor == nullptr && m_device != nullptr) {
        m_monitor = gst_device_monitor_new();
        gst_device_monitor_add_filter(m_monitor, "Video/Source", nullptr);
        GstBus* bus = gst_device_monitor_get_bus(m_monitor);
        gst_bus_set_sync_handler(bus, OnDeviceMessage, this, nullptr);
        gst_object_unref(bus);
        gst_device_monitor_start(m_monitor);
    } else if (!on && m_monitor != nullptr) {
        // Stopping waits for the providers' threads: no message comes after it.
        gst_device_monitor_stop(m_monitor);
        GstBus* bus = gst_device_monitor_get_bus(m_monitor);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
        gst_object_unref(m_monitor);
        m_monitor = nullptr;
    }
}

GstBusSyncReply DeviceFilter::OnDeviceMessage(GstBus*, GstMessage* message, gpointer self) {
    auto* filter = static_cast<DeviceFilter*>(self);
    GstDevice* device = nullptr;
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_DEVICE_REMOVED) {
        gst_message_parse_device_removed(message, &device);
        std::lock_guard<std::mutex> guard(filter->m_lock);
        if (!filter->m_gone && SameCamera(device, filter->m_device)) {
            filter->m_gone = true;
            std::fprintf(stderr,
                         "tenebrix: camera \"%s\" is gone; the picture resumes when it is "
                         "plugged back\n",
                         filter->m_name.c_str());
        }
    } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_DEVICE_ADDED) {
        gst_message_parse_device_added(message, &device);
        std::lock_guard<std::mutex> guard(filter->m_lock);
        if (filter->m_gone && SameCamera(device, filter->m_device)) {
            filter->Resume(device);
        }
    }
    if (device != nullptr) {
        gst_object_unref(device);
    }
    gst_message_unref(message);
    return GST_BUS_DROP;
}

void DeviceFilter::Resume(GstDevice* device) {
    GstElement* source = gst_device_create_element(device, nullptr);
    if (source == nullptr) {
        return;
    }
    GstBin* bin = GST_BIN(Element());
    gst_element_set_state(m_source, GST_STATE_NULL);
    gst_bin_remove(bin, m_source);
    gst_bin_add(bin, source);
    m_source = source;
    if (!gst_element_link(source, m_mode) || !gst_element_sync_state_with_parent(source)) {
        std::fprintf(stderr, "tenebrix: camera \"%s\" came back but cannot be started\n",
                     m_name.c_str());
        return;
    }
    gst_object_unref(m_device);
    m_device = GST_DEVICE(gst_object_ref(device));
    m_gone = false;
    std::fprintf(stderr, "tenebrix: camera \"%s\" is back\n", m_name.c_str());
}
