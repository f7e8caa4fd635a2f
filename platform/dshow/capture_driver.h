// The driver table of the media layer (its capture drivers).
//
// Stands in for nothing on Windows: it chooses what implements the media
// classes. The program has one driver, "gstreamer" (devices, graphs and the
// Sample Grabber over GStreamer); a library linked beside it may add more
// before the media library starts (as scripted/ adds "scripted" devices
// that play prepared frames). The driver is chosen once, when the media
// library first starts (the first CoInitialize): the one selected from code
// if any, else TENEBRIX_CAPTURE_DRIVER, else "gstreamer". A named driver that
// is unknown or cannot start is an error (reported on stderr, and the media
// classes are then unavailable), never a silent fallback.
#pragma once

#include <objbase.h>

#include "platform/com/com_server.h"

struct CaptureDriver {
    const char* name;
    const char* description;
    HRESULT (*start)();
    void (*stop)();
    HRESULT (*create)(REFCLSID clsid, REFIID riid, void** ppv);
};

extern const CaptureDriver kGStreamerCaptureDriver;

// Adds a driver after the ones already known, at static initialisation or at
// least before the media library first starts. Returns true.
bool AddCaptureDriver(const CaptureDriver* driver);

// The media library as our COM runtime sees it; dispatches to the chosen driver.
extern const ComInprocServer kMediaLibraryServer;

// Selects a driver by name before the media library first starts. False when
// the name is unknown or a different driver has already been chosen.
bool SelectCaptureDriver(const char* name);
// The chosen driver's name, or null before the media library first started.
const char* ChosenCaptureDriver();
