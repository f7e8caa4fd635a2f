// The objects of the scripted capture driver and the state they share with
// its test API (see scripted_devices.h).
//
// Stands in for the system device enumerator, monikers, property bags, the
// filter graph, the capture graph builder, the Sample Grabber, the Video
// Renderer, device filters and crossbars, recording every call. Limits: no
// streaming; RenderStream only marks the device and grabber connected.
#include <cstring>

#include <qedit.h>

#include "platform/dshow/common/friendly_name_bag.h"
#include "platform/dshow/common/media_types.h"
#include "platform/dshow/common/moniker_list.h"
#include "platform/dshow/scripted/scripted_objects.h"

namespace scripted_capture {

State& TheState() {
    static State state;
    return state;
}

void Record(const std::string& call) {
    TheState().calls.push_back(call);
}

std::string NextLabel(const std::string& className) {
    return className + "#" + std::to_string(++TheState().serials[className]);
}

namespace {

std::string Bool(BOOL value) {
    return value ? "TRUE" : "FALSE";
}

const Device* DeviceAt(int index) {
    const State& state = TheState();
    return index >= 0 && index < static_cast<int>(state.devices.size()) ? &state.devices[index]
                                                                        : nullptr;
}

}  // namespace

// --- crossbar ---------------------------------------------------------------

ScriptedCrossbar::ScriptedCrossbar(int device) : m_device(device) {}

HRESULT ScriptedCrossbar::get_PinCounts(LONG* OutputPinCount, LONG* InputPinCount) {
    const Device* device = DeviceAt(m_device);
    Record(LabelOf(this) + ".get_PinCounts()");
    if (OutputPinCount == nullptr || InputPinCount == nullptr) {
        return E_POINTER;
    }
    if (device != nullptr && !device->crossbar.countsWriteNothing) {
        *OutputPinCount = device->crossbar.outputPins;
        *InputPinCount = device->crossbar.inputPins;
    }
    return S_OK;
}

HRESULT ScriptedCrossbar::get_CrossbarPinInfo(BOOL IsInputPin, LONG PinIndex, LONG* PinIndexRelated,
                                              LONG* PhysicalType) {
    Record(LabelOf(this) + ".get_CrossbarPinInfo(" + Bool(IsInputPin) + ", " +
           std::to_string(PinIndex) + ")");
    const Device* device = DeviceAt(m_device);
    if (PinIndexRelated == nullptr || PhysicalType == nullptr) {
        return E_POINTER;
    }
    if (device == nullptr) {
        return E_FAIL;
    }
    const Crossbar& bar = device->crossbar;
    const LONG count = IsInputPin ? bar.inputPins : bar.outputPins;
    const std::vector<LONG>& types = IsInputPin ? bar.inputTypes : bar.outputTypes;
    if (PinIndex < 0 || PinIndex >= count) {
        return E_INVALIDARG;
    }
    *PinIndexRelated = 0;
    *PhysicalType = PinIndex < static_cast<LONG>(types.size()) ? types[PinIndex] : 0;
    return S_OK;
}

// --- filters ----------------------------------------------------------------

void ScriptedDeviceFilter::FinalRelease() {
    if (m_crossbar != nullptr) {
        m_crossbar->Release();
        m_crossbar = nullptr;
    }
}

IAMCrossbar* ScriptedDeviceFilter::Crossbar() {
    const Device* device = DeviceAt(m_device);
    if (device == nullptr || !device->hasCrossbar) {
        return nullptr;
    }
    if (m_crossbar == nullptr) {
        m_crossbar = Make<ScriptedCrossbar>("Crossbar:" + device->name, m_device);
    }
    return m_crossbar;
}

HRESULT ScriptedGrabber::SetMediaType(const AM_MEDIA_TYPE* pType) {
    if (pType == nullptr) {
        Record(LabelOf(this) + ".SetMediaType(null)");
        return E_POINTER;
    }
    const bool accepted = IsRgb24VideoType(*pType);
    Record(LabelOf(this) + ".SetMediaType(" +
           (accepted ? std::string("Video/RGB24") : std::string("other")) + ", fixed=" +
           Bool(pType->bFixedSizeSamples) + ", temporal=" + Bool(pType->bTemporalCompression) +
           ", sampleSize=" + std::to_string(pType->lSampleSize) +
           ", cbFormat=" + std::to_string(pType->cbFormat) + ")");
    return accepted ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT ScriptedGrabber::GetConnectedMediaType(AM_MEDIA_TYPE* pType) {
    Record(LabelOf(this) + ".GetConnectedMediaType()");
    if (pType == nullptr) {
        return E_POINTER;
    }
    const Device* device = DeviceAt(m_source);
    if (device == nullptr) {
        return VFW_E_NOT_CONNECTED;
    }
    return FillConnectedType(device->format, 0, pType);
}

HRESULT ScriptedGrabber::SetBufferSamples(BOOL BufferThem) {
    Record(LabelOf(this) + ".SetBufferSamples(" + Bool(BufferThem) + ")");
    m_buffering = BufferThem != FALSE;
    return S_OK;
}

HRESULT ScriptedGrabber::GetCurrentBuffer(LONG* pBufferSize, LONG* pBuffer) {
    Record(LabelOf(this) + ".GetCurrentBuffer(" +
           (pBufferSize ? std::to_string(*pBufferSize) : std::string("null")) + ")");
    if (pBufferSize == nullptr) {
        return E_POINTER;
    }
    const Device* device = DeviceAt(m_source);
    if (device == nullptr || !m_buffering || Graph() == nullptr || !Graph()->Running() ||
        device->frame.empty()) {
        return VFW_E_WRONG_STATE;
    }
    const LONG size = static_cast<LONG>(device->frame.size());
    if (pBuffer == nullptr) {
        *pBufferSize = size;
        return S_OK;
    }
    if (*pBufferSize < size) {
        return E_OUTOFMEMORY;
    }
    std::memcpy(pBuffer, device->frame.data(), device->frame.size());
    *pBufferSize = size;
    return S_OK;
}

// --- graph and builder ------------------------------------------------------

HRESULT ScriptedGraph::AddFilter(IBaseFilter* pFilter, LPCWSTR pName) {
    Record(LabelOf(this) + ".AddFilter(" + LabelOf(pFilter) + ", \"" +
           (pName ? Utf16ToUtf8(pName) : std::string("null")) + "\")");
    auto* filter = dynamic_cast<ScriptedFilter*>(pFilter);
    if (filter == nullptr) {
        return pFilter == nullptr ? E_POINTER : E_INVALIDARG;
    }
    if (filter->Graph() != nullptr) {
        return filter->Graph() == this ? S_OK : VFW_E_WRONG_STATE;
    }
    filter->JoinGraph(this);
    pFilter->AddRef();
    m_filters.push_back(pFilter);
    return S_OK;
}

HRESULT ScriptedGraph::Run() {
    Record(LabelOf(this) + ".Run()");
    m_running = true;
    return S_OK;
}

HRESULT ScriptedGraph::Stop() {
    Record(LabelOf(this) + ".Stop()");
    m_running = false;
    return S_OK;
}

HRESULT ScriptedGraph::GetEvent(long* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, long) {
    if (lEventCode == nullptr || lParam1 == nullptr || lParam2 == nullptr) {
        return E_POINTER;
    }
    auto& events = TheState().events;
    if (events.empty()) {
        *lEventCode = 0;
        return E_ABORT;
    }
    Record(LabelOf(this) + ".GetEvent() -> " + std::to_string(events.front()));
    *lEventCode = events.front();
    *lParam1 = *lEventCode == EC_ERRORABORT ? E_FAIL : S_OK;
    *lParam2 = 0;
    events.erase(events.begin());
    return S_OK;
}

HRESULT ScriptedGraph::FreeEventParams(long lEventCode, LONG_PTR, LONG_PTR) {
    Record(LabelOf(this) + ".FreeEventParams(" + std::to_string(lEventCode) + ")");
    return S_OK;
}

void ScriptedGraph::FinalRelease() {
    m_running = false;
    for (IBaseFilter* filter : m_filters) {
        dynamic_cast<ScriptedFilter*>(filter)->JoinGraph(nullptr);
        filter->Release();
    }
    m_filters.clear();
}

HRESULT ScriptedBuilder::SetFiltergraph(IGraphBuilder* pfg) {
    Record(LabelOf(this) + ".SetFiltergraph(" + LabelOf(pfg) + ")");
    return GraphBuilderBase::SetFiltergraph(pfg);
}

HRESULT ScriptedBuilder::FindInterface(const GUID* pCategory, const GUID* pType, IBaseFilter* pf,
                                       REFIID riid, void** ppint) {
    Record(LabelOf(this) + ".FindInterface(" +
           std::string(pCategory && IsEqualGUID(*pCategory, LOOK_UPSTREAM_ONLY)
                           ? "LOOK_UPSTREAM_ONLY"
                           : "other") +
           ", " + (pType ? "type" : "null") + ", " + LabelOf(pf) + ", " +
           (IsEqualIID(riid, IID_IAMCrossbar) ? "IID_IAMCrossbar" : "other") + ")");
    if (ppint == nullptr) {
        return E_POINTER;
    }
    *ppint = nullptr;
    auto* device = dynamic_cast<ScriptedDeviceFilter*>(pf);
    if (device == nullptr) {
        return E_POINTER;
    }
    IAMCrossbar* crossbar = IsEqualIID(riid, IID_IAMCrossbar) ? device->Crossbar() : nullptr;
    if (crossbar == nullptr) {
        return E_NOINTERFACE;
    }
    crossbar->AddRef();
    *ppint = crossbar;
    return S_OK;
}

HRESULT ScriptedBuilder::RenderStream(const GUID* pCategory, const GUID* pType, IUnknown* pSource,
                                      IBaseFilter* pfCompressor, IBaseFilter* pfRenderer) {
    Record(LabelOf(this) + ".RenderStream(" +
           std::string(pCategory && IsEqualGUID(*pCategory, PIN_CATEGORY_PREVIEW) ? "PREVIEW"
                                                                                  : "other") +
           ", " + (pType ? "type" : "null") + ", " + LabelOf(pSource) + ", " +
           LabelOf(pfCompressor) + ", " + LabelOf(pfRenderer) + ")");
    auto* device = pSource ? dynamic_cast<ScriptedDeviceFilter*>(pSource) : nullptr;
    auto* sink = dynamic_cast<ScriptedFilter*>(pfRenderer);
    if (Graph() == nullptr || device == nullptr || sink == nullptr) {
        return E_INVALIDARG;
    }
    auto* grabber = dynamic_cast<ScriptedGrabber*>(pfCompressor ? pfCompressor : pfRenderer);
    const Device* scripted = DeviceAt(device->DeviceIndex());
    if (device->Connected()) {
        return VFW_E_ALREADY_CONNECTED;
    }
    if (scripted == nullptr || !scripted->connects) {
        return VFW_E_CANNOT_CONNECT;
    }
    device->SetConnected();
    if (grabber != nullptr) {
        grabber->ConnectTo(device->DeviceIndex());
    }
    return S_OK;
}

// --- enumeration ------------------------------------------------------------

HRESULT ScriptedMoniker::BindToObject(IBindCtx*, IMoniker*, REFIID riid, void** ppv) {
    const Device* device = DeviceAt(m_device);
    Record(LabelOf(this) + ".BindToObject(" +
           (IsEqualIID(riid, IID_IBaseFilter) ? "IID_IBaseFilter" : "other") + ")");
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (device == nullptr) {
        return E_FAIL;
    }
    if (FAILED(device->bindResult)) {
        return device->bindResult;
    }
    return HandOut(Make<ScriptedDeviceFilter>("DeviceFilter:" + device->name, m_device), riid, ppv);
}

HRESULT ScriptedMoniker::BindToStorage(IBindCtx*, IMoniker*, REFIID riid, void** ppv) {
    const Device* device = DeviceAt(m_device);
    Record(LabelOf(this) + ".BindToStorage(" +
           (IsEqualIID(riid, IID_IPropertyBag) ? "IID_IPropertyBag" : "other") + ")");
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (device == nullptr) {
        return E_FAIL;
    }
    return HandOut(
        Make<ScriptedNameBag>("PropertyBag:" + device->name, device->name, device->nameResult),
        riid, ppv);
}

HRESULT ScriptedDevEnum::CreateClassEnumerator(REFCLSID clsidDeviceClass,
                                               IEnumMoniker** ppEnumMoniker, DWORD dwFlags) {
    const bool video = IsEqualGUID(clsidDeviceClass, CLSID_VideoInputDeviceCategory);
    Record(LabelOf(this) + ".CreateClassEnumerator(" +
           (video ? "CLSID_VideoInputDeviceCategory" : "other") + ", " + std::to_string(dwFlags) +
           ")");
    if (ppEnumMoniker == nullptr) {
        return E_POINTER;
    }
    *ppEnumMoniker = nullptr;
    const std::vector<Device>& devices = TheState().devices;
    if (!video || devices.empty()) {
        return S_FALSE;
    }
    std::vector<IMoniker*> monikers;
    for (size_t i = 0; i < devices.size(); ++i) {
        monikers.push_back(
            Make<ScriptedMoniker>("Moniker:" + devices[i].name, static_cast<int>(i)));
    }
    *ppEnumMoniker = Make<ScriptedMonikerList>(NextLabel("ClassEnumerator"), std::move(monikers));
    return S_OK;
}

}  // namespace scripted_capture
