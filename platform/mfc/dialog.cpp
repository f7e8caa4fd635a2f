// CDialog: modal dialogs from templates.
//
// Stands in for MFC's CDialog. DoModal runs the window layer's modal dialog
// (DialogBoxParam) with AfxDlgProc, which attaches the object to the new
// window and subclasses it at WM_INITDIALOG, then calls OnInitDialog. The
// owner is the parent given, else the application's main window (unless that
// is this dialog); the window layer disables it while the dialog runs.
//
// On Windows the dialog is made a wide window (DialogBoxParamW), so that its
// texts are the template's UTF-16 ones whatever the ANSI code page is.
//
// A template at (0, 0) is centred: on Linux the window layer places it so;
// the real DialogBoxParam does not, so on Windows AfxDlgProc centres such a
// dialog after OnInitDialog, over its owner when that is visible and not
// minimised, else in the work area of its monitor (unless OnInitDialog moved
// or showed it).
#include <afxwin.h>

#include "handle_maps.h"

#ifdef _WIN32
#include <string>

#include "platform/centred_place.h"
#include "platform/crt/system_text.h"

namespace {

// Whether the dialog template `name` places the dialog at (0, 0).
bool TemplateAtOrigin(LPCTSTR name) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, name, MAKEINTRESOURCEA(5));  // RT_DIALOG
    HGLOBAL loaded = found != NULL ? ::LoadResource(module, found) : NULL;
    const BYTE* bytes = static_cast<const BYTE*>(loaded != NULL ? ::LockResource(loaded) : NULL);
    if (bytes == NULL) {
        return false;
    }
    // An extended template starts with version 1 and 0xFFFF; x and y follow
    // the style words and the control count.
    const bool extended = bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF;
    const BYTE* position = bytes + (extended ? 18 : 10);
    return position[0] == 0 && position[1] == 0 && position[2] == 0 && position[3] == 0;
}

void CentreDialog(HWND hWnd) {
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    MONITORINFO monitor;
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT work = monitor.rcWork;
    RECT area = work;
    HWND owner = ::GetWindow(hWnd, GW_OWNER);
    if (owner != NULL && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &area);
    }
    const POINT place = CentredPlace(area, work, rect.right - rect.left, rect.bottom - rect.top);
    ::SetWindowPos(hWnd, NULL, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace
#endif

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate),
      m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)),
      m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_nIDHelp(0), m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    if (m_hWnd != NULL && ::IsWindow(m_hWnd)) {
        ::DestroyWindow(m_hWnd);
    }
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG) {
        return FALSE;  // everything else went through the object's maps already
    }
    CDialog* pDlg = reinterpret_cast<CDialog*>(lParam);
    if (pDlg == NULL || !pDlg->SubclassWindow(hWnd)) {
        return TRUE;
    }
    afx::MessageScope scope({hWnd, message, wParam, lParam});
#ifdef _WIN32
    RECT before;
    ::GetWindowRect(hWnd, &before);
    const BOOL result = pDlg->OnInitDialog();
    RECT after;
    if (::IsWindow(hWnd) && !::IsWindowVisible(hWnd) && ::GetWindowRect(hWnd, &after) &&
        after.left == before.left && after.top == before.top &&
        TemplateAtOrigin(pDlg->m_lpszTemplateName)) {
        CentreDialog(hWnd);
    }
    return result;
#else
    return pDlg->OnInitDialog();
#endif
}

INT_PTR CDialog::DoModal() {
    HWND hOwner = m_pParentWnd != NULL ? m_pParentWnd->GetSafeHwnd() : NULL;
    if (hOwner == NULL) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain != NULL && pMain != this) {
            hOwner = pMain->GetSafeHwnd();
        }
    }
#ifdef _WIN32
    // A wide dialog keeps the template's UTF-16 texts as they are; an ANSI one
    // may get them through the ANSI code page (so Wine does).
    const std::wstring name = IS_INTRESOURCE(m_lpszTemplateName)
                                  ? std::wstring()
                                  : WideFromSystemText(m_lpszTemplateName);
    const INT_PTR result = ::DialogBoxParamW(AfxGetResourceHandle(),
                                             IS_INTRESOURCE(m_lpszTemplateName)
                                                 ? reinterpret_cast<LPCWSTR>(m_lpszTemplateName)
                                                 : name.c_str(),
                                             hOwner, AfxDlgProc, reinterpret_cast<LPARAM>(this));
#else
    const INT_PTR result = ::DialogBoxParamA(AfxGetResourceHandle(), m_lpszTemplateName, hOwner,
                                             AfxDlgProc, reinterpret_cast<LPARAM>(this));
#endif
    // The window is destroyed by now; drop what the handle maps still hold.
    if (m_hWnd != NULL) {
        Detach();
    }
    afx::PurgeTemporaries();
    return result;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;  // the dialog manager focuses the first tab stop
}

void CDialog::EndDialog(int nResult) {
    ::EndDialog(m_hWnd, nResult);
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
        return TRUE;
    }
    // Commands (not notifications, not system commands) that the dialog
    // leaves get a last chance at the application object.
    if (nCode != CN_COMMAND || nID >= 0xF000) {
        return FALSE;
    }
    CWinThread* pThread = AfxGetThread();
    return pThread != NULL && pThread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
