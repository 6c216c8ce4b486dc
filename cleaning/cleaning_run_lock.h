#pragma once
// One cleaning run at a time per log-on: the window's progress dialog and an unattended run both hold this
// lock for their run, so neither cleans what the other is cleaning.
#include <windows.h>

class CleaningRunLock {
public:
    // Tries once, without waiting.
    CleaningRunLock();
    ~CleaningRunLock();
    CleaningRunLock(const CleaningRunLock&) = delete;
    CleaningRunLock& operator=(const CleaningRunLock&) = delete;

    // False when another run holds the lock.
    bool Held() const { return held_; }

    static constexpr wchar_t kMutexName[] = L"{8E0F6B52-2C1D-4B7A-9F3E-5A6D7C8B9E01}";

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};
