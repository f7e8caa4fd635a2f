// Motion history: grey conversion, frame differencing and the decaying history.
#include "processing/motion_history.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "processing/cpu_features.h"
#include "processing/motion_kernels.h"
#include "processing/pixel_formulas.h"

using namespace pixel_formulas;

namespace {

bool HasPixels(const CDibImage* image) {
    return image != nullptr && image->HasPixels();
}

// Both images have pixels and the same width and height.
bool SameSize(const CDibImage* a, const CDibImage* b) {
    return HasPixels(a) && HasPixels(b) && a->Width() == b->Width() && a->Height() == b->Height();
}

bool SameFormat(const BITMAPINFO& a, const BITMAPINFO& b) {
    return a.bmiHeader.biWidth == b.bmiHeader.biWidth &&
           a.bmiHeader.biHeight == b.bmiHeader.biHeight &&
           a.bmiHeader.biSizeImage == b.bmiHeader.biSizeImage;
}

// Gives a state image the frame's header and clears its pixels: a history
// starting again, whatever the buffer held.
void ReshapeCleared(CDibImage* state, const CDibImage* frame) {
    state->SetHeader(*frame->Info());
    if (state->Bits() != nullptr) {
        std::memset(state->Bits(), 0, static_cast<size_t>(state->ImageSize()));
    }
}

}  // namespace

void Luminance(BYTE red, BYTE green, BYTE blue, int* out) {
    *out = LuminanceOf(red, green, blue);
}

void ConvertToGray(const CDibImage* source, CDibImage* gray) {
    if (!SameSize(source, gray)) {
        return;
    }
    const int width = source->Width();
    for (int y = 0; y < source->Height(); ++y) {
        const BYTE* s = source->Row(y);
        BYTE* g = gray->Row(y);
        for (int x = 0; x < width; ++x, s += 3, g += 3) {
            int level;
            Luminance(s[2], s[1], s[0], &level);
            g[0] = g[1] = g[2] = static_cast<BYTE>(level);
        }
    }
}

void ThresholdDifference(const CDibImage* current, const CDibImage* previous, CDibImage* mask,
                         int threshold) {
    if (!SameSize(current, previous) || !SameSize(current, mask)) {
        return;
    }
    const int width = current->Width();
    for (int y = 0; y < current->Height(); ++y) {
        const BYTE* c = current->Row(y);
        const BYTE* p = previous->Row(y);
        BYTE* m = mask->Row(y);
        for (int x = 0; x < width; ++x, c += 3, p += 3, m += 3) {
            const int difference = std::abs(static_cast<int>(p[1]) - static_cast<int>(c[1]));
            m[0] = m[1] = m[2] = difference > threshold ? 255 : 0;
        }
    }
}

void UpdateHistory(const CDibImage* mask, CDibImage* history, double factor) {
    if (!SameSize(mask, history)) {
        return;
    }
    // trunc(byte * factor) for every byte value, from the formula itself; kept
    // within 0..255 so that a factor above 1 or below 0 cannot wrap.
    BYTE decayed[256];
    for (int v = 0; v < 256; ++v) {
        decayed[v] = SaturateToByte(v * factor);
    }
    const int width = mask->Width();
    for (int y = 0; y < mask->Height(); ++y) {
        const BYTE* m = mask->Row(y);
        BYTE* h = history->Row(y);
        for (int x = 0; x < width; ++x, m += 3, h += 3) {
            h[2] = decayed[h[2]];
            h[1] = decayed[h[1]];
            h[0] = decayed[h[0]];
            if (m[1] > kMaskLevel) {
                h[0] = m[0];
                h[1] = m[1];
                h[2] = m[2];
            }
        }
    }
}

void MotionHistoryStep(const CDibImage* frame, CDibImage* prevGray, CDibImage* history,
                       CDibImage* gray, CDibImage* diffMask, CDibImage* out) {
    CDibImage* const states[] = {prevGray, history, gray, diffMask};
    for (CDibImage* state : states) {
        if (!SameFormat(*state->Info(), *frame->Info())) {
            for (CDibImage* s : states) {
                ReshapeCleared(s, frame);
            }
            break;
        }
    }

    const VectorPath path = ActiveVectorPath();
    const bool fused =
        path >= VectorPath::kSse41 && SameSize(frame, prevGray) && SameSize(frame, history);
    if (!fused) {
        ConvertToGray(frame, gray);
        ThresholdDifference(gray, prevGray, diffMask, kDifferenceThreshold);
        prevGray->CopyFrom(*gray);
        UpdateHistory(diffMask, history, kDecayFactor);
        if (out != nullptr) {
            out->CopyFrom(*history);
        }
        return;
    }
    // One pass over the rows; the grey image and the mask of this frame stay in
    // registers (nothing reads them afterwards). The copy for the caller is
    // written in the same pass when its rows are packed, so that the rows make
    // up the whole buffer just as a block copy would.
    bool writeOut = false;
    if (out != nullptr && out->SetHeader(*history->Info()) == 0 && out->HasPixels()) {
        writeOut =
            static_cast<long long>(frame->Width()) * 3 * frame->Height() == history->ImageSize();
    }
    auto* const row = path >= VectorPath::kAvx2 ? MotionRowAvx2 : MotionRowSse41;
    // Bottom row first: forward in memory, so that a frame fresh from the
    // camera streams in.
    for (int y = frame->Height() - 1; y >= 0; --y) {
        row(frame->Row(y), prevGray->Row(y), history->Row(y), writeOut ? out->Row(y) : nullptr,
            frame->Width());
    }
    if (out != nullptr && !writeOut) {
        out->CopyFrom(*history);
    }
}

namespace {

// The row step of the current path on levels kept one byte a pixel.
void MotionLevelsRowPlain(const BYTE* frame, BYTE* previous, BYTE* history, BYTE* out, int width) {
    MotionLevels(frame, previous, history, out, width);
}

using MotionLevelsRow = void (*)(const BYTE*, BYTE*, BYTE*, BYTE*, int);

MotionLevelsRow MotionLevelsRowOf(VectorPath path) {
    return path >= VectorPath::kAvx2    ? MotionLevelsRowAvx2
           : path >= VectorPath::kSse41 ? MotionLevelsRowSse41
                                        : MotionLevelsRowPlain;
}

// The state of UpdateMotionHistory, kept until process exit. A grey image and
// a history carry one value in the three bytes of a pixel, so only one byte a
// pixel is kept of each (rows in the frame's memory order), which spares the
// step two thirds of its state traffic; the copy handed back spreads each
// history level into three bytes again, with the header of the frame that
// started the history and zero padding, exactly as a 24-bit history would be.
class MotionLevelsState {
  public:
    void Step(const CDibImage* frame, CDibImage* out) {
        if (StartRows(frame, out)) {
            StepRows(frame, out);
            FinishRows(out);
            return;
        }
        // A step without a copy to hand back, or a copy without a step.
        if (frame->HasPixels() && PrepareLevels()) {
            StepRows(frame, nullptr);
        }
        Copy(out);
    }

    // Whether the step of this frame steps the levels and, where out is not
    // null, hands them back in *out; then StepRow takes each row and
    // FinishRows ends the step.
    bool StartRows(const CDibImage* frame, CDibImage* out) {
        if (!m_started || !SameFormat(m_info, *frame->Info())) {
            m_started = true;
            m_info = *frame->Info();
            m_cleared = false;
        }
        if (!frame->HasPixels() || !PrepareLevels()) {
            return false;
        }
        return out == nullptr || (out->SetHeader(m_info) == 0 && out->HasPixels());
    }

    // Steps row y and gives its history levels.
    const BYTE* StepRow(const CDibImage* frame, int y, CDibImage* out) {
        const int width = frame->Width();
        const size_t at = static_cast<size_t>(frame->Height() - 1 - y) * static_cast<size_t>(width);
        MotionLevelsRowOf(ActiveVectorPath())(frame->Row(y), m_previous.get() + at,
                                              m_history.get() + at,
                                              out != nullptr ? out->Row(y) : nullptr, width);
        return m_history.get() + at;
    }

    // Hands back the history as it stands (all zero before any frame with
    // pixels of the started format).
    void Copy(CDibImage* out) const {
        if (out == nullptr || out->SetHeader(m_info) != 0 || !out->HasPixels()) {
            return;
        }
        if (!m_cleared) {
            std::memset(out->Bits(), 0, static_cast<size_t>(out->ImageSize()));
            return;
        }
        SpreadRows(out);
        FinishRows(out);
    }

    // The bytes of the copy outside the pixels: row padding and any
    // image-size slack.
    static void FinishRows(CDibImage* out) {
        if (out == nullptr) {
            return;
        }
        const int width = out->Width();
        const int height = out->Height();
        const int stride = DibStride(width);
        if (stride != 3 * width) {
            for (int y = 0; y < height; ++y) {
                std::memset(out->Row(y) + 3 * width, 0, static_cast<size_t>(stride - 3 * width));
            }
        }
        const long long used = static_cast<long long>(stride) * height;
        std::memset(out->Bits() + used, 0, static_cast<size_t>(out->ImageSize() - used));
    }

  private:
    // Levels for every pixel of the started format, all zero when it has just
    // started; the buffers are kept while the pixel count stays the same.
    bool PrepareLevels() {
        if (m_cleared) {
            return true;
        }
        const size_t count = static_cast<size_t>(m_info.bmiHeader.biWidth) *
                             static_cast<size_t>(m_info.bmiHeader.biHeight);
        if (count != m_count) {
            m_count = 0;
            m_previous.reset(new (std::nothrow) BYTE[count]);
            m_history.reset(new (std::nothrow) BYTE[count]);
            if (m_previous == nullptr || m_history == nullptr) {
                return false;
            }
            m_count = count;
        }
        std::memset(m_previous.get(), 0, count);
        std::memset(m_history.get(), 0, count);
        m_cleared = true;
        return true;
    }

    // Bottom row first: forward in memory, so that a frame fresh from the
    // camera streams in.
    void StepRows(const CDibImage* frame, CDibImage* out) {
        for (int y = frame->Height() - 1; y >= 0; --y) {
            StepRow(frame, y, out);
        }
    }

    void SpreadRows(CDibImage* out) const {
        const int width = out->Width();
        const int height = out->Height();
        for (int y = height - 1; y >= 0; --y) {
            const BYTE* h = m_history.get() + static_cast<size_t>(height - 1 - y) * width;
            BYTE* o = out->Row(y);
            for (int x = 0; x < width; ++x) {
                o[3 * x] = o[3 * x + 1] = o[3 * x + 2] = h[x];
            }
        }
    }

    bool m_started = false;
    bool m_cleared = false;  // the levels are ready for the started format
    BITMAPINFO m_info{};     // of the frame that started the history
    size_t m_count = 0;      // pixels the level buffers hold
    std::unique_ptr<BYTE[]> m_previous;
    std::unique_ptr<BYTE[]> m_history;
};

MotionLevelsState& SharedState() {
    static MotionLevelsState s_state;
    return s_state;
}

}  // namespace

void UpdateMotionHistory(CDibImage frame, CDibImage* history) {
    SharedState().Step(&frame, history);
}

void UpdateMotionHistory(const CDibImage* frame, CDibImage* history) {
    if (frame == history) {
        // The history handed back would overwrite the frame while it is read.
        UpdateMotionHistory(*frame, history);
        return;
    }
    SharedState().Step(frame, history);
}

bool StartMotionHistoryRows(const CDibImage* frame, CDibImage* history) {
    return frame != history && SharedState().StartRows(frame, history);
}

const BYTE* StepMotionHistoryRow(const CDibImage* frame, int row, CDibImage* history) {
    return SharedState().StepRow(frame, row, history);
}

void FinishMotionHistoryRows(CDibImage* history) {
    MotionLevelsState::FinishRows(history);
}

void CopyMotionHistory(CDibImage* history) {
    SharedState().Copy(history);
}
