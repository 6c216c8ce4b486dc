#pragma once
// Real input on the X display the tests run on (xdotool), and screenshots of it: the program gets presses
// through the X server and Wine's input handling, as from a mouse and a keyboard.
#include <windows.h>

#include <string>

namespace testing_support {

// Moves the X pointer to a screen point and clicks the left button there.
bool ClickAt(POINT screen);
// Moves the X pointer to a screen point without a click (away from what a screenshot should show unhovered).
bool MovePointerTo(POINT screen);
// Gives the window's X window the keyboard focus, then presses a key combination, e.g. "ctrl+shift+Tab".
bool PressKeys(HWND window, const std::string& keys);
// Saves the display's `area` (screen coordinates) as `<unixFolder>/<name>.png`.
bool SaveScreenshot(const std::string& unixFolder, const std::string& name, const RECT& area);

} // namespace testing_support
