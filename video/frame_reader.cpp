// Reading the frames of a video (see frame_reader.h).
#include "video/frame_reader.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

#include <cmath>
#include <cstring>

namespace {

const char kToPictures[] =
    " ! videoconvert ! video/x-raw,format=BGR ! appsink name=frames sync=false max-buffers=4";
// How long the first frame may take to come (decoders start, live sources run).
const GstClockTime kFirstFrameTimeout = 60 * GST_SECOND;
const GstClockTime kPollInterval = 100 * GST_MSECOND;

}  // namespace

std::unique_ptr<FrameReader> FrameReader::Open(const std::string& input, std::string* error) {
    const bool file = g_file_test(input.c_str(), G_FILE_TEST_EXISTS);
    const std::string description =
        (file ? std::string("filesrc name=file ! decodebin") : input) + kToPictures;
    GError* parseError = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &parseError);
    if (parseError != nullptr || pipeline == nullptr) {
        *error = input + ": no such file, nor a GStreamer launch description (" +
                 (parseError != nullptr ? parseError->message : "it does not parse") + ")";
        g_clear_error(&parseError);
        if (pipeline != nullptr) {
            gst_object_unref(pipeline);
        }
        return nullptr;
    }
    std::unique_ptr<FrameReader> reader(new FrameReader());
    reader->m_pipeline = pipeline;
    reader->m_bus = gst_element_get_bus(pipeline);
    reader->m_sink = gst_bin_get_by_name(GST_BIN(pipeline), "frames");
    if (file) {
        GstElement* source = gst_bin_get_by_name(GST_BIN(pipeline), "file");
        g_object_set(source, "location", input.c_str(), nullptr);
        gst_object_unref(source);
    }
    if (!reader->Preroll(input, error)) {
        return nullptr;
    }
    return reader;
}

FrameReader::~FrameReader() {
    if (m_pending != nullptr) {
        gst_sample_unref(m_pending);
    }
    gst_element_set_state(m_pipeline, GST_STATE_NULL);
    gst_object_unref(m_sink);
    gst_object_unref(m_bus);
    gst_object_unref(m_pipeline);
}

std::string FrameReader::BusError() {
    GstMessage* message = gst_bus_pop_filtered(m_bus, GST_MESSAGE_ERROR);
    if (message == nullptr) {
        return std::string();
    }
    GError* error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    std::string text = error != nullptr ? error->message : "unknown error";
    g_clear_error(&error);
    gst_message_unref(message);
    return text;
}

bool FrameReader::Preroll(const std::string& input, std::string* error) {
    // Playing from the start: live sources give no frame while paused.
    gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
    GstAppSink* sink = GST_APP_SINK(m_sink);
    for (GstClockTime waited = 0; m_pending == nullptr && waited < kFirstFrameTimeout;
         waited += kPollInterval) {
        m_pending = gst_app_sink_try_pull_sample(sink, kPollInterval);
        const std::string busError = BusError();
        if (!busError.empty()) {
            *error = input + ": not a video that GStreamer can decode (" + busError + ")";
            return false;
        }
        if (m_pending == nullptr && gst_app_sink_is_eos(sink)) {
            break;
        }
    }
    if (m_pending == nullptr) {
        *error = input + ": no video frame in it";
        return false;
    }
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, gst_sample_get_caps(m_pending))) {
        *error = input + ": frames of an unknown format";
        return false;
    }
    m_width = GST_VIDEO_INFO_WIDTH(&info);
    m_height = GST_VIDEO_INFO_HEIGHT(&info);
    if (GST_VIDEO_INFO_FPS_N(&info) > 0 && GST_VIDEO_INFO_FPS_D(&info) > 0) {
        m_rate = {GST_VIDEO_INFO_FPS_N(&info), GST_VIDEO_INFO_FPS_D(&info)};
    }
    gint64 duration = -1;
    if (gst_element_query_duration(m_pipeline, GST_FORMAT_TIME, &duration) && duration > 0) {
        m_total = static_cast<int64_t>(
            std::llround(static_cast<double>(duration) * m_rate.numerator /
                         (static_cast<double>(GST_SECOND) * m_rate.denominator)));
    }
    return true;
}

bool FrameReader::Next(CDibImage* frame, GstClockTime* time, std::string* error) {
    GstAppSink* sink = GST_APP_SINK(m_sink);
    GstSample* sample = m_pending;
    m_pending = nullptr;
    while (sample == nullptr) {
        sample = gst_app_sink_try_pull_sample(sink, kPollInterval);
        const std::string busError = BusError();
        if (!busError.empty()) {
            if (sample != nullptr) {
                gst_sample_unref(sample);
            }
            *error = busError;
            return false;
        }
        if (sample == nullptr && gst_app_sink_is_eos(sink)) {
            return false;
        }
    }
    GstVideoInfo info;
    GstVideoFrame video;
    bool mapped = gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) &&
                  GST_VIDEO_INFO_WIDTH(&info) == m_width &&
                  GST_VIDEO_INFO_HEIGHT(&info) == m_height &&
                  gst_video_frame_map(&video, &info, gst_sample_get_buffer(sample), GST_MAP_READ);
    if (!mapped) {
        gst_sample_unref(sample);
        *error = "the video changes its size or format midway";
        return false;
    }
    if (frame->Width() != m_width || frame->Height() != m_height || !frame->HasPixels()) {
        frame->Create(m_width, m_height);
    }
    const uint8_t* rows = static_cast<const uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&video, 0));
    const int stride = GST_VIDEO_FRAME_PLANE_STRIDE(&video, 0);
    for (int y = 0; y < m_height; ++y) {
        std::memcpy(frame->Row(y), rows + static_cast<size_t>(stride) * y,
                    static_cast<size_t>(m_width) * 3);
    }
    gst_video_frame_unmap(&video);
    const GstClockTime pts = GST_BUFFER_PTS(gst_sample_get_buffer(sample));
    gst_sample_unref(sample);
    if (GST_CLOCK_TIME_IS_VALID(pts)) {
        if (m_first == GST_CLOCK_TIME_NONE) {
            m_first = pts;
        }
        *time = pts >= m_first ? pts - m_first : 0;
    } else {
        *time = gst_util_uint64_scale(m_read, GST_SECOND * m_rate.denominator, m_rate.numerator);
    }
    ++m_read;
    return true;
}
