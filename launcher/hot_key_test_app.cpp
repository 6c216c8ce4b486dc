#include "launcher/hot_key_test_app.h"

#include "launcher/hot_key_test_dlg.h"

namespace {

constexpr wchar_t kInstanceName[] = L"{63CCDC9D-411E-43d8-8ACF-6DA1F4844B44}";

} // namespace

int CHotKeyTestApp::Run() {
    if (AnotherLauncherRuns()) return 0;
    CHotKeyTestDlg dialog(instance_);
    dialog.DoModal();
    return 0;
}

bool CHotKeyTestApp::AnotherLauncherRuns() {
    SetLastError(ERROR_SUCCESS);
    instanceMutex_ = CreateMutexW(nullptr, FALSE, kInstanceName);
    DWORD error = GetLastError();
    // Access denied comes without a handle: the mutex exists, made by a launcher running with other rights.
    // Without a handle for any other reason, carry on as the only launcher.
    return error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
}
