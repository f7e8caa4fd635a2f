// Painting of the shown picture, the minimised icon, and the system menu's
// About entry of the main dialog.
#include "stdafx.h"

#include <algorithm>

#include "app/about_dlg.h"
#include "app/camouflage_dlg.h"
#include "app/tick_profile.h"

void CCamouflageDlg::OnPaint() {
    CTickPhaseTimer timer(kTickPaint);
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, (WPARAM)dc.GetSafeHdc(), 0);

        // Centred; an odd free pixel goes to the left or top margin.
        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        RECT rect;
        GetClientRect(&rect);
        const int x = (rect.right - rect.left - cxIcon + 1) / 2;
        const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
        return;
    }

    CDialog::OnPaint();
    CWnd* picture = GetDlgItem(IDC_PICTURE);
    if (!m_display.HasPixels() || picture == NULL) {
        return;
    }
    // Straight into the picture control, pixel for pixel and never scaled: a
    // smaller control cuts off the right and bottom of the picture.
    HDC hdc = ::GetDC(picture->GetSafeHwnd());
    RECT client;
    picture->GetClientRect(&client);
    const int w = std::min(m_display.Width(), static_cast<int>(client.right));
    const int h = std::min(m_display.Height(), static_cast<int>(client.bottom));
    // Source rows count from the bottom of the bottom-up image: skipping
    // Height() - h of them leaves the top h rows.
    const int ySrc = m_display.Height() - h;
    StretchDIBits(hdc, 0, 0, w, h, 0, ySrc, w, h, m_display.Bits(), m_display.Info(),
                  DIB_RGB_COLORS, SRCCOPY);
    ::ReleaseDC(picture->GetSafeHwnd(), hdc);
}

HCURSOR CCamouflageDlg::OnQueryDragIcon() {
    return (HCURSOR)m_hIcon;
}

void CCamouflageDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        // Modal; its loop still runs our timer ticks and paints behind it.
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}
