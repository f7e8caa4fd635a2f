// CDataExchange and DDX_Control: binding control objects to dialog controls.
//
// Stands in for MFC's dialog data exchange as the system uses it: only
// DDX_Control, which attaches (and subclasses) the control object the first
// time. A missing control is reported on stderr, as MFC's debug build traces
// it; the object then stays detached and the exchange counts as failed.
#include <afxwin.h>

#include <cstdio>

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWndCtrl = m_pDlgWnd != NULL ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : NULL;
    if (hWndCtrl == NULL) {
        std::fprintf(stderr, "DDX_Control: the dialog has no control with id %d\n", nIDC);
        Fail();
    }
    return hWndCtrl;
}

void CDataExchange::Fail() {
    m_failed = true;
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != NULL) {
        return;
    }
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl != NULL && !rControl.SubclassWindow(hWndCtrl)) {
        std::fprintf(stderr, "DDX_Control: control %d is already attached to an object\n", nIDC);
        pDX->Fail();
    }
}
