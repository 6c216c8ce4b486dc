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

// The inside of a box with this title and text, as this process draws it.
const ScreenPixels& ReferenceFor(const std::wstring& title, const std::wstring& text) {
    static std::map<std::pair<std::wstring, std::wstring>, ScreenPixels> drawn;
    auto found = drawn.find({title, text});
    if (found != drawn.end()) return found->second;
    ScreenPixels reference;
    ShowInThisProcess(title, text, [&](HWND dialog) {
        const RECT window = RectOf(dialog);
        PointerAway();
        Sleep(200);
        reference = app_test::Capture(Inside(window));
    });
    return drawn[{title, text}] = reference;
}

} // namespace

bool ShowsMessage(HWND programBox, const std::wstring& title, const std::wstring& text, const std::string& name) {
    const ScreenPixels& reference = ReferenceFor(title, text);
    PointerAway();
    Sleep(200);
    const RECT window = RectOf(programBox);
    Screenshot(name, window);
    if (app_test::SamePixels(app_test::Capture(Inside(window)), reference)) return true;
    // What it should have read, for the failure's report.
    ShowInThisProcess(title, text, [&](HWND dialog) { Screenshot(name + "_expected", RectOf(dialog)); });
    return false;
}

bool ShowsTitle(HWND programBox, const std::wstring& title, const std::string& name) {
    // The caption strip: 40 px, the same whatever the box's height.
    constexpr int kCaption = 40;
    const ScreenPixels& reference = ReferenceFor(title, L"");
    ScreenPixels caption{reference.width, kCaption - kEdge, {}};
    caption.pixels = reference.pixels.substr(0, static_cast<size_t>(caption.width) * caption.height);
    PointerAway();
    Sleep(200);
    const RECT window = RectOf(programBox);
    Screenshot(name, window);
    const RECT inside = Inside(window);
    return app_test::SamePixels(app_test::Capture(RECT{inside.left, inside.top, inside.right, window.top + kCaption}),
                                caption);
}

void DrawExpectedMessages(const std::vector<std::pair<std::wstring, std::wstring>>& messages) {
    for (const auto& [title, text] : messages) ReferenceFor(title, text);
    PageOffset(htmlayout::kMsgBoxPageId, L"close_btn");
    PageOffset(htmlayout::kProgressPageId, L"btn_Clean");
}

// The bar with the button keeps its distance from the box's bottom when a long message makes the box taller.
bool PressClose(HWND programBox) {
    constexpr int kDesignedHeight = 198;
    const RECT window = RectOf(programBox), offset = PageOffset(htmlayout::kMsgBoxPageId, L"close_btn");
    if (IsRectEmpty(&offset)) return false;
    const int grown = (window.bottom - window.top) - kDesignedHeight;
    testing_support::MovePointerTo(POINT{1, 1});
    return testing_support::ClickAt(POINT{window.left + (offset.left + offset.right) / 2,
                                          window.top + grown + (offset.top + offset.bottom) / 2});
}

} // namespace journey
