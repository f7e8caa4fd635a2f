// Any value of TENEBRIX_VIRTUAL_CAMERAS: every camera listed has a name and a
// description, trimmed, that stand in the value as given, and there is never
// more than one camera an entry.
#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/dshow/gstreamer/virtual_cameras.h"

namespace {

bool IsTrimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    return !text.empty() && std::strchr(blanks, text.front()) == nullptr &&
           std::strchr(blanks, text.back()) == nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An environment value ends at its first NUL.
    const std::string value(reinterpret_cast<const char*>(data),
                            strnlen(reinterpret_cast<const char*>(data), size));
    const std::vector<VirtualCamera> cameras = ParseVirtualCameras(value.c_str());

    std::size_t entries = 1;
    for (char c : value) {
        entries += c == ';' ? 1 : 0;
    }
    FUZZ_CHECK(cameras.size() <= entries);
    std::size_t from = 0;
    for (const VirtualCamera& camera : cameras) {
        FUZZ_CHECK(IsTrimmed(camera.name) && IsTrimmed(camera.description));
        FUZZ_CHECK(camera.name.find_first_of("=;") == std::string::npos);
        FUZZ_CHECK(camera.description.find(';') == std::string::npos);
        // In the order given: the name, then its description.
        const std::size_t name = value.find(camera.name, from);
        FUZZ_CHECK(name != std::string::npos);
        const std::size_t description = value.find(camera.description, name + camera.name.size());
        FUZZ_CHECK(description != std::string::npos);
        from = description + camera.description.size();
    }
    FUZZ_CHECK(ParseVirtualCameras(nullptr).empty());
    return 0;
}
