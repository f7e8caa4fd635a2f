// Picture outputs over GStreamer (see picture_output.h).
#include "video/picture_output.h"

#include <gst/app/gstappsrc.h>

#include <cstdio>
#include <cstring>

namespace {

// Pictures that may wait for the encoder: about a quarter of a second live.
const guint kQueuePictures = 8;
// How long the end of the stream may take to be written.
const GstClockTime kFinishTimeout = 60 * GST_SECOND;

struct FileKind {
    const char* extension;
    const char* chain;  // from the raw BGR pictures to a filesink named "file"
};

const FileKind kFileKinds[] = {
    {".webm", "videoconvert ! vp8enc deadline=1 target-bitrate=1000000 ! webmmux"},
    {".mkv", "matroskamux"},
    {".ogv", "videoconvert ! theoraenc ! oggmux"},
};

const FileKind* KindOf(const std::string& path) {
    for (const FileKind& kind : kFileKinds) {
        const size_t n = std::strlen(kind.extension);
        if (path.size() > n &&
            g_ascii_strcasecmp(path.c_str() + path.size() - n, kind.extension) == 0) {
            return &kind;
        }
    }
    return nullptr;
}

std::string ErrorText(GstMessage* message) {
    GError* error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    std::string text = error != nullptr ? error->message : "unknown error";
    g_clear_error(&error);
    if (!text.empty() && text.back() == '.') {
        text.pop_back();  // our lines go on after it
    }
    return text;
}

}  // namespace

const char* PictureOutput::FileKinds() {
    return ".webm (VP8), .mkv (lossless) or .ogv (Theora)";
}

bool PictureOutput::IsKnownFile(const std::string& path) {
    return KindOf(path) != nullptr;
}

std::unique_ptr<PictureOutput> PictureOutput::ToFile(const std::string& path, int width, int height,
                                                     FrameRate rate, Pacing pacing,
                                                     std::string* error) {
    const FileKind* kind = KindOf(path);
    if (kind == nullptr) {
        *error = path + ": not a known kind of video file; use " + FileKinds();
        return nullptr;
    }
    std::unique_ptr<PictureOutput> output(new PictureOutput(path, path, pacing));
    if (!output->Start(std::string(kind->chain) + " ! filesink name=file", width, height, rate,
                       error)) {
        return nullptr;
    }
    return output;
}

std::unique_ptr<PictureOutput> PictureOutput::ToSink(const std::string& description, int width,
                                                     int height, FrameRate rate, Pacing pacing,
                                                     std::string* error) {
    std::unique_ptr<PictureOutput> output(new PictureOutput(description, "", pacing));
    if (!output->Start("videoconvert ! " + description, width, height, rate, error)) {
        return nullptr;
    }
    return output;
}

PictureOutput::PictureOutput(const std::string& name, const std::string& file, Pacing pacing)
    : m_name(name), m_file(file), m_pacing(pacing) {}

PictureOutput::~PictureOutput() {
    if (m_pipeline != nullptr) {
        gst_element_set_state(m_pipeline, GST_STATE_NULL);
        if (m_fileOpened && !m_finished) {
            std::remove(m_file.c_str());  // abandoned before its end: not playable
        }
        gst_object_unref(m_source);
        gst_object_unref(m_bus);
        gst_object_unref(m_pipeline);
    }
}

bool PictureOutput::Start(const std::string& chain, int width, int height, FrameRate rate,
                          std::string* error) {
    m_width = width;
    m_height = height;
    GError* parseError = nullptr;
    const std::string description = "appsrc name=pictures ! " + chain;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &parseError);
    if (parseError != nullptr || pipeline == nullptr) {
        *error = m_name + ": " + (parseError != nullptr ? parseError->message : "does not parse");
        g_clear_error(&parseError);
        if (pipeline != nullptr) {
            gst_object_unref(pipeline);
        }
        return false;
    }
    m_pipeline = pipeline;
    m_bus = gst_element_get_bus(pipeline);
    m_source = gst_bin_get_by_name(GST_BIN(pipeline), "pictures");
    if (!m_file.empty()) {
        GstElement* file = gst_bin_get_by_name(GST_BIN(pipeline), "file");
        g_object_set(file, "location", m_file.c_str(), nullptr);
        gst_object_unref(file);
    }
    GstCaps* caps =
        gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGR", "width", G_TYPE_INT,
                            width, "height", G_TYPE_INT, height, "framerate", GST_TYPE_FRACTION,
                            rate.numerator, rate.denominator, nullptr);
    const bool live = m_pacing == Pacing::kLive;
    g_object_set(m_source, "caps", caps, "format", GST_FORMAT_TIME, "is-live", live, "block", !live,
                 "max-buffers", static_cast<guint64>(kQueuePictures), nullptr);
    gst_caps_unref(caps);

    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        GstMessage* message = gst_bus_pop_filtered(m_bus, GST_MESSAGE_ERROR);
        *error = m_name + ": " + (message != nullptr ? ErrorText(message) : "cannot start");
        if (message != nullptr) {
            gst_message_unref(message);
        }
        return false;
    }
    m_fileOpened = !m_file.empty();
    m_startedAt = gst_util_get_timestamp();
    return true;
}

void PictureOutput::Fail(const std::string& reason) {
    if (m_failed) {
        return;
    }
    m_failed = true;
    m_error = m_name + ": " + reason;
    gst_element_set_state(m_pipeline, GST_STATE_NULL);
    if (m_fileOpened) {
        std::remove(m_file.c_str());  // a file that does not play to its end is no use
        m_fileOpened = false;
    }
}

void PictureOutput::CheckBus() {
    GstMessage* message = gst_bus_pop_filtered(m_bus, GST_MESSAGE_ERROR);
    if (message != nullptr) {
        Fail(ErrorText(message));
        gst_message_unref(message);
    }
}

GstClockTime PictureOutput::RunningTime() const {
    GstClock* clock = gst_element_get_clock(m_pipeline);
    if (clock == nullptr) {
        // Not playing yet: the time since the start, by the system's clock.
        return gst_util_get_timestamp() - m_startedAt;
    }
    const GstClockTime now = gst_clock_get_time(clock);
    gst_object_unref(clock);
    const GstClockTime base = gst_element_get_base_time(m_pipeline);
    return now > base ? now - base : 0;
}

void PictureOutput::Push(const CDibImage& picture, GstClockTime time) {
    CheckBus();
    if (m_failed || !picture.HasPixels() || picture.Width() != m_width ||
        picture.Height() != m_height) {
        return;
    }
    GstAppSrc* source = GST_APP_SRC(m_source);
    if (m_pacing == Pacing::kLive) {
        if (gst_app_src_get_current_level_buffers(source) >= kQueuePictures) {
            ++m_dropped;
            return;
        }
        const GstClockTime running = RunningTime();
        if (m_firstTime == GST_CLOCK_TIME_NONE) {
            m_firstTime = running;
        }
        time = m_file.empty() ? running : running - m_firstTime;
    }
    const size_t stride = static_cast<size_t>(DibStride(m_width));
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, stride * m_height, nullptr);
    GstMapInfo map;
    if (buffer == nullptr || !gst_buffer_map(buffer, &map, GST_MAP_WRITE)) {
        if (buffer != nullptr) {
            gst_buffer_unref(buffer);
        }
        ++m_dropped;
        return;
    }
    // The image keeps its rows bottom first; video rows go top first.
    for (int y = 0; y < m_height; ++y) {
        std::memcpy(map.data + stride * y, picture.Row(y), stride);
    }
    gst_buffer_unmap(buffer, &map);
    GST_BUFFER_PTS(buffer) = time;
    if (gst_app_src_push_buffer(source, buffer) != GST_FLOW_OK) {
        CheckBus();
        Fail("the pipeline stopped taking pictures");
        return;
    }
    ++m_pictures;
}

bool PictureOutput::Finish(std::string* error) {
    CheckBus();
    if (!m_failed && m_pictures == 0) {
        Fail("no picture to write");
    }
    if (!m_failed) {
        gst_app_src_end_of_stream(GST_APP_SRC(m_source));
        GstMessage* message = gst_bus_timed_pop_filtered(
            m_bus, kFinishTimeout,
            static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        if (message == nullptr) {
            Fail("the end of the stream was not written in time");
        } else {
            if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
                Fail(ErrorText(message));
            }
            gst_message_unref(message);
        }
        gst_element_set_state(m_pipeline, GST_STATE_NULL);
    }
    m_finished = true;
    if (m_failed) {
        *error = m_error;
        m_errorTaken = true;
        return false;
    }
    return true;
}

std::string PictureOutput::TakeError() {
    if (!m_failed || m_errorTaken) {
        return std::string();
    }
    m_errorTaken = true;
    return m_error;
}
