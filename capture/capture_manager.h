// CCaptureManager: finds the video input devices, asks the user about each
// one whether to use it, builds one capture chain per device taken on one
// shared filter graph (device -> Sample Grabber, which keeps the newest frame
// as 24-bit RGB), runs the graph, and copies frames out of it into images.
//
// Results follow the system's convention: 0 for success, -1 for failure, or a
// count where one is asked for. Everything runs on the user-interface thread
// that constructed the manager; the media framework fills the grabbers from
// threads of its own.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <dshow.h>
#include <qedit.h>

#include "image/dib_image.h"

const int kMaxCaptureDevices = 10;
const int kMaxCrossbarPins = 10;

// What PollDeviceEvents reports.
const int kCaptureRunning = 0;  // nothing new
const int kCaptureStopped = 1;  // a device stopped delivering frames (reported once)

// One device taken: its name, frame format, crossbar and graph objects.
struct CaptureDevice {
    char name[256];                         // friendly name in the ANSI code page, NUL-terminated
    BITMAPINFO header;                      // the frame format; the colour entry stays zero
    LONG outputPinCount;                    // crossbar output pins; 0 without a crossbar
    LONG inputPinCount;                     // crossbar input pins; 0 without a crossbar
    LONG outputPinTypes[kMaxCrossbarPins];  // PhysicalConnectorType of output pin i
    LONG inputPinTypes[kMaxCrossbarPins];   // PhysicalConnectorType of input pin i
    ICaptureGraphBuilder2* builder;
    IBaseFilter* grabberFilter;
    ISampleGrabber* grabber;
    IBaseFilter* renderer;  // null unless a renderer was asked for
    IBaseFilter* deviceFilter;
    IAMCrossbar* crossbar;  // null when the device has none
};

class CCaptureManager {
  public:
    // Initialises COM on this thread and empties the table.
    CCaptureManager();
    // Stops the graph, releases every device and the graph, uninitialises COM.
    ~CCaptureManager();
    CCaptureManager(const CCaptureManager&) = delete;
    CCaptureManager& operator=(const CCaptureManager&) = delete;

    // Asks about each video input device and takes at most `maxDevices` (no
    // more than kMaxCaptureDevices); withRenderer 1 adds a Video Renderer on
    // each device's preview path. Returns the number of devices taken, or -1
    // when the machine has no video input device at all. Call once.
    int Open(int maxDevices, int withRenderer);

    // The frame format of device `deviceIndex` (0 .. devices taken - 1);
    // 0 for an index outside the devices taken.
    int FrameWidth(int deviceIndex) const;
    int FrameHeight(int deviceIndex) const;
    int FrameSize(int deviceIndex) const;
    // Copies the device's newest frame (FrameSize bytes, bottom-up 24-bit rows)
    // into `bits`. 0 on success; -1 when no frame has arrived yet, the index is
    // outside the devices taken or `bits` is null.
    int CopyCurrentBuffer(int deviceIndex, BYTE* bits);
    // Gives `image` the device's frame format unless it has it already (pixel
    // buffer, width, height and byte count), then copies the newest frame into
    // it. The result of CopyCurrentBuffer; -1 when the image has no pixels.
    int GrabFrame(int deviceIndex, CDibImage* image);
    // Empties `image` and gives it the device's 44-byte header, a pixel buffer
    // and a row table. 0 when the image has a pixel buffer afterwards.
    int AllocateFrameImage(int deviceIndex, CDibImage* image);

    // Reads what the graph tells of its devices since the last call: the
    // capture's own handling of failures lives here. A device whose stream
    // fails or ends is reported once as kCaptureStopped; its last frame stays
    // available to GrabFrame. kCaptureRunning otherwise, and without a graph.
    int PollDeviceEvents();

    // The device table, for callers that want the names or crossbar details;
    // `deviceIndex` in 0 .. kMaxCaptureDevices - 1 (records beyond the devices
    // taken are all zero).
    int DeviceCount() const { return m_deviceCount; }
    const CaptureDevice& Device(int deviceIndex) const { return m_devices[deviceIndex]; }

  private:
    int EnumerateDevices(CaptureDevice* table, int maxDevices);
    void GetFriendlyName(IMoniker* moniker, char* destination);
    void BuildDeviceGraph(CaptureDevice* device, int withRenderer);
    HRESULT SetGrabberMediaType(CaptureDevice* device);
    HRESULT AddRenderer(CaptureDevice* device);
    int ReadCrossbarInfo(CaptureDevice* device);
    void ReadConnectedFormat(CaptureDevice* device);
    void ReleaseDevice(CaptureDevice* device);
    // The record of a device taken, or null for any other index.
    const CaptureDevice* DeviceInUse(int deviceIndex) const;

    IGraphBuilder* m_graph;
    IMediaControl* m_mediaControl;
    IMediaEvent* m_mediaEvent;  // the graph's events; null when it has none
    int m_stopReported;         // 1 once kCaptureStopped was reported
    int m_deviceCount;
    CaptureDevice m_devices[kMaxCaptureDevices];
};
