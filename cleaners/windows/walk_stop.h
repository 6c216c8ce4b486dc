#pragma once
// How a cleaning run stops the folder walks of its thread: between two entries, never inside one.
#include <atomic>

// While a scope lives, every walk on the thread that made it reads `stopRequested` between entries and
// returns as soon as it is set. Scopes nest; the innermost one holds.
class WalkStopScope {
public:
    explicit WalkStopScope(const std::atomic<bool>& stopRequested);
    ~WalkStopScope();
    WalkStopScope(const WalkStopScope&) = delete;
    WalkStopScope& operator=(const WalkStopScope&) = delete;

    // A walk returned early for the request: whatever it was part of is unfinished.
    bool CutShort() const { return cutShort_; }

private:
    friend bool WalkStopRequested();
    const std::atomic<bool>& stopRequested_;
    WalkStopScope* outer_;
    bool cutShort_ = false;
};

// Asked by a walk before each entry: true when it must return now. Without a scope, never.
bool WalkStopRequested();
