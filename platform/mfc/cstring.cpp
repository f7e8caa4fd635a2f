// CString::LoadString (see afxstr.h).
//
// Stands in for MFC's loading of a string-table entry; limited to the
// program's own (linked) string table.
#include <afxstr.h>

#include <vector>

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
