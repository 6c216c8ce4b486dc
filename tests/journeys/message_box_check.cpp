#include "message_box_check.h"

#include "dialog_driver.h"
#include "journey.h"
#include "support/real_input.h"
#include "ui/msg_box_dlg.h"
#include "ui/resource_ids.h"

#include <functional>
#include <map>

namespace journey {
namespace {

using app_test::ScreenPixels;

// Anti-aliased edges of a layered window take the colour of what lies beneath; the inside does not.
constexpr int kEdge = 6;

struct Reference {
    ScreenPixels inside;
    POINT close{}; // the Close button's middle, from the window's top-left
};

RECT Inside(const RECT& window) {
    return RECT{window.left + kEdge, window.top + kEdge, window.right - kEdge, window.bottom - kEdge};
}

// Nothing hovered on either box.
void PointerAway() { testing_support::MovePointerTo(POINT{1, 1}); }

// Runs a message box of this process with `title` and `text`, and `look` on its window while it is shown.
// The owner lies in the screen's lower right corner, clear of the program's window in the middle.
void ShowInThisProcess(const std::wstring& title, const std::wstring& text, const std::function<void(HWND)>& look) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HWND owner = CreateWindowExW(0, L"STATIC", L"reference owner", WS_POPUP, width - 400, height - 250, 400, 250,
                                 nullptr, nullptr, nullptr, nullptr);
    {
        htmlayout::MsgBoxDlg box(owner);
        box.title = title;
        box.message = text;
        ui_test::DialogDriver driver([&](HWND dialog) {
            look(dialog);
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
        box.run(htmlayout::kMsgBoxPageId);
        driver.Join();
    }
    DestroyWindow(owner);
}

const Reference& ReferenceFor(const std::wstring& title, const std::wstring& text) {
    static std::map<std::pair<std::wstring, std::wstring>, Reference> drawn;
    auto found = drawn.find({title, text});
    if (found != drawn.end()) return found->second;
    Reference reference;
    ShowInThisProcess(title, text, [&](HWND dialog) {
        const RECT window = RectOf(dialog);
        PointerAway();
        Sleep(200);
        reference.inside = app_test::Capture(Inside(window));
        const POINT close = ui_test::ScreenPointOf(dialog, L"close_btn");
        reference.close = POINT{close.x - window.left, close.y - window.top};
    });
    return drawn[{title, text}] = reference;
}

} // namespace

bool ShowsMessage(HWND programBox, const std::wstring& title, const std::wstring& text, const std::string& name) {
    const Reference& reference = ReferenceFor(title, text);
    PointerAway();
    Sleep(200);
    const RECT window = RectOf(programBox);
    Screenshot(name, window);
    if (app_test::SamePixels(app_test::Capture(Inside(window)), reference.inside)) return true;
    // What it should have read, for the failure's report.
    ShowInThisProcess(title, text, [&](HWND dialog) { Screenshot(name + "_expected", RectOf(dialog)); });
    return false;
}

bool PressClose(HWND programBox) {
    const RECT window = RectOf(programBox);
    // Any box of page 191 has its Close button in the same place.
    const POINT close = ReferenceFor(L"", L"").close;
    return testing_support::ClickAt(POINT{window.left + close.x, window.top + close.y});
}

} // namespace journey
