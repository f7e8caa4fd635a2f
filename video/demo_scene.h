// The demo scene: a still room with detail, and a figure that walks in,
// stands still, waves, stands still again and walks off, every 22 seconds.
//
// Made for the effect: the room never changes, and neither does the figure
// while it stands, so those stretches fade completely in stealth mode. Each
// picture is a function of the scene time and the size alone (no anti-aliasing,
// no random state), so the same time always gives the same bytes.
#pragma once

#include <cstdint>
#include <vector>

class DemoScene {
  public:
    // Length of one loop of the scene, and its stretches, in seconds.
    // The still stretches (5 s each) outlast the 3.4 s that a fade takes.
    static constexpr double kLoopSeconds = 22.0;
    static constexpr double kWalkInStart = 2.0, kWalkInEnd = 5.0;
    static constexpr double kWaveStart = 10.0, kWaveEnd = 12.0;
    static constexpr double kWalkOffStart = 17.0, kWalkOffEnd = 20.0;

    // A scene drawn at width x height (each 16 or more).
    DemoScene(int width, int height);

    // Draws the picture at `seconds` into rows of three bytes a pixel (blue,
    // green, red), top row first, `stride` bytes apart.
    void Draw(double seconds, uint8_t* rows, int stride) const;

    int Width() const { return m_width; }
    int Height() const { return m_height; }

  private:
    void DrawFigure(double seconds, uint8_t* rows, int stride) const;

    int m_width;
    int m_height;
    std::vector<uint8_t> m_room;  // the empty room, top row first, width * 3 a row
};
