// The entry point of the tenebrix program on Linux: reads the command line,
// registers the demo scene's source element, starts the picture outputs, runs
// the application as the framework's entry point does, and finishes the
// outputs once the dialog has ended (by "The End", Esc or the close button).
//
// Exit status: the application's; 2 for a malformed command line; 1 when a
// recording cannot start or an output failed during the run.
#include <afxwin.h>
#include <gst/gst.h>

#include <cstdio>

#include "app/camouflage_dlg.h"
#include "video/demo_source.h"
#include "video/live_outputs.h"
#include "video/program_options.h"

namespace {

// The frame timer's 30 ms period.
const FrameRate kTickRate = {100, 3};

}  // namespace

int main(int argc, char** argv) {
    ProgramOptions options;
    std::string error;
    if (!ParseProgramOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "tenebrix: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(ProgramUsage(), stdout);
        return 0;
    }

    GError* gstError = nullptr;
    if (gst_init_check(nullptr, nullptr, &gstError)) {
        RegisterDemoSource();
    } else {
        g_clear_error(&gstError);  // the capture layer says so when it starts
    }

    const int width = CCamouflageDlg::kDisplayWidth, height = CCamouflageDlg::kDisplayHeight;
    LiveOutputs outputs;
    for (const std::string& path : options.recordFiles) {
        if (!outputs.AddFile(path, width, height, kTickRate)) {
            return 1;  // the outputs already started go, their files with them
        }
    }
    for (const std::string& description : options.descriptions) {
        outputs.AddSink(description, width, height, kTickRate);
    }
    if (!outputs.Empty()) {
        SetShownPictureOutlet(&outputs);
    }

    const int status = AfxWinMain(1, argv);
    SetShownPictureOutlet(nullptr);
    const bool written = outputs.Finish();
    return status == 0 && !written ? 1 : status;
}
