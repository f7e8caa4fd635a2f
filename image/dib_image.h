// CDibImage: the system's one image type, a 24-bit bottom-up device-independent
// bitmap held exactly as the drawing call and the BMP file format use it.
//
// Layout: three bytes a pixel (blue, green, red); rows stored bottom row first,
// each DibStride(width) bytes (width * 3 brought up to a multiple of 4). Row(y)
// counts from the top of the picture: Row(0) is the last row in memory.
//
// The image is a value: copying it copies its pixels into blocks of its own.
// New pixel buffers are cleared to zero. A header whose width or height is not
// positive, whose biSizeImage is smaller than height * stride, or whose size does
// not fit a signed 32-bit count is kept but gets no pixel buffer.
//
// Results: 0 for success, -1 for failure.
#pragma once

#include <windows.h>

// Bytes one 24-bit row takes: width * 3 + (width mod 4). Meaningful for widths
// whose stride fits an int; see DibStride64 for any width.
long long DibStride64(long long width);
inline int DibStride(int width) {
    return static_cast<int>(DibStride64(width));
}
// height rows of width pixels: height * stride bytes, for a width and a height
// of 1 or more; -1 when that many bytes do not fit a signed 32-bit count.
long long DibPixelBytes(long long width, long long height);

// Fills all eleven fields of a BITMAPINFOHEADER for an uncompressed image.
// biSizeImage is height * stride (24-bit stride rule, whatever bitCount says).
void MakeInfoHeader(int width, int height, WORD bitCount, BITMAPINFOHEADER* out);
// A 24-bit header with a zero colour entry.
void MakeBitmapInfo24(int width, int height, BITMAPINFO* out);
// The 14-byte BMP file header that goes before `info` (pixels at offset 54, or
// after room for a full colour table for 8 bits a pixel or fewer).
void MakeFileHeader(BITMAPINFOHEADER info, BITMAPFILEHEADER* out);

class CDibImage {
  public:
    // With null: the empty image. Otherwise an image of that format (44 bytes
    // copied) with a buffer of its own; no pixels are copied.
    explicit CDibImage(const BITMAPINFO* info = nullptr);
    CDibImage(const CDibImage& other);
    CDibImage& operator=(const CDibImage& other) { return CopyFrom(other); }
    ~CDibImage();

    // Replaces the 44-byte header and adapts buffer and row table: the buffer
    // is kept (pixels and address) while the image size stays the same, the
    // row table while width and height stay the same. 0 when the image has a
    // buffer afterwards, -1 otherwise.
    int SetHeader(BITMAPINFO info);
    int SetHeader(CDibImage image);
    // Makes this a width x height 24-bit image; never clears existing pixels.
    int Create(int width, int height);
    // Assignment: header, then pixels when a buffer was obtained.
    CDibImage& CopyFrom(const CDibImage& source);
    // Back to the empty image: no buffer, no row table, all header bytes zero.
    void Reset();

    // Row y from the top of the picture; y in 0 .. Height() - 1, image with pixels.
    BYTE* Row(int y) { return m_rows[y]; }
    const BYTE* Row(int y) const { return m_rows[y]; }
    int Width() const { return m_info.bmiHeader.biWidth; }
    int Height() const { return m_info.bmiHeader.biHeight; }
    int ImageSize() const { return static_cast<int>(m_info.bmiHeader.biSizeImage); }
    BYTE* Bits() { return m_bits; }
    const BYTE* Bits() const { return m_bits; }
    BITMAPINFO* Info() { return &m_info; }
    const BITMAPINFO* Info() const { return &m_info; }
    // True when pixels can be addressed: a positive size, a buffer and a row table.
    bool HasPixels() const { return ImageSize() > 0 && m_bits != nullptr && m_rows != nullptr; }

    // BMP files (24-bit, uncompressed). Load changes nothing unless it succeeds.
    // Save replaces the file whole or leaves it as it was; when it fails,
    // errno says why.
    int Load(const char* path);
    int Save(const char* path) const;
    // The path is printf(format, ...) and must fit 256 bytes with its
    // terminator; a longer one fails with errno ENAMETOOLONG.
    int LoadFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
    int SaveFormat(const char* format, ...) const __attribute__((format(printf, 2, 3)));

  private:
    enum class NewPixels { kCleared, kOverwritten };
    // SetHeader; a buffer allocated here is cleared unless the caller is about
    // to overwrite every byte of it.
    int Shape(const BITMAPINFO& info, NewPixels newPixels);
    int AllocBuffer(NewPixels newPixels = NewPixels::kCleared);
    void FreeBuffer();
    int BuildRowTable();
    void FreeRowTable();

    BITMAPINFO m_info;
    BYTE* m_bits;
    BYTE** m_rows;
};
