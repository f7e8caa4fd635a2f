// CWinThread and CWinApp: the application object and the framework's start.
//
// Stands in for MFC's application object: the one CWinApp of the program is a
// static object that registers itself when it is constructed; AfxWinMain runs
// its InitInstance, and a FALSE result ends the program without a message
// loop (ExitInstance gives the exit code), while TRUE runs the message loop
// until WM_QUIT. Before that, AfxWinMain checks that the window system can
// start, so that a program without a display ends with a clear message and
// exit code 1 instead of opening nothing.
#include <afxdisp.h>
#include <afxwin.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

CWinApp* g_app = NULL;
bool g_controlContainer = false;

}  // namespace

// ---- CWinThread ----

CWinThread::CWinThread() : m_pMainWnd(NULL) {}

BOOL CWinThread::InitInstance() {
    return FALSE;
}

int CWinThread::ExitInstance() {
    return 0;
}

int CWinThread::Run() {
    MSG msg;
    while (::GetMessageA(&msg, NULL, 0, 0)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    const int code = ExitInstance();
    return msg.wParam != 0 && code == 0 ? static_cast<int>(msg.wParam) : code;
}

// ---- CWinApp ----

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(lpszAppName), m_hInstance(NULL) {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = NULL;
    }
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

HICON CWinApp::LoadIconA(UINT nIDResource) const {
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource));
}

HICON CWinApp::LoadIconA(LPCTSTR lpszResourceName) const {
    return ::LoadIconA(AfxGetResourceHandle(), lpszResourceName);
}

BOOL CWinApp::Enable3dControls() {
    return TRUE;
}

BOOL CWinApp::Enable3dControlsStatic() {
    return TRUE;
}

void CWinApp::OnHelp() {
    ::MessageBoxA(m_pMainWnd != NULL ? m_pMainWnd->GetSafeHwnd() : NULL,
                  "No help is available for this program.", m_pszAppName,
                  MB_OK | MB_ICONINFORMATION);
}

CWinApp* AFXAPI AfxGetApp() {
    return g_app;
}

CWinThread* AFXAPI AfxGetThread() {
    return g_app;
}

CWnd* AFXAPI AfxGetMainWnd() {
    return g_app != NULL ? g_app->m_pMainWnd : NULL;
}

HINSTANCE AFXAPI AfxGetInstanceHandle() {
    return ::GetModuleHandleA(NULL);
}

HINSTANCE AFXAPI AfxGetResourceHandle() {
    return ::GetModuleHandleA(NULL);
}

void AFXAPI AfxEnableControlContainer(COccManager*) {
    g_controlContainer = true;
}

BOOL AfxControlContainerEnabled() {
    return g_controlContainer ? TRUE : FALSE;
}

int AFXAPI AfxWinMain(int argc, char** argv) {
    CWinApp* app = AfxGetApp();
    if (app == NULL) {
        std::fprintf(stderr, "no application object: the program defines no CWinApp\n");
        return 1;
    }
    // With no name given the application is called after its executable,
    // without folder ('/' or '\\') or ".exe".
    static std::string s_appName;
    if (app->m_pszAppName == NULL) {
        s_appName = argc > 0 && argv[0] != NULL ? argv[0] : "";
        s_appName.erase(0, s_appName.find_last_of("/\\") + 1);
        const std::size_t dot = s_appName.rfind('.');
        if (dot != std::string::npos && s_appName.size() - dot == 4 &&
            std::tolower(static_cast<unsigned char>(s_appName[dot + 1])) == 'e' &&
            std::tolower(static_cast<unsigned char>(s_appName[dot + 2])) == 'x' &&
            std::tolower(static_cast<unsigned char>(s_appName[dot + 3])) == 'e') {
            s_appName.erase(dot);
        }
        app->m_pszAppName = s_appName.c_str();
    }
    app->m_hInstance = AfxGetInstanceHandle();
    if (::GetSystemMetrics(SM_CXSCREEN) <= 0) {
        return 1;  // the window driver has said why on stderr
    }
    if (!app->InitInstance()) {
        if (app->m_pMainWnd != NULL && app->m_pMainWnd->GetSafeHwnd() != NULL) {
            app->m_pMainWnd->DestroyWindow();
        }
        return app->ExitInstance();
    }
    return app->Run();
}
