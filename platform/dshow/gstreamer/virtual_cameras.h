// Virtual cameras of the GStreamer driver, from TENEBRIX_VIRTUAL_CAMERAS.
//
// The variable lists extra video input devices, listed after the machine's
// own: entries separated by ';', each "Friendly Name=GStreamer launch
// description", the description producing raw video, e.g.
//   Test Camera=videotestsrc pattern=ball is-live=true ! video/x-raw,width=640,height=480
// Spaces around the name and the description are ignored; empty entries are
// skipped; an entry without '=' or with an empty name or description is
// reported on stderr and skipped. A description cannot contain ';'. It is only
// parsed when the device is bound; a description that does not parse makes
// that bind fail.
#pragma once

#include <string>
#include <vector>

struct VirtualCamera {
    std::string name;
    std::string description;
};

// The cameras that `value` (the variable's value; null for none) lists.
std::vector<VirtualCamera> ParseVirtualCameras(const char* value);
