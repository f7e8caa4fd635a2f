// The frame cycle: what the main dialog does on every tick of its 30 ms timer.
// Newest camera frame -> 320 x 240 -> motion history -> shown picture (plain,
// or in stealth mode blended over the background) -> HUD -> repaint.
#include "stdafx.h"

#include <algorithm>
#include <cstdio>

#include "app/camouflage_dlg.h"
#include "app/dialog_messages.h"
#include "processing/compositing.h"
#include "processing/motion_history.h"
#include "processing/resampling.h"

namespace {

// Sprite pixels of exactly this colour (pure green) are transparent.
const Pixel3 kSpriteKeyColor = {0x00, 0xFF, 0x00};

// HUD positions: top-left corners in the shown picture, row 0 at the top.
// Numbers are right-aligned on the units column; no leading zeros.
const int kItemMarkX = 3, kItemMarkY = 195;
const int kCamouflageMarkX = 260, kCamouflageMarkY = 7;
const int kDigitsY = 25;
const int kUnitsX = 290, kTensX = 279, kHundredsX = 269;

// Draws the HUD into `display`: in stealth mode the item mark and `percent`
// (brought into 0..100 first), in normal mode always the digit 0.
void DrawHud(CDibImage* display, const CDibImage* itemMark, const CDibImage* camouflageMark,
             const CDibImage* digits, int stealth, int percent) {
    if (stealth == 0) {
        PasteColorKeyed(display, camouflageMark, kCamouflageMarkX, kCamouflageMarkY,
                        kSpriteKeyColor);
        PasteColorKeyed(display, &digits[0], kUnitsX, kDigitsY, kSpriteKeyColor);
        return;
    }
    PasteColorKeyed(display, itemMark, kItemMarkX, kItemMarkY, kSpriteKeyColor);
    PasteColorKeyed(display, camouflageMark, kCamouflageMarkX, kCamouflageMarkY, kSpriteKeyColor);
    const int p = std::clamp(percent, 0, 100);
    if (p < 10) {
        PasteColorKeyed(display, &digits[p], kUnitsX, kDigitsY, kSpriteKeyColor);
    } else if (p < 100) {
        const int tens = p / 10;
        PasteColorKeyed(display, &digits[p - 10 * tens], kUnitsX, kDigitsY, kSpriteKeyColor);
        PasteColorKeyed(display, &digits[tens], kTensX, kDigitsY, kSpriteKeyColor);
    } else {
        PasteColorKeyed(display, &digits[0], kUnitsX, kDigitsY, kSpriteKeyColor);
        PasteColorKeyed(display, &digits[0], kTensX, kDigitsY, kSpriteKeyColor);
        PasteColorKeyed(display, &digits[1], kHundredsX, kDigitsY, kSpriteKeyColor);
    }
}

bool IsDisplaySized(const CDibImage& image) {
    return image.HasPixels() && image.Width() == CCamouflageDlg::kDisplayWidth &&
           image.Height() == CCamouflageDlg::kDisplayHeight;
}

}  // namespace

void CCamouflageDlg::OnTimer(UINT nIDEvent) {
    // Kept from tick to tick and beyond the dialog, so that steady-state ticks
    // allocate nothing but the copy handed to the motion history.
    static CDibImage s_captured;  // the camera's frame at its own size
    static CDibImage s_current;   // that frame at 320 x 240
    static CDibImage s_motion;    // the motion history: bright = moved lately
    // A tick dispatched while another one runs (nested message processing)
    // only gets the default processing.
    static int s_busy = 0;

    if (s_busy == 0) {
        s_busy = 1;
        m_capture.GrabFrame(0, &s_captured);  // on failure the last frame stays
        ResizeImage(&s_captured, &s_current, kDisplayWidth, kDisplayHeight);
        // Without a picture of the camera yet there is nothing to build: the
        // shown picture keeps what it holds and the HUD reads 0.
        int percent = 0;
        if (IsDisplaySized(s_current)) {
            // Runs in both modes, so the history is current when stealth starts.
            UpdateMotionHistory(s_current, &s_motion);
            if (m_stealth != 0) {
                // Writes nothing and gives 0 unless every image is 320 x 240.
                percent = BlendByHistory(&s_current, &s_motion, &m_background, &m_display);
            } else {
                m_display.CopyFrom(s_current);
            }
        }
        DrawHud(&m_display, &m_itemMark, &m_camouflageMark, m_digits, m_stealth, percent);
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
