// Painting: update regions, WM_PAINT, device contexts and drawing into them.
//
// Stands in for the painting part of USER32 and the few GDI32 calls the
// system makes. Every window draws into its own pixel surface (client size);
// the driver shows the surfaces of controls that have no native look (the
// picture and icon statics). InvalidateRect adds to the window's update
// rectangle, and the queue hands out one WM_PAINT per window until BeginPaint
// (or ValidateRect) empties it. A DC from GetDC draws into the whole client
// area of its window; one from BeginPaint is clipped to the update rectangle.
//
// Limits: update regions are rectangles (the union's bounding box);
// StretchDIBits copies 1:1 only (no stretching), from 24-bit BI_RGB DIBs
// with DIB_RGB_COLORS and SRCCOPY; DCs of the screen (GetDC(NULL)) do not
// exist.
#include <algorithm>
#include <cstring>
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define TENEBRIX_PAINT_SSSE3 1
#endif

#include "paint.h"

#include "driver.h"
#include "handle_table.h"
#include "icons.h"
#include "window.h"
#include "platform/win32/dib_stride.h"

namespace win32core {

namespace {

struct DeviceContext {
    HWND window;
    RECT clip;  // client coordinates
};

HandleTable<DeviceContext>& Dcs() {
    static HandleTable<DeviceContext> table(0x20000);
    return table;
}

DeviceContext* FindDc(HDC hdc) {
    return Dcs().Find(hdc);
}

HDC NewDc(HWND window, const RECT& clip) {
    return Dcs().Add<HDC>(std::make_unique<DeviceContext>(DeviceContext{window, clip}));
}

bool IsEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
           a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    return IsEmpty(r) ? RECT{0, 0, 0, 0} : r;
}

RECT Union(const RECT& a, const RECT& b) {
    if (IsEmpty(a)) {
        return b;
    }
    if (IsEmpty(b)) {
        return a;
    }
    return RECT{a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
                a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
}

// The window and surface a DC draws into, with its clip rectangle cut to the
// surface; nullptr when the DC or its window is gone.
Window* DcTarget(HDC hdc, RECT* clip) {
    DeviceContext* dc = FindDc(hdc);
    if (dc == nullptr) {
        return nullptr;
    }
    Window* w = FindWindowData(dc->window);
    if (w == nullptr) {
        return nullptr;
    }
    *clip = Intersect(dc->clip, RECT{0, 0, w->surface.width, w->surface.height});
    return w;
}

#ifdef TENEBRIX_PAINT_SSSE3
// Four pixels a step with one byte shuffle, where the processor has it
// (chosen at run time). Each 16-byte load uses its first 12 bytes, so the
// loop stops while the row still holds 16; returns the pixels done.
__attribute__((target("ssse3"))) long long ConvertBgrRowSsse3(const BYTE* p, std::uint32_t* out,
                                                              long long count) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    long long i = 0;
    for (; i + 6 <= count; i += 4, p += 12, out += 4) {
        const __m128i bgr = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(bgr, spread));
    }
    return i;
}
#endif

// Blue, green, red bytes to 0x00RRGGBB surface pixels. Four pixels are three
// little-endian words, so whole words are taken apart instead of single bytes.
void ConvertBgrRow(const BYTE* p, std::uint32_t* out, long long count) {
    long long i = 0;
#ifdef TENEBRIX_PAINT_SSSE3
    static const bool s_shuffle = __builtin_cpu_supports("ssse3");
    if (s_shuffle) {
        i = ConvertBgrRowSsse3(p, out, count);
        p += i * 3;
        out += i;
    }
#endif
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    for (; i + 4 <= count; i += 4, p += 12, out += 4) {
        std::uint32_t w[3];
        std::memcpy(w, p, sizeof(w));
        out[0] = w[0] & 0xFFFFFFu;
        out[1] = (w[0] >> 24) | ((w[1] & 0xFFFFu) << 8);
        out[2] = (w[1] >> 16) | ((w[2] & 0xFFu) << 16);
        out[3] = w[2] >> 8;
    }
#endif
    for (; i < count; ++i, p += 3) {
        *out++ = (static_cast<std::uint32_t>(p[2]) << 16) |
                 (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
    }
}

void Changed(Window& w, const RECT& r) {
    if (!IsEmpty(r)) {
        if (WindowDriver* d = Driver()) {
            d->SurfaceChanged(w, r);
        }
    }
}

}  // namespace

bool TakePaintMessage(MSG* msg) {
    const Window* w = FirstWindowWhere([](const Window& each) {
        return each.needsPaint && IsWindowVisible(each.handle) != FALSE;
    });
    if (w == nullptr) {
        return false;
    }
    *msg = MSG{w->handle, WM_PAINT, 0, 0, 0, {0, 0}};
    return true;
}

}  // namespace win32core

using namespace win32core;

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr) {
        return FALSE;
    }
    const RECT client = ClientRect(*w);
    const RECT r = lpRect != nullptr ? Intersect(*lpRect, client) : client;
    if (IsEmpty(r)) {
        return TRUE;
    }
    w->update = Union(w->update, r);
    w->needsPaint = true;
    w->erase = w->erase || bErase != FALSE;
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr) {
        return FALSE;
    }
    // A partial validation keeps the (rectangular) update area whole unless it
    // covers it entirely.
    if (lpRect == nullptr ||
        (lpRect->left <= w->update.left && lpRect->top <= w->update.top &&
         lpRect->right >= w->update.right && lpRect->bottom >= w->update.bottom)) {
        w->needsPaint = false;
        w->erase = false;
        w->update = RECT{0, 0, 0, 0};
    }
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr) {
        return FALSE;
    }
    if (w->needsPaint && IsWindowVisible(hWnd)) {
        SendMessageA(hWnd, WM_PAINT, 0, 0);
    }
    return TRUE;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr || lpPaint == nullptr) {
        return nullptr;
    }
    *lpPaint = PAINTSTRUCT{};
    lpPaint->rcPaint = w->update;
    const bool erase = w->erase;
    HDC dc = NewDc(hWnd, w->update);
    w->needsPaint = false;
    w->erase = false;
    w->update = RECT{0, 0, 0, 0};
    lpPaint->hdc = dc;
    if (erase) {
        // fErase tells the window that the background still needs erasing.
        lpPaint->fErase = SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    }
    return dc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    if (lpPaint == nullptr) {
        return FALSE;
    }
    Dcs().Erase(lpPaint->hdc);
    return TRUE;
}

HDC WINAPI GetDC(HWND hWnd) {
    Window* w = FindWindowData(hWnd);
    if (w == nullptr) {
        return nullptr;
    }
    return NewDc(hWnd, ClientRect(*w));
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
    DeviceContext* dc = FindDc(hDC);
    if (dc == nullptr || dc->window != hWnd) {
        return 0;
    }
    Dcs().Erase(hDC);
    return 1;
}

HWND WINAPI WindowFromDC(HDC hDC) {
    DeviceContext* dc = FindDc(hDC);
    return dc != nullptr ? dc->window : nullptr;
}

int WINAPI StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc,
                         int ySrc, int SrcWidth, int SrcHeight, const VOID* lpBits,
                         const BITMAPINFO* lpbmi, UINT iUsage, DWORD rop) {
    RECT clip;
    Window* w = DcTarget(hdc, &clip);
    if (w == nullptr || lpBits == nullptr || lpbmi == nullptr || iUsage != DIB_RGB_COLORS ||
        rop != SRCCOPY) {
        return 0;
    }
    const BITMAPINFOHEADER& h = lpbmi->bmiHeader;
    if (h.biBitCount != 24 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0) {
        return 0;
    }
    if (DestWidth != SrcWidth || DestHeight != SrcHeight || SrcWidth <= 0 || SrcHeight <= 0) {
        return 0;  // only 1:1 copies
    }
    const long long width = h.biWidth;
    const bool bottomUp = h.biHeight > 0;
    const long long height = bottomUp ? h.biHeight : -static_cast<long long>(h.biHeight);
    const auto stride = static_cast<long long>(Dib24RowBytes(static_cast<size_t>(width)));
    const auto* bits = static_cast<const BYTE*>(lpBits);
    // The columns that land inside the clip and come from inside the source,
    // the same for every row.
    const long long first =
        std::max({0LL, static_cast<long long>(clip.left) - xDest, -static_cast<long long>(xSrc)});
    const long long last = std::min({static_cast<long long>(SrcWidth),
                                     static_cast<long long>(clip.right) - xDest, width - xSrc});
    for (int j = 0; j < SrcHeight && first < last; ++j) {
        const int dy = yDest + j;
        // Source rows of a bottom-up DIB count from the bottom of the picture.
        const long long fromBottom = bottomUp ? static_cast<long long>(ySrc) + SrcHeight - 1 - j
                                              : height - 1 - (static_cast<long long>(ySrc) + j);
        if (dy < clip.top || dy >= clip.bottom || fromBottom < 0 || fromBottom >= height) {
            continue;
        }
        ConvertBgrRow(bits + fromBottom * stride + (xSrc + first) * 3,
                      w->surface.Row(dy) + xDest + first, last - first);
    }
    Changed(*w, Intersect(clip, RECT{xDest, yDest, xDest + SrcWidth, yDest + SrcHeight}));
    return SrcHeight;
}

BOOL WINAPI DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
    RECT clip;
    Window* w = DcTarget(hDC, &clip);
    const int size = GetSystemMetrics(SM_CXICON);
    const IconBitmap* icon = IconBitmapOf(hIcon, size);
    if (w == nullptr || icon == nullptr) {
        return FALSE;
    }
    // Drawn at the system's icon size; another image size is scaled (nearest).
    for (int y = 0; y < size; ++y) {
        const int dy = Y + y;
        if (dy < clip.top || dy >= clip.bottom) {
            continue;
        }
        const int sy = y * icon->height / size;
        for (int x = 0; x < size; ++x) {
            const int dx = X + x;
            const std::uint32_t argb = icon->argb[sy * icon->width + x * icon->width / size];
            if (dx >= clip.left && dx < clip.right && (argb >> 24) != 0) {
                w->surface.Row(dy)[dx] = argb & 0xFFFFFF;
            }
        }
    }
    Changed(*w, Intersect(clip, RECT{X, Y, X + size, Y + size}));
    return TRUE;
}
