// The one application object and its start-up.
#include "stdafx.h"

#include "app/camouflage_app.h"
#include "app/camouflage_dlg.h"

BEGIN_MESSAGE_MAP(CCamouflageApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CCamouflageApp::CCamouflageApp() {}

CCamouflageApp::~CCamouflageApp() {}

// Exists before the framework's entry point runs, which calls InitInstance.
CCamouflageApp theApp;

BOOL CCamouflageApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CCamouflageDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // The window is gone; the object goes at the end of this scope, and with it
    // everything it owns (camera, images). Nothing may reach it through here.
    m_pMainWnd = NULL;
    return FALSE;
}
