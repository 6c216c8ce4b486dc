#pragma once
// The helper threads of one folder walk: they remove the files that the walk's own thread lists.
#include "cleaners/windows/walk_stop.h"

#include <windows.h>

#include <deque>
#include <functional>
#include <vector>

class DeletionPool {
  public:
    // Starts `workers` threads (fewer if the system refuses some), which hear the walk stop of the
    // calling thread.
    explicit DeletionPool(unsigned workers);
    // Returns once every task handed over is done and every thread has ended.
    ~DeletionPool();
    DeletionPool(const DeletionPool&) = delete;
    DeletionPool& operator=(const DeletionPool&) = delete;

    // Takes `task` for a worker, unless enough work waits already: then false, `task` untouched, and the
    // caller runs it itself.
    bool TryHandOver(std::function<void()>& task);

  private:
    static DWORD WINAPI WorkerThread(LPVOID pool);
    void Work();

    const WalkStopRelay stop_;
    size_t capacity_ = 0;
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    std::deque<std::function<void()>> tasks_;
    bool closing_ = false;
    std::vector<HANDLE> threads_;
};

// The workers a walk of many files starts: as many as the machine has cores, at most 8. One means none:
// the walk's own thread does everything.
unsigned DeletionWorkers();
// For benchmarks and tests: every walk from now on uses `count` workers (1: none); 0 goes back to the cores.
void SetDeletionWorkers(unsigned count);
