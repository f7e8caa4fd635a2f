// Shaping, copying and releasing images: the buffer and row-table rules.
#include "image/dib_image.h"

#include <climits>
#include <cstring>
#include <new>

namespace {

// A header can carry pixels only when it describes them: positive width and
// height, and a byte count that holds every row and fits a signed 32-bit size.
bool DescribesPixels(const BITMAPINFOHEADER& h) {
    const long long needed = DibPixelBytes(h.biWidth, h.biHeight);
    return needed > 0 && h.biSizeImage <= static_cast<DWORD>(INT_MAX) &&
           static_cast<long long>(h.biSizeImage) >= needed;
}

}  // namespace

CDibImage::CDibImage(const BITMAPINFO* info) : m_bits(nullptr), m_rows(nullptr) {
    std::memset(&m_info, 0, sizeof(m_info));
    if (info != nullptr) {
        SetHeader(*info);
    }
}

CDibImage::CDibImage(const CDibImage& other) : m_bits(nullptr), m_rows(nullptr) {
    std::memset(&m_info, 0, sizeof(m_info));
    CopyFrom(other);
}

CDibImage::~CDibImage() {
    FreeRowTable();
    FreeBuffer();
}

int CDibImage::SetHeader(BITMAPINFO info) {
    return Shape(info, NewPixels::kCleared);
}

int CDibImage::Shape(const BITMAPINFO& info, NewPixels newPixels) {
    const LONG oldWidth = m_info.bmiHeader.biWidth;
    const LONG oldHeight = m_info.bmiHeader.biHeight;
    const DWORD oldSize = m_info.bmiHeader.biSizeImage;
    std::memcpy(&m_info, &info, sizeof(m_info));

    if (!DescribesPixels(m_info.bmiHeader)) {
        FreeRowTable();
        FreeBuffer();
        return -1;
    }
    bool reallocated = false;
    if (m_info.bmiHeader.biSizeImage != oldSize || m_bits == nullptr) {
        FreeBuffer();
        AllocBuffer(newPixels);
        reallocated = true;
    }
    if (reallocated || m_info.bmiHeader.biWidth != oldWidth ||
        m_info.bmiHeader.biHeight != oldHeight || m_rows == nullptr) {
        FreeRowTable();
        BuildRowTable();
    }
    return m_bits != nullptr ? 0 : -1;
}

int CDibImage::SetHeader(CDibImage image) {
    return SetHeader(image.m_info);
}

int CDibImage::Create(int width, int height) {
    BITMAPINFO info;
    MakeBitmapInfo24(width, height, &info);
    return SetHeader(info);
}

CDibImage& CDibImage::CopyFrom(const CDibImage& source) {
    if (&source == this) {
        return *this;
    }
    const NewPixels newPixels =
        source.m_bits != nullptr ? NewPixels::kOverwritten : NewPixels::kCleared;
    if (Shape(source.m_info, newPixels) == 0 && source.m_bits != nullptr) {
        std::memcpy(m_bits, source.m_bits, static_cast<size_t>(ImageSize()));
    }
    return *this;
}

void CDibImage::Reset() {
    FreeRowTable();
    FreeBuffer();
    std::memset(&m_info, 0, sizeof(m_info));
}

int CDibImage::AllocBuffer(NewPixels newPixels) {
    // Cleared, so that first frames, backgrounds and histories are deterministic;
    // a copy that fills the whole buffer at once needs no clearing first.
    const size_t size = static_cast<size_t>(ImageSize());
    m_bits = newPixels == NewPixels::kCleared ? new (std::nothrow) BYTE[size]()
                                              : new (std::nothrow) BYTE[size];
    return m_bits != nullptr ? 0 : -1;
}

void CDibImage::FreeBuffer() {
    delete[] m_bits;
    m_bits = nullptr;
}

int CDibImage::BuildRowTable() {
    if (m_bits == nullptr) {
        return -1;
    }
    const int height = Height();
    m_rows = new (std::nothrow) BYTE*[static_cast<size_t>(height)];
    if (m_rows == nullptr) {
        return -1;
    }
    const size_t stride = static_cast<size_t>(DibStride(Width()));
    for (int i = 0; i < height; ++i) {
        m_rows[height - 1 - i] = m_bits + static_cast<size_t>(i) * stride;
    }
    return 0;
}

void CDibImage::FreeRowTable() {
    delete[] m_rows;
    m_rows = nullptr;
}
