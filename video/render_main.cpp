// tenebrix-render: applies the frame cycle to a video offline, one tick for
// each input frame, through the functions the program's dialog uses, so that
// the same frames give the same pictures. Needs no display.
//
// Exit status: 0 when everything was written, 2 for a malformed command line,
// 1 for any other failure (said in one line); 130 when interrupted. A video
// file that is not written to its end is removed.
#include <gst/gst.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

#include "app/shown_picture.h"
#include "processing/resampling.h"
#include "video/demo_source.h"
#include "video/frame_reader.h"
#include "video/picture_output.h"
#include "video/progress.h"
#include "video/render_options.h"

namespace {

volatile std::sig_atomic_t s_interrupted = 0;

void OnInterrupt(int) {
    s_interrupted = 1;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "tenebrix-render: %s\n", message.c_str());
    return 1;
}

struct Sprites {
    CDibImage item, camouflage, digits[10];
};

// The HUD sprites from `folder`, as the program reads them from images\.
// A sprite that cannot be read is not drawn; false when none could be read.
bool LoadSprites(const std::string& folder, Sprites* sprites) {
    bool any = sprites->item.Load((folder + "/item.bmp").c_str()) == 0;
    any = sprites->camouflage.Load((folder + "/camouflage.bmp").c_str()) == 0 || any;
    for (int i = 0; i < 10; ++i) {
        const std::string path = folder + "/num" + std::to_string(i) + ".bmp";
        any = sprites->digits[i].Load(path.c_str()) == 0 || any;
    }
    return any;
}

bool IsFolder(const std::string& path) {
    return (!path.empty() && path.back() == '/') || g_file_test(path.c_str(), G_FILE_TEST_IS_DIR);
}

// Where the pictures go: numbered BMP files in a folder, or an output pipeline.
class Destination {
  public:
    bool Open(const std::string& target, int width, int height, FrameRate rate,
              std::string* error) {
        if (IsFolder(target)) {
            m_folder = target.back() == '/' ? target : target + "/";
            if (g_mkdir_with_parents(m_folder.c_str(), 0777) != 0) {
                *error = target + ": cannot make the folder";
                return false;
            }
            return true;
        }
        const bool file = PictureOutput::IsKnownFile(target);
        // A single word with a dot is a file name, not a description.
        if (!file && target.find_first_of(" !") == std::string::npos &&
            target.find('.') != std::string::npos) {
            *error = target + ": not a known kind of video file; use " +
                     PictureOutput::FileKinds() + ", or a folder";
            return false;
        }
        m_output = file ? PictureOutput::ToFile(target, width, height, rate,
                                                PictureOutput::Pacing::kOffline, error)
                        : PictureOutput::ToSink(target, width, height, rate,
                                                PictureOutput::Pacing::kOffline, error);
        return m_output != nullptr;
    }

    bool Write(const CDibImage& picture, int64_t number, GstClockTime time, std::string* error) {
        if (m_output != nullptr) {
            m_output->Push(picture, time);
            *error = m_output->TakeError();
            return error->empty();
        }
        char name[32];
        std::snprintf(name, sizeof name, "frame%05lld.bmp", static_cast<long long>(number));
        if (picture.Save((m_folder + name).c_str()) != 0) {
            *error = m_folder + name + ": cannot be written";
            return false;
        }
        return true;
    }

    bool Finish(std::string* error) { return m_output == nullptr || m_output->Finish(error); }

  private:
    std::string m_folder;
    std::unique_ptr<PictureOutput> m_output;
};

}  // namespace

int main(int argc, char** argv) {
    RenderOptions options;
    std::string error;
    if (!ParseRenderOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "tenebrix-render: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(RenderUsage(), stdout);
        return 0;
    }
    GError* gstError = nullptr;
    if (!gst_init_check(nullptr, nullptr, &gstError)) {
        const std::string reason = gstError != nullptr ? gstError->message : "unknown error";
        g_clear_error(&gstError);
        return Fail("GStreamer cannot start: " + reason);
    }
    RegisterDemoSource();

    const int width = options.width, height = options.height;
    CDibImage background;  // black unless taken, as in the program
    background.Create(width, height);
    if (!options.backgroundFile.empty()) {
        CDibImage file;
        if (file.Load(options.backgroundFile.c_str()) != 0) {
            return Fail(options.backgroundFile + ": not a 24-bit BMP file that can be read");
        }
        ResizeImage(&file, &background, width, height);
    }
    std::unique_ptr<FrameReader> reader = FrameReader::Open(options.input, &error);
    if (reader == nullptr) {
        return Fail(error);
    }
    Destination destination;
    if (!destination.Open(options.output, width, height, reader->Rate(), &error)) {
        return Fail(error);
    }

    Sprites sprites;
    if (!LoadSprites(options.imageFolder, &sprites)) {
        std::fprintf(stderr, "tenebrix-render: no HUD sprites in %s/ (see --images); no HUD\n",
                     options.imageFolder.c_str());
    }
    const HudImages hud = {&sprites.item, &sprites.camouflage, sprites.digits};

    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    Progress progress(stderr, isatty(STDERR_FILENO) != 0, reader->TotalFrames(),
                      "tenebrix-render: ");
    CDibImage frame, display;
    display.Create(width, height);
    FrameCycleImages cycle;
    bool backgroundTaken = !options.backgroundFile.empty();
    const GstClockTime backgroundTime =
        static_cast<GstClockTime>(options.backgroundSeconds * GST_SECOND);
    const GstClockTime stealthTime = static_cast<GstClockTime>(options.stealthSeconds * GST_SECOND);
    int64_t done = 0;
    GstClockTime time = 0;
    while (s_interrupted == 0 && reader->Next(&frame, &time, &error)) {
        // As a click on Background between two ticks: the frame becomes the
        // background, then the tick runs.
        if (!backgroundTaken && time >= backgroundTime) {
            ResizeImage(&frame, &background, width, height);
            backgroundTaken = true;
        }
        const int stealth = time >= stealthTime ? 1 : 0;
        BuildShownPicture(&frame, &background, hud, stealth, &cycle, &display);
        if (!destination.Write(display, done, time, &error)) {
            return Fail(error);
        }
        progress.Update(++done);
    }
    if (s_interrupted != 0) {
        std::fprintf(stderr, "\ntenebrix-render: interrupted after %lld frames\n",
                     static_cast<long long>(done));
        return 130;
    }
    if (!error.empty()) {
        return Fail(options.input + ": " + error);
    }
    if (done == 0) {
        return Fail(options.input + ": no frames");
    }
    if (!destination.Finish(&error)) {
        return Fail(error);
    }
    progress.Finish(done, options.output);
    return 0;
}
