// Parsing of TENEBRIX_VIRTUAL_CAMERAS (see virtual_cameras.h).
//
// Stands in for video input devices that a machine without a webcam lacks.
// Limits: entries cannot contain ';', and a name cannot contain '='.
#include <cstdio>

#include "platform/dshow/gstreamer/virtual_cameras.h"

namespace {

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

std::vector<VirtualCamera> ParseVirtualCameras(const char* value) {
    std::vector<VirtualCamera> cameras;
    if (value == nullptr) {
        return cameras;
    }
    const std::string all(value);
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find(';', start);
        if (end == std::string::npos) {
            end = all.size();
        }
        const std::string entry = Trim(all.substr(start, end - start));
        start = end + 1;
        if (entry.empty()) {
            continue;
        }
        const size_t equals = entry.find('=');
        VirtualCamera camera;
        if (equals != std::string::npos) {
            camera.name = Trim(entry.substr(0, equals));
            camera.description = Trim(entry.substr(equals + 1));
        }
        if (camera.name.empty() || camera.description.empty()) {
            std::fprintf(stderr,
                         "tenebrix: TENEBRIX_VIRTUAL_CAMERAS: \"%s\" is not "
                         "\"Name=GStreamer launch description\"; skipped\n",
                         entry.c_str());
            continue;
        }
        cameras.push_back(camera);
    }
    return cameras;
}
