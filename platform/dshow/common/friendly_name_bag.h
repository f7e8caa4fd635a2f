// The property bag of a device moniker, shared by the capture drivers.
//
// Stands in for the device's registry-backed property bag with one property,
// "FriendlyName", read as a VT_BSTR. Reading any other name, or a VARIANT type
// other than VT_BSTR or VT_EMPTY, fails and leaves the VARIANT as it was.
#pragma once

#include <string>

#include "platform/com/com_object.h"

class FriendlyNameBag : public ComObject<IPropertyBag> {
  public:
    // `result` is what Read returns for "FriendlyName" (a failure writes nothing).
    explicit FriendlyNameBag(std::string utf8Name, HRESULT result = S_OK);

    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR pszPropName, VARIANT* pVar,
                                   IErrorLog* pErrorLog) override;

  protected:
  private:
    std::string m_name;
    HRESULT m_result;
};
