// The COM in-process server of the test camera: the class object, the
// unload check, and the registration as a video input device ("regsvr32
// tenebrix_test_camera.dll" adds it, "regsvr32 /u" removes it).
#include <string>

#include "tools/test_camera/test_camera.h"

// {29B084D4-96A4-43FD-9748-2728D1462E9C}
const CLSID CLSID_TenebrixTestCamera = {
    0x29b084d4, 0x96a4, 0x43fd, {0x97, 0x48, 0x27, 0x28, 0xd1, 0x46, 0x2e, 0x9c}};
const wchar_t kTestCameraName[] = L"Tenebrix Test Camera";

namespace {

HMODULE g_module = NULL;
LONG g_locks = 0;

class ClassFactory final : public IClassFactory {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (out == NULL) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    // The class object is static; its references keep the module loaded.
    STDMETHODIMP_(ULONG) AddRef() override {
        LockModule();
        return 2;
    }
    STDMETHODIMP_(ULONG) Release() override {
        UnlockModule();
        return 1;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (out == NULL) {
            return E_POINTER;
        }
        *out = NULL;
        if (outer != NULL) {
            return CLASS_E_NOAGGREGATION;
        }
        return TestCameraFilter::Create(iid, out);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) {
            LockModule();
        } else {
            UnlockModule();
        }
        return S_OK;
    }
};

ClassFactory g_factory;

// HKEY_CLASSES_ROOT\CLSID\{...}
std::wstring ClassKeyName() {
    wchar_t clsid[40];
    StringFromGUID2(CLSID_TenebrixTestCamera, clsid, 40);
    return std::wstring(L"CLSID\\") + clsid;
}

LSTATUS SetText(HKEY parent, const wchar_t* subkey, const wchar_t* value, const wchar_t* text) {
    HKEY key;
    LSTATUS status = RegCreateKeyExW(parent, subkey, 0, NULL, 0, KEY_WRITE, NULL, &key, NULL);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    status = RegSetValueExW(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                            static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}

HRESULT RegisterServerClass() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return E_FAIL;
    }
    const std::wstring key = ClassKeyName();
    const std::wstring server = key + L"\\InprocServer32";
    LSTATUS status = SetText(HKEY_CLASSES_ROOT, key.c_str(), NULL, kTestCameraName);
    if (status == ERROR_SUCCESS) {
        status = SetText(HKEY_CLASSES_ROOT, server.c_str(), NULL, path);
    }
    if (status == ERROR_SUCCESS) {
        status = SetText(HKEY_CLASSES_ROOT, server.c_str(), L"ThreadingModel", L"Both");
    }
    return HRESULT_FROM_WIN32(status);
}

// Runs `step` on the filter mapper, with COM initialised for the call.
template <class Step>
HRESULT WithFilterMapper(Step step) {
    const HRESULT init = CoInitialize(NULL);
    IFilterMapper2* mapper = NULL;
    HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, NULL, CLSCTX_INPROC_SERVER,
                                  IID_IFilterMapper2, reinterpret_cast<void**>(&mapper));
    if (SUCCEEDED(hr)) {
        hr = step(mapper);
        mapper->Release();
    }
    if (SUCCEEDED(init)) {
        CoUninitialize();
    }
    return hr;
}

}  // namespace

void LockModule() {
    InterlockedIncrement(&g_locks);
}

void UnlockModule() {
    InterlockedDecrement(&g_locks);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
    if (out == NULL) {
        return E_POINTER;
    }
    *out = NULL;
    if (!IsEqualCLSID(clsid, CLSID_TenebrixTestCamera)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() {
    return g_locks == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    HRESULT hr = RegisterServerClass();
    if (FAILED(hr)) {
        return hr;
    }
    return WithFilterMapper([](IFilterMapper2* mapper) {
        REGPINTYPES type = {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24};
        REGFILTERPINS2 pin = {};
        pin.dwFlags = 0;
        pin.cInstances = 1;
        pin.nMediaTypes = 1;
        pin.lpMediaType = &type;
        pin.clsPinCategory = &PIN_CATEGORY_CAPTURE;
        REGFILTER2 filter = {};
        filter.dwVersion = 2;
        filter.dwMerit = MERIT_DO_NOT_USE;
        filter.cPins2 = 1;
        filter.rgPins2 = &pin;
        return mapper->RegisterFilter(CLSID_TenebrixTestCamera, kTestCameraName, NULL,
                                      &CLSID_VideoInputDeviceCategory, kTestCameraName, &filter);
    });
}

STDAPI DllUnregisterServer() {
    const HRESULT hr = WithFilterMapper([](IFilterMapper2* mapper) {
        return mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, kTestCameraName,
                                        CLSID_TenebrixTestCamera);
    });
    const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKeyName().c_str());
    if (FAILED(hr)) {
        return hr;
    }
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK
                                                                     : HRESULT_FROM_WIN32(status);
}
