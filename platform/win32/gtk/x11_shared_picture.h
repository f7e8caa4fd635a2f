// A control's picture shown on an X window through memory shared with the X
// server (gtk driver, X11 displays).
//
// Stands in for the video memory that StretchDIBits writes into on Windows:
// the changed rows of a control's surface are copied into a segment that the
// server shares, and one small request shows them. The pixels go neither down
// the display connection nor through GDK's double buffer. The server reads
// the segment after the request has left, so the segment holds two buffers
// that puts take in turn, and a put waits for the server only when it cannot
// know that the server is done with the previous put from its buffer: every
// other put at most, since the wait covers the other buffer's put too.
//
// Limits: 24-bit true-colour visuals with 32-bit pixels in the host's byte
// order, and a server that can share memory with the program (MIT-SHM, same
// machine); elsewhere Create gives null and the driver draws through GDK.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <memory>

namespace win32core {

class X11SharedPicture {
  public:
    // A picture of width x height pixels for drawables like `drawable`
    // (same screen and visual); null when the server cannot share it.
    static std::unique_ptr<X11SharedPicture> Create(Display* display, Drawable drawable,
                                                    Visual* visual, int depth, int width,
                                                    int height);
    ~X11SharedPicture();
    X11SharedPicture(const X11SharedPicture&) = delete;
    X11SharedPicture& operator=(const X11SharedPicture&) = delete;

    int Width() const { return m_image->width; }
    int Height() const { return m_image->height; }

    // Shows columns [left, right) of rows [top, bottom) of `pixels`
    // (0x00RRGGBB, Width() pixels a row, Height() rows) at (x, y) of
    // `drawable`.
    void Put(Drawable drawable, const std::uint32_t* pixels, int left, int top, int right,
             int bottom, int x, int y);

  private:
    explicit X11SharedPicture(Display* display) : m_display(display) {}

    Display* m_display;
    XImage* m_image = nullptr;
    XShmSegmentInfo m_segment{};
    bool m_attached = false;
    GC m_gc = nullptr;
    int m_next = 0;                      // the buffer of the next put
    unsigned long m_putSerial[2] = {};   // each buffer's latest put request
    bool m_putSent[2] = {false, false};  // and whether there was one
};

}  // namespace win32core
