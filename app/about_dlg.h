// The About box: icon, title and version, one more line, and OK.
#pragma once

#include "resource.h"

class CAboutDlg : public CDialog {
  public:
    CAboutDlg();
    virtual ~CAboutDlg();

    enum { IDD = IDD_ABOUTBOX };

  protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    DECLARE_MESSAGE_MAP()
};
