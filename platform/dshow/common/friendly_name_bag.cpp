// The "FriendlyName" property bag (see friendly_name_bag.h).
//
// Stands in for the device's registry-backed IPropertyBag. Limits: one
// property, read as VT_BSTR (or into a VT_EMPTY VARIANT); no error log.
#include <utility>

#include "platform/com/com_strings.h"
#include "platform/dshow/common/friendly_name_bag.h"

FriendlyNameBag::FriendlyNameBag(std::string utf8Name, HRESULT result)
    : m_name(std::move(utf8Name)), m_result(result) {}

HRESULT FriendlyNameBag::Read(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog*) {
    if (pszPropName == nullptr || pVar == nullptr) {
        return E_POINTER;
    }
    if (std::u16string(pszPropName) != u"FriendlyName" ||
        (pVar->vt != VT_BSTR && pVar->vt != VT_EMPTY)) {
        return E_INVALIDARG;
    }
    if (FAILED(m_result)) {
        return m_result;
    }
    BSTR name = SysAllocStringUtf8(m_name);
    if (name == nullptr) {
        return E_OUTOFMEMORY;
    }
    pVar->vt = VT_BSTR;
    pVar->bstrVal = name;
    return S_OK;
}
