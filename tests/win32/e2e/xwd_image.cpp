// XWD reading (see xwd_image.h). The header is big-endian CARD32 fields; the
// pixels follow the window name and the colour map.
#include "xwd_image.h"

#include <fstream>
#include <iterator>

namespace {

std::uint32_t Card32(const std::vector<unsigned char>& d, std::size_t field) {
    const std::size_t i = field * 4;
    return (std::uint32_t{d[i]} << 24) | (std::uint32_t{d[i + 1]} << 16) |
           (std::uint32_t{d[i + 2]} << 8) | d[i + 3];
}

int MaskShift(std::uint32_t mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

}  // namespace

bool ReadXwd(const std::string& path, XwdImage* image, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
    if (d.size() < 100) {
        *error = "no XWD file at " + path;
        return false;
    }
    const std::uint32_t headerSize = Card32(d, 0);
    const std::uint32_t format = Card32(d, 2);
    const int width = static_cast<int>(Card32(d, 4));
    const int height = static_cast<int>(Card32(d, 5));
    const std::uint32_t byteOrder = Card32(d, 7);
    const std::uint32_t bitsPerPixel = Card32(d, 11);
    const std::uint32_t bytesPerLine = Card32(d, 12);
    const std::uint32_t red = Card32(d, 14), green = Card32(d, 15), blue = Card32(d, 16);
    const std::uint32_t colours = Card32(d, 19);
    // Pixels of 3 or 4 bytes; rows may be padded beyond width * pixel size.
    const std::uint32_t pixelBytes = bitsPerPixel / 8;
    if (format != 2 || (bitsPerPixel != 24 && bitsPerPixel != 32) ||
        bytesPerLine < pixelBytes * static_cast<std::uint32_t>(width)) {
        *error = "only 24- and 32-bit ZPixmap dumps are read";
        return false;
    }
    const std::size_t offset = headerSize + static_cast<std::size_t>(colours) * 12;
    if (d.size() < offset + static_cast<std::size_t>(bytesPerLine) * height) {
        *error = "the XWD file is cut short";
        return false;
    }
    image->width = width;
    image->height = height;
    image->pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = d.data() + offset + static_cast<std::size_t>(y) * bytesPerLine;
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = row + x * pixelBytes;
            std::uint32_t v = 0;
            for (std::uint32_t i = 0; i < pixelBytes; ++i) {
                const std::uint32_t byte = byteOrder == 0 ? p[i] : p[pixelBytes - 1 - i];
                v |= byte << (8 * i);
            }
            const std::uint32_t r = (v & red) >> MaskShift(red);
            const std::uint32_t g = (v & green) >> MaskShift(green);
            const std::uint32_t b = (v & blue) >> MaskShift(blue);
            image->pixels[static_cast<std::size_t>(y) * width + x] = (r << 16) | (g << 8) | b;
        }
    }
    return true;
}
