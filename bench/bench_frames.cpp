#include "bench/bench_frames.h"

#include <cmath>

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

std::vector<int> RowsReadByResize(int width, int height, int toWidth, int toHeight) {
    std::vector<int> rows;
    if (width == toWidth && height == toHeight) {
        for (int y = 0; y < height; ++y) {
            rows.push_back(y);
        }
        return rows;
    }
    const double sy = static_cast<double>(height) / static_cast<double>(toHeight);
    for (int i = 0; i < toHeight; ++i) {
        const double y = i * sy;
        const int y0 = static_cast<int>(std::floor(y));
        if (y0 < 0 || y0 + 1 >= height) {
            continue;  // no sample there
        }
        for (const int r : {y0, y - y0 != 0.0 ? y0 + 1 : -1}) {
            if (r >= 0 && (rows.empty() || rows.back() < r)) {
                rows.push_back(r);
            }
        }
    }
    return rows;
}

CDibImage MakeSprite(int width, int height, BYTE shade) {
    CDibImage sprite;
    sprite.Create(width, height);
    for (int i = 0; i < height; ++i) {
        for (int j = 0; j < width; ++j) {
            BYTE* p = sprite.Row(i) + 3 * j;
            const bool inside = i > 1 && i < height - 2 && j > 1 && j < width - 2;
            p[0] = inside ? shade : 0x00;
            p[1] = inside ? shade : 0xFF;
            p[2] = inside ? static_cast<BYTE>(255 - shade) : 0x00;
        }
    }
    return sprite;
}

void CaptureSizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"width", "height"})
        ->Args({320, 240})
        ->Args({640, 480})
        ->Args({1280, 720})
        ->Args({1920, 1080})
        ->Unit(benchmark::kMicrosecond);
}
