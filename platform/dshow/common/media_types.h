// Media-type helpers shared by the capture drivers.
//
// Stands in for what the Windows base classes do with AM_MEDIA_TYPE: the check
// whether a type asks for 24-bit RGB video, and the connected type of a Sample
// Grabber (video, RGB24, fixed-size samples, a VIDEOINFOHEADER format block
// allocated with CoTaskMemAlloc, which the receiver frees with CoTaskMemFree).
#pragma once

#include <dshow.h>

// True for major type video with subtype RGB24 and a format type that is
// FORMAT_VideoInfo or left zero: the only type a Sample Grabber accepts.
bool IsRgb24VideoType(const AM_MEDIA_TYPE& type);

// A bottom-up 24-bit header: biSizeImage = height * (width * 3 rounded up to 4).
BITMAPINFOHEADER Rgb24Header(int width, int height);

// Fills `out` as the connected type of a grabber whose frames have `header`;
// `frameTime` is the time between frames in 100 ns units (0 when unknown).
HRESULT FillConnectedType(const BITMAPINFOHEADER& header, REFERENCE_TIME frameTime,
                          AM_MEDIA_TYPE* out);
