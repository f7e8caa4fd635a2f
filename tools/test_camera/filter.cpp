// The test camera filter: its identity, its states and its one pin.
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "tools/test_camera/enumerator.h"
#include "tools/test_camera/test_camera.h"

namespace {

HRESULT MakePin(IUnknown* owner, IPin** pin) {
    IBaseFilter* filter = static_cast<IBaseFilter*>(owner);
    return filter->FindPin(L"Capture", pin);
}

}  // namespace

HRESULT TestCameraFilter::Create(REFIID iid, void** out) {
    if (out == NULL) {
        return E_POINTER;
    }
    *out = NULL;
    // The options are the environment's when the device is bound.
    char text[1024];
    const DWORD length = GetEnvironmentVariableA("TENEBRIX_TEST_CAMERA", text, sizeof text);
    CameraOptions options;
    std::string error;
    if (length >= sizeof text || !ParseCameraOptions(length > 0 ? text : NULL, &options, &error)) {
        return E_INVALIDARG;
    }
    TestCameraFilter* filter = new (std::nothrow) TestCameraFilter();
    if (filter == NULL) {
        return E_OUTOFMEMORY;
    }
    HRESULT hr = filter->m_picture.Prepare(options) ? S_OK : E_INVALIDARG;
    if (SUCCEEDED(hr)) {
        hr = filter->QueryInterface(iid, out);
    }
    filter->Release();
    return hr;
}

TestCameraFilter::TestCameraFilter()
    : m_refs(1),
      m_state(State_Stopped),
      m_start(0),
      m_clock(NULL),
      m_graph(NULL),
      m_pin(this, m_picture) {
    InitializeCriticalSection(&m_lock);
    m_name[0] = L'\0';
    LockModule();
}

TestCameraFilter::~TestCameraFilter() {
    Stop();
    if (m_clock != NULL) {
        m_clock->Release();
    }
    DeleteCriticalSection(&m_lock);
    UnlockModule();
}

STDMETHODIMP TestCameraFilter::QueryInterface(REFIID iid, void** out) {
    if (out == NULL) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPersist) ||
        IsEqualIID(iid, IID_IMediaFilter) || IsEqualIID(iid, IID_IBaseFilter)) {
        *out = static_cast<IBaseFilter*>(this);
    } else if (IsEqualIID(iid, IID_IAMFilterMiscFlags)) {
        *out = static_cast<IAMFilterMiscFlags*>(this);
    } else {
        *out = NULL;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) TestCameraFilter::AddRef() {
    return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) TestCameraFilter::Release() {
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) {
        delete this;
    }
    return refs;
}

STDMETHODIMP TestCameraFilter::GetClassID(CLSID* id) {
    if (id == NULL) {
        return E_POINTER;
    }
    *id = CLSID_TenebrixTestCamera;
    return S_OK;
}

STDMETHODIMP TestCameraFilter::Stop() {
    EnterCriticalSection(&m_lock);
    const bool wasStopped = m_state == State_Stopped;
    m_state = State_Stopped;
    LeaveCriticalSection(&m_lock);
    // Joined outside the lock: the thread takes it to read the state.
    if (!wasStopped) {
        m_pin.StopStreaming();
    }
    return S_OK;
}

STDMETHODIMP TestCameraFilter::Pause() {
    EnterCriticalSection(&m_lock);
    HRESULT hr = S_OK;
    if (m_state == State_Stopped) {
        hr = m_pin.StartStreaming();
    }
    if (SUCCEEDED(hr)) {
        m_state = State_Paused;
        m_pin.Wake();
    }
    LeaveCriticalSection(&m_lock);
    return hr;
}

STDMETHODIMP TestCameraFilter::Run(REFERENCE_TIME start) {
    EnterCriticalSection(&m_lock);
    HRESULT hr = S_OK;
    if (m_state == State_Stopped) {
        hr = Pause();
    }
    if (SUCCEEDED(hr)) {
        m_start = start;
        m_state = State_Running;
        m_pin.Wake();
    }
    LeaveCriticalSection(&m_lock);
    return hr;
}

STDMETHODIMP TestCameraFilter::GetState(DWORD timeout, FILTER_STATE* state) {
    if (state == NULL) {
        return E_POINTER;
    }
    EnterCriticalSection(&m_lock);
    *state = m_state;
    LeaveCriticalSection(&m_lock);
    // A live source has nothing to show while paused.
    return *state == State_Paused ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP TestCameraFilter::SetSyncSource(IReferenceClock* clock) {
    EnterCriticalSection(&m_lock);
    if (clock != NULL) {
        clock->AddRef();
    }
    if (m_clock != NULL) {
        m_clock->Release();
    }
    m_clock = clock;
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

STDMETHODIMP TestCameraFilter::GetSyncSource(IReferenceClock** clock) {
    if (clock == NULL) {
        return E_POINTER;
    }
    EnterCriticalSection(&m_lock);
    *clock = m_clock;
    if (m_clock != NULL) {
        m_clock->AddRef();
    }
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

REFERENCE_TIME TestCameraFilter::StreamTime() const {
    REFERENCE_TIME now = 0;
    if (m_clock == NULL || FAILED(m_clock->GetTime(&now))) {
        return -1;
    }
    return now - m_start;
}

STDMETHODIMP TestCameraFilter::EnumPins(IEnumPins** pins) {
    return OneItemEnumerator<IEnumPins, IPin*>::Create(static_cast<IBaseFilter*>(this), &MakePin,
                                                       IID_IEnumPins, pins);
}

STDMETHODIMP TestCameraFilter::FindPin(LPCWSTR id, IPin** pin) {
    if (id == NULL || pin == NULL) {
        return E_POINTER;
    }
    if (wcscmp(id, L"Capture") != 0) {
        *pin = NULL;
        return VFW_E_NOT_FOUND;
    }
    *pin = &m_pin;
    m_pin.AddRef();
    return S_OK;
}

STDMETHODIMP TestCameraFilter::QueryFilterInfo(FILTER_INFO* info) {
    if (info == NULL) {
        return E_POINTER;
    }
    EnterCriticalSection(&m_lock);
    std::memcpy(info->achName, m_name, sizeof m_name);
    info->pGraph = m_graph;
    if (m_graph != NULL) {
        m_graph->AddRef();
    }
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

STDMETHODIMP TestCameraFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    EnterCriticalSection(&m_lock);
    m_graph = graph;
    m_name[0] = L'\0';
    if (name != NULL) {
        wcsncpy(m_name, name, MAX_FILTER_NAME - 1);
        m_name[MAX_FILTER_NAME - 1] = L'\0';
    }
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

STDMETHODIMP TestCameraFilter::QueryVendorInfo(LPWSTR* info) {
    return E_NOTIMPL;
}

STDMETHODIMP_(ULONG) TestCameraFilter::GetMiscFlags() {
    return AM_FILTER_MISC_FLAGS_IS_SOURCE;
}
