#include "job_dialog.h"

JobDialog::JobDialog(CleaningJob& job, std::function<void()> onUserClose)
    : job_(job), onUserClose_(std::move(onUserClose)) {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TracewipeJobTestDialog";
        return RegisterClassW(&wc);
    }();
    hwnd_ = CreateWindowW(MAKEINTATOM(atom), L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

JobDialog::~JobDialog() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

LRESULT CALLBACK JobDialog::Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<JobDialog*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    switch (m) {
    case WM_CLOSE:
        if (self->job_.RequestClose()) DestroyWindow(h);
        return 0;
    case WM_APP:
        self->job_.RequestClose();
        if (self->onUserClose_) self->onUserClose_();
        return 0;
    case WM_TIMER: self->job_.OnProgressTimer(h, w); return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

bool JobDialog::RunUntilClosed(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (IsWindow(hwnd_)) {
        if (GetTickCount() - start > timeoutMs) return false;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        else MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}
