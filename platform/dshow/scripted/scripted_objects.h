// The classes of the scripted capture driver (see scripted_devices.h).
//
// Stands in for the media framework's objects in tests; scripted_objects.cpp
// says what each does and its limits.
#pragma once

#include <vector>

#include <qedit.h>

#include "platform/com/com_strings.h"
#include "platform/dshow/common/friendly_name_bag.h"
#include "platform/dshow/common/graph_builder_base.h"
#include "platform/dshow/common/moniker_list.h"
#include "platform/dshow/scripted/scripted_state.h"

namespace scripted_capture {

class ScriptedGraph;

// What every scripted filter is besides its COM interfaces.
class ScriptedFilter {
  public:
    virtual ~ScriptedFilter() = default;
    ScriptedGraph* Graph() const { return m_graph; }
    void JoinGraph(ScriptedGraph* graph) { m_graph = graph; }

  private:
    ScriptedGraph* m_graph = nullptr;
};

class ScriptedCrossbar : public ComObject<IAMCrossbar> {
  public:
    explicit ScriptedCrossbar(int device);
    HRESULT STDMETHODCALLTYPE get_PinCounts(LONG* OutputPinCount, LONG* InputPinCount) override;
    HRESULT STDMETHODCALLTYPE get_CrossbarPinInfo(BOOL IsInputPin, LONG PinIndex,
                                                  LONG* PinIndexRelated,
                                                  LONG* PhysicalType) override;

  private:
    int m_device;
};

class ScriptedDeviceFilter : public ComObject<IBaseFilter>, public ScriptedFilter {
  public:
    explicit ScriptedDeviceFilter(int device) : m_device(device) {}
    int DeviceIndex() const { return m_device; }
    bool Connected() const { return m_connected; }
    void SetConnected() { m_connected = true; }
    // The device's crossbar (the filter keeps one reference), or null.
    IAMCrossbar* Crossbar();

  protected:
    void FinalRelease() override;

  private:
    int m_device;
    bool m_connected = false;
    IAMCrossbar* m_crossbar = nullptr;
};

class ScriptedRenderer : public ComObject<IBaseFilter>, public ScriptedFilter {};

class ScriptedGrabber : public ComObject<IBaseFilter, ISampleGrabber>, public ScriptedFilter {
  public:
    HRESULT STDMETHODCALLTYPE SetMediaType(const AM_MEDIA_TYPE* pType) override;
    HRESULT STDMETHODCALLTYPE GetConnectedMediaType(AM_MEDIA_TYPE* pType) override;
    HRESULT STDMETHODCALLTYPE SetBufferSamples(BOOL BufferThem) override;
    HRESULT STDMETHODCALLTYPE GetCurrentBuffer(LONG* pBufferSize, LONG* pBuffer) override;
    void ConnectTo(int device) { m_source = device; }

  private:
    int m_source = -1;
    bool m_buffering = false;
};

class ScriptedGraph : public ComObject<IGraphBuilder, IMediaControl, IMediaEvent> {
  public:
    HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* pFilter, LPCWSTR pName) override;
    HRESULT STDMETHODCALLTYPE Run() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    // Takes the oldest of the events that PostGraphEvent queued; never waits.
    HRESULT STDMETHODCALLTYPE GetEvent(long* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2,
                                       long msTimeout) override;
    HRESULT STDMETHODCALLTYPE FreeEventParams(long lEventCode, LONG_PTR lParam1,
                                              LONG_PTR lParam2) override;
    bool Running() const { return m_running; }

  protected:
    void FinalRelease() override;

  private:
    std::vector<IBaseFilter*> m_filters;
    bool m_running = false;
};

class ScriptedBuilder : public GraphBuilderBase {
  public:
    HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder* pfg) override;
    HRESULT STDMETHODCALLTYPE FindInterface(const GUID* pCategory, const GUID* pType,
                                            IBaseFilter* pf, REFIID riid, void** ppint) override;
    HRESULT STDMETHODCALLTYPE RenderStream(const GUID* pCategory, const GUID* pType,
                                           IUnknown* pSource, IBaseFilter* pfCompressor,
                                           IBaseFilter* pfRenderer) override;

  protected:
    bool CanBuildIn(IGraphBuilder*) const override { return true; }
};

class ScriptedMoniker : public ComObject<IMoniker> {
  public:
    explicit ScriptedMoniker(int device) : m_device(device) {}
    HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riidResult,
                                           void** ppvResult) override;
    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riid,
                                            void** ppvObj) override;

  private:
    int m_device;
};

// The shared moniker list and property bag, with their calls recorded.
class ScriptedMonikerList : public MonikerList {
  public:
    using MonikerList::MonikerList;
    HRESULT STDMETHODCALLTYPE Next(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) override {
        Record(LabelOf(this) + ".Next(" + std::to_string(celt) + ")");
        return MonikerList::Next(celt, rgelt, pceltFetched);
    }
};

class ScriptedNameBag : public FriendlyNameBag {
  public:
    using FriendlyNameBag::FriendlyNameBag;
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR pszPropName, VARIANT* pVar,
                                   IErrorLog* pErrorLog) override {
        Record(LabelOf(this) + ".Read(\"" +
               (pszPropName ? Utf16ToUtf8(pszPropName) : std::string("null")) +
               "\", vt=" + (pVar ? std::to_string(pVar->vt) : std::string("null")) + ")");
        return FriendlyNameBag::Read(pszPropName, pVar, pErrorLog);
    }
};

class ScriptedDevEnum : public ComObject<ICreateDevEnum> {
  public:
    HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID clsidDeviceClass,
                                                    IEnumMoniker** ppEnumMoniker,
                                                    DWORD dwFlags) override;
};

}  // namespace scripted_capture
