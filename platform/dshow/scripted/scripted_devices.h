// Scripted capture devices: the test driver of the media layer, and its test API.
//
// Stands in for the machine's video input devices and DirectShow's graph
// objects, in process and without GStreamer, so that tests can drive the real
// capture code above it with devices they describe: name, bind result, frame
// format, frames, "no frame yet", crossbar. Every object the driver creates is
// counted (its references) and every call made on it is recorded, so tests can
// check who released what, and in which order.
//
// Use:
//   scripted_capture::Use();                  // before the first CoInitialize
//   scripted_capture::Reset();                // between tests
//   scripted_capture::Device cam;
//   cam.name = "Desk Camera";
//   cam.format = scripted_capture::Rgb24Format(4, 2);
//   cam.frame = scripted_capture::MakeFrame(4, 2, [](int x, int y) { return ...; });
//   scripted_capture::AddDevice(cam);
//   ... CCaptureManager m; m.Open(1, 0); m.GrabFrame(0, &image); ...
//   EXPECT_EQ(scripted_capture::LiveObjects(), 0);
//
// Behaviour of the objects:
// - The system device enumerator lists the devices in the order added; with
//   none it returns S_FALSE and no enumerator (as Windows does).
// - A moniker's property bag reads "FriendlyName" (or fails with nameResult);
//   binding to IBaseFilter fails with bindResult when that is negative.
// - RenderStream(preview, no type, device, grabber or none, sink) connects the
//   device to the grabber; a device already connected gives
//   VFW_E_ALREADY_CONNECTED, a device with `connects` false
//   VFW_E_CANNOT_CONNECT. A connected grabber's media type carries `format`.
// - GetCurrentBuffer copies `frame` as it is (any length) while the graph runs,
//   buffering is on and `frame` is not empty; VFW_E_WRONG_STATE otherwise,
//   E_OUTOFMEMORY when the caller's count is smaller than the frame.
// - The graph's GetEvent hands out the events queued by PostGraphEvent, in
//   order (EC_ERRORABORT with E_FAIL), and E_ABORT when there is none.
// - FindInterface(IID_IAMCrossbar) on a device filter gives the device's
//   crossbar when `hasCrossbar`, else E_NOINTERFACE.
// - Objects are kept (not freed) when their last reference goes, so their
//   counts stay readable until Reset; a Release on an object already at zero
//   references is recorded as an over-release instead of touching freed memory.
//
// Recorded calls (Calls()) read "<object>.<Method>(<arguments>)", objects named
// "<Class>#<n>" (n counts from 1 per class since Reset) or "<Class>:<device
// name>" for per-device objects: SystemDeviceEnum#1, ClassEnumerator#1,
// Moniker:<name>, PropertyBag:<name>, DeviceFilter:<name>, Crossbar:<name>,
// FilterGraph#1, CaptureGraphBuilder#1, SampleGrabber#1, VideoRenderer#1.
// Examples: "CoCreateInstance(FilterGraph)" (names the created object after
// " -> "), "FilterGraph#1.AddFilter(SampleGrabber#1, \"Sample Grabber\")",
// "SampleGrabber#1.SetBufferSamples(FALSE)", "Moniker:Cam.Release() -> 0",
// "FilterGraph#1.Run()", "FilterGraph#1.GetEvent() -> 3", "MediaLibrary.Stop()" (the last
// CoUninitialize). AddRef and Release are recorded with the count they leave.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <dshow.h>

namespace scripted_capture {

struct Crossbar {
    LONG outputPins = 0;  // what get_PinCounts reports
    LONG inputPins = 0;
    std::vector<LONG> outputTypes;  // connector type of pin i; pins beyond the list read 0
    std::vector<LONG> inputTypes;
    bool countsWriteNothing = false;  // get_PinCounts succeeds but writes nothing
};

struct Device {
    std::string name;              // friendly name, UTF-8
    HRESULT nameResult = S_OK;     // a failure: reading "FriendlyName" fails
    HRESULT bindResult = S_OK;     // a failure: BindToObject fails with it
    bool connects = true;          // false: RenderStream cannot connect the device
    BITMAPINFOHEADER format = {};  // the connected format (e.g. Rgb24Format)
    std::vector<BYTE> frame;       // the newest frame as the grabber holds it; empty: none yet
    bool hasCrossbar = false;
    Crossbar crossbar;
};

struct Pixel {
    BYTE blue, green, red;
};

// A bottom-up 24-bit header for width x height (biSizeImage = height * stride).
BITMAPINFOHEADER Rgb24Format(int width, int height);
// The bytes of a bottom-up 24-bit frame whose pixel (x, y), y counted from the
// top of the picture, is pixel(x, y); row padding bytes are zero.
std::vector<BYTE> MakeFrame(int width, int height, const std::function<Pixel(int x, int y)>& pixel);

// Selects the scripted driver; call before the first CoInitialize of the
// process. Returns false when another driver was already chosen.
bool Use();
// Forgets devices, calls, objects and creation failures. Objects still
// referenced then are freed all the same, so release everything first.
void Reset();
// Appends a device (enumerated in the order added); returns its index.
int AddDevice(const Device& device);
// Changes the newest frame of device `index` (empty: no frame).
void SetFrame(int index, std::vector<BYTE> frame);
// Queues a graph event (EC_COMPLETE, EC_ERRORABORT ...) for IMediaEvent::GetEvent,
// as when a device's stream ends or fails; its frame stays as it is.
void PostGraphEvent(long code);
// Makes CoCreateInstance of `clsid` fail with `result` (S_OK undoes it).
void FailCreation(REFCLSID clsid, HRESULT result);

// Every call recorded since Reset, in order.
const std::vector<std::string>& Calls();
// The recorded calls that start with `prefix`.
std::vector<std::string> CallsStartingWith(const std::string& prefix);
// References held on the object named `label` (-1 when there is no such object).
LONG References(const std::string& label);
// Number of objects that still hold references, and their names.
int LiveObjects();
std::vector<std::string> LiveObjectNames();
// Release calls made on objects that had no reference left.
int OverReleases();

}  // namespace scripted_capture
