#pragma once
// The notification-area icon that stands for the hidden main window.
#include <windows.h>

inline constexpr UINT kTrayCallbackMessage = WM_USER + 101; // 1125
inline constexpr UINT kTrayIconId = 103;

// Shell_NotifyIconW with NIM_ADD or NIM_DELETE for the main window's icon; its result, which no caller needs.
BOOL UpdateTrayIcon(HWND window, DWORD operation);

// Hides the window with an icon in the notification area (Move to Tray, and the "-startup" start).
void MoveToTray(HWND window);

// The tray callback: a left press on the icon brings the window back and removes the icon. True when the
// message was taken (the window procedure then answers 1).
bool OnTrayCallback(HWND window, WPARAM iconId, LPARAM mouseMessage);
