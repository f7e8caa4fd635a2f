// Progress on standard error (see progress.h).
#include "video/progress.h"

#include <cinttypes>

namespace {

const int kBarWidth = 30;

std::string Duration(double seconds) {
    const long s = static_cast<long>(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

}  // namespace

Progress::Progress(std::FILE* out, bool terminal, int64_t total, const std::string& prefix)
    : m_out(out),
      m_terminal(terminal),
      m_total(total),
      m_prefix(prefix),
      m_start(Clock::now()),
      m_lastShown(m_start) {}

std::string Progress::Line(int64_t done, double seconds) const {
    const double rate = seconds > 0 ? done / seconds : 0;
    char text[160];
    std::string line = m_prefix;
    if (m_total > 0) {
        const int64_t shown = done < m_total ? done : m_total;
        if (m_terminal) {
            const int filled = static_cast<int>(kBarWidth * shown / m_total);
            line += "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '-') + "] ";
        }
        std::snprintf(text, sizeof text, "%" PRId64 "/%" PRId64 " frames, %.1f fps", done, m_total,
                      rate);
        line += text;
        if (rate > 0 && done < m_total) {
            line += ", " + Duration((m_total - done) / rate) + " left";
        }
    } else {
        std::snprintf(text, sizeof text, "%" PRId64 " frames, %.1f fps", done, rate);
        line += text;
    }
    return line;
}

void Progress::Update(int64_t done) {
    const Clock::time_point now = Clock::now();
    const auto interval = m_terminal ? std::chrono::milliseconds(100) : std::chrono::seconds(1);
    if (now - m_lastShown < interval) {
        return;
    }
    m_lastShown = now;
    m_shown = true;
    const std::string line = Line(done, std::chrono::duration<double>(now - m_start).count());
    // On a terminal the bar is redrawn in place, the rest of a longer one cleared.
    std::fprintf(m_out, m_terminal ? "\r%s\033[K" : "%s\n", line.c_str());
    std::fflush(m_out);
}

void Progress::Finish(int64_t done, const std::string& what) {
    if (m_terminal && m_shown) {
        std::fprintf(m_out, "\r\033[K");
    }
    std::fprintf(m_out, "%s%s: %" PRId64 " frames\n", m_prefix.c_str(), what.c_str(), done);
    std::fflush(m_out);
}
