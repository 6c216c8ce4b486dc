#pragma once
// Real input on the X display the tests run on, and what the display shows.
#include <windows.h>

#include <string>

namespace app_test {

// Moves the X pointer to a screen point and clicks the left button there (xdotool): the program gets the
// press as from a mouse, through the X server and Wine's input handling.
bool ClickAt(POINT screen);
// Presses a key combination on the X display, e.g. "alt+F4".
bool PressKeys(const std::string& keys);

// The screen's pixels in `area` (screen coordinates), top-down 32-bit BGRA.
struct ScreenPixels {
    int width = 0, height = 0;
    std::basic_string<unsigned> pixels;
    unsigned At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
};
ScreenPixels Capture(const RECT& area);
bool SamePixels(const ScreenPixels& a, const ScreenPixels& b);

// Starts a Windows program with the `wine` command from the Linux side, detached; Wine's loader takes paths
// that CreateProcessW refuses (longer than MAX_PATH).
bool StartThroughWine(const std::wstring& program);

// Saves the display's `area` as build/screenshots/<name>.png.
bool SaveScreenshot(const std::string& name, const RECT& area);

} // namespace app_test
