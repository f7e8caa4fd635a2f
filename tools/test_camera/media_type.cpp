// The pin's one media type: 24-bit RGB video, bottom-up, 30 frames a second,
// at the picture's size, with a VIDEOINFOHEADER.
#include <cstring>

#include "tools/test_camera/test_camera.h"

HRESULT FillMediaType(const CameraPicture& picture, AM_MEDIA_TYPE* type) {
    std::memset(type, 0, sizeof *type);
    VIDEOINFOHEADER* format =
        static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    if (format == NULL) {
        return E_OUTOFMEMORY;
    }
    std::memset(format, 0, sizeof *format);
    format->AvgTimePerFrame = kFramePeriod;
    format->dwBitRate = static_cast<DWORD>(picture.FrameBytes()) * 8 * 30;
    BITMAPINFOHEADER& header = format->bmiHeader;
    header.biSize = sizeof header;
    header.biWidth = picture.Width();
    header.biHeight = picture.Height();  // positive: bottom row first
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = picture.FrameBytes();
    type->majortype = MEDIATYPE_Video;
    type->subtype = MEDIASUBTYPE_RGB24;
    type->bFixedSizeSamples = TRUE;
    type->bTemporalCompression = FALSE;
    type->lSampleSize = picture.FrameBytes();
    type->formattype = FORMAT_VideoInfo;
    type->cbFormat = sizeof *format;
    type->pbFormat = reinterpret_cast<BYTE*>(format);
    return S_OK;
}

void FreeMediaType(AM_MEDIA_TYPE* type) {
    if (type->pbFormat != NULL) {
        CoTaskMemFree(type->pbFormat);
    }
    if (type->pUnk != NULL) {
        type->pUnk->Release();
    }
    std::memset(type, 0, sizeof *type);
}

bool AcceptsMediaType(const CameraPicture& picture, const AM_MEDIA_TYPE& type) {
    // GUID_NULL leaves a field open, as in a partial type.
    const auto fits = [](const GUID& asked, const GUID& ours) {
        return IsEqualGUID(asked, GUID_NULL) || IsEqualGUID(asked, ours);
    };
    if (!fits(type.majortype, MEDIATYPE_Video) || !fits(type.subtype, MEDIASUBTYPE_RGB24) ||
        !fits(type.formattype, FORMAT_VideoInfo)) {
        return false;
    }
    if (!IsEqualGUID(type.formattype, FORMAT_VideoInfo) || type.pbFormat == NULL) {
        return true;
    }
    if (type.cbFormat < sizeof(VIDEOINFOHEADER)) {
        return false;
    }
    const BITMAPINFOHEADER& header =
        reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    return header.biWidth == picture.Width() && header.biHeight == picture.Height() &&
           header.biBitCount == 24 && header.biCompression == BI_RGB;
}

HRESULT NewMediaType(const CameraPicture& picture, AM_MEDIA_TYPE** out) {
    AM_MEDIA_TYPE* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (type == NULL) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = FillMediaType(picture, type);
    if (FAILED(hr)) {
        CoTaskMemFree(type);
        type = NULL;
    }
    *out = type;
    return hr;
}
