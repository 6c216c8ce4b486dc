#pragma once
// Where the elements of the program's dialog pages lie, and what its message boxes show, seen from the test's
// process: the same page laid out here tells both.
#include "real_input.h"

#include <windows.h>

#include <string>

namespace app_test {

// The element's place in a dialog window of page `pageId`, relative to the window; once per element.
RECT OffsetIn(unsigned pageId, const wchar_t* id);
// `offset` on the screen, for the dialog window `dialog`.
RECT On(HWND dialog, RECT offset);
POINT Middle(const RECT& rc);

// What a message box shows, with nothing hovered: its caption strip (the title; the same height in every
// box), and everything inside its edge (title, the whole message, Close; its size too). Its antialiased edge,
// which takes the colour of what lies beneath, is left out.
struct BoxLook {
    ScreenPixels title, whole;
};
BoxLook Look(HWND box);
// What a message box of this process shows for `title` and `text`.
BoxLook ExpectedBox(const std::wstring& title, const std::wstring& text);

} // namespace app_test
