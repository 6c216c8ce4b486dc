#include "engine/dom/frame_phases.h"

#include <chrono>

namespace engine {
namespace {

using Clock = std::chrono::steady_clock;

thread_local FrameTimes* sink = nullptr;
thread_local FramePhase current = FramePhase::Other;
thread_local Clock::time_point since;

void ChargeCurrent() {
    const Clock::time_point now = Clock::now();
    (*sink)[current] += std::chrono::duration<double, std::milli>(now - since).count();
    since = now;
}

} // namespace

void TimeFramePhases(FrameTimes* into) {
    sink = into;
    current = FramePhase::Other;
    since = Clock::now();
}

PhaseScope::PhaseScope(FramePhase phase) : outer_(current), timed_(sink != nullptr) {
    if (!timed_) return;
    ChargeCurrent();
    current = phase;
}

PhaseScope::~PhaseScope() {
    if (!timed_ || !sink) return;
    ChargeCurrent();
    current = outer_;
}

} // namespace engine
