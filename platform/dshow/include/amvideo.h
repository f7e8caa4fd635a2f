// VIDEOINFOHEADER of <amvideo.h>, for Linux builds.
//
// Stands in for the video format block of a media type; layout as on Windows.
#pragma once

#include <windows.h>

#include "strmif.h"

typedef struct tagVIDEOINFOHEADER {
    RECT rcSource;
    RECT rcTarget;
    DWORD dwBitRate;
    DWORD dwBitErrorRate;
    REFERENCE_TIME AvgTimePerFrame;
    BITMAPINFOHEADER bmiHeader;
} VIDEOINFOHEADER;
