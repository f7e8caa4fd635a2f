// Shared by the video tests: GStreamer with our elements, videos read whole.
#pragma once

#include <string>
#include <vector>

#include "image/dib_image.h"

// Starts GStreamer and registers tenebrixdemosrc (once).
void StartVideo();

// Every frame of a video file or launch description, as 24-bit pictures;
// fails the test (and gives none) when it cannot be read.
std::vector<CDibImage> ReadFrames(const std::string& input);

// The motion history lives until process exit; a frame of another size starts
// it again, as at the start of a program.
void StartMotionHistoryAgain();

bool SamePicture(const CDibImage& a, const CDibImage& b);
