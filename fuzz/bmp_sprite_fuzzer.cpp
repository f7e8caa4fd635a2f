// Any file as a sprite, then everything the program does with a picture:
// paste it colour-keyed into a shown picture, resize it as a camera frame, save
// the shown picture as a snapshot and the sprite itself, and read both back.
//
// Input: the file, followed by the paste position and the shown picture's size
// (taken from the end of the input, so that a plain BMP file is an input too).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "image/dib_image.h"
#include "processing/compositing.h"
#include "processing/cpu_features.h"
#include "processing/resampling.h"

namespace {

const Pixel3 kKey = {0x00, 0xFF, 0x00};  // the program's transparent green

bool SamePixels(const CDibImage& a, const CDibImage& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && a.HasPixels() && b.HasPixels() &&
           std::memcmp(a.Bits(), b.Bits(), static_cast<std::size_t>(a.ImageSize())) == 0;
}

// Every pixel of `after` is the sprite's where an opaque sprite pixel covers
// it, else what `before` held there.
void CheckPaste(const CDibImage& before, const CDibImage& after, const CDibImage& sprite, int x,
                int y) {
    for (int row = 0; row < after.Height(); ++row) {
        for (int column = 0; column < after.Width(); ++column) {
            const long long sx = static_cast<long long>(column) - x;
            const long long sy = static_cast<long long>(row) - y;
            const BYTE* expected = before.Row(row) + 3 * column;
            if (sx >= 0 && sy >= 0 && sx < sprite.Width() && sy < sprite.Height()) {
                const BYTE* s = sprite.Row(static_cast<int>(sy)) + 3 * sx;
                if (!(s[0] == kKey.blue && s[1] == kKey.green && s[2] == kKey.red)) {
                    expected = s;
                }
            }
            FUZZ_CHECK(std::memcmp(after.Row(row) + 3 * column, expected, 3) == 0);
        }
    }
}

// Save, then Load: the same header and pixels, in a file of the written size.
void CheckSavedAndRead(const CDibImage& image, const std::string& path) {
    FUZZ_CHECK(image.Save(path.c_str()) == 0);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fseek(file, 0, SEEK_END) == 0);
    FUZZ_CHECK(std::ftell(file) == 54 + image.ImageSize());
    std::fclose(file);
    CDibImage read;
    FUZZ_CHECK(read.Load(path.c_str()) == 0);
    FUZZ_CHECK(std::memcmp(read.Info(), image.Info(), sizeof(BITMAPINFOHEADER)) == 0);
    FUZZ_CHECK(SamePixels(read, image));
    std::remove(path.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file;
    static ScratchFolder folder;
    static const std::string snapshotPath = folder.File("snapshot.bmp");

    FuzzedDataProvider input(data, size);
    const int x = input.ConsumeIntegral<int>();
    const int y = input.ConsumeIntegral<int>();
    const int width = input.ConsumeIntegralInRange<int>(1, 320);
    const int height = input.ConsumeIntegralInRange<int>(1, 240);
    const std::vector<std::uint8_t> bmp = input.ConsumeRemainingBytes<std::uint8_t>();
    file.Write(bmp.data(), bmp.size());

    CDibImage sprite;
    if (sprite.Load(file.Path()) != 0) {
        return 0;
    }

    // Pasted into a shown picture that holds something already.
    CDibImage shown;
    FUZZ_CHECK(shown.Create(width, height) == 0);
    for (int i = 0; i < shown.ImageSize(); ++i) {
        shown.Bits()[i] = static_cast<BYTE>(i * 7 + 3);
    }
    const CDibImage before(shown);
    PasteColorKeyed(&shown, &sprite, x, y, kKey);
    CheckPaste(before, shown, sprite, x, y);

    // Resized as a camera frame to the shown size: every vector path gives the
    // bytes of the plain one, and a picture of that size is copied whole.
    CDibImage plain;
    const VectorPath limit = LimitVectorPath(VectorPath::kScalar);
    ResizeImage(&sprite, &plain, width, height);
    FUZZ_CHECK(plain.Width() == width && plain.Height() == height && plain.HasPixels());
    for (VectorPath path : {VectorPath::kSse41, VectorPath::kAvx2}) {
        if (path <= SupportedVectorPath()) {
            LimitVectorPath(path);
            CDibImage fast;
            ResizeImage(&sprite, &fast, width, height);
            FUZZ_CHECK(SamePixels(plain, fast));
        }
    }
    LimitVectorPath(limit);
    if (sprite.Width() == width && sprite.Height() == height) {
        FUZZ_CHECK(SamePixels(plain, sprite));
    }

    // Saved and read back: the snapshot and the sprite itself.
    CheckSavedAndRead(shown, snapshotPath);
    CheckSavedAndRead(sprite, snapshotPath);
    return 0;
}
