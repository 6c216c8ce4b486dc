#pragma once
// Where the main window opens: near the middle of the screen.
#include <windows.h>

// At 96 DPI (screen width / 2 - 351, screen height / 2 - 251): (161, 133) on a 1024 x 768 screen; at
// another DPI both distances scale with it. Never left of or above the screen.
POINT MainWindowOrigin(int screenWidth, int screenHeight, UINT dpi);
