// Where the frame cycle's time goes, for benchmarks: with the environment
// variable TENEBRIX_TICK_PROFILE set (to anything but "0"), the program adds
// up the processor time of the user-interface thread spent in each phase of a
// tick and prints the means per tick on standard error when it ends. Without
// it, the cost is one test of a flag per phase.
#pragma once

enum TickPhase { kTickGrab, kTickChain, kTickPaint, kTickPhaseCount };

// Marks the start of a tick: the thread's time since the previous mark is one
// tick period's worth of everything the thread did.
void TickProfileStartTick();

// Adds the thread's processor time of its own life to a phase.
class CTickPhaseTimer {
  public:
    explicit CTickPhaseTimer(TickPhase phase);
    ~CTickPhaseTimer();
    CTickPhaseTimer(const CTickPhaseTimer&) = delete;
    CTickPhaseTimer& operator=(const CTickPhaseTimer&) = delete;

  private:
    TickPhase m_phase;
    long long m_start;  // ns of thread time, or -1 when profiling is off
};
