// CString::LoadString (see afxstr.h).
//
// Stands in for MFC's loading of a string-table entry; limited to the
// program's own (linked) string table.
#include <afxstr.h>

#include <vector>

#ifdef _WIN32
#include "platform/crt/system_text.h"

// The string table holds UTF-16: the entry comes out in the system's code
// page, whatever the ANSI code page of this Windows is.
BOOL CString::LoadStringA(UINT nID) {
    const wchar_t* text = nullptr;
    // A length of 0 asks for a read-only pointer into the resource itself.
    const int length =
        ::LoadStringW(::GetModuleHandleA(NULL), nID, reinterpret_cast<LPWSTR>(&text), 0);
    m_str = length > 0 ? SystemTextFromWide(std::wstring(text, length).c_str()) : std::string();
    return m_str.empty() ? FALSE : TRUE;
}
#else
BOOL CString::LoadStringA(UINT nID) {
    // Grows the buffer until the whole string fits, as MFC does.
    for (int size = 256;; size *= 2) {
        std::vector<char> buffer(size);
        const int length = ::LoadStringA(::GetModuleHandleA(NULL), nID, buffer.data(), size);
        if (length < size - 1) {
            m_str.assign(buffer.data(), length);
            return length > 0 ? TRUE : FALSE;
        }
    }
}
#endif
