#include "engine/win32/window_dpi.h"

namespace engine::win32 {

UINT WindowDpi(HWND hwnd) {
    // Looked up, not linked: Windows 7 to 8.1 have no GetDpiForWindow, and the program must still start.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (hwnd && getDpiForWindow)
        if (UINT dpi = getDpiForWindow(hwnd)) return dpi;
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

} // namespace engine::win32
