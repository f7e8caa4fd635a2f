// Webcams as GStreamer's device monitor listed them in public bug reports
// (gst-device-monitor-1.0 output): each camera's caps and device properties,
// as far as the report shows them. The fake device provider lists these
// cameras; the format table test chooses a mode for each.
#pragma once

struct RecordedWebcam {
    const char* id;    // the name tests use
    const char* name;  // the display name the camera was listed under
    const char* caps;
    const char* properties;
    bool secondProvider;  // listed by a second provider too (PipeWire's way)
};

// Where each listing comes from:
//   laptop      FaceTime HD Camera (Built-in), processing-glvideo issue 8
//   slow-raw    a USB webcam whose large raw sizes run at 5-10 frames a
//               second, with JPEG at 30: WebKit pull request 9883 (the part
//               of the listing that the report quotes)
//   only-slow   HD Pro Webcam C920, its first eight modes: meta-webkit issue 194
//   jpeg-only   Jabra PanaCast, webcamoid issue 433
//   nv12        Google Coral camera, mavlink-camera-manager issue 273
//   range       Intel(R) AVStream Camera 2500 (rates as ranges, a format
//               GStreamer does not know), amazon-kinesis-video-streams issue 308
//   libcamera   a Raspberry Pi imx219 through libcamera (sizes, no rates),
//               printnanny-os issue 158
//   two-providers  VOLERS HD CAMERA's caps (jetson-inference issue 864) on a
//               camera listed by the V4L2 provider and by PipeWire, with the
//               properties each gives (easyeffects issue 2152 for PipeWire's)
//   h264-only   not a recording: a node that sends only H.264, which we
//               cannot show
inline const RecordedWebcam kRecordedWebcams[] = {
    {"laptop", "FaceTime HD Camera (Built-in)",
     "video/x-raw, format=YUY2, width=1280, height=720, framerate=10/1; "
     "video/x-raw, format=YUY2, width=640, height=480, framerate={ 2997/100, 25/1, 24/1, 15/1 }; "
     "video/x-raw, format=YUY2, width=480, height=360, framerate={ 2997/100, 25/1, 24/1, 15/1 }; "
     "video/x-raw, format=YUY2, width=352, height=288, framerate={ 2997/100, 25/1, 24/1, 15/1 }; "
     "video/x-raw, format=YUY2, width=320, height=240, framerate={ 2997/100, 25/1, 24/1, 15/1 }",
     "v4l2deviceprovider, device.path=/dev/video10, device.api=v4l2, "
     "device.bus_path=pci-0000:00:14.0-usb-0:5:1.0",
     false},
    {"slow-raw", "USB Camera",
     "video/x-raw, format=YUY2, width=1392, height=768, framerate={ 10/1, 15/2, 5/1 }; "
     "video/x-raw, format=YUY2, width=1504, height=832, framerate={ 15/2, 5/1 }; "
     "video/x-raw, format=YUY2, width=1600, height=896, framerate={ 15/2, 5/1 }; "
     "video/x-raw, format=YUY2, width=1280, height=960, framerate={ 15/2, 5/1 }; "
     "video/x-raw, format=YUY2, width=1712, height=960, framerate=5/1; "
     "video/x-raw, format=YUY2, width=1792, height=1008, framerate=5/1; "
     "video/x-raw, format=YUY2, width=1920, height=1080, framerate=5/1; "
     "image/jpeg, width=640, height=480, "
     "framerate={ 30/1, 24/1, 20/1, 15/1, 10/1, 15/2, 5/1 }; "
     "image/jpeg, width=160, height=120, "
     "framerate={ 30/1, 24/1, 20/1, 15/1, 10/1, 15/2, 5/1 }; "
     "image/jpeg, width=176, height=144, "
     "framerate={ 30/1, 24/1, 20/1, 15/1, 10/1, 15/2, 5/1 }; "
     "image/jpeg, width=320, height=176, "
     "framerate={ 30/1, 24/1, 20/1, 15/1, 10/1, 15/2, 5/1 }",
     "v4l2deviceprovider, device.path=/dev/video11, device.api=v4l2, "
     "device.bus_path=pci-0000:00:14.0-usb-0:1:1.0",
     false},
    {"only-slow", "HD Pro Webcam C920",
     "video/x-raw, format=YUY2, width=2304, height=1536, framerate=2/1; "
     "video/x-raw, format=YUY2, width=2304, height=1296, framerate=2/1; "
     "video/x-raw, format=YUY2, width=1920, height=1080, framerate=5/1; "
     "video/x-raw, format=YUY2, width=1600, height=896, framerate={ 15/2, 5/1 }; "
     "video/x-raw, format=YUY2, width=1280, height=720, framerate={ 10/1, 15/2, 5/1 }; "
     "video/x-raw, format=YUY2, width=960, height=720, framerate={ 15/1, 10/1, 15/2, 5/1 }; "
     "video/x-raw, format=YUY2, width=1024, height=576, framerate={ 15/1, 10/1, 15/2, 5/1 }; "
     "video/x-raw, format=YUY2, width=800, height=600, framerate={ 24/1, 20/1, 15/1 }",
     "v4l2deviceprovider, device.path=/dev/video12, device.api=v4l2, "
     "device.bus_path=pci-0000:00:14.0-usb-0:2:1.0",
     false},
    {"jpeg-only", "Jabra PanaCast",
     "image/jpeg, width=3840, height=1080, framerate={ 22/1, 15/1 }; "
     "image/jpeg, width=1920, height=1080, framerate={ 30/1, 24/1, 15/1 }; "
     "image/jpeg, width=1280, height=720, framerate={ 30/1, 27/1, 24/1, 15/1 }; "
     "image/jpeg, width=960, height=544, framerate={ 30/1, 27/1, 24/1, 15/1 }; "
     "image/jpeg, width=640, height=360, framerate={ 30/1, 27/1, 24/1, 15/1 }",
     "v4l2deviceprovider, udev-probed=true, device.path=/dev/video13, "
     "device.bus_path=pci-0000:00:14.0-usb-0:3:1.0, device.bus=usb, "
     "device.subsystem=video4linux",
     false},
    {"nv12", "Coral Camera",
     "video/x-raw, format=NV12, width=1024, height=768, framerate={ 15/1, 30/1 }; "
     "video/x-raw, format=NV12, width=720, height=576, framerate={ 15/1, 30/1 }; "
     "video/x-raw, format=NV12, width=720, height=480, framerate={ 15/1, 30/1 }; "
     "video/x-raw, format=NV12, width=640, height=480, framerate={ 15/1, 30/1 }",
     "v4l2deviceprovider, device.path=/dev/video14, device.api=v4l2", false},
    {"range", "Intel(R) AVStream Camera 2500",
     "video/x-raw, format=NV12, width=1920, height=1080, framerate=[ 15/1, 30/1 ]; "
     "video/x-raw, format=IANV, width=1920, height=1080, framerate=[ 15/1, 30/1 ]; "
     "video/x-raw, format=NV12, width=640, height=360, framerate=[ 15/1, 30/1 ]; "
     "video/x-raw, format=IANV, width=640, height=360, framerate=[ 15/1, 30/1 ]; "
     "video/x-raw, format=NV12, width=640, height=480, framerate=[ 15/1, 30/1 ]; "
     "video/x-raw, format=IANV, width=640, height=480, framerate=[ 15/1, 30/1 ]; "
     "video/x-raw, format=NV12, width=640, height=640, framerate=[ 15/1, 30/1 ], "
     "pixel-aspect-ratio=12/11",
     "v4l2deviceprovider, device.path=/dev/video15", false},
    {"libcamera", "/base/soc/i2c0mux/i2c@1/imx219@10",
     "video/x-raw, format=NV21, width=160, height=120; "
     "video/x-raw, format=NV21, width=240, height=160; "
     "video/x-raw, format=NV21, width=320, height=240; "
     "video/x-raw, format=NV21, width=400, height=240; "
     "video/x-raw, format=NV21, width=480, height=320; "
     "video/x-raw, format=NV21, width=640, height=360; "
     "video/x-raw, format=NV21, width=640, height=480; "
     "video/x-raw, format=NV21, width=720, height=480; "
     "video/x-raw, format=NV21, width=768, height=480; "
     "video/x-raw, format=NV21, width=1280, height=720",
     "libcameraprovider", false},
    {"two-providers", "Integrated Camera: Integrated C",
     "video/x-raw, format=YUY2, width=1920, height=1080, framerate=30/1; "
     "video/x-raw, format=YUY2, width=1280, height=720, framerate=30/1; "
     "video/x-raw, format=YUY2, width=640, height=480, framerate=30/1; "
     "video/x-raw, format=YUY2, width=352, height=288, framerate=30/1; "
     "video/x-raw, format=YUY2, width=320, height=240, framerate=30/1",
     "v4l2deviceprovider, device.path=/dev/video16, udev-probed=true, device.api=v4l2, "
     "v4l2.device.driver=uvcvideo, device.bus_path=pci-0000:00:14.0-usb-0:7:1.0",
     true},
    {"h264-only", "H.264 Camera",
     "video/x-h264, stream-format=byte-stream, width=1920, height=1080, framerate=30/1",
     "v4l2deviceprovider, device.path=/dev/video17", false},
};

// The name and properties PipeWire gives the "two-providers" camera's node.
inline const char kPipeWireName[] = "Integrated Camera";
inline const char kPipeWireProperties[] =
    "pipewiredeviceprovider, device.api=v4l2, api.v4l2.path=/dev/video16, "
    "object.path=\"v4l2:/dev/video16\", device.bus-path=pci-0000:00:14.0-usb-0:7:1.0, "
    "node.description=\"Integrated Camera\"";
