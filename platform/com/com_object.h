// Reference counting and QueryInterface for the objects of our COM layer.
//
// Stands in for what ATL's CComObject gives a Windows COM class: a class lists
// the interfaces it implements, ComObject<...> counts references (starting at
// one, the creator's) and answers QueryInterface for IUnknown and for every
// listed interface that the class names in InterfaceFor(). The object is deleted
// when its last reference goes (after FinalRelease has dropped what it holds),
// unless a subclass overrides LastReferenceGone.
// No aggregation, no tear-offs. Counts are atomic: streaming threads may hold
// references too.
#pragma once

#include <atomic>

#include <objbase.h>

template <class First, class... Rest>
class ComObject : public First, public Rest... {
  public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr) {
            return E_POINTER;
        }
        *ppv = IsEqualIID(riid, IID_IUnknown) ? static_cast<IUnknown*>(static_cast<First*>(this))
                                              : InterfaceFor(riid);
        if (*ppv == nullptr) {
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

    // The interface pointer for `riid`, or null; IUnknown is handled above.
    virtual void* InterfaceFor(REFIID riid) = 0;
    // Drops what the object holds on others, when its last reference goes.
    virtual void FinalRelease() {}
    // Frees the object; test objects override this to stay inspectable.
    virtual void LastReferenceGone() { delete this; }

  private:
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
