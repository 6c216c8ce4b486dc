#include "cleaners/windows/deletion_pool.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace {

constexpr unsigned kMostWorkers = 8;
// Enough queued for a worker never to wait on the lister, few enough that a stop drops little.
constexpr size_t kTasksPerWorker = 64;
// A worker only deletes, so a small stack does; the reservation keeps a pool of 8 cheap in address space.
constexpr SIZE_T kWorkerStack = 256 * 1024;

std::atomic<unsigned> workersChosen{0};

} // namespace

unsigned DeletionWorkers() {
    if (const unsigned chosen = workersChosen.load(std::memory_order_relaxed)) return chosen;
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    return std::clamp<unsigned>(system.dwNumberOfProcessors, 1, kMostWorkers);
}

void SetDeletionWorkers(unsigned count) {
    workersChosen.store(count, std::memory_order_relaxed);
}

DeletionPool::DeletionPool(unsigned workers) {
    for (unsigned i = 0; i < workers; ++i) {
        if (HANDLE thread = CreateThread(nullptr, kWorkerStack, WorkerThread, this,
                                         STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr))
            threads_.push_back(thread);
    }
    capacity_ = threads_.size() * kTasksPerWorker;
}

DeletionPool::~DeletionPool() {
    AcquireSRWLockExclusive(&lock_);
    closing_ = true;
    ReleaseSRWLockExclusive(&lock_);
    WakeAllConditionVariable(&changed_);
    // The workers empty the queue before they end, so the walk sees every task's result.
    if (!threads_.empty())
        WaitForMultipleObjects(static_cast<DWORD>(threads_.size()), threads_.data(), TRUE, INFINITE);
    for (HANDLE thread : threads_)
        CloseHandle(thread);
}

bool DeletionPool::TryHandOver(std::function<void()>& task) {
    AcquireSRWLockExclusive(&lock_);
    const bool taken = tasks_.size() < capacity_;
    if (taken) tasks_.push_back(std::move(task));
    ReleaseSRWLockExclusive(&lock_);
    if (taken) WakeConditionVariable(&changed_);
    return taken;
}

DWORD WINAPI DeletionPool::WorkerThread(LPVOID pool) {
    static_cast<DeletionPool*>(pool)->Work();
    return 0;
}

void DeletionPool::Work() {
    const WalkStopRelay::Installed hearsTheWalksStop(stop_);
    for (;;) {
        AcquireSRWLockExclusive(&lock_);
        while (tasks_.empty() && !closing_)
            SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
        if (tasks_.empty()) {
            ReleaseSRWLockExclusive(&lock_);
            return;
        }
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        ReleaseSRWLockExclusive(&lock_);
        task();
    }
}
