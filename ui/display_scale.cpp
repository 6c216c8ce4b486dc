#include "ui/display_scale.h"

#include "engine/include/htmlayout.h"

namespace htmlayout {

int ScaledPixels(int cssPixels, UINT dpi) { return MulDiv(cssPixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); }

UINT DpiOf(HWND hwnd) { return HTMLayoutGetWindowDpi(hwnd); }

} // namespace htmlayout
