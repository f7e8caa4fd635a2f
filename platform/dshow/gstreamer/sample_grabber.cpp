// The Sample Grabber of the GStreamer driver (see gst_filters.h, qedit.h).
//
// Stands in for the Sample Grabber filter with buffering of the newest
// sample. GStreamer's BGR rows are top row first; the grabber hands frames out
// as a bottom-up DIB, so GetCurrentBuffer copies the rows in reverse order and
// pads each to 4 bytes with zeros. Limits: 24-bit RGB only; no callbacks and
// no one-shot mode.
#include <cstring>

#include "platform/copy_past_caches.h"
#include "platform/dshow/common/media_types.h"
#include "platform/dshow/gstreamer/gst_filters.h"
#include "platform/win32/dib_stride.h"

namespace {

GstElement* MakeGrabberBin() {
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* accept = gst_element_factory_make("capsfilter", "accept");
    GstCaps* caps = gst_caps_from_string("video/x-raw,format=BGR");
    g_object_set(accept, "caps", caps, nullptr);
    gst_caps_unref(caps);
    gst_bin_add(GST_BIN(bin), accept);
    GstPad* sink = gst_element_get_static_pad(accept, "sink");
    GstPad* src = gst_element_get_static_pad(accept, "src");
    gst_element_add_pad(bin, gst_ghost_pad_new("sink", sink));
    gst_element_add_pad(bin, gst_ghost_pad_new("src", src));
    gst_object_unref(sink);
    gst_object_unref(src);
    return bin;
}

}  // namespace

SampleGrabber::SampleGrabber() : GstFilter(MakeGrabberBin()) {
    // The bin holds the capsfilter as long as the grabber lives.
    m_accept = gst_bin_get_by_name(GST_BIN(Element()), "accept");
    gst_object_unref(m_accept);
    gst_video_info_init(&m_info);
    GstPad* src = gst_element_get_static_pad(m_accept, "src");
    m_probe = gst_pad_add_probe(src, GST_PAD_PROBE_TYPE_BUFFER, OnBuffer, this, nullptr);
    gst_object_unref(src);
}

SampleGrabber::~SampleGrabber() {
    GstPad* src = gst_element_get_static_pad(m_accept, "src");
    gst_pad_remove_probe(src, m_probe);
    gst_object_unref(src);
    if (m_newest != nullptr) {
        gst_buffer_unref(m_newest);
    }
}

GstPadProbeReturn SampleGrabber::OnBuffer(GstPad*, GstPadProbeInfo* info, gpointer self) {
    auto* grabber = static_cast<SampleGrabber*>(self);
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    GstBuffer* old = nullptr;
    {
        std::lock_guard<std::mutex> guard(grabber->m_lock);
        if (grabber->m_buffering && buffer != nullptr) {
            old = grabber->m_newest;
            grabber->m_newest = gst_buffer_ref(buffer);
        }
    }
    if (old != nullptr) {
        gst_buffer_unref(old);
    }
    return GST_PAD_PROBE_OK;
}

void SampleGrabber::Connect(int width, int height, REFERENCE_TIME frameTime) {
    GstCaps* caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGR", "width",
                                        G_TYPE_INT, width, "height", G_TYPE_INT, height, nullptr);
    g_object_set(m_accept, "caps", caps, nullptr);
    gst_video_info_from_caps(&m_info, caps);
    gst_caps_unref(caps);
    m_header = Rgb24Header(width, height);
    m_frameTime = frameTime;
    m_connected = true;
}

HRESULT SampleGrabber::SetMediaType(const AM_MEDIA_TYPE* pType) {
    if (pType == nullptr) {
        return E_POINTER;
    }
    return IsRgb24VideoType(*pType) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT SampleGrabber::GetConnectedMediaType(AM_MEDIA_TYPE* pType) {
    if (pType == nullptr) {
        return E_POINTER;
    }
    if (!m_connected) {
        return VFW_E_NOT_CONNECTED;
    }
    return FillConnectedType(m_header, m_frameTime, pType);
}

HRESULT SampleGrabber::SetBufferSamples(BOOL BufferThem) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_buffering = BufferThem != FALSE;
    return S_OK;
}

HRESULT SampleGrabber::GetCurrentBuffer(LONG* pBufferSize, LONG* pBuffer) {
    if (pBufferSize == nullptr) {
        return E_POINTER;
    }
    GstBuffer* buffer = nullptr;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_buffering && m_newest != nullptr) {
            buffer = gst_buffer_ref(m_newest);
        }
    }
    if (buffer == nullptr || !m_connected) {
        if (buffer != nullptr) {
            gst_buffer_unref(buffer);
        }
        return VFW_E_WRONG_STATE;
    }
    const LONG needed = static_cast<LONG>(m_header.biSizeImage);
    HRESULT hr = S_OK;
    if (pBuffer == nullptr) {
        *pBufferSize = needed;
    } else if (*pBufferSize < needed) {
        hr = E_OUTOFMEMORY;
    } else {
        GstVideoFrame frame;
        if (!gst_video_frame_map(&frame, &m_info, buffer, GST_MAP_READ)) {
            hr = E_FAIL;
        } else {
            const int width = m_header.biWidth;
            const int height = m_header.biHeight;
            const size_t stride = Dib24RowBytes(static_cast<size_t>(width));
            const auto* top = static_cast<const BYTE*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
            const int srcStride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
            auto* out = reinterpret_cast<BYTE*>(pBuffer);
            const size_t used = static_cast<size_t>(width) * 3;
            // The sample is read front to back, one stream the processor can
            // fetch ahead; row 0 of the DIB is the bottom of the picture, so
            // the rows are written bottom up, a pattern the processor does not
            // fetch ahead: stores past the caches do not need to.
            for (int row = 0; row < height; ++row) {
                BYTE* dst = out + static_cast<size_t>(height - 1 - row) * stride;
                CopyRowPastCaches(dst, top + static_cast<size_t>(row) * srcStride, used);
                if (stride > used) {
                    std::memset(dst + used, 0, stride - used);
                }
            }
            FinishCopiesPastCaches();
            gst_video_frame_unmap(&frame);
            *pBufferSize = needed;
        }
    }
    gst_buffer_unref(buffer);
    return hr;
}
