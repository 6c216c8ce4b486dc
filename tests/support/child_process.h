#pragma once
// A program the test starts, ended by the test at the latest when this object goes.
#include "message_pump.h"

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

class ChildProcess {
public:
    // `commandLine` starts with the program's path, quoted when it holds spaces.
    explicit ChildProcess(const std::wstring& commandLine);
    // A program something else started (a launcher, a shortcut), taken over by its process id.
    explicit ChildProcess(DWORD processId);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    bool Running() const;
    // True when the process has ended within `timeoutMs`.
    bool WaitForExit(DWORD timeoutMs) const;
    // The exit code once ended; STILL_ACTIVE before.
    DWORD ExitCode() const;
    // Its visible and hidden top-level windows of the window class `className`.
    std::vector<HWND> TopWindows(const std::wstring& className) const;
    // Asks every top-level window to close, and terminates the process when that does not end it.
    void Stop();
    // Ends the process at once, as a crash or the task manager would, and waits until it is gone. True when
    // it was still running, false when it had already ended by itself.
    bool Terminate();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Processes whose parent is `parentId` (running or ended but not yet reaped by the system).
std::vector<DWORD> ChildrenOf(DWORD parentId);

// Runs `commandLine` until it exits with code 0, then waits for the processes it started (an uninstaller
// hands its work to a copy of itself and returns at once). Answers how many it waited for; -1 when the
// program failed or anything outlived `timeoutMs`.
int RunToEndWithChildren(const std::wstring& commandLine, DWORD timeoutMs);

// Waits up to `timeoutMs` for `condition`, dispatching this thread's messages meanwhile so that its
// windows keep receiving input.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
    for (DWORD start = GetTickCount();; Sleep(10)) {
        PumpMessages();
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
    }
}

} // namespace testing_support
