// An IEnumMoniker over a fixed list, shared by the capture drivers.
//
// Stands in for the class enumerator that ICreateDevEnum hands out. It holds
// one reference on each moniker until it goes; Next hands each one out once,
// with a reference of its own for the caller, and returns S_FALSE (with a
// fetched count of 0) after the last. Only one element a call is supported,
// as celt 1 is all the system asks for; more gives E_INVALIDARG.
#pragma once

#include <vector>

#include "platform/com/com_object.h"

class MonikerList : public ComObject<IEnumMoniker> {
  public:
    // Takes over the callers' reference on each moniker.
    explicit MonikerList(std::vector<IMoniker*> monikers);

    HRESULT STDMETHODCALLTYPE Next(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) override;

  protected:
    ~MonikerList() override;
    // Drops the references on the monikers.
    void FinalRelease() override;

  private:
    std::vector<IMoniker*> m_monikers;
    size_t m_next = 0;
};
