#pragma once
// The program's message box seen from outside its process: a message box of this process with the expected
// title and text, drawn by the same page and engine, is what the program's box must show pixel for pixel.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace journey {

// Whether the program's shown box `programBox` reads `title` and `text` exactly. On a mismatch, both
// pictures are saved beside the journey's screenshots as <name>.png and <name>_expected.png.
bool ShowsMessage(HWND programBox, const std::wstring& title, const std::wstring& text, const std::string& name);
// Whether the program's shown box has the caption of a box titled `title` (draw it with an empty text in
// DrawExpectedMessages): for a message whose text depends on what the prefix held, as the totals of a run.
bool ShowsTitle(HWND programBox, const std::wstring& title, const std::string& name);
// Draws the boxes of these messages (title, text) now, while the journey's process is young: under Wine 8
// a test process that has driven another program for a minute or so may no longer make windows.
void DrawExpectedMessages(const std::vector<std::pair<std::wstring, std::wstring>>& messages);
// Closes the program's box with a real click on its "Close" button.
bool PressClose(HWND programBox);

} // namespace journey
