#pragma once
// Window sizes and distances given in CSS pixels (what they are at 96 DPI), in a window's device pixels.
#include <windows.h>

namespace htmlayout {

// `cssPixels` times DPI / 96, rounded to the nearest pixel (halves away from zero).
int ScaledPixels(int cssPixels, UINT dpi);

// The DPI the window's page is laid out for; the screen's for a null window.
UINT DpiOf(HWND hwnd);

} // namespace htmlayout
