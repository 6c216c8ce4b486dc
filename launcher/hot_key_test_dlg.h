#pragma once
// The launcher's only window: a dialog that hides itself at once, holds Ctrl+Shift+H and starts the main
// program from "InstallPath" when it is pressed.
#include <windows.h>

class CHotKeyTestDlg {
public:
    explicit CHotKeyTestDlg(HINSTANCE instance);
    CHotKeyTestDlg(const CHotKeyTestDlg&) = delete;
    CHotKeyTestDlg& operator=(const CHotKeyTestDlg&) = delete;

    // Runs the dialog modally; returns when it ends.
    INT_PTR DoModal();

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnPaint();
    void OnTimer(UINT_PTR timerId);
    void OnHotKey();
    void AppendAboutEntry();

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HICON icon_;
    HICON smallIcon_;
    bool hidden_ = false; // from the first timer tick on
};
