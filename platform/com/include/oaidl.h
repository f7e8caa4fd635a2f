// BSTR, VARIANT and IPropertyBag of <oaidl.h>/<wtypes.h>, for Linux builds.
//
// Stands in for the automation types as far as reading a device's
// "FriendlyName" needs them. OLECHAR is the 16-bit WCHAR; a BSTR points at
// UTF-16 text preceded by its 4-byte byte length (SysAllocString makes one).
// VARIANT holds only the BSTR member; other variant types are not supported.
#pragma once

#include "unknwn.h"

typedef WCHAR OLECHAR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;
typedef OLECHAR* BSTR;
typedef USHORT VARTYPE;

enum VARENUM { VT_EMPTY = 0, VT_BSTR = 8 };

typedef struct tagVARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONGLONG llVal;
        BSTR bstrVal;
    };
} VARIANT;

struct IErrorLog;

extern const IID IID_IPropertyBag;

struct IPropertyBag : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Read(LPCOLESTR pszPropName, VARIANT* pVar,
                                           IErrorLog* pErrorLog) = 0;

  protected:
    ~IPropertyBag() = default;
};
