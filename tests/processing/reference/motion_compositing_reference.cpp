#include "tests/processing/reference/motion_compositing_reference.h"

#include <cstdlib>

namespace reference {

int Luminance(int red, int green, int blue) {
    double s = green * 0.587 + red * 0.299;
    s = s + blue * 0.114;
    s = s + 0.5;
    return static_cast<int>(s);
}

std::uint8_t ClampToByte(double value) {
    if (value > 255) {
        return 255;
    }
    if (value < 0 || value != value) {
        return 0;
    }
    return static_cast<std::uint8_t>(value);
}

std::uint8_t Decay(std::uint8_t value, double factor) {
    return ClampToByte(value * factor);
}

std::uint8_t BlendChannel(int background, int frame, int historyByte) {
    const double alpha = historyByte * 0.00392156862745098;
    const double beta = 1.0 - alpha;
    return ClampToByte(background * beta + frame * alpha);
}

MotionHistory::MotionHistory(int width, int height)
    : m_previousGray(width, height),
      m_history(width, height),
      m_gray(width, height),
      m_mask(width, height) {}

const Picture& MotionHistory::Update(const Picture& frame) {
    for (int i = 0; i < frame.height; ++i) {
        for (int j = 0; j < frame.width; ++j) {
            const std::uint8_t* f = frame.At(j, i);
            const int level = Luminance(f[2], f[1], f[0]);
            std::uint8_t* g = m_gray.At(j, i);
            g[0] = g[1] = g[2] = static_cast<std::uint8_t>(level);
        }
    }
    for (int i = 0; i < frame.height; ++i) {
        for (int j = 0; j < frame.width; ++j) {
            const int d = std::abs(m_previousGray.At(j, i)[1] - m_gray.At(j, i)[1]);
            std::uint8_t* m = m_mask.At(j, i);
            m[0] = m[1] = m[2] = d > 20 ? 255 : 0;
        }
    }
    m_previousGray = m_gray;
    for (int i = 0; i < frame.height; ++i) {
        for (int j = 0; j < frame.width; ++j) {
            std::uint8_t* h = m_history.At(j, i);
            const std::uint8_t* m = m_mask.At(j, i);
            h[2] = Decay(h[2], 0.98);
            h[1] = Decay(h[1], 0.98);
            h[0] = Decay(h[0], 0.98);
            if (m[1] > 64) {
                h[0] = m[0];
                h[1] = m[1];
                h[2] = m[2];
            }
        }
    }
    return m_history;
}

int Blend(const Picture& frame, const Picture& history, const Picture& background, Picture* out) {
    const double n = static_cast<double>(frame.width * frame.height);
    double sum = 0.0;
    for (int i = 0; i < frame.height; ++i) {
        for (int j = 0; j < frame.width; ++j) {
            const int h = history.At(j, i)[2];
            sum = sum + h * 0.00392156862745098;
            for (int c = 2; c >= 0; --c) {
                out->At(j, i)[c] = BlendChannel(background.At(j, i)[c], frame.At(j, i)[c], h);
            }
        }
    }
    return static_cast<int>(100 - (sum / n) * 100 + 0.5);
}

}  // namespace reference
