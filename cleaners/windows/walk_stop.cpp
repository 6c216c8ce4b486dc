#include "cleaners/windows/walk_stop.h"

namespace {
// Bound to the thread so that the walks of one job never read the flag of another, and a walk run
// outside any job (a test, a benchmark) is never stopped.
thread_local WalkStopScope* current = nullptr;
} // namespace

WalkStopScope::WalkStopScope(const std::atomic<bool>& stopRequested)
    : stopRequested_(stopRequested), outer_(current) {
    current = this;
}

WalkStopScope::~WalkStopScope() {
    current = outer_;
}

bool WalkStopRequested() {
    if (!current || !current->stopRequested_.load(std::memory_order_acquire)) return false;
    current->cutShort_.store(true, std::memory_order_relaxed);
    return true;
}

WalkStopRelay::WalkStopRelay() : scope_(current) {}

WalkStopRelay::Installed::Installed(const WalkStopRelay& relay) : outer_(current) {
    current = relay.scope_;
}

WalkStopRelay::Installed::~Installed() {
    current = outer_;
}
