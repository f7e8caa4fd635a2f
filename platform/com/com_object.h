// Reference counting and QueryInterface for the objects of our COM layer.
//
// Stands in for what ATL's CComObject gives a Windows COM class: a class lists
// the interfaces it implements, ComObject<...> counts references (starting at
// one, the creator's) and answers QueryInterface for IUnknown and for every
// listed interface, by the IID that InterfaceId<> gives for it. The object is
// deleted when its last reference goes (after FinalRelease has dropped what it
// holds), unless a subclass overrides LastReferenceGone.
// No aggregation, no tear-offs. Counts are atomic: streaming threads may hold
// references too.
#pragma once

#include <atomic>

#include <objbase.h>

// The IID of an interface, where the Windows compilers have __uuidof: each
// interface that a ComObject lists has one, declared next to its IID's library.
template <class Interface>
struct InterfaceId;

template <>
struct InterfaceId<IPropertyBag> {
    static const IID& Value() { return IID_IPropertyBag; }
};
template <>
struct InterfaceId<IMoniker> {
    static const IID& Value() { return IID_IMoniker; }
};
template <>
struct InterfaceId<IEnumMoniker> {
    static const IID& Value() { return IID_IEnumMoniker; }
};

template <class First, class... Rest>
class ComObject : public First, public Rest... {
  public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr) {
            return E_POINTER;
        }
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown)) {
            *ppv = static_cast<IUnknown*>(static_cast<First*>(this));
        } else if (!(Answers<First>(riid, ppv) || (Answers<Rest>(riid, ppv) || ...))) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = --m_refs;
        if (left == 0) {
            FinalRelease();
            LastReferenceGone();
        }
        return static_cast<ULONG>(left);
    }

    // The count as it stands (negative after a release too many, for objects
    // that outlive their last reference).
    LONG References() const { return m_refs; }

  protected:
    ComObject() = default;
    virtual ~ComObject() = default;

    // Drops what the object holds on others, when its last reference goes.
    virtual void FinalRelease() {}
    // Frees the object; a subclass that must stay inspectable overrides it.
    virtual void LastReferenceGone() { delete this; }

  private:
    // Hands this object out as `Interface` when `riid` names it.
    template <class Interface>
    bool Answers(REFIID riid, void** ppv) {
        if (!IsEqualIID(riid, InterfaceId<Interface>::Value())) {
            return false;
        }
        *ppv = static_cast<Interface*>(this);
        return true;
    }

    std::atomic<LONG> m_refs{1};
};

// Hands `object` out as `riid` through `ppv` and drops the creator's reference:
// on success the caller holds the only reference, on failure the object is gone.
template <class Object>
HRESULT HandOut(Object* object, REFIID riid, void** ppv) {
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}
