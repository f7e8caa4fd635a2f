// A control's picture shown through shared memory (see x11_shared_picture.h).
#include "x11_shared_picture.h"

#include <gdk/gdkx.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstring>

namespace win32core {

namespace {

// The byte order in which a 32-bit pixel 0x00RRGGBB lies in our memory.
int HostByteOrder() {
    const std::uint32_t one = 1;
    unsigned char first;
    std::memcpy(&first, &one, 1);
    return first == 1 ? LSBFirst : MSBFirst;
}

}  // namespace

std::unique_ptr<X11SharedPicture> X11SharedPicture::Create(Display* display, Drawable drawable,
                                                           Visual* visual, int depth, int width,
                                                           int height) {
    // Our surfaces hold 0x00RRGGBB words: the server's pixels must be those.
    if (width <= 0 || height <= 0 || !XShmQueryExtension(display) || visual == nullptr ||
        visual->c_class != TrueColor || depth != 24 || visual->red_mask != 0xFF0000 ||
        visual->green_mask != 0xFF00 || visual->blue_mask != 0xFF) {
        return nullptr;
    }
    std::unique_ptr<X11SharedPicture> picture(new X11SharedPicture(display));
    picture->m_image = XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap,
                                       nullptr, &picture->m_segment, static_cast<unsigned>(width),
                                       static_cast<unsigned>(height));
    XImage* image = picture->m_image;
    if (image == nullptr || image->bits_per_pixel != 32 || image->byte_order != HostByteOrder() ||
        image->bytes_per_line != width * 4) {
        return nullptr;
    }
    XShmSegmentInfo& segment = picture->m_segment;
    segment.shmid = shmget(IPC_PRIVATE, 2 * static_cast<size_t>(image->bytes_per_line) * height,
                           IPC_CREAT | 0600);
    if (segment.shmid < 0) {
        return nullptr;
    }
    segment.shmaddr = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
    if (segment.shmaddr == reinterpret_cast<char*>(-1)) {
        segment.shmaddr = nullptr;
        shmctl(segment.shmid, IPC_RMID, nullptr);
        return nullptr;
    }
    image->data = segment.shmaddr;
    segment.readOnly = True;
    // A server on another machine refuses the segment with an X error, which
    // is caught here rather than ending the program.
    GdkDisplay* gdk = gdk_x11_lookup_xdisplay(display);
    if (gdk != nullptr) {
        gdk_x11_display_error_trap_push(gdk);
    }
    const bool attached = XShmAttach(display, &segment) != 0;
    const bool refused =
        gdk != nullptr ? gdk_x11_display_error_trap_pop(gdk) != 0 : (XSync(display, False), false);
    // The segment goes when both sides have let go of it, also if the program
    // ends without a word.
    shmctl(segment.shmid, IPC_RMID, nullptr);
    picture->m_attached = attached && !refused;
    if (!picture->m_attached) {
        return nullptr;
    }
    XGCValues values{};
    values.graphics_exposures = False;
    picture->m_gc = XCreateGC(display, drawable, GCGraphicsExposures, &values);
    return picture;
}

X11SharedPicture::~X11SharedPicture() {
    if (m_gc != nullptr) {
        XFreeGC(m_display, m_gc);
    }
    if (m_attached) {
        XShmDetach(m_display, &m_segment);
        XSync(m_display, False);  // the server has let go before we do
    }
    if (m_segment.shmaddr != nullptr) {
        shmdt(m_segment.shmaddr);
    }
    if (m_image != nullptr) {
        m_image->data = nullptr;  // the segment, not Xlib's to free
        XDestroyImage(m_image);
    }
}

void X11SharedPicture::Put(Drawable drawable, const std::uint32_t* pixels, int left, int top,
                           int right, int bottom, int x, int y) {
    // The server may still be reading this buffer's previous put; what it
    // has answered since then tells it is done without asking.
    const int buffer = m_next;
    m_next = 1 - m_next;
    if (m_putSent[buffer] &&
        static_cast<long>(LastKnownRequestProcessed(m_display) - m_putSerial[buffer]) < 0) {
        XSync(m_display, False);
    }
    const int width = m_image->width;
    m_image->data =
        m_segment.shmaddr + static_cast<size_t>(buffer) * m_image->bytes_per_line * m_image->height;
    for (int row = top; row < bottom; ++row) {
        std::memcpy(m_image->data + static_cast<size_t>(row) * m_image->bytes_per_line +
                        static_cast<size_t>(left) * 4,
                    pixels + static_cast<size_t>(row) * width + left,
                    static_cast<size_t>(right - left) * 4);
    }
    m_putSerial[buffer] = NextRequest(m_display);
    m_putSent[buffer] = true;
    XShmPutImage(m_display, drawable, m_gc, m_image, left, top, x, y,
                 static_cast<unsigned>(right - left), static_cast<unsigned>(bottom - top), False);
    XFlush(m_display);
}

}  // namespace win32core
