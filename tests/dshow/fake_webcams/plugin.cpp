// The fake webcams as a GStreamer plugin file, for a program run with
// GST_PLUGIN_PATH set to its folder (see fake_webcams.h).
#include "tests/dshow/fake_webcams/fake_webcams.h"

#define PACKAGE "tenebrix"  // the plugin's package name, which the definition names

GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, tenebrixfakewebcams,
                  "Fake webcams for tests", InitFakeWebcamsPlugin, "1.0", "LGPL", "tenebrix",
                  "https://example.invalid")
