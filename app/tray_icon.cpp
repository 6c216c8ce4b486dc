#include "app/tray_icon.h"

#include "app/main_window_names.h"
#include "app/resources/resource_ids.h"

#include <shellapi.h>

static_assert(sizeof(NOTIFYICONDATAW) == 956, "the full structure, balloon icon included");

BOOL UpdateTrayIcon(HWND window, DWORD operation) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    // The notification area shows small icons: the drawing made for small sizes, at the size the display
    // scale asks for (16 at 96 DPI, 24 at 144).
    data.hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TRACEWIPE_SMALL), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    lstrcpynW(data.szTip, kMainWindowTitle, 128);
    return Shell_NotifyIconW(operation, &data);
}

void MoveToTray(HWND window) {
    UpdateTrayIcon(window, NIM_ADD); // hidden even when the icon could not be added
    ShowWindow(window, SW_HIDE);
}

bool OnTrayCallback(HWND window, WPARAM iconId, LPARAM mouseMessage) {
    if (mouseMessage != WM_LBUTTONDOWN || (iconId != 102 && iconId != kTrayIconId)) return false;
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    SetFocus(window);
    UpdateTrayIcon(window, NIM_DELETE);
    return true;
}
