// CDialog: modal dialogs from templates.
//
// Stands in for MFC's CDialog. DoModal runs the window layer's modal dialog
// (DialogBoxParam) with AfxDlgProc, which attaches the object to the new
// window and subclasses it at WM_INITDIALOG, then calls OnInitDialog. The
// owner is the parent given, else the application's main window (unless that
// is this dialog); the window layer disables it while the dialog runs.
#include <afxwin.h>

#include "handle_maps.h"

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
    return pDlg->OnInitDialog();
}

INT_PTR CDialog::DoModal() {
    HWND hOwner = m_pParentWnd != NULL ? m_pParentWnd->GetSafeHwnd() : NULL;
    if (hOwner == NULL) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain != NULL && pMain != this) {
            hOwner = pMain->GetSafeHwnd();
        }
    }
    const INT_PTR result = ::DialogBoxParamA(AfxGetResourceHandle(), m_lpszTemplateName, hOwner,
                                             AfxDlgProc, reinterpret_cast<LPARAM>(this));
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
