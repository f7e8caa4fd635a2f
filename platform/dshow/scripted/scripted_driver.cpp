// The scripted capture driver's table entry and test API (see
// scripted_devices.h).
//
// Stands in for the machine's video devices and the media framework's classes
// in tests. Limits: single-threaded; frames are handed out as the test set
// them, with no timing.
#include <cstring>

#include "platform/dshow/capture_driver.h"
#include "platform/dshow/common/media_types.h"
#include "platform/dshow/scripted/scripted_objects.h"
#include "platform/win32/dib_stride.h"

namespace scripted_capture {

namespace {

const struct {
    const CLSID* clsid;
    const char* name;
} kClassNames[] = {
    {&CLSID_SystemDeviceEnum, "SystemDeviceEnum"},
    {&CLSID_FilterGraph, "FilterGraph"},
    {&CLSID_CaptureGraphBuilder2, "CaptureGraphBuilder"},
    {&CLSID_SampleGrabber, "SampleGrabber"},
    {&CLSID_VideoRenderer, "VideoRenderer"},
};

HRESULT Start() {
    Record("MediaLibrary.Start()");
    return S_OK;
}

void Stop() {
    Record("MediaLibrary.Stop()");
}

IUnknown* CreateObject(const std::string& name) {
    const std::string label = NextLabel(name);
    if (name == "SystemDeviceEnum") {
        return static_cast<ICreateDevEnum*>(Make<ScriptedDevEnum>(label));
    }
    if (name == "FilterGraph") {
        return static_cast<IGraphBuilder*>(Make<ScriptedGraph>(label));
    }
    if (name == "CaptureGraphBuilder") {
        return static_cast<ICaptureGraphBuilder2*>(Make<ScriptedBuilder>(label));
    }
    if (name == "SampleGrabber") {
        return static_cast<IBaseFilter*>(Make<ScriptedGrabber>(label));
    }
    return static_cast<IBaseFilter*>(Make<ScriptedRenderer>(label));
}

HRESULT Create(REFCLSID clsid, REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    const char* name = nullptr;
    for (const auto& entry : kClassNames) {
        if (IsEqualCLSID(clsid, *entry.clsid)) {
            name = entry.name;
        }
    }
    if (name == nullptr) {
        return REGDB_E_CLASSNOTREG;
    }
    for (const auto& failure : TheState().failures) {
        if (IsEqualCLSID(failure.first, clsid)) {
            Record(std::string("CoCreateInstance(") + name + ") -> failed");
            return failure.second;
        }
    }
    IUnknown* object = CreateObject(name);
    Record(std::string("CoCreateInstance(") + name + ") -> " + LabelOf(object));
    return HandOut(object, riid, ppv);
}

}  // namespace

BITMAPINFOHEADER Rgb24Format(int width, int height) {
    return Rgb24Header(width, height);
}

std::vector<BYTE> MakeFrame(int width, int height,
                            const std::function<Pixel(int x, int y)>& pixel) {
    const size_t stride = Dib24RowBytes(static_cast<size_t>(width));
    std::vector<BYTE> bytes(stride * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        BYTE* row = bytes.data() + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const Pixel p = pixel(x, y);
            row[3 * x] = p.blue;
            row[3 * x + 1] = p.green;
            row[3 * x + 2] = p.red;
        }
    }
    return bytes;
}

bool Use() {
    return SelectCaptureDriver("scripted");
}

void Reset() {
    State& state = TheState();
    state.devices.clear();
    state.calls.clear();
    state.objects.clear();
    state.serials.clear();
    state.failures.clear();
    state.events.clear();
    state.overReleases = 0;
}

int AddDevice(const Device& device) {
    TheState().devices.push_back(device);
    return static_cast<int>(TheState().devices.size()) - 1;
}

void SetFrame(int index, std::vector<BYTE> frame) {
    State& state = TheState();
    if (index >= 0 && index < static_cast<int>(state.devices.size())) {
        state.devices[index].frame = std::move(frame);
    }
}

void PostGraphEvent(long code) {
    TheState().events.push_back(code);
}

void FailCreation(REFCLSID clsid, HRESULT result) {
    auto& failures = TheState().failures;
    for (auto it = failures.begin(); it != failures.end();) {
        it = IsEqualCLSID(it->first, clsid) ? failures.erase(it) : it + 1;
    }
    if (FAILED(result)) {
        failures.emplace_back(clsid, result);
    }
}

const std::vector<std::string>& Calls() {
    return TheState().calls;
}

std::vector<std::string> CallsStartingWith(const std::string& prefix) {
    std::vector<std::string> matching;
    for (const std::string& call : TheState().calls) {
        if (call.compare(0, prefix.size(), prefix) == 0) {
            matching.push_back(call);
        }
    }
    return matching;
}

LONG References(const std::string& label) {
    LONG count = -1;
    for (const auto& object : TheState().objects) {
        if (object->Label() == label) {
            count = object->Count();
        }
    }
    return count;
}

int LiveObjects() {
    return static_cast<int>(LiveObjectNames().size());
}

std::vector<std::string> LiveObjectNames() {
    std::vector<std::string> names;
    for (const auto& object : TheState().objects) {
        if (object->Count() > 0) {
            names.push_back(object->Label());
        }
    }
    return names;
}

int OverReleases() {
    return TheState().overReleases;
}

}  // namespace scripted_capture

namespace {

const CaptureDriver kScriptedCaptureDriver = {"scripted", "in-process devices set up by tests",
                                              scripted_capture::Start, scripted_capture::Stop,
                                              scripted_capture::Create};
// Linked into a test, the scripted driver joins the table before main.
[[maybe_unused]] const bool s_added = AddCaptureDriver(&kScriptedCaptureDriver);

}  // namespace
