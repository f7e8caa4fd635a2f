// A picture output: a GStreamer pipeline that takes the shown pictures
// (24-bit CDibImage) and writes them into a video file or any sink.
//
// Files: the extension names the kind: .webm (VP8 in WebM), .mkv (the
// pictures' own bytes, lossless, in Matroska), .ogv (Theora in Ogg). Sinks:
// any GStreamer launch description, fed with raw video through videoconvert,
// e.g. "v4l2sink device=/dev/video10".
//
// Live pacing never makes the caller wait: a picture that finds the queue full
// (the encoder is behind) is dropped and counted. Files get time stamps from
// their first picture on, sinks their pipeline's running time, so that they
// show each picture as it comes. Offline pacing waits for the encoder and
// keeps the caller's time stamps.
//
// A failed output stops taking pictures and says why once (TakeError); a file
// that cannot be finished, that got no picture or that is never finished, is
// removed.
#pragma once

#include <gst/gst.h>

#include <cstdint>
#include <memory>
#include <string>

#include "image/dib_image.h"

// Frames a second, as a fraction.
struct FrameRate {
    int numerator;
    int denominator;
};

class PictureOutput {
  public:
    enum class Pacing { kLive, kOffline };

    // The kinds of file by extension, for messages: ".webm, .mkv or .ogv".
    static const char* FileKinds();
    // Whether `path` ends with the extension of a kind of file.
    static bool IsKnownFile(const std::string& path);

    // Both start the pipeline for width x height pictures at `rate` frames a
    // second. Null with *error set when that fails.
    static std::unique_ptr<PictureOutput> ToFile(const std::string& path, int width, int height,
                                                 FrameRate rate, Pacing pacing, std::string* error);
    static std::unique_ptr<PictureOutput> ToSink(const std::string& description, int width,
                                                 int height, FrameRate rate, Pacing pacing,
                                                 std::string* error);
    ~PictureOutput();

    // Hands one picture of the output's size to the pipeline: one copy, rows
    // turned top first. `time` is used with offline pacing only.
    void Push(const CDibImage& picture, GstClockTime time);
    // Ends the stream and waits until everything is written. False (and the
    // reason in *error) when the output failed or got no picture.
    bool Finish(std::string* error);

    // The failure not yet reported, once; empty when there is none.
    std::string TakeError();

    const std::string& Name() const { return m_name; }
    uint64_t Pictures() const { return m_pictures; }
    uint64_t Dropped() const { return m_dropped; }

  private:
    PictureOutput(const std::string& name, const std::string& file, Pacing pacing);
    bool Start(const std::string& description, int width, int height, FrameRate rate,
               std::string* error);
    void CheckBus();
    // The pipeline's running time: when a live sink shows a picture.
    GstClockTime RunningTime() const;
    void Fail(const std::string& reason);

    std::string m_name;  // the file or the description, for messages
    std::string m_file;  // the file written, if any
    Pacing m_pacing;
    GstElement* m_pipeline = nullptr;
    GstElement* m_source = nullptr;
    GstBus* m_bus = nullptr;
    int m_width = 0, m_height = 0;
    bool m_failed = false;
    bool m_fileOpened = false;
    bool m_finished = false;
    std::string m_error;
    bool m_errorTaken = false;
    GstClockTime m_startedAt = 0;
    GstClockTime m_firstTime = GST_CLOCK_TIME_NONE;
    uint64_t m_pictures = 0;
    uint64_t m_dropped = 0;
};
