#include "app/single_instance.h"

#include "app/main_window_names.h"
#include "ui/host_window.h"

#include <windows.h>

namespace {
constexpr wchar_t kInstanceMutexName[] = L"{D53038C1-5FAA-4fe3-8A81-C50A13E1891C}";
}

bool AnotherInstanceRuns() {
    SetLastError(ERROR_SUCCESS);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceMutexName);
    DWORD error = GetLastError();
    // The handle stays open on purpose: it is the marker. Access denied comes without a handle: the mutex
    // exists, made by an instance running with other rights. Without a handle for any other reason, run.
    if (mutex) ReleaseMutex(mutex);
    return error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
}

void BringFirstInstanceForward(unsigned timeoutMs) {
    // NOTE: several starts at once all find the mutex before the first window exists; waiting for it
    // lets each of them show the window rather than silently do nothing.
    HWND window = nullptr;
    for (DWORD start = GetTickCount();; Sleep(20)) {
        window = FindWindowW(htmlayout::kHostWindowClass, kMainWindowTitle);
        if (window || GetTickCount() - start >= timeoutMs) break;
    }
    if (!window) return;
    // A minimized window stays a task-bar button under SW_SHOW; the user asked to see it.
    ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window);
}
