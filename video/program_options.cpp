// The program's command line (see program_options.h).
#include "video/program_options.h"

#include "video/argument_reader.h"
#include "video/picture_output.h"

const char* ProgramUsage() {
    return "usage: tenebrix [--record FILE]... [--output DESCRIPTION]...\n"
           "\n"
           "Shows the camera picture with the effect in its window; besides, each option\n"
           "sends the shown picture (320x240, HUD included) out, for the whole run:\n"
           "  --record FILE          writes a video file; its extension names the kind:\n"
           "                         .webm (VP8), .mkv (lossless) or .ogv (Theora)\n"
           "  --output DESCRIPTION   feeds a GStreamer launch description, e.g.\n"
           "                         'v4l2sink device=/dev/video10' for a v4l2loopback\n"
           "                         virtual camera\n"
           "  --help                 shows this text\n"
           "Pictures that the encoder cannot take in time are dropped and counted.\n";
}

bool ParseProgramOptions(int argc, char** argv, ProgramOptions* options, std::string* error) {
    ArgumentReader args(argc, argv);
    while (args.Next()) {
        std::string value;
        if (args.IsFlag("--help") || args.IsFlag("-h")) {
            options->help = true;
        } else if (args.Is("--record", &value, error)) {
            if (error->empty() && !PictureOutput::IsKnownFile(value)) {
                *error = "--record " + value + ": not a known kind of video file; use " +
                         PictureOutput::FileKinds();
            }
            options->recordFiles.push_back(value);
        } else if (args.Is("--output", &value, error)) {
            options->descriptions.push_back(value);
        } else if (args.IsOption()) {
            *error = "unknown option " + args.Current() + " (see --help)";
        } else {
            *error = "unexpected argument " + args.Current() + " (see --help)";
        }
        if (!error->empty()) {
            return false;
        }
    }
    return true;
}
