// The system device enumerator and the device monikers of the GStreamer
// driver (see gst_filters.h, virtual_cameras.h).
//
// Stands in for ICreateDevEnum and the device monikers of the video input
// category. Limits: that category only; the list is taken when the enumerator
// is created (no hot-plugging); monikers have no display names.
//
// Video input devices are GStreamer's "Video/Source" devices in the device
// monitor's order, named by their display names, followed by the virtual
// cameras. A device that offers no mode we can show (a metadata node, a
// Bayer or H.264-only node) is not listed, and a camera that two providers
// list (V4L2 and PipeWire, or libcamera; camera_identity.h) is listed once,
// as its first listing: the monitor lists providers by GStreamer's rank, so
// PipeWire's (which shares the camera with other programs) comes before
// V4L2's. Other categories have no devices. Binding a moniker to IBaseFilter
// creates the device's source element anew (a virtual camera's description is
// parsed into a bin) and opens it, within kOpenWait; to IPropertyBag gives its
// "FriendlyName".
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "platform/dshow/common/friendly_name_bag.h"
#include "platform/dshow/common/moniker_list.h"
#include "platform/dshow/gstreamer/bounded_wait.h"
#include "platform/dshow/gstreamer/camera_identity.h"
#include "platform/dshow/gstreamer/camera_modes.h"
#include "platform/dshow/gstreamer/gst_filters.h"
#include "platform/dshow/gstreamer/virtual_cameras.h"

namespace {

class DeviceMoniker : public ComObject<IMoniker> {
  public:
    // A real device (takes over the reference on `device`) ...
    DeviceMoniker(std::string name, GstDevice* device)
        : m_name(std::move(name)), m_device(device) {}
    // ... or a virtual camera.
    explicit DeviceMoniker(const VirtualCamera& camera)
        : m_name(camera.name), m_description(camera.description) {}

    HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx*, IMoniker*, REFIID riid, void** ppv) override {
        if (ppv == nullptr) {
            return E_POINTER;
        }
        *ppv = nullptr;
        if (!IsEqualIID(riid, IID_IBaseFilter) && !IsEqualIID(riid, IID_IUnknown)) {
            return E_NOINTERFACE;
        }
        GstElement* source = CreateSource();
        if (source == nullptr) {
            return E_FAIL;
        }
        // The device opens here, and tells its formats. One that has not
        // within kOpenWait is a failed bind; its opening goes on alone, with
        // a reference of its own on the filter.
        GstDevice* device = m_device ? GST_DEVICE(gst_object_ref(m_device)) : nullptr;
        auto* filter = new DeviceFilter(m_name, source, device);
        filter->AddRef();
        auto opened = std::make_shared<bool>(false);
        const bool answered = FinishesWithin(
            [filter, opened]() {
                *opened = filter->Open();
                filter->Release();
            },
            kOpenWait);
        if (!answered || !*opened) {
            std::fprintf(stderr, "tenebrix: video device \"%s\" %s\n", m_name.c_str(),
                         answered ? "cannot be opened" : "does not open");
            filter->Release();
            return E_FAIL;
        }
        return HandOut(filter, riid, ppv);
    }

    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx*, IMoniker*, REFIID riid,
                                            void** ppv) override {
        if (ppv == nullptr) {
            return E_POINTER;
        }
        *ppv = nullptr;
        return HandOut(new FriendlyNameBag(m_name), riid, ppv);
    }

  protected:
    ~DeviceMoniker() override {
        if (m_device != nullptr) {
            gst_object_unref(m_device);
        }
    }

  private:
    GstElement* CreateSource() {
        if (m_device != nullptr) {
            GstElement* element = gst_device_create_element(m_device, nullptr);
            if (element == nullptr) {
                std::fprintf(stderr, "tenebrix: video device \"%s\" cannot be opened\n",
                             m_name.c_str());
            }
            return element;
        }
        // Caps at the end of a description only apply between two elements,
        // so the stream leaves the bin through a pass-through element.
        const std::string chain = m_description + " ! identity";
        GError* error = nullptr;
        GstElement* bin = gst_parse_bin_from_description(chain.c_str(), TRUE, &error);
        if (bin == nullptr || error != nullptr) {
            std::fprintf(stderr, "tenebrix: virtual camera \"%s\": %s\n", m_name.c_str(),
                         error ? error->message : "cannot be built");
            g_clear_error(&error);
            if (bin != nullptr) {
                gst_object_unref(gst_object_ref_sink(bin));
            }
            return nullptr;
        }
        GstPad* out = gst_element_get_static_pad(bin, "src");
        if (out == nullptr) {
            std::fprintf(stderr, "tenebrix: virtual camera \"%s\" has no video output\n",
                         m_name.c_str());
            gst_object_unref(gst_object_ref_sink(bin));
            return nullptr;
        }
        gst_object_unref(out);
        return bin;
    }

    std::string m_name;
    GstDevice* m_device = nullptr;
    std::string m_description;
};

// True when `device` offers a mode we can show (camera_modes.h).
bool DeliversVideo(GstDevice* device) {
    GstCaps* caps = gst_device_get_caps(device);
    CameraMode mode;
    const bool delivers = caps != nullptr && ChooseMode(OfferedModes(caps), &mode);
    if (caps != nullptr) {
        gst_caps_unref(caps);
    }
    return delivers;
}

// The cameras of the device monitor, in its order (its providers by rank,
// highest first): nodes that cannot deliver video are left out, and a camera
// that a second provider lists again keeps the place of its first listing.
std::vector<GstDevice*> Cameras() {
    std::vector<GstDevice*> cameras;
    GstDeviceMonitor* monitor = gst_device_monitor_new();
    gst_device_monitor_add_filter(monitor, "Video/Source", nullptr);
    GList* devices = gst_device_monitor_get_devices(monitor);
    for (GList* item = devices; item != nullptr; item = item->next) {
        auto* device = GST_DEVICE(item->data);
        bool listed = false;
        for (GstDevice* camera : cameras) {
            listed = listed || SameCamera(camera, device);
        }
        if (!listed && DeliversVideo(device)) {
            cameras.push_back(GST_DEVICE(gst_object_ref(device)));
        }
    }
    g_list_free_full(devices, gst_object_unref);
    gst_object_unref(monitor);
    return cameras;
}

std::vector<IMoniker*> VideoInputMonikers() {
    std::vector<IMoniker*> monikers;
    for (GstDevice* device : Cameras()) {
        gchar* name = gst_device_get_display_name(device);
        monikers.push_back(new DeviceMoniker(name ? name : "", device));
        g_free(name);
    }
    for (const VirtualCamera& camera :
         ParseVirtualCameras(std::getenv("TENEBRIX_VIRTUAL_CAMERAS"))) {
        monikers.push_back(new DeviceMoniker(camera));
    }
    return monikers;
}

}  // namespace

HRESULT SystemDeviceEnum::CreateClassEnumerator(REFCLSID clsidDeviceClass,
                                                IEnumMoniker** ppEnumMoniker, DWORD) {
    if (ppEnumMoniker == nullptr) {
        return E_POINTER;
    }
    *ppEnumMoniker = nullptr;
    if (!IsEqualGUID(clsidDeviceClass, CLSID_VideoInputDeviceCategory)) {
        return S_FALSE;
    }
    std::vector<IMoniker*> monikers = VideoInputMonikers();
    if (monikers.empty()) {
        return S_FALSE;  // no device of the category: no enumerator, as on Windows
    }
    *ppEnumMoniker = new MonikerList(std::move(monikers));
    return S_OK;
}
