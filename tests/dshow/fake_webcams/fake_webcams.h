// Fake webcams for tests: GStreamer device providers that list the recorded
// webcams (recorded_webcams.h) as cameras, whose source element sends frames
// in the mode it is asked for (a moving ball: each frame differs).
//
// Two providers: one in V4L2's place (rank primary) lists every camera asked
// for; one in PipeWire's place (a rank higher) lists the cameras that
// PipeWire would list too, under PipeWire's name and properties.
//
// Set up by environment variables, read whenever devices are listed:
//   TENEBRIX_FAKE_WEBCAMS            ids of the cameras, separated by ',';
//                                    unset or empty: no camera
//   TENEBRIX_FAKE_WEBCAMS_UNPLUGGED  a file; a camera whose id is a line of it
//                                    is unplugged: it is not listed, a running
//                                    source of it reports a read error and
//                                    ends its stream, as a V4L2 source does.
//                                    While the providers are started (a device
//                                    monitor runs) the file is read every
//                                    50 ms and cameras go and come back.
// Each source says once on stderr which mode it streams:
//   fake webcam <id>: streaming <caps>
#pragma once

#include <gst/gst.h>

// Registers the providers and the source element in this process (for tests
// that run the platform in-process); the plugin file does the same for a
// program run with GST_PLUGIN_PATH set to its folder.
bool RegisterFakeWebcams();

// The plugin's entry point (both ways).
gboolean InitFakeWebcamsPlugin(GstPlugin* plugin);
