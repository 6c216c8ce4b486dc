// The dialog base and the message box, run modally over a real owner window and driven by real input.
#include "dialog_driver.h"
#include "page_window.h"
#include "support/real_input.h"
#include "ui/about_dlg.h"
#include "ui/element_ops.h"
#include "ui/msg_box_dlg.h"
#include "ui/resource_ids.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

using htmlayout::FindById;
using htmlayout::MsgBoxDlg;
using htmlayout::RootOf;
using htmlayout::scoped_element;
using ui_test::DialogDriver;
using ui_test::DialogsOf;
using ui_test::ScreenPointOf;
using ui_test::TextOf;
using ui_test::WaitFor;

struct Seen {
    RECT dialog{};
    SIZE page{};
    bool ownerEnabled = true;
    std::wstring title, message;
    bool focusedBeforeTab = false, focusedAfterTab = false;
};

struct Dialogs : ::testing::Test {
    ui_test::PageWindow owner{9002, RECT{200, 150, 1000, 750}};

    RECT OwnerRect() const {
        RECT rc{};
        GetWindowRect(owner.hwnd(), &rc);
        return rc;
    }
    bool CloseButtonFocused(HWND dialog) const {
        return ui_test::Has(htmlayout::FindById(htmlayout::RootOf(dialog), L"close_btn"), STATE_FOCUS);
    }
    // What a later test must not inherit: a quit message, or a dialog.
    void TearDown() override {
        MSG msg;
        EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_TRUE(DialogsOf(GetCurrentThreadId()).empty());
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
    }
};

TEST_F(Dialogs, TheMessageBoxTakesItsPagesSizeCentredOverItsDisabledOwnerAndExitClosesIt) {
    MsgBoxDlg box(owner.hwnd());
    box.title = L"Delete Successfully";
    box.message = L"History of all the items are delete successfully.";
    Seen seen;
    DialogDriver driver([&](HWND dialog) {
        GetWindowRect(dialog, &seen.dialog);
        seen.page.cx = static_cast<LONG>(HTMLayoutGetMinWidth(dialog));
        seen.page.cy = static_cast<LONG>(HTMLayoutGetMinHeight(dialog, static_cast<UINT>(seen.page.cx)));
        seen.ownerEnabled = IsWindowEnabled(owner.hwnd());
        seen.title = TextOf(dialog, L"main_heading_text");
        seen.message = TextOf(dialog, L"msg_text");
        testing_support::SaveScreenshot(ui_test::ScreenshotFolder(), "msg_box_dlg", seen.dialog);
        seen.focusedBeforeTab = CloseButtonFocused(dialog);
        testing_support::PressKeys(dialog, "Tab");
        Sleep(200);
        seen.focusedAfterTab = CloseButtonFocused(dialog);
        testing_support::ClickAt(ScreenPointOf(dialog, L"exit"));
    });
    EXPECT_EQ(box.run(htmlayout::kMsgBoxPageId), 2);
    driver.Join();
    ASSERT_TRUE(driver.SawDialog());
    EXPECT_FALSE(driver.LeftOpen()) << "a click on the caption's exit button closes the box";

    // A popup has no frame: the window is exactly the page's minimal size, the page's designed 340 x 198.
    EXPECT_EQ(seen.dialog.right - seen.dialog.left, seen.page.cx);
    EXPECT_EQ(seen.dialog.bottom - seen.dialog.top, seen.page.cy);
    EXPECT_EQ(seen.page.cx, 340);
    EXPECT_EQ(seen.page.cy, 198);
    RECT o = OwnerRect();
    EXPECT_EQ(seen.dialog.left, o.left + (o.right - o.left - 340) / 2);
    EXPECT_EQ(seen.dialog.top, o.top + (o.bottom - o.top - 198) / 2);

    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_EQ(seen.title, L"Delete Successfully");
    EXPECT_EQ(seen.message, L"History of all the items are delete successfully.");
    EXPECT_TRUE(seen.focusedBeforeTab) << "the default button has the focus";
    EXPECT_TRUE(seen.focusedAfterTab) << "Tab does nothing";
}

// The window's four 12 x 12 corners as the screen shows them.
std::vector<COLORREF> CornersOf(const RECT& w) {
    std::vector<COLORREF> pixels;
    HDC screen = GetDC(nullptr);
    for (POINT at : {POINT{w.left, w.top}, POINT{w.right - 12, w.top}, POINT{w.left, w.bottom - 12},
                     POINT{w.right - 12, w.bottom - 12}})
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x) pixels.push_back(GetPixel(screen, at.x + x, at.y + y));
    ReleaseDC(nullptr, screen);
    return pixels;
}

// A message of many lines makes the box taller, never wider, and every line stays inside the text area,
// above the bottom bar, whose Close button still closes the box. The taller box keeps the card's corners
// and edge, pixel for pixel.
TEST_F(Dialogs, ALongMessageMakesTheBoxTallerAndNothingIsClipped) {
    // Over an owner of one colour, shown, so that both boxes' transparent corners show the same; the pointer
    // away, so that neither box opens under it with its exit hovered.
    testing_support::MovePointerTo(POINT{1, 1});
    ui_test::PageWindow plain{9003, RECT{200, 150, 1000, 750}};
    ShowWindow(plain.hwnd(), SW_SHOWNOACTIVATE);
    std::vector<COLORREF> designedCorners;
    {
        MsgBoxDlg designed(plain.hwnd());
        designed.title = L"Some Items Not Cleaned";
        designed.message = L"One line.";
        DialogDriver driver([&](HWND dialog) {
            RECT rc{};
            GetWindowRect(dialog, &rc);
            designedCorners = CornersOf(rc);
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
        designed.run(htmlayout::kMsgBoxPageId);
        driver.Join();
    }
    MsgBoxDlg box(plain.hwnd());
    box.title = L"Some Items Not Cleaned";
    for (int i = 1; i <= 9; ++i) box.message += L"Item number " + std::to_wstring(i) + L" (in use by another program)\n";
    box.message += L"Removed 23,114 files (1.2 GB) and 412 registry entries.\nClose the programs that use them and clean again.";
    RECT window{}, text{}, content{}, bottom{};
    std::vector<COLORREF> grownCorners;
    DialogDriver driver([&](HWND dialog) {
        GetWindowRect(dialog, &window);
        scoped_element root = RootOf(dialog);
        HTMLayoutGetElementLocation(FindById(root, L"content_cell"), &text, BORDER_BOX | ROOT_RELATIVE);
        HTMLayoutGetElementLocation(FindById(root, L"content"), &content, BORDER_BOX | ROOT_RELATIVE);
        HTMLayoutGetElementLocation(FindById(root, L"bottom"), &bottom, BORDER_BOX | ROOT_RELATIVE);
        testing_support::SaveScreenshot(ui_test::ScreenshotFolder(), "msg_box_long_message", window);
        grownCorners = CornersOf(window);
        testing_support::ClickAt(ScreenPointOf(dialog, L"close_btn"));
    });
    EXPECT_EQ(box.run(htmlayout::kMsgBoxPageId), 2);
    driver.Join();
    ASSERT_TRUE(driver.SawDialog());
    EXPECT_FALSE(driver.LeftOpen());
    EXPECT_EQ(window.right - window.left, 340);
    EXPECT_GT(window.bottom - window.top, 198);
    EXPECT_GE(text.top, content.top);
    EXPECT_LE(text.bottom, content.bottom);
    EXPECT_LE(content.bottom, bottom.top);
    EXPECT_EQ(bottom.bottom, window.bottom - window.top - 1) << "the bar keeps its place at the bottom";
    ASSERT_EQ(designedCorners.size(), 4u * 12 * 12);
    EXPECT_TRUE(grownCorners == designedCorners) << "rounded, with the same edge, as the designed box";
}

// The growth is reckoned in CSS pixels at any display scale: a block of 252 CSS px (14 lines) grows the 108 px
// text area by 168 px at 96, 120, 144 and 192 DPI alike, however many window pixels that is.
TEST(MessageGrowth, IsInCssPixelsAtEveryDisplayScale) {
    EXPECT_EQ(htmlayout::MessageGrowth(108, 252, 96), 168);
    EXPECT_EQ(htmlayout::MessageGrowth(135, 315, 120), 168);
    EXPECT_EQ(htmlayout::MessageGrowth(162, 378, 144), 168);
    EXPECT_EQ(htmlayout::MessageGrowth(216, 504, 192), 168);
    EXPECT_EQ(htmlayout::MessageGrowth(162, 379, 144), 169) << "part of a pixel more is a whole one more";
    EXPECT_EQ(htmlayout::MessageGrowth(108, 84, 96), 0) << "fits with its margins";
    EXPECT_EQ(htmlayout::MessageGrowth(108, 90, 96), 6);
    EXPECT_EQ(htmlayout::MessageGrowth(0, 90, 96), 0) << "no text area";
    EXPECT_EQ(htmlayout::MessageGrowth(108, 90, 0), 0) << "no DPI";
}

// The end of a run that left nothing: the existing text and a totals line fit the designed box as it is.
TEST_F(Dialogs, ADoneMessageWithItsTotalsLineKeepsTheDesignedSize) {
    MsgBoxDlg box(owner.hwnd());
    box.title = L"Delete Successfully";
    box.message = L"History of selected item(s) are delete successfully.\n"
                  L"Removed 1,204 files (48.2 MB) and 12 registry entries.";
    RECT window{};
    DialogDriver driver([&](HWND dialog) {
        GetWindowRect(dialog, &window);
        testing_support::SaveScreenshot(ui_test::ScreenshotFolder(), "msg_box_done_with_totals", window);
        testing_support::ClickAt(ScreenPointOf(dialog, L"close_btn"));
    });
    EXPECT_EQ(box.run(htmlayout::kMsgBoxPageId), 2);
    driver.Join();
    EXPECT_EQ(window.right - window.left, 340);
    EXPECT_EQ(window.bottom - window.top, 198);
}

TEST_F(Dialogs, TheCloseButtonClosesTheMessageBoxAndAnEmptyMessageShowsNothing) {
    MsgBoxDlg box(owner.hwnd());
    box.title = L"Title";
    std::wstring message = L"unchanged";
    DialogDriver driver([&](HWND dialog) {
        message = TextOf(dialog, L"msg_text");
        testing_support::ClickAt(ScreenPointOf(dialog, L"close_btn"));
    });
    EXPECT_EQ(box.run(htmlayout::kMsgBoxPageId), 2);
    driver.Join();
    ASSERT_TRUE(driver.SawDialog());
    EXPECT_FALSE(driver.LeftOpen());
    EXPECT_EQ(message, L"") << "the page's filler text is replaced";
}

TEST_F(Dialogs, AnIdThatNamesNoPageOrAnEmptyPageShowsNothingAndReturnsZero) {
    MsgBoxDlg box(owner.hwnd());
    EXPECT_EQ(box.run(4242), 0);
    EXPECT_EQ(box.run(9004), 0) << "the page resource exists but is empty";
    EXPECT_EQ(box.hwnd(), nullptr);
}

TEST_F(Dialogs, AQuitMetInTheModalLoopEndsTheRunAndReachesTheProgramsLoop) {
    MsgBoxDlg box(owner.hwnd());
    DWORD runner = GetCurrentThreadId();
    DialogDriver driver([&](HWND) { PostThreadMessageW(runner, WM_QUIT, 7, 0); });
    EXPECT_EQ(box.run(htmlayout::kMsgBoxPageId), 2);
    driver.Join();
    EXPECT_TRUE(DialogsOf(runner).empty()) << "the dialog went with the run";
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

// A dialog whose work must stop before it may close, as the cleaning progress does.
class HeldDialog : public MsgBoxDlg {
public:
    using MsgBoxDlg::MsgBoxDlg;
    std::atomic<bool> mayClose{false};
    std::atomic<int> closeRequests{0};

protected:
    bool can_close() override {
        ++closeRequests;
        return mayClose;
    }
};

TEST_F(Dialogs, ADialogHoldingItsCloseBackOutlivesAQuitUntilItMayClose) {
    HeldDialog box(owner.hwnd());
    DWORD runner = GetCurrentThreadId();
    bool openWhileHeld = false;
    DialogDriver driver([&](HWND dialog) {
        PostThreadMessageW(runner, WM_QUIT, 3, 0);
        WaitFor([&] { return box.closeRequests > 0; }, 2000);
        Sleep(300);
        openWhileHeld = IsWindow(dialog) && !IsWindowEnabled(owner.hwnd());
        box.mayClose = true;
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(box.run(htmlayout::kMsgBoxPageId), 2);
    driver.Join();
    EXPECT_TRUE(openWhileHeld);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(Dialogs, APageWithoutTheDialogsElementsStillRunsAndTakesValuesForItsControls) {
    MsgBoxDlg box(owner.hwnd());
    box.title = L"nowhere to show";
    htmlayout::named_values values{{L"boxes", htmlayout::value(5)},
                                   {L"plain", htmlayout::value(L"changed")},
                                   {L"nothing", htmlayout::value(1)}};
    bool firstAndThirdChecked = false;
    std::wstring plain;
    RECT rc{};
    DialogDriver driver([&](HWND dialog) {
        htmlayout::scoped_element root = htmlayout::RootOf(dialog);
        firstAndThirdChecked = ui_test::Has(htmlayout::FindById(root, L"b0"), STATE_CHECKED) &&
                               !ui_test::Has(htmlayout::FindById(root, L"b1"), STATE_CHECKED) &&
                               ui_test::Has(htmlayout::FindById(root, L"b2"), STATE_CHECKED);
        plain = TextOf(dialog, L"plain");
        GetWindowRect(dialog, &rc);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(box.run(9003, &values), 2);
    driver.Join();
    ASSERT_TRUE(driver.SawDialog());
    EXPECT_TRUE(firstAndThirdChecked) << "the check-box group took 5";
    EXPECT_EQ(plain, L"plain") << "an element without a behavior is skipped";
    EXPECT_EQ(rc.right - rc.left, 160);
}

} // namespace

namespace {

// The title a screen reader reads, and the way out by keyboard, for the message box and About.
struct KeyboardExit {
    std::wstring title;
    bool closed = false;
};

template <typename Dialog>
KeyboardExit TitleAndEscape(Dialog& box, unsigned pageId, const char* shot) {
    KeyboardExit seen;
    DialogDriver driver([&](HWND dialog) {
        wchar_t title[64]{};
        GetWindowTextW(dialog, title, 64);
        seen.title = title;
        testing_support::PressKeys(dialog, "Tab"); // shows the keyboard's focus
        Sleep(200);
        RECT rc{};
        GetWindowRect(dialog, &rc);
        testing_support::SaveScreenshot(ui_test::ScreenshotFolder(), shot, rc);
        testing_support::PressKeys(dialog, "Escape");
    });
    box.run(pageId);
    driver.Join();
    seen.closed = driver.SawDialog() && !driver.LeftOpen();
    return seen;
}

} // namespace

TEST_F(Dialogs, EachDialogWindowIsTitledByItsCaptionAndEscapeClosesItAsItsExitDoes) {
    MsgBoxDlg box(owner.hwnd());
    box.title = L"No Item(s) Selected";
    box.message = L"You have not selected any item to clean!";
    KeyboardExit message = TitleAndEscape(box, htmlayout::kMsgBoxPageId, "msg_box_focus_ring");
    EXPECT_EQ(message.title, L"No Item(s) Selected");
    EXPECT_TRUE(message.closed);

    htmlayout::AboutDlg about(owner.hwnd());
    KeyboardExit aboutSeen = TitleAndEscape(about, htmlayout::kAboutPageId, "about_focus_ring");
    EXPECT_EQ(aboutSeen.title, L"About Tracewipe") << "About has no caption; its title is its own";
    EXPECT_TRUE(aboutSeen.closed);
}
