// Pictures for the benchmarks: camera frames with a moving shape, and enough
// of them that a rotation through them misses the processor caches, as frames
// fresh from a camera do.
#pragma once

#include <benchmark/benchmark.h>

#include <vector>

#include "image/dib_image.h"

// A width x height 24-bit frame: a gradient with a bright square that moves
// with the frame number, so consecutive frames differ where the square moves.
CDibImage MakeCameraFrame(int width, int height, int number);

// Distinct frames of that size, together well beyond the last-level cache
// (at least 96 MB, and at least 4 frames). Made once and kept until frames of
// another size are asked for.
const std::vector<CDibImage>& ColdCameraFrames(int width, int height);

// The source rows, from the top, that ResizeImage reads to bring a frame of
// the first size to the second: every row when the sizes are equal (a copy),
// else the row above each sample and the row below it where the sample falls
// between rows.
std::vector<int> RowsReadByResize(int width, int height, int toWidth, int toHeight);

// A sprite of the HUD's size: pure green (the key colour) around a filled
// rectangle of the given shade.
CDibImage MakeSprite(int width, int height, BYTE shade);

// The four capture sizes of the frame-cycle benchmarks (320x240, 640x480,
// 1280x720, 1920x1080), in microseconds.
void CaptureSizes(benchmark::internal::Benchmark* b);
