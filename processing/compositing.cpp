// Compositing: the history-weighted blend with its hidden percentage, and
// colour-keyed sprite pasting.
#include "processing/compositing.h"

#include <algorithm>
#include <cstdint>

#include "processing/blend_kernels.h"
#include "processing/cpu_features.h"
#include "processing/pixel_formulas.h"

using namespace pixel_formulas;

namespace {

bool SameSize(const CDibImage* a, const CDibImage* b) {
    return a != nullptr && b != nullptr && a->HasPixels() && b->HasPixels() &&
           a->Width() == b->Width() && a->Height() == b->Height();
}

// (100 - (sum / count) * 100 + 0.5) truncated, evaluated as written.
int HiddenPercentage(double weightSum, double pixelCount) {
    return static_cast<int>(100.0 - (weightSum / pixelCount) * 100.0 + 0.5);
}

// The weights summed one pixel after the other, top row first, as doubles.
double SerialWeightSum(const CDibImage* history) {
    double sum = 0.0;
    for (int i = 0; i < history->Height(); ++i) {
        const BYTE* h = history->Row(i);
        for (int j = 0; j < history->Width(); ++j) {
            sum = sum + h[3 * j + 2] * kInverse255;
        }
    }
    return sum;
}

int BlendScalar(const CDibImage* frame, const CDibImage* history, const CDibImage* background,
                CDibImage* out) {
    const int width = frame->Width();
    const int height = frame->Height();
    double sum = 0.0;
    for (int i = 0; i < height; ++i) {
        const BYTE* f = frame->Row(i);
        const BYTE* h = history->Row(i);
        const BYTE* b = background->Row(i);
        BYTE* o = out->Row(i);
        for (int j = 0; j < width; ++j) {
            const double alpha = h[3 * j + 2] * kInverse255;
            sum = sum + alpha;
            const double beta = 1.0 - alpha;
            for (int c = 2; c >= 0; --c) {
                o[3 * j + c] = ClampToByte(b[3 * j + c] * beta + f[3 * j + c] * alpha);
            }
        }
    }
    return HiddenPercentage(sum, static_cast<double>(width * height));
}

int BlendVector(const CDibImage* frame, const CDibImage* history, const CDibImage* background,
                CDibImage* out) {
    auto* const row = ActiveVectorPath() >= VectorPath::kAvx2 ? BlendRowAvx2 : BlendRowSse41;
    const int width = frame->Width();
    const int height = frame->Height();
    const SameColourTable* const table = SameColourExceptions();
    std::uint64_t historySum = 0;
    // Bottom row first: forward in memory.
    for (int i = height - 1; i >= 0; --i) {
        historySum +=
            row(frame->Row(i), history->Row(i), background->Row(i), out->Row(i), width, table);
    }
    const long long pixelCount = static_cast<long long>(width) * height;
    int percentage;
    if (HiddenPercentageFromByteSum(historySum, pixelCount, &percentage)) {
        return percentage;
    }
    return HiddenPercentageOf(history);
}

}  // namespace

BYTE ClampToByte(double value) {
    return SaturateToByte(value);
}

const SameColourTable* SameColourExceptions() {
    static const SameColourTable table = [] {
        SameColourTable t{};
        for (int h = 0; h < 256; ++h) {
            for (int v = 0; v < 256; ++v) {
                if (BlendChannel(v, v, h) != v) {
                    t.rows[h][v / 8] |= static_cast<BYTE>(1 << (v % 8));
                    t.weights[h / 8] |= static_cast<BYTE>(1 << (h % 8));
                }
            }
        }
        return t;
    }();
    return &table;
}

int SameColor(const BYTE* a, const BYTE* b) {
    return a[2] == b[2] && a[1] == b[1] && a[0] == b[0] ? 1 : 0;
}

bool HiddenPercentageFromByteSum(std::uint64_t historySum, long long pixelCount, int* percentage) {
    // The serial sum S of the weights h * (1/255) meets the exact sum within a
    // relative error of (n + 1) u, u = 2^-53; dividing by n, scaling by 100,
    // subtracting from 100 and adding 0.5 keep the result x' within
    // 100 (n + 3) u + 202 u of the exact x = 100.5 - 100 sum(h) / (255 n)
    // = (51255 n - 200 sum(h)) / (510 n). When x is not a whole number it is at
    // least 1 / (510 n) away from one, more than that error for n up to
    // kExactPercentageMaxPixels, so trunc(x') = floor(x).
    if (pixelCount <= 0 || pixelCount > kExactPercentageMaxPixels) {
        return false;
    }
    const long long numerator = 51255 * pixelCount - 200 * static_cast<long long>(historySum);
    const long long denominator = 510 * pixelCount;
    if (numerator % denominator == 0) {
        return false;
    }
    *percentage = static_cast<int>(numerator / denominator);
    return true;
}

int BlendByHistory(const CDibImage* frame, const CDibImage* history, const CDibImage* background,
                   CDibImage* out) {
    if (!SameSize(frame, history) || !SameSize(frame, background) || !SameSize(frame, out)) {
        return 0;
    }
    // The vector path may read the history again after writing out (for the
    // serial sum), so an output that is the history itself takes the plain path.
    if (ActiveVectorPath() >= VectorPath::kSse41 && out != history) {
        return BlendVector(frame, history, background, out);
    }
    return BlendScalar(frame, history, background, out);
}

int HiddenPercentageOf(const CDibImage* history) {
    const long long pixelCount = static_cast<long long>(history->Width()) * history->Height();
    return HiddenPercentage(SerialWeightSum(history), static_cast<double>(pixelCount));
}

bool HistoryBlendRows::Start(const CDibImage* frame, const CDibImage* background, CDibImage* out) {
    if (!SameSize(frame, background) || !SameSize(frame, out) ||
        ActiveVectorPath() < VectorPath::kSse41) {
        return false;
    }
    m_frame = frame;
    m_background = background;
    m_out = out;
    m_row = ActiveVectorPath() >= VectorPath::kAvx2 ? BlendWeightsRowAvx2 : BlendWeightsRowSse41;
    m_table = SameColourExceptions();
    m_weightSum = 0;
    return true;
}

void HistoryBlendRows::Row(int row, const BYTE* weights) {
    m_weightSum += m_row(m_frame->Row(row), weights, m_background->Row(row), m_out->Row(row),
                         m_frame->Width(), m_table);
}

bool HistoryBlendRows::Percentage(int* percentage) const {
    return HiddenPercentageFromByteSum(
        m_weightSum, static_cast<long long>(m_frame->Width()) * m_frame->Height(), percentage);
}

void PasteColorKeyed(CDibImage* dst, const CDibImage* sprite, int x, int y, Pixel3 key) {
    if (dst == nullptr || sprite == nullptr || !dst->HasPixels() || !sprite->HasPixels()) {
        return;
    }
    const BYTE keyBytes[3] = {key.blue, key.green, key.red};
    // The sprite rows and columns that land inside dst; 64-bit so that no
    // position overflows.
    const long long firstColumn = x < 0 ? -static_cast<long long>(x) : 0;
    const long long endColumn =
        std::min<long long>(sprite->Width(), static_cast<long long>(dst->Width()) - x);
    const long long firstRow = y < 0 ? -static_cast<long long>(y) : 0;
    const long long endRow =
        std::min<long long>(sprite->Height(), static_cast<long long>(dst->Height()) - y);
    for (long long i = firstRow; i < endRow; ++i) {
        const BYTE* s = sprite->Row(static_cast<int>(i));
        BYTE* d = dst->Row(static_cast<int>(y + i));
        for (long long j = firstColumn; j < endColumn; ++j) {
            const BYTE* pixel = s + 3 * j;
            if (SameColor(pixel, keyBytes) == 1) {
                continue;
            }
            BYTE* target = d + 3 * (x + j);
            target[0] = pixel[0];
            target[1] = pixel[1];
            target[2] = pixel[2];
        }
    }
}
