// The running program's picture outputs (see live_outputs.h).
#include "video/live_outputs.h"

#include <cinttypes>
#include <cstdio>

namespace {

bool Started(std::unique_ptr<PictureOutput> output, const std::string& error,
             std::vector<std::unique_ptr<PictureOutput>>* outputs) {
    if (output == nullptr) {
        std::fprintf(stderr, "tenebrix: %s\n", error.c_str());
        return false;
    }
    outputs->push_back(std::move(output));
    return true;
}

}  // namespace

bool LiveOutputs::AddFile(const std::string& path, int width, int height, FrameRate rate) {
    std::string error;
    std::unique_ptr<PictureOutput> output =
        PictureOutput::ToFile(path, width, height, rate, PictureOutput::Pacing::kLive, &error);
    return Started(std::move(output), "cannot record to " + error, &m_outputs);
}

bool LiveOutputs::AddSink(const std::string& description, int width, int height, FrameRate rate) {
    std::string error;
    std::unique_ptr<PictureOutput> output = PictureOutput::ToSink(
        description, width, height, rate, PictureOutput::Pacing::kLive, &error);
    const bool started = Started(std::move(output),
                                 "output " + error + "; the window goes on without it", &m_outputs);
    m_failed = m_failed || !started;
    return started;
}

void LiveOutputs::TakePicture(const CDibImage& picture) {
    for (const std::unique_ptr<PictureOutput>& output : m_outputs) {
        output->Push(picture, GST_CLOCK_TIME_NONE);
        const std::string error = output->TakeError();
        if (!error.empty()) {
            std::fprintf(stderr, "tenebrix: output %s; the window goes on without it\n",
                         error.c_str());
            m_failed = true;
        }
    }
}

bool LiveOutputs::Finish() {
    for (const std::unique_ptr<PictureOutput>& output : m_outputs) {
        std::string error;
        if (!output->Finish(&error)) {
            std::fprintf(stderr, "tenebrix: output %s\n", error.c_str());
            m_failed = true;
            continue;
        }
        std::fprintf(stderr, "tenebrix: %s: %" PRIu64 " pictures", output->Name().c_str(),
                     output->Pictures());
        if (output->Dropped() > 0) {
            std::fprintf(stderr, ", %" PRIu64 " dropped (the encoder fell behind)",
                         output->Dropped());
        }
        std::fprintf(stderr, "\n");
    }
    m_outputs.clear();
    return !m_failed;
}
