// The umbrella <dshow.h> of the media framework, for Linux builds.
//
// Stands in for the DirectShow header with the subset our media layer has:
// see strmif.h, control.h, evcode.h, amvideo.h, uuids.h and vfwmsgs.h. The classes are
// implemented over GStreamer (TENEBRIX_CAPTURE_DRIVER=gstreamer, the default).
#pragma once

#include <windows.h>
#include <objbase.h>

#include "strmif.h"
#include "control.h"
#include "evcode.h"
#include "amvideo.h"
#include "uuids.h"
#include "vfwmsgs.h"
