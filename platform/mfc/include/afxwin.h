// The application framework's core (<afxwin.h>), for Linux builds and, over
// the real Win32 API, for the Windows build (mingw has no framework).
//
// Stands in for the part of MFC 4.2 that a dialog-based program uses, written
// over the window API (on Linux our window layer, platform/win32): CWinApp with InitInstance and
// m_pMainWnd; CWnd (handles, messages, timers, painting, the system menu);
// CDialog built from a template with DoModal, OnInitDialog, OnOK, OnCancel,
// EndDialog and data exchange; CButton, CStatic, CMenu, CDC, CPaintDC,
// CString and DDX_Control; and message maps (BEGIN_MESSAGE_MAP ...
// END_MESSAGE_MAP with ON_WM_PAINT, ON_WM_TIMER, ON_WM_SYSCOMMAND,
// ON_WM_QUERYDRAGICON, ON_BN_CLICKED, ON_COMMAND, ON_MESSAGE). A message is
// looked up in the class's map, then in its base classes' maps, and what no
// map handles goes to CWnd::Default (the window's default procedure).
// Commands that a dialog does not handle go on to the application object.
//
// The entry point: the program links the target mfc_main, whose main() runs
// the one static CWinApp object's InitInstance (and Run when that returns
// TRUE), as the framework's WinMain does on Windows.
//
// Narrow texts are code page 932 (Shift-JIS), the system's own: on Windows
// the string table and menu entries go through the wide functions, so that
// they read right whatever the ANSI code page is (platform/crt/system_text.h).
// A dialog template at (0, 0) is centred, over its owner when that is
// visible, else in the work area (on Linux the window layer places it so
// when it builds the dialog; on Windows CDialog moves it after OnInitDialog).
//
// Limits: ANSI build only; one thread; no document/view, no OLE, no
// exceptions (a failed DDX_Control reports on stderr and leaves the control
// detached); handler maps take the member names unqualified, as MFC 4.2
// source does (ON_BN_CLICKED(IDC_START, OnStart), ON_COMMAND(ID_HELP,
// CWinApp::OnHelp)).
#pragma once

#include <windows.h>

#include <cstring>

#include "afxres.h"
#include "afxstr.h"

#define AFXAPI
#define AFX_CDECL
#define afx_msg
#define AFX_MSG_CALL

#ifdef _DEBUG
#include <cassert>
#define ASSERT(f) assert(f)
#define VERIFY(f) assert(f)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#endif
#define TRACE(...) ((void)0)

class CCmdTarget;
class CWnd;
class CDC;
class CMenu;
class CDataExchange;
class CWinApp;

// ---- Message maps -----------------------------------------------------------

typedef void (AFX_MSG_CALL CCmdTarget::*AFX_PMSG)(void);

// The handler signatures that message-map entries can have.
enum AfxSig : UINT_PTR {
    AfxSig_end = 0,
    AfxSig_vv,   // void ()           (window messages and commands)
    AfxSig_vw,   // void (UINT)
    AfxSig_vp,   // void (UINT_PTR)
    AfxSig_vwl,  // void (UINT, LPARAM)
    AfxSig_hv,   // HCURSOR ()
    AfxSig_lwl,  // LRESULT (WPARAM, LPARAM)
    AfxSigCmd_v = AfxSig_vv,
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_*
    UINT nCode;     // control notification code or CN_COMMAND
    UINT nID;       // control id (or 0 for window messages)
    UINT nLastID;   // last id of a range
    UINT_PTR nSig;  // AfxSig
    AFX_PMSG pfn;   // the handler
};

struct AFX_MSGMAP {
    const AFX_MSGMAP*(PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define CN_COMMAND 0

// A handler of any supported signature, kept as AFX_PMSG. The bytes are
// copied back into the same type before the call (see the dispatcher), so the
// conversion never changes how the handler is called.
template <class Pmf>
inline AFX_PMSG AfxPmsgOf(Pmf pmf) {
    static_assert(sizeof(Pmf) == sizeof(AFX_PMSG), "member function pointers have one size");
    AFX_PMSG out;
    std::memcpy(&out, &pmf, sizeof out);
    return out;
}

template <class T>
inline AFX_MSGMAP_ENTRY AfxEntry(UINT msg, UINT code, UINT id, void (T::*f)()) {
    return {msg, code, id, id, AfxSig_vv, AfxPmsgOf(static_cast<void (CCmdTarget::*)()>(f))};
}
template <class T>
inline AFX_MSGMAP_ENTRY AfxEntry(UINT msg, UINT code, UINT id, void (T::*f)(UINT)) {
    return {msg, code, id, id, AfxSig_vw, AfxPmsgOf(static_cast<void (CCmdTarget::*)(UINT)>(f))};
}
template <class T>
inline AFX_MSGMAP_ENTRY AfxEntry(UINT msg, UINT code, UINT id, void (T::*f)(UINT_PTR)) {
    return {msg, code,      id,
            id,  AfxSig_vp, AfxPmsgOf(static_cast<void (CCmdTarget::*)(UINT_PTR)>(f))};
}
template <class T>
inline AFX_MSGMAP_ENTRY AfxEntry(UINT msg, UINT code, UINT id, void (T::*f)(UINT, LPARAM)) {
    return {msg, code,       id,
            id,  AfxSig_vwl, AfxPmsgOf(static_cast<void (CCmdTarget::*)(UINT, LPARAM)>(f))};
}
template <class T>
inline AFX_MSGMAP_ENTRY AfxEntry(UINT msg, UINT code, UINT id, HCURSOR (T::*f)()) {
    return {msg, code, id, id, AfxSig_hv, AfxPmsgOf(static_cast<HCURSOR (CCmdTarget::*)()>(f))};
}
template <class T>
inline AFX_MSGMAP_ENTRY AfxEntry(UINT msg, UINT code, UINT id, LRESULT (T::*f)(WPARAM, LPARAM)) {
    return {msg, code,       id,
            id,  AfxSig_lwl, AfxPmsgOf(static_cast<LRESULT (CCmdTarget::*)(WPARAM, LPARAM)>(f))};
}

#define DECLARE_MESSAGE_MAP()                            \
  protected:                                             \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap(); \
    virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)               \
    const AFX_MSGMAP* theClass::GetMessageMap() const {      \
        return GetThisMessageMap();                          \
    }                                                        \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() { \
        using ThisClass [[maybe_unused]] = theClass;         \
        using TheBaseClass = baseClass;                      \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                         \
    { 0, 0, 0, 0, AfxSig_end, nullptr }                                                           \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                           \
    }

#define ON_WM_PAINT() AfxEntry(WM_PAINT, 0, 0, &ThisClass::OnPaint),
#define ON_WM_TIMER() AfxEntry(WM_TIMER, 0, 0, &ThisClass::OnTimer),
#define ON_WM_SYSCOMMAND() AfxEntry(WM_SYSCOMMAND, 0, 0, &ThisClass::OnSysCommand),
#define ON_WM_QUERYDRAGICON() AfxEntry(WM_QUERYDRAGICON, 0, 0, &ThisClass::OnQueryDragIcon),
#define ON_COMMAND(id, memberFxn) AfxEntry(WM_COMMAND, CN_COMMAND, (id), &ThisClass::memberFxn),
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    AfxEntry(WM_COMMAND, (wNotifyCode), (id), &ThisClass::memberFxn),
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_MESSAGE(message, memberFxn) AfxEntry((message), 0, 0, &ThisClass::memberFxn),

// ---- Objects ------------------------------------------------------------------

class CObject {
  public:
    virtual ~CObject() = default;

  protected:
    CObject() = default;

  private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

class CCmdTarget : public CObject {
  public:
    // Looks the command (nCode, nID) up in this object's message maps and
    // calls its handler. pExtra and pHandlerInfo are not used.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

  protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The first entry of the maps (this class first, then its bases) that
    // takes (message, code, id); nullptr for none.
    const AFX_MSGMAP_ENTRY* FindEntry(UINT message, UINT code, UINT id) const;
    // Calls entry's handler with the message's arguments.
    LRESULT CallHandler(const AFX_MSGMAP_ENTRY& entry, WPARAM wParam, LPARAM lParam);
};

// ---- Windows -------------------------------------------------------------------

class CWnd : public CCmdTarget {
  public:
    CWnd();
    virtual ~CWnd();

    HWND m_hWnd;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object attached to hWnd; a temporary object when none is, which
    // lives until its window is destroyed.
    static CWnd* PASCAL FromHandle(HWND hWnd);
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Attaches and routes the window's messages through this object's maps.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);

    LRESULT SendMessageA(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessageA(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL DestroyWindow();
    DWORD GetStyle() const;
    void SetWindowTextA(LPCTSTR lpszString);
    int GetWindowTextA(LPTSTR lpszStringBuf, int nMaxCount) const;
    CWnd* SetFocus();

    void GetClientRect(LPRECT lpRect) const;
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void Invalidate(BOOL bErase = TRUE);
    void UpdateWindow();
    CDC* GetDC();
    int ReleaseDC(CDC* pDC);

    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse,
                      void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD));
    BOOL KillTimer(UINT_PTR nIDEvent);

    CMenu* GetSystemMenu(BOOL bRevert) const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // The window's default processing of the message being handled.
    LRESULT Default();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProcA(UINT message, WPARAM wParam, LPARAM lParam);

  protected:
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void PostNcDestroy();

    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg HCURSOR OnQueryDragIcon();

    WNDPROC m_pfnSuper;  // the window's procedure before it was subclassed

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class CDataExchange;
    DECLARE_MESSAGE_MAP()
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

class CButton : public CWnd {
  public:
    CButton() = default;
};

class CStatic : public CWnd {
  public:
    CStatic() = default;
};

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual ~CDialog();

    // Builds the dialog from its template, runs OnInitDialog, and dispatches
    // messages until EndDialog; the window (and its timers) is destroyed
    // before it returns. IDOK or IDCANCEL (or EndDialog's value); -1 when the
    // dialog could not be built.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    void EndDialog(int nResult);

  protected:
    virtual void OnOK();
    virtual void OnCancel();
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

    UINT m_nIDHelp;
    LPCTSTR m_lpszTemplateName;
    CWnd* m_pParentWnd;

    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Menus and device contexts -------------------------------------------------

class CMenu : public CObject {
  public:
    CMenu() : m_hMenu(NULL) {}
    HMENU m_hMenu;
    HMENU GetSafeHmenu() const { return m_hMenu; }
    static CMenu* PASCAL FromHandle(HMENU hMenu);
    BOOL AppendMenuA(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = NULL);
};

class CDC : public CObject {
  public:
    CDC() : m_hDC(NULL) {}
    virtual ~CDC() = default;
    HDC m_hDC;
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON hIcon);
    BOOL DrawIcon(POINT point, HICON hIcon) { return DrawIcon(point.x, point.y, hIcon); }
};

// Brackets WM_PAINT handling: BeginPaint in the constructor, EndPaint in the
// destructor (which validates the update area).
class CPaintDC : public CDC {
  public:
    explicit CPaintDC(CWnd* pWnd);
    virtual ~CPaintDC();
    PAINTSTRUCT m_ps;

  protected:
    HWND m_hWnd;
};

// ---- Data exchange ---------------------------------------------------------------

class CDataExchange {
  public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND PrepareCtrl(int nIDC);
    void Fail();
    bool m_failed = false;
};

// Attaches rControl to the dialog's control nIDC (once; later calls do
// nothing), so that the object's calls reach that control.
void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// ---- Application ---------------------------------------------------------------

class CWinThread : public CCmdTarget {
  public:
    CWinThread();
    CWnd* m_pMainWnd;
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop, until WM_QUIT; returns ExitInstance's result.
    virtual int Run();
};

class CWinApp : public CWinThread {
  public:
    explicit CWinApp(LPCTSTR lpszAppName = NULL);
    virtual ~CWinApp();

    LPCTSTR m_pszAppName;
    HINSTANCE m_hInstance;

    virtual BOOL InitInstance();

    HICON LoadIconA(UINT nIDResource) const;
    HICON LoadIconA(LPCTSTR lpszResourceName) const;

    // 3-D controls are the native look; both report success.
    BOOL Enable3dControls();
    BOOL Enable3dControlsStatic();

    // The help command: this program has no help file, which the user is told.
    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()
};

CWinApp* AFXAPI AfxGetApp();
CWinThread* AFXAPI AfxGetThread();
CWnd* AFXAPI AfxGetMainWnd();
HINSTANCE AFXAPI AfxGetInstanceHandle();
HINSTANCE AFXAPI AfxGetResourceHandle();

// The framework's entry point (mfc_main's main() calls it): runs the static
// application object. Returns the process exit code.
int AFXAPI AfxWinMain(int argc, char** argv);
