// An enumerator (IEnumPins, IEnumMediaTypes) over the one item that the test
// camera has of each: its pin, its media type. It holds its owner alive and
// asks it for a fresh item on every fetch.
#pragma once

#include <windows.h>

#include <new>

#include "tools/test_camera/test_camera.h"

template <class Interface, class Item>
class OneItemEnumerator final : public Interface {
  public:
    // Hands out a new reference or a new copy of the item.
    typedef HRESULT (*MakeItem)(IUnknown* owner, Item* item);

    static HRESULT Create(IUnknown* owner, MakeItem make, REFIID iid, Interface** out,
                          ULONG position = 0) {
        if (out == NULL) {
            return E_POINTER;
        }
        *out = new (std::nothrow) OneItemEnumerator(owner, make, iid, position);
        return *out != NULL ? S_OK : E_OUTOFMEMORY;
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (out == NULL) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, m_iid)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0) {
            delete this;
        }
        return refs;
    }

    STDMETHODIMP Next(ULONG count, Item* items, ULONG* fetched) override {
        if (items == NULL || (count > 1 && fetched == NULL)) {
            return E_POINTER;
        }
        ULONG done = 0;
        if (count > 0 && m_position == 0) {
            const HRESULT hr = m_make(m_owner, &items[0]);
            if (FAILED(hr)) {
                return hr;
            }
            m_position = 1;
            done = 1;
        }
        if (fetched != NULL) {
            *fetched = done;
        }
        return done == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        const ULONG left = 1 - m_position;
        m_position = count >= left ? 1 : m_position + count;
        return count <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        m_position = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(Interface** out) override {
        return Create(m_owner, m_make, m_iid, out, m_position);
    }

  private:
    OneItemEnumerator(IUnknown* owner, MakeItem make, REFIID iid, ULONG position)
        : m_refs(1), m_owner(owner), m_make(make), m_iid(iid), m_position(position) {
        m_owner->AddRef();
        LockModule();
    }
    ~OneItemEnumerator() {
        m_owner->Release();
        UnlockModule();
    }

    LONG m_refs;
    IUnknown* m_owner;
    MakeItem m_make;
    const IID& m_iid;
    ULONG m_position;  // 0 before the item, 1 after it
};
