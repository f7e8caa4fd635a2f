// Motion history: grey conversion, frame differencing and the decaying history.
#include "processing/motion_history.h"

#include <cstdlib>
#include <cstring>

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

bool SameFormat(const CDibImage* a, const CDibImage* b) {
    return a->Width() == b->Width() && a->Height() == b->Height() &&
           a->ImageSize() == b->ImageSize();
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
        if (!SameFormat(state, frame)) {
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

// The state of UpdateMotionHistory, kept until process exit: created on the
// first call, in this order, from the first frame's header.
struct MotionState {
    explicit MotionState(const BITMAPINFO* info)
        : prevGray(info), history(info), gray(info), diffMask(info) {}
    CDibImage prevGray;
    CDibImage history;
    CDibImage gray;
    CDibImage diffMask;
};

void StepSharedState(const CDibImage* frame, CDibImage* history) {
    static MotionState s_state(frame->Info());
    MotionHistoryStep(frame, &s_state.prevGray, &s_state.history, &s_state.gray, &s_state.diffMask,
                      history);
}

}  // namespace

void UpdateMotionHistory(CDibImage frame, CDibImage* history) {
    StepSharedState(&frame, history);
}

void UpdateMotionHistory(const CDibImage* frame, CDibImage* history) {
    if (frame == history) {
        // The history handed back would overwrite the frame while it is read.
        UpdateMotionHistory(*frame, history);
        return;
    }
    StepSharedState(frame, history);
}
