// Fake webcams for tests (see fake_webcams.h).
#include "tests/dshow/fake_webcams/fake_webcams.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "tests/dshow/fake_webcams/recorded_webcams.h"

namespace {

const int kCameraCount = static_cast<int>(std::size(kRecordedWebcams));
std::atomic<bool> g_unplugged[kCameraCount];

std::set<std::string> Split(const std::string& text, char separator) {
    std::set<std::string> items;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, separator)) {
        if (!item.empty()) {
            items.insert(item);
        }
    }
    return items;
}

bool Asked(int camera) {
    const char* asked = std::getenv("TENEBRIX_FAKE_WEBCAMS");
    return asked != nullptr && Split(asked, ',').count(kRecordedWebcams[camera].id) > 0;
}

// Reads the unplugged file into g_unplugged.
void ReadPlugs() {
    const char* path = std::getenv("TENEBRIX_FAKE_WEBCAMS_UNPLUGGED");
    std::set<std::string> unplugged;
    if (path != nullptr) {
        std::ifstream file(path);
        unplugged = Split(std::string(std::istreambuf_iterator<char>(file), {}), '\n');
    }
    for (int i = 0; i < kCameraCount; ++i) {
        g_unplugged[i] = unplugged.count(kRecordedWebcams[i].id) > 0;
    }
}

// --- the source: a bin that sends a moving ball in the mode asked for ------

struct FakeWebcamSrc {
    GstBin parent;
    int camera;
    GstElement* offered;  // capsfilter of the camera's caps, the bin's output
    gboolean built;
    gboolean reported;
};
struct FakeWebcamSrcClass {
    GstBinClass parent_class;
};

G_DEFINE_TYPE(FakeWebcamSrc, fake_webcam_src, GST_TYPE_BIN)

GstPadProbeReturn OnSourceBuffer(GstPad* pad, GstPadProbeInfo*, gpointer data) {
    auto* src = static_cast<FakeWebcamSrc*>(data);
    if (!g_unplugged[src->camera]) {
        return GST_PAD_PROBE_OK;
    }
    if (!src->reported) {
        src->reported = TRUE;
        GST_ELEMENT_ERROR(src, RESOURCE, READ, ("Could not read from resource."),
                          ("fake webcam %s unplugged", kRecordedWebcams[src->camera].id));
        gst_pad_push_event(pad, gst_event_new_eos());
    }
    return GST_PAD_PROBE_DROP;
}

// Builds videotestsrc [! videoconvert ! jpegenc] in front of `offered`, for
// the mode that the element downstream asks for.
gboolean BuildChain(FakeWebcamSrc* src) {
    const RecordedWebcam& camera = kRecordedWebcams[src->camera];
    GstPad* out = gst_element_get_static_pad(GST_ELEMENT(src), "src");
    GstCaps* all = gst_caps_from_string(camera.caps);
    GstCaps* wanted = gst_pad_peer_query_caps(out, all);
    gst_caps_unref(all);
    gst_object_unref(out);
    if (gst_caps_is_empty(wanted)) {
        gst_caps_unref(wanted);
        return FALSE;
    }
    // As a driver does: the first of what is left; a camera that does not
    // list its rates runs at 30 frames a second.
    wanted = gst_caps_fixate(wanted);
    int num = 0;
    int den = 0;
    GstStructure* mode = gst_caps_get_structure(wanted, 0);
    if (!gst_structure_get_fraction(mode, "framerate", &num, &den) || num == 0) {
        gst_structure_set(mode, "framerate", GST_TYPE_FRACTION, 30, 1, nullptr);
    }
    g_object_set(src->offered, "caps", wanted, nullptr);
    gchar* text = gst_caps_to_string(wanted);
    std::fprintf(stderr, "fake webcam %s: streaming %s\n", camera.id, text);
    g_free(text);
    const bool jpeg = gst_structure_has_name(gst_caps_get_structure(wanted, 0), "image/jpeg");
    gst_caps_unref(wanted);
    GstElement* test = gst_element_factory_make("videotestsrc", nullptr);
    g_object_set(test, "is-live", TRUE, nullptr);
    gst_util_set_object_arg(G_OBJECT(test), "pattern", "ball");
    gst_bin_add(GST_BIN(src), test);
    GstElement* last = test;
    if (jpeg) {
        for (const char* factory : {"videoconvert", "jpegenc"}) {
            GstElement* next = gst_element_factory_make(factory, nullptr);
            gst_bin_add(GST_BIN(src), next);
            gst_element_link(last, next);
            last = next;
        }
    }
    return gst_element_link(last, src->offered);
}

GstStateChangeReturn ChangeSourceState(GstElement* element, GstStateChange transition) {
    auto* src = reinterpret_cast<FakeWebcamSrc*>(element);
    // Like a live camera, it sends nothing before it plays, and only then
    // settles its mode: the element downstream knows it by then.
    if (transition == GST_STATE_CHANGE_PAUSED_TO_PLAYING && !src->built) {
        src->built = TRUE;
        if (!BuildChain(src)) {
            GST_ELEMENT_ERROR(src, CORE, NEGOTIATION, ("no mode of the camera was asked for"),
                              (nullptr));
            return GST_STATE_CHANGE_FAILURE;
        }
    }
    const GstStateChangeReturn result =
        GST_ELEMENT_CLASS(fake_webcam_src_parent_class)->change_state(element, transition);
    // A live source: nothing to wait for while paused.
    const bool toPaused = transition == GST_STATE_CHANGE_READY_TO_PAUSED ||
                          transition == GST_STATE_CHANGE_PLAYING_TO_PAUSED;
    return toPaused && result == GST_STATE_CHANGE_SUCCESS ? GST_STATE_CHANGE_NO_PREROLL : result;
}

void fake_webcam_src_class_init(FakeWebcamSrcClass* klass) {
    GstElementClass* element = GST_ELEMENT_CLASS(klass);
    element->change_state = ChangeSourceState;
    gst_element_class_set_static_metadata(element, "Fake webcam", "Source/Video",
                                          "A recorded webcam's modes, a moving ball", "Tenebrix");
}

void fake_webcam_src_init(FakeWebcamSrc* src) {
    src->camera = 0;
    src->built = FALSE;
    src->reported = FALSE;
    src->offered = gst_element_factory_make("capsfilter", "offered");
    gst_bin_add(GST_BIN(src), src->offered);
    GstPad* out = gst_element_get_static_pad(src->offered, "src");
    gst_element_add_pad(GST_ELEMENT(src), gst_ghost_pad_new("src", out));
    gst_pad_add_probe(out, GST_PAD_PROBE_TYPE_BUFFER, OnSourceBuffer, src, nullptr);
    gst_object_unref(out);
}

GstElement* MakeSource(int camera, const gchar* name) {
    auto* src = static_cast<FakeWebcamSrc*>(
        g_object_new(fake_webcam_src_get_type(), "name", name, nullptr));
    src->camera = camera;
    GstCaps* caps = gst_caps_from_string(kRecordedWebcams[camera].caps);
    g_object_set(src->offered, "caps", caps, nullptr);
    gst_caps_unref(caps);
    return GST_ELEMENT(src);
}

// --- the devices --------------------------------------------------------

struct FakeWebcamDevice {
    GstDevice parent;
    int camera;
};
struct FakeWebcamDeviceClass {
    GstDeviceClass parent_class;
};

G_DEFINE_TYPE(FakeWebcamDevice, fake_webcam_device, GST_TYPE_DEVICE)

GstElement* CreateSourceElement(GstDevice* device, const gchar* name) {
    return MakeSource(reinterpret_cast<FakeWebcamDevice*>(device)->camera, name);
}

void fake_webcam_device_class_init(FakeWebcamDeviceClass* klass) {
    GST_DEVICE_CLASS(klass)->create_element = CreateSourceElement;
}

void fake_webcam_device_init(FakeWebcamDevice* device) {
    device->camera = 0;
}

GstDevice* MakeDevice(int camera, bool pipeWire) {
    const RecordedWebcam& recorded = kRecordedWebcams[camera];
    GstCaps* caps = gst_caps_from_string(recorded.caps);
    GstStructure* properties =
        gst_structure_from_string(pipeWire ? kPipeWireProperties : recorded.properties, nullptr);
    auto* device = static_cast<FakeWebcamDevice*>(g_object_new(
        fake_webcam_device_get_type(), "display-name", pipeWire ? kPipeWireName : recorded.name,
        "caps", caps, "device-class", "Video/Source", "properties", properties, nullptr));
    device->camera = camera;
    gst_caps_unref(caps);
    gst_structure_free(properties);
    return GST_DEVICE(device);
}

// --- the providers ------------------------------------------------------

struct FakeWebcamProvider {
    GstDeviceProvider parent;
    gboolean pipeWire;
    GThread* watcher;
    gint stopping;
    GstDevice* listed[kCameraCount];  // not counted: the base class holds them
};
struct FakeWebcamProviderClass {
    GstDeviceProviderClass parent_class;
};

G_DEFINE_TYPE(FakeWebcamProvider, fake_webcam_provider, GST_TYPE_DEVICE_PROVIDER)

bool Lists(FakeWebcamProvider* provider, int camera) {
    return Asked(camera) && (!provider->pipeWire || kRecordedWebcams[camera].secondProvider);
}

GList* Probe(GstDeviceProvider* base) {
    auto* provider = reinterpret_cast<FakeWebcamProvider*>(base);
    ReadPlugs();
    GList* devices = nullptr;
    for (int i = 0; i < kCameraCount; ++i) {
        if (Lists(provider, i) && !g_unplugged[i]) {
            devices =
                g_list_append(devices, gst_object_ref_sink(MakeDevice(i, provider->pipeWire)));
        }
    }
    return devices;
}

// Adds and removes devices as the unplugged file says.
void Update(FakeWebcamProvider* provider) {
    ReadPlugs();
    for (int i = 0; i < kCameraCount; ++i) {
        if (!Lists(provider, i)) {
            continue;
        }
        if (!g_unplugged[i] && provider->listed[i] == nullptr) {
            provider->listed[i] = MakeDevice(i, provider->pipeWire);
            gst_device_provider_device_add(&provider->parent, provider->listed[i]);
        } else if (g_unplugged[i] && provider->listed[i] != nullptr) {
            GstDevice* gone = provider->listed[i];
            provider->listed[i] = nullptr;
            gst_device_provider_device_remove(&provider->parent, gone);
        }
    }
}

gpointer Watch(gpointer data) {
    auto* provider = static_cast<FakeWebcamProvider*>(data);
    while (!g_atomic_int_get(&provider->stopping)) {
        g_usleep(50000);
        Update(provider);
    }
    return nullptr;
}

gboolean Start(GstDeviceProvider* base) {
    auto* provider = reinterpret_cast<FakeWebcamProvider*>(base);
    Update(provider);
    g_atomic_int_set(&provider->stopping, 0);
    provider->watcher = g_thread_new("fake-webcams", Watch, provider);
    return TRUE;
}

void Stop(GstDeviceProvider* base) {
    auto* provider = reinterpret_cast<FakeWebcamProvider*>(base);
    g_atomic_int_set(&provider->stopping, 1);
    g_thread_join(provider->watcher);
    provider->watcher = nullptr;
    for (GstDevice*& device : provider->listed) {
        device = nullptr;  // the base class drops its list after stop
    }
}

void fake_webcam_provider_class_init(FakeWebcamProviderClass* klass) {
    GstDeviceProviderClass* provider = GST_DEVICE_PROVIDER_CLASS(klass);
    provider->probe = Probe;
    provider->start = Start;
    provider->stop = Stop;
    gst_device_provider_class_set_static_metadata(provider, "Fake webcams", "Source/Video",
                                                  "Recorded webcams for tests", "Tenebrix");
}

void fake_webcam_provider_init(FakeWebcamProvider* provider) {
    provider->pipeWire = FALSE;
    provider->watcher = nullptr;
    provider->stopping = 0;
    for (GstDevice*& device : provider->listed) {
        device = nullptr;
    }
}

// The provider in PipeWire's place is the same type with its flag set.
struct FakePipeWireProvider {
    FakeWebcamProvider parent;
};
struct FakePipeWireProviderClass {
    FakeWebcamProviderClass parent_class;
};

G_DEFINE_TYPE(FakePipeWireProvider, fake_pipe_wire_provider, fake_webcam_provider_get_type())

void fake_pipe_wire_provider_class_init(FakePipeWireProviderClass*) {}

void fake_pipe_wire_provider_init(FakePipeWireProvider* provider) {
    provider->parent.pipeWire = TRUE;
}

}  // namespace

gboolean InitFakeWebcamsPlugin(GstPlugin* plugin) {
    return gst_device_provider_register(plugin, "tenebrixfakepipewire", GST_RANK_PRIMARY + 1,
                                        fake_pipe_wire_provider_get_type()) &&
           gst_device_provider_register(plugin, "tenebrixfakev4l2", GST_RANK_PRIMARY,
                                        fake_webcam_provider_get_type());
}

bool RegisterFakeWebcams() {
    gst_init(nullptr, nullptr);
    return gst_plugin_register_static(GST_VERSION_MAJOR, GST_VERSION_MINOR, "tenebrixfakewebcams",
                                      "Fake webcams for tests", InitFakeWebcamsPlugin, "1.0",
                                      "LGPL", "tenebrix", "tenebrix", "https://example.invalid");
}
