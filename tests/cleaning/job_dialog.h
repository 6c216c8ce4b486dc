#pragma once
// A real window standing in for the progress dialog: it closes only when the job lets it.
#include "cleaning/cleaning_job.h"

#include <windows.h>

#include <functional>

class JobDialog {
public:
    // `onUserClose` runs on this thread when a test posts WM_APP (the user pressing "exit").
    explicit JobDialog(CleaningJob& job, std::function<void()> onUserClose = {});
    ~JobDialog();
    JobDialog(const JobDialog&) = delete;
    JobDialog& operator=(const JobDialog&) = delete;

    HWND Window() const { return hwnd_; }
    // Runs the dialog's message loop until the window is gone; false on a time-out.
    bool RunUntilClosed(DWORD timeoutMs = 60000);

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l);
    CleaningJob& job_;
    std::function<void()> onUserClose_;
    HWND hwnd_ = nullptr;
};
