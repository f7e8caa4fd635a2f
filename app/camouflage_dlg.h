// The main dialog: live picture, frame timer, and the Start, Stop, Background,
// Snapshot, Stealth and "The End" buttons.
#pragma once

#include "resource.h"

#include "app/snapshot_format.h"
#include "capture/capture_manager.h"
#include "image/dib_image.h"

class CCamouflageDlg : public CDialog {
  public:
    explicit CCamouflageDlg(CWnd* pParent = NULL);
    virtual ~CCamouflageDlg();

    enum { IDD = IDD_MAIN };

    // Size of the shown picture, whatever the camera delivers.
    static const int kDisplayWidth = 320;
    static const int kDisplayHeight = 240;

    // Running number of the next snapshot; starts at 0 in every run.
    static int s_snapshotCounter;

    // Declaration order is construction order: the images and sprites go
    // before the camera when the dialog is destroyed.
    CButton m_btnStop;
    CButton m_btnStart;
    CStatic m_picture;
    HICON m_hIcon;
    CCaptureManager m_capture;
    int m_running;
    CDibImage m_display;     // what is shown and saved, HUD included
    CDibImage m_background;  // blended in where the scene stood still
    RECT m_pictureRect;      // the picture control, in the dialog's client area
    char m_snapshotFormat[kSnapshotFormatSize];
    int m_stealth;
    CDibImage m_camouflageMark;
    CDibImage m_digits[10];  // element i shows the digit i
    CDibImage m_itemMark;

  protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnCancel();

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnStart();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnStop();
    afx_msg void OnSnapshot();
    afx_msg void OnBackground();
    afx_msg void OnStealth();
    DECLARE_MESSAGE_MAP()
};
