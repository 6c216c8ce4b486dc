#pragma once
// What the display shows, read back by the test, and a program started through Wine's own command; the
// clicks and keys themselves are support/real_input.h.
#include <windows.h>

#include <string>

namespace app_test {

// The screen's pixels in `area` (screen coordinates), top-down 32-bit BGRA.
struct ScreenPixels {
    int width = 0, height = 0;
    std::basic_string<unsigned> pixels;
    unsigned At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
};
ScreenPixels Capture(const RECT& area);
bool SamePixels(const ScreenPixels& a, const ScreenPixels& b);

// Saves the display's `area` as build/screenshots/<name>.png.
bool SaveScreenshot(const std::string& name, const RECT& area);

// Starts a Windows program with the `wine` command from the Linux side, detached; Wine's loader takes paths
// that CreateProcessW refuses (longer than MAX_PATH).
bool StartThroughWine(const std::wstring& program);

} // namespace app_test
