// The filters and the filter graph of the GStreamer capture driver.
//
// Stands in for DirectShow's filter graph manager and filters: the graph is a
// GstPipeline; each filter wraps one GstElement that joins the pipeline when
// the filter is added to the graph. Pins are not modelled: a filter has at
// most one input and one output (the element's "sink" and "src" pads), and
// the capture graph builder links them, inserting a converter in front of a
// Sample Grabber or a renderer.
//
// Limits: one stream per device (the preview stream); no seeking, no clock
// choice, no pausing. A pipeline error is printed on stderr and queued as an
// event (EC_ERRORABORT), as is the end of the streams (EC_COMPLETE); the
// frames already delivered stay in the grabbers.
#pragma once

#include <gst/gst.h>
#include <gst/video/video.h>

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <qedit.h>

#include "platform/dshow/common/graph_builder_base.h"

class FilterGraph;

// What every filter of this driver is besides its COM interfaces.
class GstFilter {
  public:
    GstFilter(const GstFilter&) = delete;
    GstFilter& operator=(const GstFilter&) = delete;

    GstElement* Element() const { return m_element; }
    // The element's output and input pads (new references), or null.
    GstPad* OutputPad() const;
    GstPad* InputPad() const;
    // The graph the filter was added to (not counted), or null.
    FilterGraph* Graph() const { return m_graph; }
    void JoinGraph(FilterGraph* graph) { m_graph = graph; }

  protected:
    // Takes over `element` (a floating reference is sunk).
    explicit GstFilter(GstElement* element);
    virtual ~GstFilter();

  private:
    GstElement* m_element;
    FilterGraph* m_graph = nullptr;
};

// What a device sends: its frame size, the time between frames (100 ns
// units, 0 when unknown) and whether the frames are JPEG images.
struct DeviceFormat {
    int width = 0;
    int height = 0;
    REFERENCE_TIME frameTime = 0;
    bool jpeg = false;
};

// A device's capture filter: a bin of the device's source element (or a
// virtual camera's bin) and a caps filter that holds a camera to the mode
// chosen for it (camera_modes.h); a virtual camera runs as its description
// negotiates, scaled to the chosen size. A filter made from a GStreamer device can watch
// for the camera to be unplugged and the same camera to come back, and then
// puts the new device's source in place of the old one, so that the picture
// resumes by itself; until then no frame comes and the grabber keeps the last.
class DeviceFilter : public ComObject<IBaseFilter>, public GstFilter {
  public:
    // Takes over `source` and `device` (a reference; null for a virtual camera).
    DeviceFilter(std::string name, GstElement* source, GstDevice* device);

    // Opens the device and chooses its mode. It then stays open (paused, its
    // state locked, its output held back) while the graph is built around
    // it, until Unhold. May wait on the device as long as the device takes;
    // false when it cannot be opened.
    bool Open();
    // Lets the held output go; the device's state follows the graph again.
    void Unhold();

    // The device's mode, chosen and fixed on the first call; a camera says it
    // in one line on stderr. False when it offers none we can show.
    bool DefaultFormat(DeviceFormat* format);

    // Starts or stops watching for the camera to go and come back (while the
    // graph runs); nothing for a virtual camera.
    void WatchReplug(bool on);

  protected:
    ~DeviceFilter() override;

  private:
    static GstBusSyncReply OnDeviceMessage(GstBus* bus, GstMessage* message, gpointer self);
    // Runs the new source of the camera that came back (under m_lock).
    void Resume(GstDevice* device);

    std::string m_name;
    GstElement* m_mode;  // the caps filter inside the bin (owned by the bin)
    bool m_probed = false;
    DeviceFormat m_format;
    GstPad* m_heldPad = nullptr;  // the output held back while the graph is built
    gulong m_hold = 0;
    GstDeviceMonitor* m_monitor = nullptr;

    std::mutex m_lock;     // guards the three below against the monitor's thread
    GstElement* m_source;  // inside the bin (owned by the bin)
    GstDevice* m_device;
    bool m_gone = false;
};

// The Video Renderer: a video sink that shows the stream in a window of its own.
class VideoRenderer : public ComObject<IBaseFilter>, public GstFilter {
  public:
    explicit VideoRenderer(GstElement* sink) : GstFilter(sink) {}
};

// The Sample Grabber: a bin (converter output in, "capsfilter" to 24-bit BGR
// of the device's size, out) whose output pad is watched for buffers; the
// newest one is kept while buffering is on.
class SampleGrabber : public ComObject<IBaseFilter, ISampleGrabber>, public GstFilter {
  public:
    SampleGrabber();

    HRESULT STDMETHODCALLTYPE SetMediaType(const AM_MEDIA_TYPE* pType) override;
    HRESULT STDMETHODCALLTYPE GetConnectedMediaType(AM_MEDIA_TYPE* pType) override;
    HRESULT STDMETHODCALLTYPE SetBufferSamples(BOOL BufferThem) override;
    HRESULT STDMETHODCALLTYPE GetCurrentBuffer(LONG* pBufferSize, LONG* pBuffer) override;

    // Fixes the frame format once the builder links a device to the grabber.
    void Connect(int width, int height, REFERENCE_TIME frameTime);
    bool IsConnected() const { return m_connected; }

  protected:
    ~SampleGrabber() override;

  private:
    static GstPadProbeReturn OnBuffer(GstPad* pad, GstPadProbeInfo* info, gpointer self);

    GstElement* m_accept;  // the capsfilter inside the bin (owned by the bin)
    gulong m_probe = 0;
    bool m_connected = false;
    GstVideoInfo m_info;
    BITMAPINFOHEADER m_header = {};
    REFERENCE_TIME m_frameTime = 0;

    std::mutex m_lock;  // guards the two below against the streaming thread
    bool m_buffering = false;
    GstBuffer* m_newest = nullptr;
};

// The filter graph: a pipeline that holds a reference on each filter added.
// Stopping waits kStopWait at most: a source blocked on its device cannot be
// stopped, and the graph then leaves the pipeline to its streaming threads.
class FilterGraph : public ComObject<IGraphBuilder, IMediaControl, IMediaEvent> {
  public:
    FilterGraph();

    HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* pFilter, LPCWSTR pName) override;
    HRESULT STDMETHODCALLTYPE Run() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE GetEvent(long* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2,
                                       long msTimeout) override;
    HRESULT STDMETHODCALLTYPE FreeEventParams(long lEventCode, LONG_PTR lParam1,
                                              LONG_PTR lParam2) override;

    GstElement* Pipeline() const { return m_pipeline; }

    // Events posted from the streaming threads, kept as long as the bus lives.
    struct EventQueue {
        std::mutex lock;
        std::deque<std::pair<long, LONG_PTR>> events;  // code, first parameter
    };

  protected:
    ~FilterGraph() override;
    void FinalRelease() override;

  private:
    // Ends every grabber output that nothing was linked to in a sink of its own.
    void TerminateOpenOutputs();
    // Stops streaming within kStopWait; false (and from then on) when it could not.
    bool StopStreaming();
    // Lets every device held open since its bind follow the graph's state.
    void UnholdDevices();
    // Starts or stops every device filter's watch for its camera coming back.
    void WatchReplugs(bool on);

    GstElement* m_pipeline;
    std::vector<IBaseFilter*> m_filters;
    std::shared_ptr<EventQueue> m_events;
    bool m_leftToStream = false;  // a stop did not finish: the pipeline is not touched again
};

// The capture graph builder: links a device's stream to a grabber or renderer.
class CaptureGraphBuilder : public GraphBuilderBase {
  public:
    HRESULT STDMETHODCALLTYPE FindInterface(const GUID* pCategory, const GUID* pType,
                                            IBaseFilter* pf, REFIID riid, void** ppint) override;
    HRESULT STDMETHODCALLTYPE RenderStream(const GUID* pCategory, const GUID* pType,
                                           IUnknown* pSource, IBaseFilter* pfCompressor,
                                           IBaseFilter* pfRenderer) override;

  protected:
    ~CaptureGraphBuilder() override { FinalRelease(); }
    bool CanBuildIn(IGraphBuilder* graph) const override;
};

// The system device enumerator: GStreamer's video sources, then the virtual cameras.
class SystemDeviceEnum : public ComObject<ICreateDevEnum> {
  public:
    HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID clsidDeviceClass,
                                                    IEnumMoniker** ppEnumMoniker,
                                                    DWORD dwFlags) override;
};
