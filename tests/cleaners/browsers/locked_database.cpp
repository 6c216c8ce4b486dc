#include "locked_database.h"

#include "browser_folders_fixture.h"

namespace browser_tests {

LockedDatabase::LockedDatabase(const std::wstring& path) {
    static int serial = 0;
    const std::wstring event =
        L"tracewipe-locked-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
    ready_ = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
    release_ = CreateEventW(nullptr, TRUE, FALSE, (event + L"-release").c_str());
    const std::wstring program = ProgramPath();
    holder_ = std::make_unique<testing_support::ChildProcess>(
        L"\"" + program.substr(0, program.rfind(L'\\')) + L"\\database_lock_holder.exe\" \"" + path + L"\" " +
        event);
    holding_ = holder_->Started() && WaitForSingleObject(ready_, 20000) == WAIT_OBJECT_0;
}

LockedDatabase::~LockedDatabase() {
    SetEvent(release_);
    if (!holder_->WaitForExit(10000)) holder_->Stop();
    CloseHandle(ready_);
    CloseHandle(release_);
}

} // namespace browser_tests
