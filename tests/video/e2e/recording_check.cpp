// Checks the recordings of an end-to-end run of the program.
//
//   recording_check last-is RECORDING SNAPSHOT
//     The recording's last picture must be exactly the snapshot (a BMP).
//   recording_check frames RECORDING COUNT
//     The recording must decode to its end and give COUNT pictures, and tell
//     its length (a file finished properly, so that players can seek in it).
//
// Prints what it found; exits 0 when the check passes, 1 otherwise.
#include <gst/gst.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "video/frame_reader.h"

int main(int argc, char** argv) {
    const std::string mode = argc == 4 ? argv[1] : "";
    if (mode != "last-is" && mode != "frames") {
        std::fprintf(stderr,
                     "usage: recording_check last-is RECORDING SNAPSHOT\n"
                     "       recording_check frames RECORDING COUNT\n");
        return 2;
    }
    gst_init(nullptr, nullptr);
    std::string error;
    std::unique_ptr<FrameReader> reader = FrameReader::Open(argv[2], &error);
    if (reader == nullptr) {
        std::printf("%s\n", error.c_str());
        return 1;
    }
    CDibImage frame, last;
    GstClockTime time = 0, lastTime = 0;
    long count = 0;
    while (reader->Next(&frame, &time, &error)) {
        ++count;
        last = frame;
        lastTime = time;
    }
    if (!error.empty()) {
        std::printf("%s: broken after %ld pictures: %s\n", argv[2], count, error.c_str());
        return 1;
    }
    if (mode == "frames") {
        // Ticks may come late, so the length (in pictures at the nominal
        // rate) must reach the last picture's time, not the count.
        const long told = static_cast<long>(reader->TotalFrames());
        const long reach = static_cast<long>(gst_util_uint64_scale(
            lastTime, reader->Rate().numerator, GST_SECOND * reader->Rate().denominator));
        std::printf("%s: %ld pictures, expected %s; its length tells %ld, the last is at %ld\n",
                    argv[2], count, argv[3], told, reach);
        return count == std::atol(argv[3]) && told >= reach ? 0 : 1;
    }
    CDibImage snapshot;
    if (snapshot.Load(argv[3]) != 0) {
        std::printf("%s: cannot read\n", argv[3]);
        return 1;
    }
    const bool same =
        last.HasPixels() && last.Width() == snapshot.Width() &&
        last.Height() == snapshot.Height() &&
        std::memcmp(last.Bits(), snapshot.Bits(), static_cast<size_t>(snapshot.ImageSize())) == 0;
    std::printf("%s: last of %ld pictures %s %s\n", argv[2], count,
                same ? "is exactly" : "differs from", argv[3]);
    return same ? 0 : 1;
}
