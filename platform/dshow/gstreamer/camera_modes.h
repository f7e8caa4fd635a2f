// The modes a camera offers and the one the GStreamer driver takes.
//
// Stands in for the choice that a device's capture filter makes of its
// default output type. A webcam lists its modes largest first, and over USB 2
// its large raw sizes often come at 5 or 10 frames a second while the same
// camera sends 640 x 480 at 30, or JPEG at 30. The choice, a function of the
// offered caps alone:
//   1. Only modes we can decode count: raw video of a known uncompressed
//      format in system memory, or JPEG images; a camera with none of them
//      (metadata, Bayer, H.264 only, GL memory) offers nothing.
//   2. Modes that reach 25 frames a second, or do not say their rate, come
//      first; when there is none, those of the highest rate the camera has.
//   3. Among those, sizes of at least 320 x 240 when there are any, and of
//      them the size nearest 640 x 480 (|dw| + |dh|; on a tie the larger).
//   4. At that size, raw before JPEG, BGR before other raw formats (no
//      conversion), a given rate before none, the rate nearest 30/1 (on a
//      tie the higher), then the camera's own order.
// A range of sizes or rates offers its value nearest 640 x 480 at 30/1; a
// range of rates from 0 up (what a converter in front of a camera says) does
// not give the rate.
// Limits: interlaced and multi-view fields are not looked at.
#pragma once

#include <gst/gst.h>

#include <string>
#include <vector>

struct CameraMode {
    bool jpeg = false;
    std::string format;  // raw format name ("YUY2", "NV12" ...); empty for JPEG
    int width = 0;
    int height = 0;
    int rateNum = 0;  // frames a second as a fraction; 0/0 when not given
    int rateDen = 0;

    bool operator==(const CameraMode& other) const {
        return jpeg == other.jpeg && format == other.format && width == other.width &&
               height == other.height && rateNum == other.rateNum && rateDen == other.rateDen;
    }
};

// Every mode that `offered` lists and we can decode, in its order; lists of
// formats and rates are taken apart, ranges give their value nearest
// 640 x 480 at 30/1.
std::vector<CameraMode> OfferedModes(const GstCaps* offered);

// The mode the camera is run in (rules above); false when it offers none.
bool ChooseMode(const std::vector<CameraMode>& modes, CameraMode* chosen);

// Caps that ask a camera for exactly `mode`.
GstCaps* ModeCaps(const CameraMode& mode);

// "YUY2 640x480 at 30 frames a second", "JPEG 1280x720 at 29.97 ...",
// "NV21 640x480 at the camera's own rate".
std::string DescribeMode(const CameraMode& mode);
