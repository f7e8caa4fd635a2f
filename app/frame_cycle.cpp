// The frame cycle: what the main dialog does on every tick of its 30 ms timer.
// Newest camera frame -> 320 x 240 -> motion history -> shown picture (plain,
// or in stealth mode blended over the background) -> HUD -> repaint.
#include "stdafx.h"

#include <cstdio>

#include "app/camouflage_dlg.h"
#include "app/dialog_messages.h"
#include "app/picture_outlet.h"
#include "app/shown_picture.h"
#include "app/tick_profile.h"

void CCamouflageDlg::OnTimer(UINT_PTR nIDEvent) {
    // Kept from tick to tick and beyond the dialog, so that steady-state ticks
    // allocate nothing but the copy handed to the motion history.
    static CDibImage s_captured;      // the camera's frame at its own size
    static FrameCycleImages s_cycle;  // that frame at 320 x 240, the motion history
    // A tick dispatched while another one runs (nested message processing)
    // only gets the default processing.
    static int s_busy = 0;

    TickProfileStartTick();
    if (s_busy == 0) {
        s_busy = 1;
        {
            CTickPhaseTimer timer(kTickGrab);
            m_capture.GrabFrame(0, &s_captured);  // on failure the last frame stays
        }
        {
            CTickPhaseTimer timer(kTickChain);
            const HudImages sprites = {&m_itemMark, &m_camouflageMark, m_digits};
            BuildShownPicture(&s_captured, &m_background, sprites, m_stealth, &s_cycle, &m_display);
        }
        PassShownPicture(m_display);
        InvalidateRect(&m_pictureRect, FALSE);
        s_busy = 0;
        // A camera that fails or ends leaves its last picture, and the
        // program goes on with it; the user is told once.
        if (m_capture.PollDeviceEvents() == kCaptureStopped) {
            std::fprintf(stderr, "tenebrix: the camera stopped; its last picture stays\n");
            MessageBoxA(m_hWnd, kCameraStoppedText, kMessageCaption, MB_OK);
        }
    }
    Default();
}
