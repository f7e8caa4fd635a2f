// Checks a snapshot that the real program saved in an end-to-end run.
//
//   snapshot_check still SNAPSHOT SPRITE_DIR REFERENCE
//     REFERENCE is the camera's 640 x 480 frame as raw BGR rows, top row first.
//     The snapshot must be exactly that scene at 320 x 240 (every second pixel
//     of every second row) with the stealth-mode HUD for 100 % drawn over it.
//   snapshot_check moving SNAPSHOT SPRITE_DIR
//     The snapshot must carry the stealth-mode HUD with a number below 100.
//
// Prints what it found; exits 0 when the snapshot passes, 1 otherwise.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image/dib_image.h"
#include "tests/app/expected_hud.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;
constexpr long kSnapshotBytes = 230454;
const BYTE kKey[3] = {0x00, 0xFF, 0x00};

bool LoadSprites(const std::string& dir, HudSprites* s) {
    bool ok = s->item.Load((dir + "/item.bmp").c_str()) == 0 &&
              s->camouflage.Load((dir + "/camouflage.bmp").c_str()) == 0;
    for (int d = 0; d < 10; ++d) {
        ok = ok && s->digits[d].Load((dir + "/num" + std::to_string(d) + ".bmp").c_str()) == 0;
    }
    return ok;
}

bool IsKey(const BYTE* p) {
    return std::memcmp(p, kKey, 3) == 0;
}

// Whether every visible pixel of `sprite` is found at (x, y) of `picture`.
bool ShowsSprite(const CDibImage& picture, const CDibImage& sprite, int x, int y) {
    for (int i = 0; i < sprite.Height(); ++i) {
        for (int j = 0; j < sprite.Width(); ++j) {
            const BYTE* s = sprite.Row(i) + 3 * j;
            if (!IsKey(s) && std::memcmp(picture.Row(y + i) + 3 * (x + j), s, 3) != 0) {
                return false;
            }
        }
    }
    return true;
}

// The digit shown at (x, 25), or -1 when none is.
int DigitAt(const CDibImage& picture, const HudSprites& s, int x) {
    for (int d = 0; d < 10; ++d) {
        if (ShowsSprite(picture, s.digits[d], x, 25)) {
            return d;
        }
    }
    return -1;
}

bool LoadSnapshot(const char* path, CDibImage* snapshot) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const long size = in ? static_cast<long>(in.tellg()) : -1;
    if (size != kSnapshotBytes) {
        std::printf("%s: %ld bytes, expected %ld\n", path, size, kSnapshotBytes);
        return false;
    }
    if (snapshot->Load(path) != 0 || snapshot->Width() != kWidth || snapshot->Height() != kHeight) {
        std::printf("%s: not a %d x %d 24-bit BMP\n", path, kWidth, kHeight);
        return false;
    }
    return true;
}

int CheckStill(const CDibImage& snapshot, const HudSprites& s, const char* referencePath) {
    std::ifstream in(referencePath, std::ios::binary);
    const std::vector<char> raw((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
    const size_t stride = 640 * 3;
    if (raw.size() != stride * 480) {
        std::printf("%s: %zu bytes, expected a 640 x 480 BGR frame\n", referencePath, raw.size());
        return 1;
    }
    CDibImage expected;
    expected.Create(kWidth, kHeight);
    for (int i = 0; i < kHeight; ++i) {
        for (int j = 0; j < kWidth; ++j) {
            std::memcpy(expected.Row(i) + 3 * j, &raw[2 * i * stride + 3 * 2 * j], 3);
        }
    }
    DrawExpectedHud(&expected, s, true, 100);
    int wrong = 0;
    for (int i = 0; i < kHeight; ++i) {
        for (int j = 0; j < kWidth; ++j) {
            const BYTE* a = snapshot.Row(i) + 3 * j;
            const BYTE* b = expected.Row(i) + 3 * j;
            if (std::memcmp(a, b, 3) != 0 && wrong++ < 5) {
                std::printf("pixel (%d, %d): BGR %d %d %d, expected %d %d %d\n", j, i, a[0], a[1],
                            a[2], b[0], b[1], b[2]);
            }
        }
    }
    std::printf("digits at 269, 279, 290 of row 25: %d %d %d\n", DigitAt(snapshot, s, 269),
                DigitAt(snapshot, s, 279), DigitAt(snapshot, s, 290));
    std::printf("%d pixels differ from the background with the HUD for 100\n", wrong);
    return wrong == 0 ? 0 : 1;
}

int CheckMoving(const CDibImage& snapshot, const HudSprites& s) {
    const int units = DigitAt(snapshot, s, 290);
    const int tens = DigitAt(snapshot, s, 279);
    const int hundreds = DigitAt(snapshot, s, 269);
    if (!ShowsSprite(snapshot, s.item, 3, 195) || !ShowsSprite(snapshot, s.camouflage, 260, 7)) {
        std::printf("the stealth-mode marks are missing\n");
        return 1;
    }
    if (units < 0 || hundreds == 1) {
        std::printf("digits at 269, 279, 290: %d %d %d: not a number below 100\n", hundreds, tens,
                    units);
        return 1;
    }
    std::printf("hidden percentage shown: %d\n", (tens > 0 ? tens * 10 : 0) + units);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!((mode == "still" && argc == 5) || (mode == "moving" && argc == 4))) {
        std::fprintf(stderr,
                     "usage: snapshot_check still SNAPSHOT SPRITE_DIR REFERENCE\n"
                     "       snapshot_check moving SNAPSHOT SPRITE_DIR\n");
        return 2;
    }
    HudSprites sprites;
    if (!LoadSprites(argv[3], &sprites)) {
        std::printf("cannot read the sprites in %s\n", argv[3]);
        return 1;
    }
    CDibImage snapshot;
    if (!LoadSnapshot(argv[2], &snapshot)) {
        return 1;
    }
    return mode == "still" ? CheckStill(snapshot, sprites, argv[4])
                           : CheckMoving(snapshot, sprites);
}
