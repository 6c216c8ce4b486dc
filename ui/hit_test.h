#pragma once
// What a point of a borderless page window is: the caption moves the window, the body is client area, and a
// band round the body resizes it.
#include <windows.h>

#include "engine/include/htmlayout_dom.h"

namespace htmlayout {

// `screen` in screen coordinates; `caption` and `body` may be missing. Returns an HT* code.
int HitTest(HWND hwnd, POINT screen, HELEMENT caption, HELEMENT body);

} // namespace htmlayout
