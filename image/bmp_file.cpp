// BMP files: reading and writing CDibImage as uncompressed 24-bit bitmaps.
//
// Written, through a temporary file renamed over the name: the 14-byte file
// header ("BM", pixels at offset 54), the image's 40-byte info header
// unchanged, then the pixel buffer (bottom row first, rows padded to 4 bytes,
// bytes blue, green, red); no colour table.
// Read: uncompressed 24-bit files with a 40-, 52-, 56-, 108- or 124-byte info
// header, bottom-up or top-down, pixels taken from bfOffBits. Anything else,
// and any file too short for its pixels, is refused and leaves the image as it
// was. A loaded image always gets the canonical 40-byte, bottom-up header.
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <vector>

#include "image/dib_image.h"
#include "platform/crt/path_fopen.h"

namespace {

constexpr WORD kBmpSignature = 0x4D42;  // "BM"
constexpr size_t kPathBufferSize = 256;

bool IsKnownInfoHeaderSize(DWORD size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// Length of an open file in bytes, -1 when it cannot be told; rewinds it.
long FileLength(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    const long length = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) {
        return -1;
    }
    return length;
}

struct ParsedBmp {
    BITMAPINFO info;  // canonical: 40-byte header, positive height
    bool topDown;
    std::vector<BYTE> pixels;  // rows as stored in the file
};

// Reads and checks the whole file; false for anything Load refuses.
bool ReadBmp(std::FILE* file, ParsedBmp* out) {
    const long length = FileLength(file);
    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER infoHeader;
    if (length < static_cast<long>(sizeof(fileHeader) + sizeof(infoHeader)) ||
        std::fread(&fileHeader, sizeof(fileHeader), 1, file) != 1 ||
        std::fread(&infoHeader, sizeof(infoHeader), 1, file) != 1) {
        return false;
    }
    if (fileHeader.bfType != kBmpSignature || !IsKnownInfoHeaderSize(infoHeader.biSize) ||
        infoHeader.biCompression != BI_RGB || infoHeader.biBitCount != 24 ||
        infoHeader.biWidth <= 0 || infoHeader.biHeight == 0) {
        return false;
    }
    const long long height = infoHeader.biHeight < 0 ? -static_cast<long long>(infoHeader.biHeight)
                                                     : infoHeader.biHeight;
    const long long pixelBytes = DibPixelBytes(infoHeader.biWidth, height);
    const long long headersEnd = static_cast<long long>(sizeof(fileHeader)) + infoHeader.biSize;
    if (pixelBytes < 0 || fileHeader.bfOffBits < headersEnd ||
        static_cast<long long>(fileHeader.bfOffBits) + pixelBytes > length) {
        return false;
    }
    out->pixels.resize(static_cast<size_t>(pixelBytes));
    if (std::fseek(file, static_cast<long>(fileHeader.bfOffBits), SEEK_SET) != 0 ||
        std::fread(out->pixels.data(), 1, out->pixels.size(), file) != out->pixels.size()) {
        return false;
    }
    std::memset(&out->info, 0, sizeof(out->info));
    out->info.bmiHeader = infoHeader;
    out->info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    out->info.bmiHeader.biHeight = static_cast<LONG>(height);
    out->info.bmiHeader.biSizeImage = static_cast<DWORD>(pixelBytes);
    out->topDown = infoHeader.biHeight < 0;
    return true;
}

}  // namespace

int CDibImage::Load(const char* path) {
    std::FILE* file = PathFopen(path, "rb");
    if (file == nullptr) {
        return -1;
    }
    ParsedBmp bmp;
    const bool ok = ReadBmp(file, &bmp);
    std::fclose(file);
    if (!ok || SetHeader(bmp.info) != 0) {
        return -1;
    }
    if (!bmp.topDown) {
        std::memcpy(m_bits, bmp.pixels.data(), bmp.pixels.size());
        return 0;
    }
    // A top-down file stores the top row first: file row y is picture row y,
    // the last row in memory. Addressed from the buffer itself, which exists
    // even where the row table could not be made.
    const size_t stride = static_cast<size_t>(DibStride(Width()));
    for (int y = 0; y < Height(); ++y) {
        std::memcpy(m_bits + static_cast<size_t>(Height() - 1 - y) * stride,
                    bmp.pixels.data() + static_cast<size_t>(y) * stride, stride);
    }
    return 0;
}

int CDibImage::Save(const char* path) const {
    if (m_bits == nullptr || ImageSize() <= 0 || m_info.bmiHeader.biBitCount <= 8) {
        return -1;
    }
    BITMAPFILEHEADER fileHeader;
    MakeFileHeader(m_info.bmiHeader, &fileHeader);
    // Written beside the name and renamed over it: no half-written file is
    // ever seen, and a link at the name is replaced, not written through.
    PathReplacement replacement;
    if (PathOpenReplacement(path, &replacement) != 0) {
        return -1;
    }
    const size_t size = static_cast<size_t>(ImageSize());
    if (std::fwrite(&fileHeader, sizeof(fileHeader), 1, replacement.file) != 1 ||
        std::fwrite(&m_info.bmiHeader, sizeof(m_info.bmiHeader), 1, replacement.file) != 1 ||
        std::fwrite(m_bits, 1, size, replacement.file) != size) {
        PathAbandonReplacement(&replacement);
        return -1;
    }
    return PathCommitReplacement(&replacement);
}

namespace {

// printf into the 256-byte path buffer; false when the path does not fit.
bool FormatPath(char (&path)[kPathBufferSize], const char* format, va_list args) {
    if (format == nullptr) {
        errno = EINVAL;
        return false;
    }
    const int length = std::vsnprintf(path, sizeof(path), format, args);
    if (length < 0 || static_cast<size_t>(length) >= sizeof(path)) {
        errno = ENAMETOOLONG;
        return false;
    }
    return true;
}

}  // namespace

int CDibImage::LoadFormat(const char* format, ...) {
    char path[kPathBufferSize];
    va_list args;
    va_start(args, format);
    const bool fits = FormatPath(path, format, args);
    va_end(args);
    return fits ? Load(path) : -1;
}

int CDibImage::SaveFormat(const char* format, ...) const {
    char path[kPathBufferSize];
    va_list args;
    va_start(args, format);
    const bool fits = FormatPath(path, format, args);
    va_end(args);
    return fits ? Save(path) : -1;
}
