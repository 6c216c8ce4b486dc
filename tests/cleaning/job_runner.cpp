// Runs the real cleaning job over the stored selection with no dialog, for the test that ends it part-way:
// it signals the event named on its command line just before the job begins.
// Usage: job_runner <event name>
#include "real_job.h"
#include "settings/settings_store.h"

#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    HANDLE begins = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
    if (!begins) return 1;
    LoadCleanSelection();
    RealJob real;
    SetEvent(begins);
    CloseHandle(begins);
    return real.job.RunCleaners(nullptr) ? 0 : 3;
}
