#pragma once
// A page window of the tests, built the way the program builds its own: the engine first, the frame
// messages and the hit test of the host layer, load data and behaviors through notification_handler, and a
// record of the behavior events the page raised.
#include "ui/element_ops.h"
#include "ui/event_handler.h"
#include "ui/notification_handler.h"
#include "ui/resource_data.h"

#include <optional>
#include <string_view>

#include <string>
#include <vector>

namespace ui_test {

class PageWindow : public htmlayout::event_handler, public htmlayout::notification_handler<PageWindow> {
public:
    // Shows the RT_HTML page `pageId` of the test program in a popup at `area` (screen coordinates).
    PageWindow(unsigned pageId, RECT area);
    // The same for a page named by text ("MAIN_SKIN").
    PageWindow(std::wstring_view pageName, RECT area);
    ~PageWindow() override;

    HWND hwnd() const { return hwnd_; }
    htmlayout::scoped_element Find(const wchar_t* id) const;
    // The screen point at (dx, dy) inside the element's border box.
    POINT ScreenPoint(const wchar_t* id, int dx, int dy) const;
    // Sends a press and a release of the left button at the element, as the mouse does.
    void Click(const wchar_t* id) const;
    // Sends a key-down and key-up of `key`, as the keyboard does.
    void Key(UINT key) const;

    // "id+" for ELEMENT_EXPANDED, "id-" for ELEMENT_COLLAPSED, in the order the page raised them.
    std::vector<std::wstring> expansions;

    BOOL on_event(HELEMENT he, HELEMENT target, unsigned type, unsigned reason) override;

private:
    PageWindow(std::optional<htmlayout::resource_bytes> page, RECT area);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    htmlayout::scoped_element body_, caption_;
};

// Whether the element holds all of `states`.
bool Has(HELEMENT he, unsigned states);
// Where the test run keeps its screenshots (a unix path).
std::string ScreenshotFolder();
// Lets the windows of this thread take their messages for `ms` milliseconds.
void Settle(unsigned ms = 100);

} // namespace ui_test
