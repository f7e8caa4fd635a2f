// The test camera's output pin: its identity and category, its media type,
// and the connection with the allocator negotiation.
#include <cstring>
#include <new>

#include "tools/test_camera/enumerator.h"
#include "tools/test_camera/test_camera.h"

namespace {

const wchar_t kPinId[] = L"Capture";

HRESULT MakeType(IUnknown* owner, AM_MEDIA_TYPE** type) {
    const CapturePin* pin = static_cast<CapturePin*>(static_cast<IPin*>(owner));
    return NewMediaType(pin->Picture(), type);
}

// Holds the filter's lock for one scope.
class Locked {
  public:
    explicit Locked(CRITICAL_SECTION* lock) : m_lock(lock) { EnterCriticalSection(m_lock); }
    ~Locked() { LeaveCriticalSection(m_lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

  private:
    CRITICAL_SECTION* m_lock;
};

}  // namespace

CapturePin::CapturePin(TestCameraFilter* filter, const CameraPicture& picture)
    : m_filter(filter),
      m_picture(picture),
      m_connected(NULL),
      m_input(NULL),
      m_allocator(NULL),
      m_thread(NULL),
      m_wake(CreateEventW(NULL, FALSE, FALSE, NULL)),
      m_stopRequested(false) {
    std::memset(&m_type, 0, sizeof m_type);
}

CapturePin::~CapturePin() {
    ReleaseConnection();
    if (m_wake != NULL) {
        CloseHandle(m_wake);
    }
}

STDMETHODIMP CapturePin::QueryInterface(REFIID iid, void** out) {
    if (out == NULL) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPin)) {
        *out = static_cast<IPin*>(this);
    } else if (IsEqualIID(iid, IID_IKsPropertySet)) {
        *out = static_cast<IKsPropertySet*>(this);
    } else {
        *out = NULL;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CapturePin::AddRef() {
    return m_filter->AddRef();
}

STDMETHODIMP_(ULONG) CapturePin::Release() {
    return m_filter->Release();
}

STDMETHODIMP CapturePin::Connect(IPin* receiver, const AM_MEDIA_TYPE* type) {
    if (receiver == NULL) {
        return E_POINTER;
    }
    Locked locked(m_filter->Lock());
    if (m_connected != NULL) {
        return VFW_E_ALREADY_CONNECTED;
    }
    if (m_filter->State() != State_Stopped) {
        return VFW_E_NOT_STOPPED;
    }
    PIN_DIRECTION direction;
    if (FAILED(receiver->QueryDirection(&direction)) || direction != PINDIR_INPUT) {
        return VFW_E_INVALID_DIRECTION;
    }
    if (type != NULL && !AcceptsMediaType(m_picture, *type)) {
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT hr = FillMediaType(m_picture, &m_type);
    if (FAILED(hr)) {
        return hr;
    }
    if (FAILED(receiver->ReceiveConnection(this, &m_type))) {
        FreeMediaType(&m_type);
        return VFW_E_NO_ACCEPTABLE_TYPES;
    }
    m_connected = receiver;
    m_connected->AddRef();
    hr = NegotiateAllocator(receiver);
    if (FAILED(hr)) {
        receiver->Disconnect();
        ReleaseConnection();
    }
    return hr;
}

HRESULT CapturePin::NegotiateAllocator(IPin* receiver) {
    HRESULT hr = receiver->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&m_input));
    if (FAILED(hr)) {
        m_input = NULL;
        return hr;
    }
    // The downstream pin's own allocator first, else a memory allocator.
    IMemAllocator* allocator = NULL;
    hr = m_input->GetAllocator(&allocator);
    if (SUCCEEDED(hr) && allocator != NULL) {
        hr = TryAllocator(allocator);
        allocator->Release();
        if (SUCCEEDED(hr)) {
            return hr;
        }
    }
    hr = CoCreateInstance(CLSID_MemoryAllocator, NULL, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                          reinterpret_cast<void**>(&allocator));
    if (FAILED(hr)) {
        return hr;
    }
    hr = TryAllocator(allocator);
    allocator->Release();
    return hr;
}

HRESULT CapturePin::TryAllocator(IMemAllocator* allocator) {
    ALLOCATOR_PROPERTIES wanted;
    std::memset(&wanted, 0, sizeof wanted);
    m_input->GetAllocatorRequirements(&wanted);  // optional: E_NOTIMPL leaves it zero
    if (wanted.cBuffers < 3) {
        wanted.cBuffers = 3;
    }
    if (wanted.cbBuffer < m_picture.FrameBytes()) {
        wanted.cbBuffer = m_picture.FrameBytes();
    }
    if (wanted.cbAlign < 1) {
        wanted.cbAlign = 1;
    }
    ALLOCATOR_PROPERTIES actual;
    std::memset(&actual, 0, sizeof actual);
    HRESULT hr = allocator->SetProperties(&wanted, &actual);
    if (SUCCEEDED(hr) && actual.cbBuffer < m_picture.FrameBytes()) {
        hr = E_FAIL;
    }
    if (SUCCEEDED(hr)) {
        hr = m_input->NotifyAllocator(allocator, FALSE);
    }
    if (SUCCEEDED(hr)) {
        m_allocator = allocator;
        m_allocator->AddRef();
    }
    return hr;
}

void CapturePin::ReleaseConnection() {
    if (m_allocator != NULL) {
        m_allocator->Release();
        m_allocator = NULL;
    }
    if (m_input != NULL) {
        m_input->Release();
        m_input = NULL;
    }
    if (m_connected != NULL) {
        m_connected->Release();
        m_connected = NULL;
    }
    FreeMediaType(&m_type);
}

STDMETHODIMP CapturePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
    return E_UNEXPECTED;  // an output pin connects, it is not connected to
}

STDMETHODIMP CapturePin::Disconnect() {
    Locked locked(m_filter->Lock());
    if (m_filter->State() != State_Stopped) {
        return VFW_E_NOT_STOPPED;
    }
    if (m_connected == NULL) {
        return S_FALSE;
    }
    ReleaseConnection();
    return S_OK;
}

STDMETHODIMP CapturePin::ConnectedTo(IPin** pin) {
    if (pin == NULL) {
        return E_POINTER;
    }
    Locked locked(m_filter->Lock());
    *pin = m_connected;
    if (m_connected == NULL) {
        return VFW_E_NOT_CONNECTED;
    }
    m_connected->AddRef();
    return S_OK;
}

STDMETHODIMP CapturePin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (type == NULL) {
        return E_POINTER;
    }
    Locked locked(m_filter->Lock());
    if (m_connected == NULL) {
        std::memset(type, 0, sizeof *type);
        return VFW_E_NOT_CONNECTED;
    }
    return FillMediaType(m_picture, type);
}

STDMETHODIMP CapturePin::QueryPinInfo(PIN_INFO* info) {
    if (info == NULL) {
        return E_POINTER;
    }
    info->pFilter = m_filter;
    m_filter->AddRef();
    info->dir = PINDIR_OUTPUT;
    wcscpy(info->achName, kPinId);
    return S_OK;
}

STDMETHODIMP CapturePin::QueryDirection(PIN_DIRECTION* direction) {
    if (direction == NULL) {
        return E_POINTER;
    }
    *direction = PINDIR_OUTPUT;
    return S_OK;
}

STDMETHODIMP CapturePin::QueryId(LPWSTR* id) {
    if (id == NULL) {
        return E_POINTER;
    }
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof kPinId));
    if (*id == NULL) {
        return E_OUTOFMEMORY;
    }
    std::memcpy(*id, kPinId, sizeof kPinId);
    return S_OK;
}

STDMETHODIMP CapturePin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (type == NULL) {
        return E_POINTER;
    }
    return AcceptsMediaType(m_picture, *type) ? S_OK : S_FALSE;
}

STDMETHODIMP CapturePin::EnumMediaTypes(IEnumMediaTypes** types) {
    return OneItemEnumerator<IEnumMediaTypes, AM_MEDIA_TYPE*>::Create(
        static_cast<IPin*>(this), &MakeType, IID_IEnumMediaTypes, types);
}

STDMETHODIMP CapturePin::QueryInternalConnections(IPin** pins, ULONG* count) {
    return E_NOTIMPL;
}

// Flushes and end-of-stream travel downstream, never into an output pin.
STDMETHODIMP CapturePin::EndOfStream() {
    return E_UNEXPECTED;
}

STDMETHODIMP CapturePin::BeginFlush() {
    return E_UNEXPECTED;
}

STDMETHODIMP CapturePin::EndFlush() {
    return E_UNEXPECTED;
}

STDMETHODIMP CapturePin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    return S_OK;
}

STDMETHODIMP CapturePin::Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize,
                             LPVOID data, DWORD dataSize) {
    return E_PROP_SET_UNSUPPORTED;
}

STDMETHODIMP CapturePin::Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize,
                             LPVOID data, DWORD dataSize, DWORD* returned) {
    if (!IsEqualGUID(set, AMPROPSETID_Pin)) {
        return E_PROP_SET_UNSUPPORTED;
    }
    if (id != AMPROPERTY_PIN_CATEGORY) {
        return E_PROP_ID_UNSUPPORTED;
    }
    if (returned != NULL) {
        *returned = sizeof(GUID);
    }
    if (data == NULL) {
        return returned != NULL ? S_OK : E_POINTER;  // a size query
    }
    if (dataSize < sizeof(GUID)) {
        return E_UNEXPECTED;
    }
    *static_cast<GUID*>(data) = PIN_CATEGORY_CAPTURE;
    return S_OK;
}

STDMETHODIMP CapturePin::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (!IsEqualGUID(set, AMPROPSETID_Pin)) {
        return E_PROP_SET_UNSUPPORTED;
    }
    if (id != AMPROPERTY_PIN_CATEGORY) {
        return E_PROP_ID_UNSUPPORTED;
    }
    if (support != NULL) {
        *support = KSPROPERTY_SUPPORT_GET;
    }
    return S_OK;
}
