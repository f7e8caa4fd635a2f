// CWnd: a window object over an HWND, and the window procedure that routes
// the window's messages through the object's message maps.
//
// Stands in for MFC's CWnd and AfxWndProc. An attached and subclassed window
// sends every message to CWnd::WindowProc; what the maps do not handle goes
// to the procedure the window had before (m_pfnSuper), as CWnd::Default does.
#include <afxwin.h>

#include "handle_maps.h"

#ifdef _WIN32
#include <string>
#include <vector>

#include "platform/crt/system_text.h"
#endif

namespace {

// On Windows the framework's windows stay wide (UTF-16) windows: an ANSI
// window procedure would pass their texts through the ANSI code page, which
// need not be the system's 932. Our window layer on Linux has ANSI windows only.
#ifdef _WIN32
const auto kSetWindowLongPtr = &::SetWindowLongPtrW;
const auto kCallWindowProc = &::CallWindowProcW;
const auto kDefWindowProc = &::DefWindowProcW;
#else
const auto kSetWindowLongPtr = &::SetWindowLongPtrA;
const auto kCallWindowProc = &::CallWindowProcA;
const auto kDefWindowProc = &::DefWindowProcA;
#endif

LONG_PTR SetWindowProc(HWND hWnd, WNDPROC proc) {
    return kSetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

}  // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL) {}

CWnd::~CWnd() {
    // An object that dies before its window lets the window go on alone.
    if (m_hWnd != NULL && afx::LookupPermanent(m_hWnd) == this) {
        if (m_pfnSuper != NULL && ::IsWindow(m_hWnd)) {
            SetWindowProc(m_hWnd, m_pfnSuper);
        }
        afx::DetachPermanent(m_hWnd);
    }
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd) {
    if (hWnd == NULL || !::IsWindow(hWnd)) {
        return NULL;
    }
    CWnd* pWnd = afx::LookupPermanent(hWnd);
    return pWnd != NULL ? pWnd : afx::TemporaryWnd(hWnd);
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd) {
    return afx::LookupPermanent(hWnd);
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (hWndNew == NULL || m_hWnd != NULL || afx::LookupPermanent(hWndNew) != NULL) {
        return FALSE;
    }
    m_hWnd = hWndNew;
    afx::AttachPermanent(hWndNew, this);
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != NULL) {
        afx::DetachPermanent(hWnd);
    }
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd)) {
        return FALSE;
    }
    m_pfnSuper = reinterpret_cast<WNDPROC>(SetWindowProc(hWnd, AfxWndProc));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND hWnd = pParent != NULL ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : NULL;
    return hWnd != NULL && SubclassWindow(hWnd);
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = afx::LookupPermanent(hWnd);
    if (pWnd == NULL) {
        return kDefWindowProc(hWnd, message, wParam, lParam);
    }
    LRESULT result;
    {
        afx::MessageScope scope({hWnd, message, wParam, lParam});
        result = pWnd->WindowProc(message, wParam, lParam);
    }
    if (message == WM_NCDESTROY && afx::LookupPermanent(hWnd) == pWnd) {
        // The window is gone: the object stays, detached.
        pWnd->m_pfnSuper = NULL;
        pWnd->Detach();
        pWnd->PostNcDestroy();
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProcA(message, wParam, lParam);
    }
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindEntry(message, 0, 0);
    if (entry == nullptr) {
        return FALSE;
    }
    *pResult = CallHandler(*entry, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr, nullptr);
}

LRESULT CWnd::DefWindowProcA(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != NULL) {
        return kCallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return kDefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const afx::CurrentMessage& msg = afx::Current();
    return DefWindowProcA(msg.message, msg.wParam, msg.lParam);
}

void CWnd::DoDataExchange(CDataExchange*) {}

void CWnd::PostNcDestroy() {}

void CWnd::OnPaint() {
    Default();
}

void CWnd::OnTimer(UINT_PTR) {
    Default();
}

void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}

HCURSOR CWnd::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(Default());
}

LRESULT CWnd::SendMessageA(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessageA(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    return ::EnableWindow(m_hWnd, bEnable);
}

BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd != NULL && ::DestroyWindow(m_hWnd);
}

DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE));
}

#ifdef _WIN32
// Texts in code page 932 whatever the ANSI code page (see system_text.h).
void CWnd::SetWindowTextA(LPCTSTR lpszString) {
    ::SetWindowTextW(m_hWnd, WideFromSystemText(lpszString).c_str());
}

int CWnd::GetWindowTextA(LPTSTR lpszStringBuf, int nMaxCount) const {
    if (lpszStringBuf == NULL || nMaxCount <= 0) {
        return 0;
    }
    std::vector<wchar_t> wide(static_cast<size_t>(::GetWindowTextLengthW(m_hWnd)) + 1);
    ::GetWindowTextW(m_hWnd, wide.data(), static_cast<int>(wide.size()));
    // Cut at a whole character, as GetWindowTextA does.
    const std::string text = SystemTextFromWide(wide.data());
    int length = 0;
    while (length < static_cast<int>(text.size())) {
        const int next = length + (::IsDBCSLeadByteEx(kSystemCodePage, text[length]) ? 2 : 1);
        if (next > nMaxCount - 1) {
            break;
        }
        length = next;
    }
    text.copy(lpszStringBuf, static_cast<size_t>(length));
    lpszStringBuf[length] = '\0';
    return length;
}
#else
void CWnd::SetWindowTextA(LPCTSTR lpszString) {
    ::SetWindowTextA(m_hWnd, lpszString);
}

int CWnd::GetWindowTextA(LPTSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}
#endif

CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    ::GetClientRect(m_hWnd, lpRect);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}

void CWnd::Invalidate(BOOL bErase) {
    ::InvalidateRect(m_hWnd, NULL, bErase);
}

void CWnd::UpdateWindow() {
    ::UpdateWindow(m_hWnd);
}

CDC* CWnd::GetDC() {
    HDC hDC = ::GetDC(m_hWnd);
    return hDC != NULL ? afx::TemporaryDC(hDC) : NULL;
}

int CWnd::ReleaseDC(CDC* pDC) {
    if (pDC == NULL) {
        return 0;
    }
    const int released = ::ReleaseDC(m_hWnd, pDC->m_hDC);
    afx::ReleaseTemporaryDC(pDC);
    return released;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse,
                        void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD)) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return ::KillTimer(m_hWnd, nIDEvent);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(::SendMessageA(
        m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

HICON CWnd::GetIcon(BOOL bBigIcon) const {
    return reinterpret_cast<HICON>(
        ::SendMessageA(m_hWnd, WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0));
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.m_failed ? FALSE : TRUE;
}
