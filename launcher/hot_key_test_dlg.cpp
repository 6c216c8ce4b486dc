#include "launcher/hot_key_test_dlg.h"

#include "launcher/install_path.h"
#include "launcher/resource_ids.h"

#include <shellapi.h>

#include <string>

namespace {

constexpr int kHotKeyId = 100;
constexpr UINT kHotKeyModifiers = MOD_CONTROL | MOD_SHIFT;
constexpr UINT kHotKeyVirtualKey = 0x48; // H
constexpr UINT_PTR kHideTimerId = 1;
constexpr UINT kHideTimerMs = 30;

HICON LoadAppIcon(HINSTANCE instance, int sizeMetric) {
    int size = GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, LR_SHARED));
}

} // namespace

CHotKeyTestDlg::CHotKeyTestDlg(HINSTANCE instance)
    : instance_(instance), icon_(LoadAppIcon(instance, SM_CXICON)), smallIcon_(LoadAppIcon(instance, SM_CXSMICON)) {}

INT_PTR CHotKeyTestDlg::DoModal() {
    return DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_HOTKEYTEST_DIALOG), nullptr, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CHotKeyTestDlg::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<CHotKeyTestDlg*>(lParam)->window_ = window;
    }
    auto* self = reinterpret_cast<CHotKeyTestDlg*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CHotKeyTestDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_WINDOWPOSCHANGING:
        // NOTE: the modal loop shows the dialog the first time its queue runs empty; on a busy machine that
        // comes after the first tick, and the launcher stood on the screen for good. Hidden stays hidden.
        if (hidden_) reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
        return FALSE;
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_PAINT:
        if (!IsIconic(window_)) return FALSE;
        OnPaint();
        return TRUE;
    case WM_QUERYDRAGICON:
        SetWindowLongPtrW(window_, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(icon_));
        return TRUE;
    case WM_COMMAND:
        // Enter, Escape and WM_CLOSE end the dialog, and with it the launcher.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(window_, LOWORD(wParam));
        return TRUE;
    case WM_TIMER:
        OnTimer(wParam);
        return TRUE;
    case WM_HOTKEY:
        OnHotKey();
        return TRUE;
    case WM_DESTROY:
        UnregisterHotKey(window_, kHotKeyId);
        return FALSE;
    default:
        return FALSE;
    }
}

void CHotKeyTestDlg::OnInitDialog() {
    AppendAboutEntry();
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    if (!RegisterHotKey(window_, kHotKeyId, kHotKeyModifiers, kHotKeyVirtualKey))
        MessageBoxW(window_, L"RegisterHotKey failed", L"Tracewipe HotKey", MB_OK);
    SetTimer(window_, kHideTimerId, kHideTimerMs, nullptr);
}

void CHotKeyTestDlg::AppendAboutEntry() {
    // LoadStringW with a zero length hands back a read-only pointer to the resource text.
    const wchar_t* text = nullptr;
    int length = LoadStringW(instance_, IDS_ABOUTBOX, reinterpret_cast<wchar_t*>(&text), 0);
    HMENU systemMenu = GetSystemMenu(window_, FALSE);
    if (length <= 0 || !systemMenu) return;
    std::wstring entry(text, static_cast<size_t>(length));
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, entry.c_str());
}

void CHotKeyTestDlg::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(window_, &client);
    int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon_);
    EndPaint(window_, &paint);
}

void CHotKeyTestDlg::OnTimer(UINT_PTR timerId) {
    KillTimer(window_, timerId);
    hidden_ = true;
    ShowWindow(window_, SW_HIDE);
}

void CHotKeyTestDlg::OnHotKey() {
    std::wstring path = ReadInstallPath(InstallPathKey(NativeProcessorArchitecture()));
    // An empty path would make the shell open whatever it takes for the current folder.
    if (path.empty()) return;
    ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
