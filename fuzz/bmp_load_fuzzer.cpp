// Any file as a sprite: CDibImage::Load either takes a 24-bit picture exactly
// as the file holds it, under the canonical bottom-up header, or refuses it and
// leaves the image as it was. Only the loader, so that it runs fast; the uses
// of a loaded sprite are in bmp_sprite_fuzzer.cpp.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "image/dib_image.h"

namespace {

std::uint32_t ReadLe32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The image shows the file's picture: header fields taken over, rows from the
// file's pixel offset, bottom row first unless the height was negative.
void CheckLoaded(const CDibImage& image, const std::uint8_t* file, std::size_t size) {
    FUZZ_CHECK(size >= 54 && image.HasPixels());
    BITMAPINFOHEADER header;
    std::memcpy(&header, file + 14, sizeof header);
    const long long height =
        header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
    const BITMAPINFOHEADER& loaded = image.Info()->bmiHeader;
    FUZZ_CHECK(loaded.biSize == 40 && loaded.biWidth == header.biWidth &&
               loaded.biHeight == height && loaded.biBitCount == 24 &&
               loaded.biCompression == BI_RGB && loaded.biPlanes == header.biPlanes);
    FUZZ_CHECK(static_cast<long long>(loaded.biSizeImage) ==
               DibPixelBytes(loaded.biWidth, loaded.biHeight));

    const std::size_t stride = static_cast<std::size_t>(DibStride(image.Width()));
    const std::size_t offset = ReadLe32(file + 10);
    FUZZ_CHECK(offset + stride * static_cast<std::size_t>(height) <= size);
    for (int y = 0; y < image.Height(); ++y) {
        const std::size_t fileRow = header.biHeight < 0
                                        ? static_cast<std::size_t>(y)
                                        : static_cast<std::size_t>(image.Height() - 1 - y);
        FUZZ_CHECK(std::memcmp(image.Row(y), file + offset + fileRow * stride, stride) == 0);
    }
}

bool SameImage(const CDibImage& a, const CDibImage& b) {
    if (std::memcmp(a.Info(), b.Info(), sizeof(BITMAPINFO)) != 0 ||
        a.HasPixels() != b.HasPixels()) {
        return false;
    }
    return !a.HasPixels() ||
           std::memcmp(a.Bits(), b.Bits(), static_cast<std::size_t>(a.ImageSize())) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file;
    file.Write(data, size);

    // Into an empty image, as the program loads its sprites.
    CDibImage sprite;
    const bool loaded = sprite.Load(file.Path()) == 0;
    if (loaded) {
        CheckLoaded(sprite, data, size);
    } else {
        FUZZ_CHECK(SameImage(sprite, CDibImage()));
    }

    // Into an image that holds a picture: a refused file changes nothing; a
    // picture of the same size is read into the same buffer.
    CDibImage held;
    if (loaded) {
        held = sprite;
        std::memset(held.Bits(), 0x5A, static_cast<std::size_t>(held.ImageSize()));
    } else {
        held.Create(5, 3);
        std::memset(held.Bits(), 0xA5, static_cast<std::size_t>(held.ImageSize()));
    }
    const CDibImage before(held);
    const BYTE* buffer = held.Bits();
    if (held.Load(file.Path()) == 0) {
        FUZZ_CHECK(loaded && SameImage(held, sprite));
        FUZZ_CHECK(held.Bits() == buffer);
    } else {
        FUZZ_CHECK(!loaded && SameImage(held, before));
    }
    return 0;
}
