// Moving pixels between CDibImage and the reference's packed pictures, random
// test images, and running a test on each vector path.
#pragma once

#include <cstdint>
#include <random>

#include "image/dib_image.h"
#include "processing/cpu_features.h"
#include "tests/processing/reference/motion_compositing_reference.h"

namespace reference {

// A width x height 24-bit image holding the picture's pixels; the row padding
// is filled with `padding` so that a write past a row shows.
CDibImage ToImage(const Picture& picture, std::uint8_t padding = 0xA5);
Picture ToPicture(const CDibImage& image);
// Every byte random.
Picture RandomPicture(int width, int height, std::mt19937* random);

// Caps the vector path while it lives: a test body runs once under each of
// kPaths, the plain path and each vector path (a path the processor lacks
// falls back to the best one it has).
class PathLimit {
  public:
    explicit PathLimit(VectorPath limit) : m_previous(LimitVectorPath(limit)) {}
    ~PathLimit() { LimitVectorPath(m_previous); }
    PathLimit(const PathLimit&) = delete;
    PathLimit& operator=(const PathLimit&) = delete;

  private:
    VectorPath m_previous;
};
constexpr VectorPath kPaths[] = {VectorPath::kScalar, VectorPath::kSse41, VectorPath::kAvx2};

}  // namespace reference
