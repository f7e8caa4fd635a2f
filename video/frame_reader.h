// Reading the frames of a video: a file that GStreamer can decode, or a
// GStreamer launch description that produces video (such as
// "tenebrixdemosrc num-buffers=300"), frame by frame as 24-bit pictures.
#pragma once

#include <gst/gst.h>

#include <cstdint>
#include <memory>
#include <string>

#include "image/dib_image.h"
#include "video/picture_output.h"

class FrameReader {
  public:
    // A path names a file when one exists there; anything else is taken as a
    // launch description. Null, with the reason in *error, when it gives no
    // video.
    static std::unique_ptr<FrameReader> Open(const std::string& input, std::string* error);
    ~FrameReader();

    // The next frame, at the video's size, with its time from the first
    // frame on. False at the end, or on failure with the reason in *error.
    bool Next(CDibImage* frame, GstClockTime* time, std::string* error);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    FrameRate Rate() const { return m_rate; }
    // How many frames the video has, as far as it tells; -1 when unknown.
    int64_t TotalFrames() const { return m_total; }

  private:
    FrameReader() = default;
    bool Preroll(const std::string& input, std::string* error);
    std::string BusError();

    GstElement* m_pipeline = nullptr;
    GstElement* m_sink = nullptr;
    GstBus* m_bus = nullptr;
    GstSample* m_pending = nullptr;  // the preroll sample, not yet handed out
    int m_width = 0, m_height = 0;
    FrameRate m_rate = {30, 1};
    int64_t m_total = -1;
    GstClockTime m_first = GST_CLOCK_TIME_NONE;
    uint64_t m_read = 0;
};
