// A plain transcription of the motion-history and compositing formulas, one
// pixel at a time in double precision, as the fast code must reproduce them.
// Images are plain vectors of packed rows (3 bytes a pixel, no row padding).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace reference {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;  // row 0 first, width * 3 bytes a row

    Picture() = default;
    Picture(int w, int h) : width(w), height(h), bytes(static_cast<std::size_t>(w) * h * 3, 0) {}
    std::uint8_t* At(int column, int row) {
        return &bytes[(static_cast<std::size_t>(row) * width + column) * 3];
    }
    const std::uint8_t* At(int column, int row) const {
        return &bytes[(static_cast<std::size_t>(row) * width + column) * 3];
    }
};

int Luminance(int red, int green, int blue);
std::uint8_t Decay(std::uint8_t value, double factor);
std::uint8_t ClampToByte(double value);
std::uint8_t BlendChannel(int background, int frame, int historyByte);

// The motion history with its own state: grey images, mask and history,
// starting at zero.
class MotionHistory {
  public:
    MotionHistory(int width, int height);
    // One call: returns the history after it.
    const Picture& Update(const Picture& frame);
    const Picture& mask() const { return m_mask; }

  private:
    Picture m_previousGray;
    Picture m_history;
    Picture m_gray;
    Picture m_mask;
};

// Writes the blend into out (sized like frame) and returns the percentage.
int Blend(const Picture& frame, const Picture& history, const Picture& background, Picture* out);

}  // namespace reference
