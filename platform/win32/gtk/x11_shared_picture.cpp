// A control's picture shown through shared memory (see x11_shared_picture.h).
#include "x11_shared_picture.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>
#include <cstring>

#include "platform/copy_past_caches.h"

namespace win32core {

namespace {

// The byte order in which a 32-bit pixel 0x00RRGGBB lies in our memory.
std::uint8_t HostImageOrder() {
    const std::uint32_t one = 1;
    unsigned char first;
    std::memcpy(&first, &one, 1);
    return first == 1 ? XCB_IMAGE_ORDER_LSB_FIRST : XCB_IMAGE_ORDER_MSB_FIRST;
}

// Whether the server keeps depth-24 pixels as 32-bit words in our byte order,
// rows padded to 32 bits: the layout of our surfaces.
bool ServerTakesOurPixels(xcb_connection_t* connection) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (setup->image_byte_order != HostImageOrder()) {
        return false;
    }
    const xcb_format_t* formats = xcb_setup_pixmap_formats(setup);
    for (int i = 0; i < xcb_setup_pixmap_formats_length(setup); ++i) {
        if (formats[i].depth == 24) {
            return formats[i].bits_per_pixel == 32 && formats[i].scanline_pad == 32;
        }
    }
    return false;
}

}  // namespace

std::unique_ptr<X11SharedPicture> X11SharedPicture::Create(Display* display, Drawable drawable,
                                                           Visual* visual, int depth, int width,
                                                           int height) {
    // Our surfaces hold 0x00RRGGBB words: the server's pixels must be those.
    if (width <= 0 || height <= 0 || visual == nullptr || visual->c_class != TrueColor ||
        depth != 24 || visual->red_mask != 0xFF0000 || visual->green_mask != 0xFF00 ||
        visual->blue_mask != 0xFF) {
        return nullptr;
    }
    std::unique_ptr<X11SharedPicture> picture(new X11SharedPicture(display, width, height));
    picture->m_own = xcb_connect(DisplayString(display), nullptr);
    xcb_connection_t* own = picture->m_own;
    if (xcb_connection_has_error(own) || !ServerTakesOurPixels(own)) {
        return nullptr;
    }
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(own, &xcb_shm_id);
    if (shm == nullptr || !shm->present) {
        return nullptr;
    }
    picture->m_completionEvent = static_cast<std::uint8_t>(shm->first_event + XCB_SHM_COMPLETION);
    const int shmid = shmget(IPC_PRIVATE, 2 * picture->BufferBytes(), IPC_CREAT | 0600);
    if (shmid < 0) {
        return nullptr;
    }
    void* memory = shmat(shmid, nullptr, 0);
    if (memory != reinterpret_cast<void*>(-1)) {
        picture->m_memory = static_cast<char*>(memory);
        // A server on another machine refuses the segment.
        picture->m_segment = xcb_generate_id(own);
        xcb_generic_error_t* error = xcb_request_check(
            own,
            xcb_shm_attach_checked(own, picture->m_segment, static_cast<std::uint32_t>(shmid), 1));
        picture->m_attached = error == nullptr;
        std::free(error);
    }
    // The segment goes when both sides have let go of it, also if the program
    // ends without a word.
    shmctl(shmid, IPC_RMID, nullptr);
    if (!picture->m_attached) {
        return nullptr;
    }
    picture->m_gc = xcb_generate_id(own);
    const std::uint32_t noExposures = 0;
    xcb_create_gc(own, picture->m_gc, static_cast<xcb_drawable_t>(drawable),
                  XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    picture->m_gcMade = true;
    return picture;
}

X11SharedPicture::~X11SharedPicture() {
    if (m_own != nullptr) {
        if (m_gcMade) {
            xcb_free_gc(m_own, m_gc);
        }
        if (m_attached) {
            xcb_shm_detach(m_own, m_segment);
            RoundTrip();  // the server has let go before we do
        }
        xcb_disconnect(m_own);
    }
    if (m_memory != nullptr) {
        shmdt(m_memory);
    }
}

std::size_t X11SharedPicture::BufferBytes() const {
    return static_cast<std::size_t>(m_width) * m_height * 4;
}

void X11SharedPicture::TakeCompletions() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_own)) {
        if ((event->response_type & 0x7F) == m_completionEvent) {
            const auto* done = reinterpret_cast<const xcb_shm_completion_event_t*>(event);
            const std::size_t buffer = done->offset / BufferBytes();
            if (buffer < 2) {
                m_busy[buffer] = false;
            }
        }
        std::free(event);
    }
}

void X11SharedPicture::RoundTrip() {
    std::free(xcb_get_input_focus_reply(m_own, xcb_get_input_focus(m_own), nullptr));
}

void X11SharedPicture::Put(Drawable drawable, const std::uint32_t* pixels, int left, int top,
                           int right, int bottom, int x, int y) {
    if (NextRequest(m_display) != m_toolkitDone) {
        XSync(m_display, False);
        m_toolkitDone = NextRequest(m_display);
    }
    const int buffer = m_next;
    m_next = 1 - m_next;
    if (m_busy[buffer]) {
        TakeCompletions();
    }
    if (m_busy[buffer]) {
        // Answered or not, the server is done with every put before the trip.
        RoundTrip();
        TakeCompletions();
        m_busy[buffer] = false;
    }
    const std::size_t offset = static_cast<std::size_t>(buffer) * BufferBytes();
    char* rows = m_memory + offset;
    // The server reads the buffer, not us.
    for (int row = top; row < bottom; ++row) {
        CopyRowPastCaches(rows + (static_cast<std::size_t>(row) * m_width + left) * 4,
                          pixels + static_cast<std::size_t>(row) * m_width + left,
                          static_cast<std::size_t>(right - left) * 4);
    }
    FinishCopiesPastCaches();
    xcb_shm_put_image(m_own, static_cast<xcb_drawable_t>(drawable), m_gc,
                      static_cast<std::uint16_t>(m_width), static_cast<std::uint16_t>(m_height),
                      static_cast<std::uint16_t>(left), static_cast<std::uint16_t>(top),
                      static_cast<std::uint16_t>(right - left),
                      static_cast<std::uint16_t>(bottom - top), static_cast<std::int16_t>(x),
                      static_cast<std::int16_t>(y), 24, XCB_IMAGE_FORMAT_Z_PIXMAP, 1, m_segment,
                      static_cast<std::uint32_t>(offset));
    m_busy[buffer] = true;
    xcb_flush(m_own);
}

}  // namespace win32core
