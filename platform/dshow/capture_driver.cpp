// Choice of the capture driver and the media library's COM server.
//
// Stands in for the registration of the media framework's classes on Windows:
// the first CoInitialize starts the chosen driver (see capture_driver.h), and
// CoCreateInstance of a media class goes to it. Limits: one driver per
// process, chosen once; it cannot be changed after it has started.
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "platform/driver_choice.h"
#include "platform/dshow/capture_driver.h"

namespace {

// The known drivers, the real one first.
std::vector<const CaptureDriver*>& Drivers() {
    static std::vector<const CaptureDriver*> drivers = {&kGStreamerCaptureDriver};
    return drivers;
}

std::mutex s_lock;
const CaptureDriver* s_chosen = nullptr;
const CaptureDriver* s_selected = nullptr;
bool s_running = false;

const CaptureDriver* FindDriver(const char* name) {
    for (const CaptureDriver* driver : Drivers()) {
        if (std::strcmp(driver->name, name) == 0) {
            return driver;
        }
    }
    return nullptr;
}

HRESULT StartMediaLibrary() {
    std::lock_guard<std::mutex> guard(s_lock);
    if (s_chosen == nullptr) {
        const char* name = s_selected != nullptr
                               ? s_selected->name
                               : DriverNameFromEnvironment("TENEBRIX_CAPTURE_DRIVER", "gstreamer");
        s_chosen = FindDriver(name);
        if (s_chosen == nullptr) {
            std::fprintf(stderr,
                         "tenebrix: unknown capture driver \"%s\" (TENEBRIX_CAPTURE_DRIVER); "
                         "the drivers are: %s\n",
                         name, DriverNames(Drivers()).c_str());
            return E_FAIL;
        }
    }
    if (s_chosen == nullptr) {
        return E_FAIL;
    }
    const HRESULT hr = s_chosen->start();
    if (FAILED(hr)) {
        std::fprintf(stderr, "tenebrix: the capture driver \"%s\" could not start\n",
                     s_chosen->name);
        return hr;
    }
    s_running = true;
    return S_OK;
}

void StopMediaLibrary() {
    std::lock_guard<std::mutex> guard(s_lock);
    if (s_running) {
        s_chosen->stop();
        s_running = false;
    }
}

HRESULT CreateMediaObject(REFCLSID clsid, REFIID riid, void** ppv) {
    const CaptureDriver* driver;
    {
        std::lock_guard<std::mutex> guard(s_lock);
        driver = s_running ? s_chosen : nullptr;
    }
    return driver ? driver->create(clsid, riid, ppv) : REGDB_E_CLASSNOTREG;
}

}  // namespace

const ComInprocServer kMediaLibraryServer = {"media library", StartMediaLibrary, StopMediaLibrary,
                                             CreateMediaObject};

bool AddCaptureDriver(const CaptureDriver* driver) {
    std::lock_guard<std::mutex> guard(s_lock);
    Drivers().push_back(driver);
    return true;
}

bool SelectCaptureDriver(const char* name) {
    std::lock_guard<std::mutex> guard(s_lock);
    const CaptureDriver* driver = FindDriver(name);
    if (driver == nullptr || (s_chosen != nullptr && s_chosen != driver)) {
        return false;
    }
    s_selected = driver;
    return true;
}

const char* ChosenCaptureDriver() {
    std::lock_guard<std::mutex> guard(s_lock);
    return s_chosen ? s_chosen->name : nullptr;
}
