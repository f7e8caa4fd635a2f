// The test camera: a live video source filter of the media framework in a COM
// in-process server, registered as a video input device. One output pin of
// the capture category offers one media type, 24-bit RGB at the size the
// options choose (TENEBRIX_TEST_CAMERA, see picture.h), and delivers 30
// frames a second with time stamps from a thread of its own while the graph
// runs.
//
// Shared by the filter, its pin and the server; not a public header.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <atomic>

#include "tools/test_camera/picture.h"

extern const CLSID CLSID_TenebrixTestCamera;
extern const wchar_t kTestCameraName[];  // "Tenebrix Test Camera"

// Live objects and server locks; the DLL may unload when there are none.
void LockModule();
void UnlockModule();

// 100 ns units: 30 frames a second.
const REFERENCE_TIME kFramePeriod = 10000000 / 30;

// The one media type of the pin; its format block comes from CoTaskMemAlloc.
HRESULT FillMediaType(const CameraPicture& picture, AM_MEDIA_TYPE* type);
void FreeMediaType(AM_MEDIA_TYPE* type);
// Whether a proposed (possibly partial) type fits the pin's type.
bool AcceptsMediaType(const CameraPicture& picture, const AM_MEDIA_TYPE& type);
// The same type in a block of its own, as IEnumMediaTypes hands it out.
HRESULT NewMediaType(const CameraPicture& picture, AM_MEDIA_TYPE** out);

class TestCameraFilter;

class CapturePin : public IPin, public IKsPropertySet {
  public:
    CapturePin(TestCameraFilter* filter, const CameraPicture& picture);
    ~CapturePin();

    // IUnknown: the pin lives as long as its filter.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IPin
    STDMETHODIMP Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;
    // IKsPropertySet: the pin category, read-only.
    STDMETHODIMP Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                     DWORD dataSize) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                     DWORD dataSize, DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // Called by the filter under its lock, on its state changes.
    HRESULT StartStreaming();  // stopped -> paused: commit, start the thread
    void StopStreaming();      // -> stopped: end and join the thread, decommit
    void Wake();               // the state changed: the thread looks again

    const CameraPicture& Picture() const { return m_picture; }

  private:
    HRESULT NegotiateAllocator(IPin* receiver);
    HRESULT TryAllocator(IMemAllocator* allocator);
    void ReleaseConnection();
    static DWORD WINAPI StreamMain(void* self);
    void Stream();
    void DeliverFrame(int64_t frameNumber, bool first);

    TestCameraFilter* m_filter;
    const CameraPicture& m_picture;
    IPin* m_connected;
    IMemInputPin* m_input;
    IMemAllocator* m_allocator;
    AM_MEDIA_TYPE m_type;  // the connection's type, valid while connected
    HANDLE m_thread;
    HANDLE m_wake;  // auto-reset: state change or stop request
    std::atomic<bool> m_stopRequested;
};

class TestCameraFilter final : public IBaseFilter, public IAMFilterMiscFlags {
  public:
    // A new filter for `iid`; fails with E_INVALIDARG when the options are
    // wrong or the picture file cannot be read, so that binding the device
    // fails visibly instead of showing something else.
    static HRESULT Create(REFIID iid, void** out);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IPersist
    STDMETHODIMP GetClassID(CLSID* id) override;
    // IMediaFilter
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeout, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;
    // IAMFilterMiscFlags: a live source.
    STDMETHODIMP_(ULONG) GetMiscFlags() override;

    // For the pin: the state lock (recursive) and what the thread reads.
    CRITICAL_SECTION* Lock() { return &m_lock; }
    FILTER_STATE State() const { return m_state; }
    // The stream time now (clock time less the run's start), or -1 without
    // a clock. Call under the lock.
    REFERENCE_TIME StreamTime() const;

  private:
    TestCameraFilter();
    ~TestCameraFilter();

    LONG m_refs;
    CRITICAL_SECTION m_lock;
    FILTER_STATE m_state;
    REFERENCE_TIME m_start;
    IReferenceClock* m_clock;
    IFilterGraph* m_graph;  // not held: the graph holds the filter
    wchar_t m_name[MAX_FILTER_NAME];
    CameraPicture m_picture;
    CapturePin m_pin;
};
