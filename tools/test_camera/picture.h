// What the test camera shows, and at what size: a pure function of the
// options and the frame number, so that a test can compute the exact bytes of
// any frame.
//
// Options come as one string, "key=value" pairs separated by ';':
//   size=WxH        frame size, 16x16 to 1920x1080 (default 640x480)
//   picture=still   a still test pattern with detail: eight colour bars over
//                   a gradient with a checker (default)
//   picture=moving  a ball bouncing over a still gradient
//   picture=FILE    a 24-bit BMP file, scaled to the frame size, as a still
// Frames are 24-bit RGB in device-independent-bitmap order: blue, green, red,
// rows padded to four bytes, bottom row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CameraOptions {
    int width = 640;
    int height = 480;
    enum Kind { kStill, kMoving, kFile } kind = kStill;
    std::string file;  // for kFile
};

// Reads an options string (null or empty: the defaults). False, with `error`
// saying why, for an unknown key, a malformed or out-of-range size, or an
// empty picture name.
bool ParseCameraOptions(const char* text, CameraOptions* options, std::string* error);

class CameraPicture {
  public:
    // False when the picture cannot be made (a BMP file that cannot be read).
    bool Prepare(const CameraOptions& options);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Stride() const { return (m_width * 3 + 3) & ~3; }
    int FrameBytes() const { return Stride() * m_height; }

    // Writes frame `frameNumber` (FrameBytes bytes, bottom row first).
    void Draw(int64_t frameNumber, uint8_t* bits) const;
    // The colour (blue, green, red) of pixel (x, y), row 0 at the top.
    void Pixel(int64_t frameNumber, int x, int y, uint8_t* bgr) const;

  private:
    int m_width = 0;
    int m_height = 0;
    CameraOptions::Kind m_kind = CameraOptions::kStill;
    std::vector<uint8_t> m_still;  // a BMP picture at frame size, top row first
};
