// Which GStreamer devices are one camera.
//
// Stands in for the identity a device's moniker carries on Windows. One
// camera can be listed by two device providers (V4L2 and PipeWire, or
// libcamera), and a camera that is unplugged and plugged back is a new
// device object. Two devices are the same camera when they name the same
// video node ("device.path", "api.v4l2.path", or "object.path" as
// "v4l2:/dev/videoN") or the same place on the bus ("device.bus_path",
// "device.bus-path"); a device that names neither is the same camera as one
// listed under the same display name. Limits: a camera moved to another USB
// port whose node number changes too is a different camera.
#pragma once

#include <gst/gst.h>

bool SameCamera(GstDevice* a, GstDevice* b);
