// The frame cycle's image chain written the usual OpenCV way, to measure ours
// against, side by side with BM_FrameCycle (same frames, same steps): the copy
// of a captured frame, a bilinear resize to 320x240, grey, the absolute
// difference with the previous grey picture, a threshold at 20, the history
// decayed by 0.98 and set to 255 where the picture changed, the blend of
// background and frame by the history, the hidden percentage, and five
// colour-keyed sprite pastes. One thread, as the program's tick.
//
// Built only when OpenCV is installed; the program and its tests never use it.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "bench/bench_frames.h"

namespace {

// A view of an image's pixels (rows as stored; the chain does not care).
cv::Mat View(const CDibImage& image) {
    return cv::Mat(image.Height(), image.Width(), CV_8UC3, const_cast<BYTE*>(image.Bits()),
                   static_cast<size_t>(DibStride(image.Width())));
}

struct Sprite {
    cv::Mat pixels;
    cv::Mat opaque;  // 255 where the pixel is not the key colour
    int x;
    int y;
};

Sprite MakeCvSprite(int width, int height, BYTE shade, int x, int y) {
    Sprite sprite{View(MakeSprite(width, height, shade)).clone(), cv::Mat(), x, y};
    cv::inRange(sprite.pixels, cv::Scalar(0, 255, 0), cv::Scalar(0, 255, 0), sprite.opaque);
    cv::bitwise_not(sprite.opaque, sprite.opaque);
    return sprite;
}

class OpenCvChain {
  public:
    OpenCvChain()
        : m_background(View(MakeCameraFrame(320, 240, 1000)).clone()),
          m_history(240, 320, CV_8UC1, cv::Scalar(0)),
          m_sprites{MakeCvSprite(36, 40, 90, 3, 195), MakeCvSprite(44, 17, 160, 260, 7),
                    MakeCvSprite(9, 13, 220, 290, 25), MakeCvSprite(9, 13, 220, 279, 25),
                    MakeCvSprite(9, 13, 220, 269, 25)} {}

    int Tick(const cv::Mat& frame) {
        cv::resize(frame, m_current, cv::Size(320, 240), 0, 0, cv::INTER_LINEAR);
        cv::cvtColor(m_current, m_grey, cv::COLOR_BGR2GRAY);
        if (m_previous.empty()) {
            m_grey.copyTo(m_previous);
        }
        cv::absdiff(m_grey, m_previous, m_difference);
        cv::threshold(m_difference, m_moved, 20, 255, cv::THRESH_BINARY);
        cv::swap(m_grey, m_previous);
        m_history.convertTo(m_history, CV_8U, 0.98);
        m_history.setTo(255, m_moved);
        m_history.convertTo(m_weight, CV_32F, 1.0 / 255);
        cv::subtract(cv::Scalar::all(1.0), m_weight, m_inverse);
        cv::blendLinear(m_current, m_background, m_weight, m_inverse, m_display);
        const int hidden = static_cast<int>(100.0 - cv::mean(m_history)[0] / 255 * 100 + 0.5);
        for (const Sprite& s : m_sprites) {
            s.pixels.copyTo(m_display(cv::Rect(s.x, s.y, s.pixels.cols, s.pixels.rows)), s.opaque);
        }
        return hidden;
    }

  private:
    cv::Mat m_background, m_history, m_current, m_grey, m_previous, m_difference, m_moved, m_weight,
        m_inverse, m_display;
    Sprite m_sprites[5];
};

void BM_OpenCvFrameCycle(benchmark::State& state) {
    cv::setNumThreads(1);
    const std::vector<CDibImage>& frames =
        ColdCameraFrames(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    OpenCvChain chain;
    size_t next = 0;
    for (int n = 0; n < 3; ++n) {
        chain.Tick(View(frames[n]));
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(chain.Tick(View(frames[next])));
        next = (next + 1) % frames.size();
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_OpenCvFrameCycle)->Apply(CaptureSizes);

}  // namespace
