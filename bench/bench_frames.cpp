#include "bench/bench_frames.h"

namespace {

constexpr long long kColdBytes = 96LL * 1024 * 1024;

}  // namespace

CDibImage MakeCameraFrame(int width, int height, int number) {
    CDibImage frame;
    frame.Create(width, height);
    const int side = height / 4;
    const int left = (number * 7) % (width - side);
    const int top = (number * 3) % (height - side);
    for (int i = 0; i < height; ++i) {
        BYTE* row = frame.Row(i);
        for (int j = 0; j < width; ++j) {
            const bool square = j >= left && j < left + side && i >= top && i < top + side;
            row[3 * j] = static_cast<BYTE>(square ? 240 : (j * 255) / width);
            row[3 * j + 1] = static_cast<BYTE>(square ? 250 : (i * 255) / height);
            row[3 * j + 2] = static_cast<BYTE>(square ? 230 : ((i + j + number) * 37) & 0x3F);
        }
    }
    return frame;
}

const std::vector<CDibImage>& ColdCameraFrames(int width, int height) {
    // One size at a time: the repetitions of one benchmark run one after the
    // other, and several sizes together would hold hundreds of megabytes.
    static std::vector<CDibImage> frames;
    if (frames.empty() || frames[0].Width() != width || frames[0].Height() != height) {
        frames.clear();
        const long long bytes = static_cast<long long>(DibStride(width)) * height;
        long long count = (kColdBytes + bytes - 1) / bytes;
        if (count < 4) {
            count = 4;
        }
        for (long long n = 0; n < count; ++n) {
            frames.push_back(MakeCameraFrame(width, height, static_cast<int>(n)));
        }
    }
    return frames;
}
