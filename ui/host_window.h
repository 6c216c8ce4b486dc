#pragma once
// The host window class and what every borderless page window answers of the frame messages.
#include <windows.h>

namespace htmlayout {

inline constexpr wchar_t kHostWindowClass[] = L"htmlayout::window";

// Registers kHostWindowClass with `windowProc` and the program's icons, and keeps `instance` for later use.
ATOM RegisterHostWindowClass(HINSTANCE instance, WNDPROC windowProc);
// The instance given at registration (the program's module before that).
HINSTANCE HostInstance();

// WM_NCCALCSIZE, WM_NCPAINT, WM_NCACTIVATE (no frame is drawn) and WM_GETMINMAXINFO (the page's minimal
// size is the smallest the window tracks to). Returns true with `result` set when it answered the message.
bool HandleBorderlessMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

} // namespace htmlayout
