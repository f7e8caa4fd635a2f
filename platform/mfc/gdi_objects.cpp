// CMenu, CDC and CPaintDC: thin objects over HMENU and HDC.
//
// Stands in for MFC's wrappers of the system menu and of device contexts.
// CMenu::FromHandle gives one object per menu handle, kept for the life of
// the program (menus here are system menus only, a handful at most).
#include <afxwin.h>

#include "handle_maps.h"

#ifdef _WIN32
#include "platform/crt/system_text.h"
#endif

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu) {
    if (hMenu == NULL) {
        return NULL;
    }
    static std::map<HMENU, std::unique_ptr<CMenu>> menus;
    return afx::FindOrMake(menus, hMenu, &CMenu::m_hMenu);
}

BOOL CMenu::AppendMenuA(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
#ifdef _WIN32
    // A text entry's text is code page 932, whatever the ANSI code page.
    if ((nFlags & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR)) == 0 && lpszNewItem != NULL) {
        return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, WideFromSystemText(lpszNewItem).c_str());
    }
#endif
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    return ::DrawIcon(m_hDC, x, y, hIcon);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_ps(), m_hWnd(pWnd->m_hWnd) {
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
}
