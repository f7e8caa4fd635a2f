// tenebrixdemosrc: the demo scene (demo_scene.h) as a GStreamer video source,
// so that it can stand in for a camera (TENEBRIX_VIRTUAL_CAMERAS) and feed
// tenebrix-render.
//
// It gives raw BGR video at any size from 16 x 16 to 4096 x 4096 and any frame
// rate from 1 to 120 a second (640 x 480 at 30 by default). Frame n carries the
// time stamp n / rate and shows the scene at that time, so a time stamp always
// gives the same picture. Properties: is-live (false; true paces the frames by
// the clock, as a camera), and num-buffers (endless by default; with it set, the
// source answers duration queries).
#pragma once

// Registers the element with the GStreamer of this process (once; later calls
// do nothing). GStreamer must be initialised. False when it cannot register.
bool RegisterDemoSource();
