// Writes the test camera's first frame for an options string as raw rows of
// blue, green, red, top row first, no padding: the reference that the
// end-to-end snapshot check compares with.
//
//   camera_scene OPTIONS OUTPUT
#include <cstdio>
#include <string>
#include <vector>

#include "tools/test_camera/picture.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: camera_scene OPTIONS OUTPUT\n");
        return 2;
    }
    CameraOptions options;
    std::string error;
    CameraPicture picture;
    if (!ParseCameraOptions(argv[1], &options, &error) || !picture.Prepare(options)) {
        std::fprintf(stderr, "camera_scene: %s\n", error.empty() ? "no picture" : error.c_str());
        return 1;
    }
    std::vector<uint8_t> frame(picture.FrameBytes());
    picture.Draw(0, frame.data());
    std::FILE* out = std::fopen(argv[2], "wb");
    bool written = out != nullptr;
    for (int y = 0; written && y < picture.Height(); ++y) {
        const uint8_t* row =
            &frame[static_cast<size_t>(picture.Height() - 1 - y) * picture.Stride()];
        written = std::fwrite(row, 3, picture.Width(), out) == static_cast<size_t>(picture.Width());
    }
    if (out != nullptr && std::fclose(out) != 0) {
        written = false;
    }
    if (!written) {
        std::fprintf(stderr, "camera_scene: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
