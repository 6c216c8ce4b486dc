#pragma once
// How a second start finds the main window (its class is the host window class), and its size at 96 DPI.

inline constexpr wchar_t kMainWindowTitle[] = L"Tracewipe 1.0";
inline constexpr int kMainWindowWidth = 720;
inline constexpr int kMainWindowHeight = 510;
