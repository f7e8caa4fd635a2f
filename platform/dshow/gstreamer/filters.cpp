// The Video Renderer of the GStreamer driver, and what all its filters share
// (see gst_filters.h).
//
// Stands in for the Video Renderer. Limits: the renderer is GStreamer's
// automatic video sink in a window of its own.
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
