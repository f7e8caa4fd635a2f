// Media-type helpers shared by the capture drivers (see media_types.h).
//
// Stands in for the media-type handling of the Windows base classes. Limits:
// video, RGB24 and FORMAT_VideoInfo only; no other subtypes or format blocks.
#include <cstring>

#include "platform/dshow/common/media_types.h"
#include "platform/win32/dib_stride.h"

namespace {
const GUID kNullGuid = {};
}

bool IsRgb24VideoType(const AM_MEDIA_TYPE& type) {
    return IsEqualGUID(type.majortype, MEDIATYPE_Video) &&
           IsEqualGUID(type.subtype, MEDIASUBTYPE_RGB24) &&
           (IsEqualGUID(type.formattype, FORMAT_VideoInfo) ||
            IsEqualGUID(type.formattype, kNullGuid));
}

BITMAPINFOHEADER Rgb24Header(int width, int height) {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage =
        static_cast<DWORD>(static_cast<size_t>(height) * Dib24RowBytes(static_cast<size_t>(width)));
    return header;
}

HRESULT FillConnectedType(const BITMAPINFOHEADER& header, REFERENCE_TIME frameTime,
                          AM_MEDIA_TYPE* out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    auto* format = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    if (format == nullptr) {
        return E_OUTOFMEMORY;
    }
    std::memset(format, 0, sizeof *format);
    format->AvgTimePerFrame = frameTime;
    format->bmiHeader = header;
    std::memset(out, 0, sizeof *out);
    out->majortype = MEDIATYPE_Video;
    out->subtype = MEDIASUBTYPE_RGB24;
    out->bFixedSizeSamples = TRUE;
    out->lSampleSize = header.biSizeImage;
    out->formattype = FORMAT_VideoInfo;
    out->cbFormat = sizeof(VIDEOINFOHEADER);
    out->pbFormat = reinterpret_cast<BYTE*>(format);
    return S_OK;
}
