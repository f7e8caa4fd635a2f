// The main dialog: start-up, shut-down and the button handlers. The frame
// cycle is in frame_cycle.cpp, painting and the system menu in
// dialog_paint.cpp.
#include "stdafx.h"

#include "app/camouflage_dlg.h"

#include <cerrno>
#include <cstring>

#include "app/dialog_messages.h"
#include "processing/resampling.h"

namespace {

const UINT kFrameTimerId = 0;
const UINT kFramePeriodMs = 30;
const char kConfigFile[] = "Tenebrix.cfg";

}  // namespace

int CCamouflageDlg::s_snapshotCounter = 0;

CCamouflageDlg::CCamouflageDlg(CWnd* pParent)
    : CDialog(CCamouflageDlg::IDD, pParent), m_running(0), m_pictureRect(), m_stealth(0) {
    m_snapshotFormat[0] = '\0';
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

CCamouflageDlg::~CCamouflageDlg() {}

void CCamouflageDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_STOP, m_btnStop);
    DDX_Control(pDX, IDC_START, m_btnStart);
    DDX_Control(pDX, IDC_PICTURE, m_picture);
}

BEGIN_MESSAGE_MAP(CCamouflageDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_START, OnStart)
ON_WM_TIMER()
ON_BN_CLICKED(IDC_STOP, OnStop)
ON_BN_CLICKED(IDC_SNAPSHOT, OnSnapshot)
ON_BN_CLICKED(IDC_BACKGROUND, OnBackground)
ON_BN_CLICKED(IDC_STEALTH, OnStealth)
END_MESSAGE_MAP()

BOOL CCamouflageDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu != NULL) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);

    ReadSnapshotFormat(kConfigFile, m_snapshotFormat, stderr);

    // The device questions come up here, before the window shows. Without a
    // camera there is nothing to show: the dialog ends before its loop runs.
    if (m_capture.Open(1, 0) < 1) {
        EndDialog(IDCANCEL);
        return TRUE;
    }

    m_display.Create(kDisplayWidth, kDisplayHeight);
    m_background.Create(kDisplayWidth, kDisplayHeight);  // black until Background
    CWnd* picture = GetDlgItem(IDC_PICTURE);
    if (picture != NULL) {
        picture->GetClientRect(&m_pictureRect);
    }
    m_stealth = 0;

    // A sprite that cannot be read stays empty and is simply not drawn.
    m_camouflageMark.Load("images\\camouflage.bmp");
    m_itemMark.Load("images\\item.bmp");
    for (int i = 0; i < 10; ++i) {
        m_digits[i].LoadFormat("images\\num%d.bmp", i);
    }

    SetTimer(kFrameTimerId, kFramePeriodMs, NULL);
    m_running = 1;
    m_btnStart.EnableWindow(FALSE);
    m_btnStop.EnableWindow(TRUE);
    return TRUE;
}

void CCamouflageDlg::OnCancel() {
    // The timer goes with the window.
    CDialog::OnCancel();
}

void CCamouflageDlg::OnStart() {
    if (m_running != 0) {
        return;
    }
    m_running = 1;
    SetTimer(kFrameTimerId, kFramePeriodMs, NULL);
    m_btnStart.EnableWindow(FALSE);
    m_btnStop.EnableWindow(TRUE);
}

void CCamouflageDlg::OnStop() {
    // Only the timer stops: the camera keeps running, the picture keeps its state.
    if (m_running == 0) {
        return;
    }
    KillTimer(kFrameTimerId);
    m_running = 0;
    m_btnStart.EnableWindow(TRUE);
    m_btnStop.EnableWindow(FALSE);
}

void CCamouflageDlg::OnBackground() {
    // Straight from the camera, so it works while stopped too. Before the
    // camera has delivered a frame the grab fails and the old background stays.
    CDibImage frame;
    if (m_capture.GrabFrame(0, &frame) == 0) {
        ResizeImage(&frame, &m_background, kDisplayWidth, kDisplayHeight);
    }
}

void CCamouflageDlg::OnSnapshot() {
    // The picture as shown, HUD included. A name that does not fit or a file
    // that cannot be written is not saved, and the user is told; the number
    // is used up all the same.
    const int number = s_snapshotCounter++;
    errno = 0;
    if (m_display.SaveFormat(m_snapshotFormat, number) != 0) {
        const int error = errno;
        const std::string name = SnapshotName(m_snapshotFormat, number);
        std::fprintf(stderr, "tenebrix: snapshot %s not saved: %s\n", name.c_str(),
                     std::strerror(error));
        MessageBoxA(m_hWnd, SnapshotNotSavedText(name, error).c_str(), kMessageCaption, MB_OK);
    }
}

void CCamouflageDlg::OnStealth() {
    // Takes effect on the next tick of the frame cycle.
    m_stealth = m_stealth == 0 ? 1 : 0;
}
