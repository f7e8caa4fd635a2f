// Which GStreamer devices are one camera (see camera_identity.h).
#include "platform/dshow/gstreamer/camera_identity.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> Keys(GstDevice* device) {
    std::vector<std::string> keys;
    GstStructure* properties = gst_device_get_properties(device);
    if (properties == nullptr) {
        return keys;
    }
    auto add = [&](const char* kind, const char* field, const char* prefix) {
        const char* value = gst_structure_get_string(properties, field);
        const std::string start = prefix;
        if (value != nullptr && std::string(value).compare(0, start.size(), start) == 0) {
            keys.push_back(std::string(kind) + (value + start.size()));
        }
    };
    add("node:", "device.path", "");
    add("node:", "api.v4l2.path", "");
    add("node:", "object.path", "v4l2:");
    add("bus:", "device.bus_path", "");
    add("bus:", "device.bus-path", "");
    gst_structure_free(properties);
    return keys;
}

bool SameName(GstDevice* a, GstDevice* b) {
    gchar* first = gst_device_get_display_name(a);
    gchar* second = gst_device_get_display_name(b);
    const bool same = g_strcmp0(first, second) == 0;
    g_free(first);
    g_free(second);
    return same;
}

}  // namespace

bool SameCamera(GstDevice* a, GstDevice* b) {
    const std::vector<std::string> first = Keys(a);
    const std::vector<std::string> second = Keys(b);
    if (first.empty() || second.empty()) {
        return SameName(a, b);
    }
    for (const std::string& key : first) {
        for (const std::string& other : second) {
            if (key == other) {
                return true;
            }
        }
    }
    return false;
}
