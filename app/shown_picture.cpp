// The picture of one tick of the frame cycle (see shown_picture.h): newest
// camera frame -> shown size -> motion history -> shown picture (plain, or in
// stealth mode blended over the background) -> HUD.
#include "app/shown_picture.h"

#include <algorithm>

#include "processing/compositing.h"
#include "processing/memory_ahead.h"
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

bool IsSized(const CDibImage& image, int width, int height) {
    return image.HasPixels() && image.Width() == width && image.Height() == height;
}

// The motion history and, in stealth mode, the blend of the frame's rows, each
// row taken as soon as it is final (while the resize that writes it still
// streams the next rows in), or all at the end where the steps cannot go row
// by row. Gives exactly the pictures of the whole-image steps.
class FrameRows final : public ResizedRows {
  public:
    FrameRows(const CDibImage* frame, const CDibImage* background, int stealth,
              FrameCycleImages* cycle, CDibImage* display)
        : m_frame(frame),
          m_background(background),
          m_stealth(stealth),
          m_history(&cycle->motion),
          m_display(display) {}

    void RowDone(int row, RowReadAhead* ahead) override {
        if (!m_started) {
            Start();
        }
        if (m_motionRows) {
            const BYTE* levels = StepMotionHistoryRow(m_frame, row, m_copy);
            if (ahead != nullptr) {
                ahead->AskMore(kLinesBetweenSteps);
            }
            if (m_blendRows) {
                m_blend.Row(row, levels);
                if (ahead != nullptr) {
                    ahead->AskMore(kLinesBetweenSteps);
                }
            }
        }
    }

    // Ends the tick's steps on the frame (which is of the shown size) and
    // gives the hidden percentage.
    int Finish() {
        if (!m_started) {
            TellEveryRow();  // no resize told of the rows
        }
        if (m_motionRows) {
            FinishMotionHistoryRows(m_copy);
        } else {
            UpdateMotionHistory(m_frame, m_history);
        }
        if (m_stealth == 0) {
            m_display->CopyFrom(*m_frame);
            return 0;
        }
        if (!m_blendRows) {
            // Writes nothing and gives 0 unless every image has the same size.
            return BlendByHistory(m_frame, m_history, m_background, m_display);
        }
        int percent;
        if (!m_blend.Percentage(&percent)) {
            // Rare: the serial sum of the history's weights decides.
            CopyMotionHistory(m_history);
            percent = HiddenPercentageOf(m_history);
        }
        return percent;
    }

    // Bottom row first: forward in memory.
    void TellEveryRow() {
        for (int row = m_frame->Height() - 1; row >= 0; --row) {
            RowDone(row, nullptr);
        }
    }

  private:
    // The blend row by row takes the history's levels as the motion history
    // gives them, so that the history's 24-bit copy is written only for a
    // blend of whole images.
    void Start() {
        m_started = true;
        if (!IsSized(*m_frame, m_display->Width(), m_display->Height())) {
            return;
        }
        m_blendRows = m_stealth != 0 && m_blend.Start(m_frame, m_background, m_display);
        m_copy = m_stealth != 0 && !m_blendRows ? m_history : nullptr;
        m_motionRows = StartMotionHistoryRows(m_frame, m_copy);
        m_blendRows = m_blendRows && m_motionRows;
    }

    const CDibImage* m_frame;
    const CDibImage* m_background;
    int m_stealth;
    CDibImage* m_history;
    CDibImage* m_display;
    CDibImage* m_copy = nullptr;  // the history's copy while the rows are stepped, if any
    bool m_started = false;
    bool m_motionRows = false;
    bool m_blendRows = false;
    HistoryBlendRows m_blend;
};

}  // namespace

int BuildShownPicture(const CDibImage* captured, const CDibImage* background,
                      const HudImages& sprites, int stealth, FrameCycleImages* cycle,
                      CDibImage* display) {
    const int width = display->Width();
    const int height = display->Height();
    // A frame of the shown size is used as it is: a copy would add nothing.
    const CDibImage* frame = &cycle->current;
    if (IsSized(*captured, width, height)) {
        frame = captured;
        if (cycle->current.HasPixels()) {
            cycle->current.Reset();  // no older picture to fall back on
        }
    }
    FrameRows rows(frame, background, stealth, cycle, display);
    if (frame == captured) {
        rows.TellEveryRow();
    } else {
        ResizeImage(captured, &cycle->current, width, height, &rows);
    }
    // Without a picture of the camera yet there is nothing to build: the
    // shown picture keeps what it holds and the HUD reads 0.
    int percent = 0;
    if (IsSized(*frame, width, height)) {
        // The history runs in both modes, so it is current when stealth starts.
        percent = rows.Finish();
    }
    DrawHud(display, sprites.itemMark, sprites.camouflageMark, sprites.digits, stealth, percent);
    return percent;
}
