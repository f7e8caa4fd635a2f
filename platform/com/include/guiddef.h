// GUIDs, IIDs and CLSIDs of <guiddef.h>, for Linux builds of the system's code.
//
// Stands in for the Windows SDK header: the 16-byte GUID with the Windows field
// layout, the by-reference typedefs that COM signatures use, and equality.
// Named GUIDs are declared extern by the headers of the interfaces they belong
// to and defined once in our COM and media libraries (as uuid.lib does).
#pragma once

#include <cstring>

#include "windef.h"

typedef struct _GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
} GUID;

typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)
inline bool operator==(REFGUID a, REFGUID b) {
    return IsEqualGUID(a, b);
}
inline bool operator!=(REFGUID a, REFGUID b) {
    return !IsEqualGUID(a, b);
}

static_assert(sizeof(GUID) == 16, "GUID is 16 bytes");
