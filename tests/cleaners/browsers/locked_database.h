#pragma once
// A database held locked by another process, as a running browser holds it, for as long as this object
// lives.
#include "support/child_process.h"

#include <windows.h>

#include <memory>
#include <string>

namespace browser_tests {

class LockedDatabase {
  public:
    explicit LockedDatabase(const std::wstring& path);
    ~LockedDatabase();
    LockedDatabase(const LockedDatabase&) = delete;
    LockedDatabase& operator=(const LockedDatabase&) = delete;

    // The other process holds the lock.
    bool Holding() const { return holding_; }

  private:
    HANDLE ready_;
    HANDLE release_;
    std::unique_ptr<testing_support::ChildProcess> holder_;
    bool holding_ = false;
};

} // namespace browser_tests
