// For tests over the real capture driver: answers "No" for each of the
// machine's own video devices, so that the virtual cameras (listed after
// them) are the ones asked about next, and waits for a camera's first frame.
#pragma once

#include <cstdlib>
#include <string>

#include <objbase.h>
#include <dshow.h>

#include "capture/capture_manager.h"
#include "tests/capture/first_frame.h"
#include "platform/win32/null/null_driver.h"

// The number of video input devices the machine itself has.
inline int RealDeviceCount() {
    const char* saved = std::getenv("TENEBRIX_VIRTUAL_CAMERAS");
    const std::string virtualCameras = saved ? saved : "";
    unsetenv("TENEBRIX_VIRTUAL_CAMERAS");
    CoInitialize(NULL);
    int count = 0;
    ICreateDevEnum* devEnum = NULL;
    CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                     reinterpret_cast<void**>(&devEnum));
    IEnumMoniker* list = NULL;
    if (devEnum != NULL) {
        devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &list, 0);
        devEnum->Release();
    }
    IMoniker* moniker = NULL;
    while (list != NULL && list->Next(1, &moniker, NULL) == S_OK) {
        moniker->Release();
        ++count;
    }
    if (list != NULL) {
        list->Release();
    }
    CoUninitialize();
    if (saved != nullptr) {
        setenv("TENEBRIX_VIRTUAL_CAMERAS", virtualCameras.c_str(), 1);
    }
    return count;
}

// Queues a "No" for each real device; returns how many there are.
inline int DeclineRealDevices() {
    const int count = RealDeviceCount();
    for (int i = 0; i < count; ++i) {
        null_driver::QueueMessageBoxAnswer(IDNO);
    }
    return count;
}
