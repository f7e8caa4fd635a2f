// tenebrix-render's command line (see render_options.h).
#include "video/render_options.h"

#include <cmath>
#include <cstdlib>

#include "video/argument_reader.h"

namespace {

// Largest output side: pictures stay far from the image type's size limits.
const int kMaxSide = 4096;

bool ParseSeconds(const std::string& text, double* seconds) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(value) || value < 0) {
        return false;
    }
    *seconds = value;
    return true;
}

bool ParseSize(const std::string& text, int* width, int* height) {
    char* end = nullptr;
    const long w = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || (*end != 'x' && *end != 'X')) {
        return false;
    }
    const char* rest = end + 1;
    const long h = std::strtol(rest, &end, 10);
    if (end == rest || *end != '\0' || w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) {
        return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

bool EndsWithBmp(const std::string& path) {
    return path.size() > 4 && (path.compare(path.size() - 4, 4, ".bmp") == 0 ||
                               path.compare(path.size() - 4, 4, ".BMP") == 0);
}

}  // namespace

const char* RenderUsage() {
    return "usage: tenebrix-render [options] INPUT OUTPUT\n"
           "\n"
           "Applies Tenebrix's frame cycle to a video, one tick a frame, with no display.\n"
           "  INPUT    a video file that GStreamer can decode, or a GStreamer launch\n"
           "           description that produces video, e.g. 'tenebrixdemosrc num-buffers=660'\n"
           "  OUTPUT   a video file: .webm (VP8), .mkv (lossless) or .ogv (Theora); a\n"
           "           folder (an existing one, or a name ending in '/')\n"
           "           for numbered BMP snapshots; or a GStreamer launch description\n"
           "Options:\n"
           "  --background SECONDS|FILE.bmp  the background: the input's frame at that\n"
           "                                 time (default 0, the first), or a BMP file\n"
           "  --stealth SECONDS              stealth mode from that time on (default 0)\n"
           "  --size WIDTHxHEIGHT            the output size (default 320x240)\n"
           "  --images FOLDER                the HUD sprites (default images, as the program)\n"
           "  --help                         shows this text\n";
}

bool ParseRenderOptions(int argc, char** argv, RenderOptions* options, std::string* error) {
    ArgumentReader args(argc, argv);
    int positional = 0;
    while (args.Next()) {
        std::string value;
        if (args.IsFlag("--help") || args.IsFlag("-h")) {
            options->help = true;
        } else if (args.Is("--background", &value, error)) {
            if (error->empty() && EndsWithBmp(value)) {
                options->backgroundFile = value;
            } else if (error->empty() && !ParseSeconds(value, &options->backgroundSeconds)) {
                *error = "--background " + value + ": not a time in seconds nor a .bmp file";
            }
        } else if (args.Is("--stealth", &value, error)) {
            if (error->empty() && !ParseSeconds(value, &options->stealthSeconds)) {
                *error = "--stealth " + value + ": not a time in seconds";
            }
        } else if (args.Is("--size", &value, error)) {
            if (error->empty() && !ParseSize(value, &options->width, &options->height)) {
                *error = "--size " + value + ": not WIDTHxHEIGHT, each 1 to 4096";
            }
        } else if (args.Is("--images", &value, error)) {
            options->imageFolder = value;
        } else if (args.IsOption()) {
            *error = "unknown option " + args.Current() + " (see --help)";
        } else if (positional < 2) {
            (positional++ == 0 ? options->input : options->output) = args.Current();
        } else {
            *error = "unexpected argument " + args.Current() + " (see --help)";
        }
        if (!error->empty()) {
            return false;
        }
    }
    if (!options->help && positional < 2) {
        *error = "needs INPUT and OUTPUT (see --help)";
        return false;
    }
    return true;
}
