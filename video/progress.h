// Progress of a long job on standard error: on a terminal one bar that is
// redrawn in place (frames done and total, frames a second, time left);
// otherwise a plain line about once a second. The last line always ends with
// the number of frames done.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

class Progress {
  public:
    // `total` frames to do, or -1 when unknown; `prefix` starts every line.
    Progress(std::FILE* out, bool terminal, int64_t total, const std::string& prefix);

    void Update(int64_t done);
    // The last line: "<prefix><what>: <done> frames".
    void Finish(int64_t done, const std::string& what);

  private:
    using Clock = std::chrono::steady_clock;
    std::string Line(int64_t done, double seconds) const;

    std::FILE* m_out;
    bool m_terminal;
    int64_t m_total;
    std::string m_prefix;
    Clock::time_point m_start;
    Clock::time_point m_lastShown;
    bool m_shown = false;
};
