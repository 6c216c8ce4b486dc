#pragma once
// The launcher process: at most one per session, living as long as its dialog.
#include <windows.h>

class CHotKeyTestApp {
public:
    explicit CHotKeyTestApp(HINSTANCE instance) : instance_(instance) {}

    // Returns the process exit code.
    int Run();

private:
    bool AnotherLauncherRuns();

    HINSTANCE instance_;
    // NOTE: never closed, so the name stays taken for as long as this process lives.
    HANDLE instanceMutex_ = nullptr;
};
