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
    bool CutShort() const { return cutShort_.load(std::memory_order_relaxed); }

  private:
    friend bool WalkStopRequested();
    friend class WalkStopRelay;
    const std::atomic<bool>& stopRequested_;
    WalkStopScope* outer_;
    // Set by every thread that hears the request, the walk's helpers among them.
    std::atomic<bool> cutShort_{false};
};

// Asked by a walk before each entry: true when it must return now. Without a scope, never.
bool WalkStopRequested();

// Lets a helper thread of a walk hear what the thread that started the walk hears: taken on that thread,
// then installed on the helper for as long as it works for the walk, which must end before the scope does.
class WalkStopRelay {
  public:
    // What the calling thread hears now.
    WalkStopRelay();
    WalkStopRelay(const WalkStopRelay&) = default;
    WalkStopRelay& operator=(const WalkStopRelay&) = default;

    // While it lives, the walks of the calling thread hear the relayed scope.
    class Installed {
      public:
        explicit Installed(const WalkStopRelay& relay);
        ~Installed();
        Installed(const Installed&) = delete;
        Installed& operator=(const Installed&) = delete;

      private:
        WalkStopScope* outer_;
    };

  private:
    WalkStopScope* scope_;
};
