#pragma once
// The DPI a window is shown at, which its page is laid out for (CSS pixels times DPI / 96).

#include <windows.h>

namespace engine::win32 {

// The window's DPI (GetDpiForWindow on Windows 10 1607 and later and on Wine), else the screen's; the
// screen's for a null window. Never 0.
UINT WindowDpi(HWND hwnd);

} // namespace engine::win32
