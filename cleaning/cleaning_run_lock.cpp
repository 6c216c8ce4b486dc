#include "cleaning/cleaning_run_lock.h"

// NOTE: a mutex of its own, not the single-instance one: an unattended run must not keep the window from
// opening, nor the window keep a scheduled run from starting when nobody cleans.
CleaningRunLock::CleaningRunLock() : mutex_(CreateMutexW(nullptr, FALSE, kMutexName)) {
    if (!mutex_) return;
    // Abandoned: a run ended without releasing it (killed); nothing runs now, so the lock is ours.
    const DWORD wait = WaitForSingleObject(mutex_, 0);
    held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

CleaningRunLock::~CleaningRunLock() {
    if (held_) ReleaseMutex(mutex_);
    if (mutex_) CloseHandle(mutex_);
}
