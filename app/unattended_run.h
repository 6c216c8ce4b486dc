#pragma once
// A cleaning run without a window, for the Task Scheduler and for scripts: "Tracewipe.exe -clean ...".
#include <string>
#include <vector>

enum UnattendedExit : int {
    kUnattendedCleaned = 0,
    kUnattendedSomethingStayed = 1,
    kUnattendedBadCommandLine = 2,
    kUnattendedAnotherRun = 3,
};

// Runs the command on this thread and returns the exit code. Shows no window and no message box, never
// starts the launcher, never writes the settings or the Run key.
int RunUnattended(const std::vector<std::wstring>& arguments);
