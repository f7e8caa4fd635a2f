// The tick profile (see tick_profile.h). Thread processor time comes from
// CLOCK_THREAD_CPUTIME_ID; the summary is printed by a static object's
// destructor, at process exit.
#include "app/tick_profile.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

long long ThreadNanoseconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

struct TickProfile {
    bool enabled;
    long long ticks = 0;       // ticks begun
    long long firstTick = -1;  // thread time at the first tick's start
    long long lastTick = -1;   // and at the latest one's
    long long phases[kTickPhaseCount] = {};
    long long phaseCounts[kTickPhaseCount] = {};

    TickProfile() {
        const char* value = std::getenv("TENEBRIX_TICK_PROFILE");
        enabled = value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
    }

    ~TickProfile() {
        if (!enabled || ticks < 2) {
            return;
        }
        // The phases of the last tick fall after its mark: leave them out of
        // "rest" by counting the periods between the first and the last mark.
        const long long periods = ticks - 1;
        const double perTick = 1e-3 / static_cast<double>(periods);
        const double all = static_cast<double>(lastTick - firstTick) * perTick;
        double rest = all;
        std::fprintf(stderr,
                     "tick profile: %lld ticks, processor time of the user-interface "
                     "thread per tick\n",
                     ticks);
        const char* names[kTickPhaseCount] = {"grab", "chain", "paint"};
        for (int p = 0; p < kTickPhaseCount; ++p) {
            const double us = static_cast<double>(phases[p]) * 1e-3 / static_cast<double>(ticks);
            rest -= us;
            std::fprintf(stderr, "  %-6s %8.1f us  (%lld times)\n", names[p], us, phaseCounts[p]);
        }
        std::fprintf(stderr, "  %-6s %8.1f us  (message loop, toolkit drawing, the rest)\n", "rest",
                     rest);
        std::fprintf(stderr, "  %-6s %8.1f us\n", "total", all);
    }
};

TickProfile& Profile() {
    static TickProfile profile;
    return profile;
}

}  // namespace

void TickProfileStartTick() {
    TickProfile& profile = Profile();
    if (!profile.enabled) {
        return;
    }
    const long long now = ThreadNanoseconds();
    if (profile.firstTick < 0) {
        profile.firstTick = now;
    }
    profile.lastTick = now;
    ++profile.ticks;
}

CTickPhaseTimer::CTickPhaseTimer(TickPhase phase)
    : m_phase(phase), m_start(Profile().enabled ? ThreadNanoseconds() : -1) {}

CTickPhaseTimer::~CTickPhaseTimer() {
    if (m_start >= 0) {
        Profile().phases[m_phase] += ThreadNanoseconds() - m_start;
        ++Profile().phaseCounts[m_phase];
    }
}
