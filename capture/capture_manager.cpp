// CCaptureManager: construction, device enumeration with the user's
// confirmation, Open, and teardown.
#include <cstring>

#include "capture/capture_manager.h"

namespace {

// Message texts in the ANSI code page (932, Shift-JIS).
// "ビデオキャプチャデバイスが存在しません": no video capture device exists.
const char kNoDeviceText[] =
    "\x83\x72\x83\x66\x83\x49\x83\x4c\x83\x83\x83\x76\x83\x60\x83\x83\x83\x66\x83\x6f\x83\x43"
    "\x83\x58\x82\xaa\x91\xb6\x8d\xdd\x82\xb5\x82\xdc\x82\xb9\x82\xf1";
// "このデバイスを使用しますか？": use this device?
const char kUseDeviceCaption[] =
    "\x82\xb1\x82\xcc\x83\x66\x83\x6f\x83\x43\x83\x58\x82\xf0\x8e\x67\x97\x70\x82\xb5\x82\xdc"
    "\x82\xb7\x82\xa9\x81\x48";
// "バインド失敗": bind failed.
const char kBindFailedText[] = "\x83\x6f\x83\x43\x83\x93\x83\x68\x8e\xb8\x94\x73";
const char kErrorCaption[] = "ERROR";

template <class Interface>
void ReleaseAndClear(Interface*& pointer) {
    if (pointer != nullptr) {
        pointer->Release();
        pointer = nullptr;
    }
}

}  // namespace

CCaptureManager::CCaptureManager() {
    CoInitialize(NULL);
    m_graph = NULL;
    m_mediaControl = NULL;
    m_mediaEvent = NULL;
    m_stopReported = 0;
    m_deviceCount = 0;
    std::memset(m_devices, 0, sizeof m_devices);
}

CCaptureManager::~CCaptureManager() {
    if (m_mediaControl != NULL) {
        m_mediaControl->Stop();
    }
    for (int i = 0; i < m_deviceCount; ++i) {
        ReleaseDevice(&m_devices[i]);
    }
    ReleaseAndClear(m_mediaEvent);
    ReleaseAndClear(m_mediaControl);
    ReleaseAndClear(m_graph);
    CoUninitialize();
}

int CCaptureManager::Open(int maxDevices, int withRenderer) {
    const int taken = EnumerateDevices(m_devices, maxDevices);
    if (taken < 0) {
        return taken;
    }
    CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                     IID_IGraphBuilder, reinterpret_cast<void**>(&m_graph));
    for (int i = 0; i < taken; ++i) {
        BuildDeviceGraph(&m_devices[i], withRenderer);
    }
    if (m_graph != NULL) {
        m_graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_mediaControl));
        m_graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&m_mediaEvent));
    }
    if (m_mediaControl != NULL) {
        m_mediaControl->Run();
    }
    m_deviceCount = taken;
    return taken;
}

int CCaptureManager::PollDeviceEvents() {
    if (m_mediaEvent == NULL) {
        return kCaptureRunning;
    }
    int result = kCaptureRunning;
    long code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    while (m_mediaEvent->GetEvent(&code, &param1, &param2, 0) == S_OK) {
        m_mediaEvent->FreeEventParams(code, param1, param2);
        const bool stopped =
            code == EC_COMPLETE || code == EC_ERRORABORT || (code == EC_DEVICE_LOST && param2 == 0);
        if (stopped && m_stopReported == 0) {
            m_stopReported = 1;
            result = kCaptureStopped;
        }
    }
    return result;
}

int CCaptureManager::EnumerateDevices(CaptureDevice* table, int maxDevices) {
    ICreateDevEnum* devEnum = NULL;
    IEnumMoniker* monikers = NULL;
    CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                     reinterpret_cast<void**>(&devEnum));
    if (devEnum != NULL) {
        devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0);
    }
    if (monikers == NULL) {
        MessageBoxA(NULL, kNoDeviceText, kErrorCaption, MB_OK);
        ReleaseAndClear(devEnum);
        return -1;
    }
    // The table has room for kMaxCaptureDevices records, whatever is asked.
    if (maxDevices > kMaxCaptureDevices) {
        maxDevices = kMaxCaptureDevices;
    }
    int taken = 0;
    for (;;) {
        IMoniker* moniker = NULL;
        // A success without a moniker ends the list as well.
        if (monikers->Next(1, &moniker, NULL) != S_OK || moniker == NULL) {
            break;
        }
        if (taken >= maxDevices) {
            moniker->Release();
            break;
        }
        char name[256];
        GetFriendlyName(moniker, name);
        if (MessageBoxA(NULL, name, kUseDeviceCaption, MB_YESNO) == IDYES) {
            CaptureDevice* record = &table[taken];
            record->deviceFilter = NULL;
            const HRESULT hr = moniker->BindToObject(
                NULL, NULL, IID_IBaseFilter, reinterpret_cast<void**>(&record->deviceFilter));
            if (FAILED(hr) || record->deviceFilter == NULL) {
                // A failed bind hands out nothing; the record stays free.
                record->deviceFilter = NULL;
                MessageBoxA(NULL, kBindFailedText, kErrorCaption, MB_OK);
            } else {
                std::memcpy(record->name, name, sizeof record->name);
                ++taken;
            }
        }
        moniker->Release();
    }
    ReleaseAndClear(monikers);
    ReleaseAndClear(devEnum);
    return taken;
}

void CCaptureManager::GetFriendlyName(IMoniker* moniker, char* destination) {
    // A device whose name cannot be read is asked about with an empty name.
    std::memset(destination, 0, 256);
    IPropertyBag* bag = NULL;
    moniker->BindToStorage(NULL, NULL, IID_IPropertyBag, reinterpret_cast<void**>(&bag));
    if (bag == NULL) {
        return;
    }
    VARIANT value;
    std::memset(&value, 0, sizeof value);
    value.vt = VT_BSTR;
    bag->Read(OLESTR("FriendlyName"), &value, NULL);
    if (value.vt == VT_BSTR && value.bstrVal != NULL) {
        WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, destination, 256, NULL, NULL);
        SysFreeString(value.bstrVal);
    }
    // A name too long for the buffer is kept cut, but always terminated.
    destination[255] = '\0';
    bag->Release();
}

void CCaptureManager::ReleaseDevice(CaptureDevice* device) {
    if (device->grabber != NULL) {
        device->grabber->SetBufferSamples(FALSE);
    }
    ReleaseAndClear(device->grabber);
    ReleaseAndClear(device->grabberFilter);
    ReleaseAndClear(device->renderer);
    ReleaseAndClear(device->crossbar);
    ReleaseAndClear(device->builder);
    ReleaseAndClear(device->deviceFilter);
}
