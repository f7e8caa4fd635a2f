// The device filter and the Video Renderer of the GStreamer driver, and what
// all its filters share (see gst_filters.h).
//
// Stands in for a capture device's source filter and the Video Renderer.
// Limits: a device sends one format, its default (the first raw format, else
// the first JPEG one, near 640 x 480 at 30 frames a second); the renderer is
// GStreamer's automatic video sink in a window of its own.
#include "platform/dshow/gstreamer/gst_filters.h"

namespace {

// The first pad of `element` in `direction`, preferring the one named `name`.
GstPad* FindPad(GstElement* element, const char* name, GstPadDirection direction) {
    GstPad* pad = gst_element_get_static_pad(element, name);
    if (pad != nullptr) {
        return pad;
    }
    GstIterator* it = direction == GST_PAD_SRC ? gst_element_iterate_src_pads(element)
                                               : gst_element_iterate_sink_pads(element);
    GValue item = G_VALUE_INIT;
    if (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
        pad = GST_PAD(g_value_dup_object(&item));
        g_value_unset(&item);
    }
    gst_iterator_free(it);
    return pad;
}

}  // namespace

GstFilter::GstFilter(GstElement* element) : m_element(element) {
    if (m_element != nullptr) {
        gst_object_ref_sink(m_element);
    }
}

GstFilter::~GstFilter() {
    if (m_element == nullptr) {
        return;
    }
    if (GST_OBJECT_PARENT(m_element) == nullptr) {
        gst_element_set_state(m_element, GST_STATE_NULL);
    }
    gst_object_unref(m_element);
}

GstPad* GstFilter::OutputPad() const {
    return FindPad(m_element, "src", GST_PAD_SRC);
}

GstPad* GstFilter::InputPad() const {
    return FindPad(m_element, "sink", GST_PAD_SINK);
}

namespace {

// The first structure of `offered` that is of `mediaType`, fixed: sizes
// nearest 640x480 and rates nearest 30/1 where a range is offered. Null when
// there is none.
GstCaps* FirstFixedFormat(GstCaps* offered, const char* mediaType) {
    GstCaps* wanted = gst_caps_from_string(mediaType);
    GstCaps* matching = gst_caps_intersect_full(offered, wanted, GST_CAPS_INTERSECT_FIRST);
    gst_caps_unref(wanted);
    GstCaps* first = nullptr;
    if (!gst_caps_is_empty(matching) && !gst_caps_is_any(matching)) {
        first = gst_caps_copy_nth(matching, 0);
        GstStructure* s = gst_caps_get_structure(first, 0);
        gst_structure_fixate_field_nearest_int(s, "width", 640);
        gst_structure_fixate_field_nearest_int(s, "height", 480);
        gst_structure_fixate_field_nearest_fraction(s, "framerate", 30, 1);
        first = gst_caps_fixate(first);
    }
    gst_caps_unref(matching);
    return first;
}

}  // namespace

bool DeviceFilter::DefaultFormat(DeviceFormat* format) {
    if (!m_probed) {
        m_probed = true;
        // A real device tells its formats only once it is open (READY).
        if (GST_STATE(Element()) == GST_STATE_NULL) {
            gst_element_set_state(Element(), GST_STATE_READY);
        }
        GstPad* pad = OutputPad();
        GstCaps* offered = pad ? gst_pad_query_caps(pad, nullptr) : nullptr;
        if (pad != nullptr) {
            gst_object_unref(pad);
        }
        GstCaps* fixed = nullptr;
        if (offered != nullptr) {
            // Raw video first; a camera that only sends JPEG frames is decoded.
            fixed = FirstFixedFormat(offered, "video/x-raw");
            if (fixed == nullptr) {
                fixed = FirstFixedFormat(offered, "image/jpeg");
                m_format.jpeg = fixed != nullptr;
            }
            gst_caps_unref(offered);
        }
        if (fixed != nullptr) {
            const GstStructure* s = gst_caps_get_structure(fixed, 0);
            int width = 0;
            int height = 0;
            int num = 0;
            int den = 0;
            if (gst_structure_get_int(s, "width", &width) &&
                gst_structure_get_int(s, "height", &height) && width > 0 && height > 0) {
                m_format.width = width;
                m_format.height = height;
                if (gst_structure_get_fraction(s, "framerate", &num, &den) && num > 0) {
                    m_format.frameTime = static_cast<REFERENCE_TIME>(10000000LL * den / num);
                }
            }
            gst_caps_unref(fixed);
        }
    }
    *format = m_format;
    return m_format.width > 0;
}

namespace {

// Holds every buffer and event at the device's output while the probe is set.
GstPadProbeReturn HoldBack(GstPad*, GstPadProbeInfo*, gpointer) {
    return GST_PAD_PROBE_OK;
}

}  // namespace

DeviceFilter::~DeviceFilter() {
    Unhold();
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

void* DeviceFilter::InterfaceFor(REFIID riid) {
    return IsEqualIID(riid, IID_IBaseFilter) ? static_cast<IBaseFilter*>(this) : nullptr;
}

void* VideoRenderer::InterfaceFor(REFIID riid) {
    return IsEqualIID(riid, IID_IBaseFilter) ? static_cast<IBaseFilter*>(this) : nullptr;
}
