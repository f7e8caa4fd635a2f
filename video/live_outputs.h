// The running program's picture outputs: every shown picture goes to each
// of them, and each reports its failures and drops on standard error, in one
// line each, prefixed "tenebrix: ".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/picture_outlet.h"
#include "video/picture_output.h"

class LiveOutputs : public ShownPictureOutlet {
  public:
    // Start an output for pictures of width x height at `rate`. False (and
    // the reason on stderr) when it cannot start.
    bool AddFile(const std::string& path, int width, int height, FrameRate rate);
    bool AddSink(const std::string& description, int width, int height, FrameRate rate);
    bool Empty() const { return m_outputs.empty(); }

    void TakePicture(const CDibImage& picture) override;

    // Ends every output, says what each wrote and what was dropped. False
    // when any of them failed during the run.
    bool Finish();

  private:
    std::vector<std::unique_ptr<PictureOutput>> m_outputs;
    bool m_failed = false;
};
