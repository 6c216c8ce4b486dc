#include "ui/host_window.h"

#include "engine/include/htmlayout.h"
#include "ui/resource_ids.h"

namespace htmlayout {

namespace {

HINSTANCE gInstance = nullptr;

} // namespace

ATOM RegisterHostWindowClass(HINSTANCE instance, WNDPROC windowProc) {
    gInstance = instance;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    // Each at the size the display scale asks for, from the icon's own picture of that size.
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kLargeIconId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kSmallIconId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kHostWindowClass;
    return RegisterClassExW(&wc);
}

HINSTANCE HostInstance() { return gInstance ? gInstance : GetModuleHandleW(nullptr); }

bool HandleBorderlessMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_NCCALCSIZE:
    case WM_NCPAINT: result = 0; return true;
    case WM_NCACTIVATE: result = wParam == 0 ? TRUE : FALSE; return true;
    case WM_GETMINMAXINFO: {
        result = DefWindowProcW(hwnd, message, wParam, lParam);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        RECT rc{};
        GetWindowRect(hwnd, &rc);
        info->ptMinTrackSize.x = static_cast<LONG>(HTMLayoutGetMinWidth(hwnd));
        info->ptMinTrackSize.y = static_cast<LONG>(HTMLayoutGetMinHeight(hwnd, static_cast<UINT>(rc.right - rc.left)));
        return true;
    }
    default: return false;
    }
}

} // namespace htmlayout
