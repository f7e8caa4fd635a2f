// The moniker enumerator (see moniker_list.h).
//
// Stands in for the IEnumMoniker of the system device enumerator. Limits: Next
// with one element a call only; no Skip, Reset or Clone.
#include <utility>

#include "platform/dshow/common/moniker_list.h"

MonikerList::MonikerList(std::vector<IMoniker*> monikers) : m_monikers(std::move(monikers)) {}

MonikerList::~MonikerList() {
    FinalRelease();
}

void MonikerList::FinalRelease() {
    for (IMoniker* moniker : m_monikers) {
        moniker->Release();
    }
    m_monikers.clear();
}

HRESULT MonikerList::Next(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) {
    if (rgelt == nullptr) {
        return E_POINTER;
    }
    if (celt != 1) {
        return E_INVALIDARG;
    }
    if (m_next >= m_monikers.size()) {
        rgelt[0] = nullptr;
        if (pceltFetched != nullptr) {
            *pceltFetched = 0;
        }
        return S_FALSE;
    }
    rgelt[0] = m_monikers[m_next++];
    rgelt[0]->AddRef();
    if (pceltFetched != nullptr) {
        *pceltFetched = 1;
    }
    return S_OK;
}
