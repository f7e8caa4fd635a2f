// The tenebrixdemosrc element (see demo_source.h): a push source that draws
// the demo scene into each buffer.
#include "video/demo_source.h"

#include <gst/base/gstpushsrc.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include "video/demo_scene.h"

namespace {

struct DemoSource {
    GstPushSrc parent;
    GstVideoInfo info;
    DemoScene* scene;
    guint64 frame;  // the number of the next frame
    gboolean live;
};

struct DemoSourceClass {
    GstPushSrcClass parent_class;
};

enum { kPropertyIsLive = 1 };

GType DemoSourceType();
#define DEMO_SOURCE(obj) (G_TYPE_CHECK_INSTANCE_CAST((obj), DemoSourceType(), DemoSource))

G_DEFINE_TYPE(DemoSource, demo_source, GST_TYPE_PUSH_SRC)

GType DemoSourceType() {
    return demo_source_get_type();
}

GstStaticPadTemplate s_sourceTemplate = GST_STATIC_PAD_TEMPLATE(
    "src", GST_PAD_SRC, GST_PAD_ALWAYS,
    GST_STATIC_CAPS("video/x-raw, format = (string) BGR, width = (int) [ 16, 4096 ], "
                    "height = (int) [ 16, 4096 ], framerate = (fraction) [ 1/1, 120/1 ]"));

GstClockTime FrameTime(const DemoSource* self, guint64 n) {
    return gst_util_uint64_scale(n, GST_SECOND * GST_VIDEO_INFO_FPS_D(&self->info),
                                 GST_VIDEO_INFO_FPS_N(&self->info));
}

GstCaps* Fixate(GstBaseSrc* src, GstCaps* caps) {
    caps = gst_caps_make_writable(caps);
    GstStructure* s = gst_caps_get_structure(caps, 0);
    gst_structure_fixate_field_nearest_int(s, "width", 640);
    gst_structure_fixate_field_nearest_int(s, "height", 480);
    gst_structure_fixate_field_nearest_fraction(s, "framerate", 30, 1);
    return GST_BASE_SRC_CLASS(demo_source_parent_class)->fixate(src, caps);
}

gboolean SetCaps(GstBaseSrc* src, GstCaps* caps) {
    DemoSource* self = DEMO_SOURCE(src);
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, caps) || GST_VIDEO_INFO_FPS_N(&info) <= 0) {
        return FALSE;
    }
    delete self->scene;
    self->scene = new DemoScene(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info));
    self->info = info;
    gst_base_src_set_blocksize(src, static_cast<guint>(GST_VIDEO_INFO_SIZE(&info)));
    return TRUE;
}

gboolean Start(GstBaseSrc* src) {
    DEMO_SOURCE(src)->frame = 0;
    return TRUE;
}

// A live source is paced by the clock: basesrc waits until each frame's time.
void GetTimes(GstBaseSrc* src, GstBuffer* buffer, GstClockTime* start, GstClockTime* end) {
    *start = *end = GST_CLOCK_TIME_NONE;
    if (gst_base_src_is_live(src) && GST_BUFFER_PTS_IS_VALID(buffer)) {
        *start = GST_BUFFER_PTS(buffer);
        if (GST_BUFFER_DURATION_IS_VALID(buffer)) {
            *end = *start + GST_BUFFER_DURATION(buffer);
        }
    }
}

gboolean Query(GstBaseSrc* src, GstQuery* query) {
    DemoSource* self = DEMO_SOURCE(src);
    if (GST_QUERY_TYPE(query) == GST_QUERY_DURATION && src->num_buffers > 0 &&
        GST_VIDEO_INFO_FPS_N(&self->info) > 0) {
        GstFormat format;
        gst_query_parse_duration(query, &format, nullptr);
        if (format == GST_FORMAT_TIME) {
            gst_query_set_duration(query, format,
                                   static_cast<gint64>(FrameTime(self, src->num_buffers)));
            return TRUE;
        }
    }
    return GST_BASE_SRC_CLASS(demo_source_parent_class)->query(src, query);
}

GstFlowReturn Fill(GstPushSrc* src, GstBuffer* buffer) {
    DemoSource* self = DEMO_SOURCE(src);
    if (self->scene == nullptr) {
        return GST_FLOW_NOT_NEGOTIATED;
    }
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &self->info, buffer, GST_MAP_WRITE)) {
        return GST_FLOW_ERROR;
    }
    const GstClockTime time = FrameTime(self, self->frame);
    self->scene->Draw(static_cast<double>(time) / GST_SECOND,
                      static_cast<uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)),
                      GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0));
    gst_video_frame_unmap(&frame);
    GST_BUFFER_PTS(buffer) = time;
    GST_BUFFER_DTS(buffer) = GST_CLOCK_TIME_NONE;
    GST_BUFFER_DURATION(buffer) = FrameTime(self, self->frame + 1) - time;
    GST_BUFFER_OFFSET(buffer) = self->frame;
    GST_BUFFER_OFFSET_END(buffer) = self->frame + 1;
    ++self->frame;
    return GST_FLOW_OK;
}

void SetProperty(GObject* object, guint id, const GValue* value, GParamSpec* spec) {
    DemoSource* self = DEMO_SOURCE(object);
    if (id == kPropertyIsLive) {
        self->live = g_value_get_boolean(value);
        gst_base_src_set_live(GST_BASE_SRC(object), self->live);
    } else {
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, spec);
    }
}

void GetProperty(GObject* object, guint id, GValue* value, GParamSpec* spec) {
    if (id == kPropertyIsLive) {
        g_value_set_boolean(value, DEMO_SOURCE(object)->live);
    } else {
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, spec);
    }
}

void Finalize(GObject* object) {
    delete DEMO_SOURCE(object)->scene;
    G_OBJECT_CLASS(demo_source_parent_class)->finalize(object);
}

void demo_source_class_init(DemoSourceClass* klass) {
    GObjectClass* object = G_OBJECT_CLASS(klass);
    object->set_property = SetProperty;
    object->get_property = GetProperty;
    object->finalize = Finalize;
    g_object_class_install_property(
        object, kPropertyIsLive,
        g_param_spec_boolean("is-live", "Is live", "Paces the frames by the clock, as a camera",
                             FALSE,
                             static_cast<GParamFlags>(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS)));
    GstElementClass* element = GST_ELEMENT_CLASS(klass);
    gst_element_class_set_static_metadata(element, "Tenebrix demo scene", "Source/Video",
                                          "A still room that a figure walks into, stands, "
                                          "waves and leaves",
                                          "Tenebrix");
    gst_element_class_add_static_pad_template(element, &s_sourceTemplate);
    GstBaseSrcClass* base = GST_BASE_SRC_CLASS(klass);
    base->fixate = Fixate;
    base->set_caps = SetCaps;
    base->start = Start;
    base->get_times = GetTimes;
    base->query = Query;
    GST_PUSH_SRC_CLASS(klass)->fill = Fill;
}

void demo_source_init(DemoSource* self) {
    gst_video_info_init(&self->info);
    self->scene = nullptr;
    self->frame = 0;
    self->live = FALSE;
    gst_base_src_set_format(GST_BASE_SRC(self), GST_FORMAT_TIME);
}

gboolean InitPlugin(GstPlugin* plugin) {
    return gst_element_register(plugin, "tenebrixdemosrc", GST_RANK_NONE, DemoSourceType());
}

}  // namespace

bool RegisterDemoSource() {
    static const bool registered = gst_plugin_register_static(
        GST_VERSION_MAJOR, GST_VERSION_MINOR, "tenebrix", "Tenebrix's own elements", InitPlugin,
        "1.0", "Proprietary", "tenebrix", "Tenebrix", "Tenebrix");
    return registered;
}
