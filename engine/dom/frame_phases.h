#pragma once
// Where a frame's time goes, phase by phase. Benchmarks hand in their totals; until then a phase costs a
// test of one thread-local pointer. Time is charged to the innermost phase only (a style update inside an
// event handler counts as style, not dispatch).

namespace engine {

enum class FramePhase { Other, Dispatch, Style, BoxTree, Layout, Record, Paint, Copy, Count };

struct FrameTimes {
    double ms[static_cast<int>(FramePhase::Count)] = {};
    double& operator[](FramePhase phase) { return ms[static_cast<int>(phase)]; }
};

// Adds this thread's phase times to `into` from now on; null stops.
void TimeFramePhases(FrameTimes* into);

class PhaseScope {
  public:
    explicit PhaseScope(FramePhase phase);
    ~PhaseScope();
    PhaseScope(const PhaseScope&) = delete;
    PhaseScope& operator=(const PhaseScope&) = delete;

  private:
    FramePhase outer_;
    bool timed_;
};

} // namespace engine
