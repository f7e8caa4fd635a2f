// A control's picture shown on an X window through memory shared with the X
// server (gtk driver, X11 displays).
//
// Stands in for the video memory that StretchDIBits writes into on Windows:
// the changed rows of a control's surface are copied into a segment that the
// server shares, and one small request shows them. The pixels go neither down
// the display connection nor through GDK's double buffer.
//
// The puts go down a connection of their own, which the message loop does not
// watch. The server reads the segment after the request has left, so the
// segment holds two buffers that puts take in turn, and the server answers
// every put with a completion event once it has read the buffer. Those events
// wait on our connection, waking nobody, and a put looks at them only when it
// needs its buffer back; it waits for the server only if the put before last
// is still not done. Requests the toolkit sent on its own connection since the
// last put (a window mapped or cleared) are waited for first, so that they
// cannot reach the server after the picture.
//
// Limits: 24-bit true-colour visuals with 32-bit pixels in the host's byte
// order, and a server that can share memory with the program (MIT-SHM, same
// machine); elsewhere Create gives null and the driver draws through GDK.
// Errors on our connection (a window destroyed from outside) are dropped.
#pragma once

#include <X11/Xlib.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace win32core {

class X11SharedPicture {
  public:
    // A picture of width x height pixels for drawables like `drawable`
    // (same screen and visual) of the toolkit's `display`; null when the
    // server cannot share it.
    static std::unique_ptr<X11SharedPicture> Create(Display* display, Drawable drawable,
                                                    Visual* visual, int depth, int width,
                                                    int height);
    ~X11SharedPicture();
    X11SharedPicture(const X11SharedPicture&) = delete;
    X11SharedPicture& operator=(const X11SharedPicture&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Shows columns [left, right) of rows [top, bottom) of `pixels`
    // (0x00RRGGBB, Width() pixels a row, Height() rows) at (x, y) of
    // `drawable`.
    void Put(Drawable drawable, const std::uint32_t* pixels, int left, int top, int right,
             int bottom, int x, int y);

  private:
    X11SharedPicture(Display* display, int width, int height)
        : m_display(display), m_width(width), m_height(height) {}

    std::size_t BufferBytes() const;
    // Frees the buffers whose puts the server has answered.
    void TakeCompletions();
    // Returns once the server has handled every request sent on our connection.
    void RoundTrip();

    Display* m_display;  // the toolkit's connection
    int m_width;
    int m_height;
    xcb_connection_t* m_own = nullptr;
    std::uint8_t m_completionEvent = 0;
    char* m_memory = nullptr;  // the segment, two buffers
    xcb_shm_seg_t m_segment = 0;
    bool m_attached = false;
    xcb_gcontext_t m_gc = 0;
    bool m_gcMade = false;
    unsigned long m_toolkitDone = 0;  // the toolkit's next request when all before were done
    int m_next = 0;                   // the buffer of the next put
    bool m_busy[2] = {false, false};  // put, and not yet answered
};

}  // namespace win32core
