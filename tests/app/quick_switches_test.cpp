// Tab switches faster than the window paints: key repeat through the X server, and presses that arrive
// while the last switch's paint is still pending. The window must end on the last switch, pixel for pixel
// as when that tab is reached slowly.
#include "app_fixture.h"
#include "box_look.h"
#include "dialog_stage.h"
#include "real_input.h"

#include "support/outside_sentinel.h"
#include "support/real_input.h"
#include "support/registry_fixture.h"
#include "support/shell_folder_redirect.h"
#include "ui/resource_ids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace app_test {
namespace {

class QuickSwitches : public AppTest {
protected:
    void SetUp() override {
        app_ = &StartShown();
        ASSERT_NE(app_->Window(), nullptr);
        ASSERT_TRUE(app_->Click(L"main_panel_window")); // the tab strip takes the focus
        app_->Settle(300);
    }
    void Keys(const std::string& keys) {
        SetForegroundWindow(app_->Window());
        ASSERT_TRUE(testing_support::PressKeys(app_->Window(), keys));
        app_->Settle(500);
    }
    // A press on the tab posted to the window, as a queued click would arrive, and the pointer gone again
    // (the real one is outside: nothing stays hovered).
    void PostClick(const wchar_t* id) {
        const RECT rc = app_->ScreenRect(id);
        POINT at{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ScreenToClient(app_->Window(), &at);
        PostMessageW(app_->Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        PostMessageW(app_->Window(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        PostMessageW(app_->Window(), WM_MOUSELEAVE, 0, 0);
    }
    // A point beside the window, where the pointer hovers nothing.
    POINT Outside() const {
        const RECT window = app_->WindowRect();
        return POINT{window.right + 40, window.bottom + 40};
    }
    // The window after a real click on the tab, once the pointer has left it again.
    ScreenPixels AfterClickOn(const wchar_t* tab) {
        EXPECT_TRUE(app_->Click(tab));
        EXPECT_TRUE(testing_support::MovePointerTo(Outside()));
        app_->Settle(300);
        return Capture(app_->WindowRect());
    }

    RunningApp* app_ = nullptr;
};

TEST_F(QuickSwitches, TwoHundredKeyRepeatedSwitchesLoseNoneAndLeaveNoStalePixels) {
    const RECT window = app_->WindowRect();
    ASSERT_TRUE(testing_support::MovePointerTo(POINT{window.right + 40, window.bottom + 40})); // nothing hovered
    app_->Settle(300);
    Keys("ctrl+Tab");
    const ScreenPixels browser = Capture(window);
    Keys("ctrl+shift+Tab");
    ASSERT_FALSE(SamePixels(Capture(window), browser));
    // Forward twice and back twice never runs into an end of the strip, so a lost key would show.
    std::string burst = "--delay 4";
    for (int i = 0; i < 50; ++i) burst += " ctrl+Tab ctrl+Tab ctrl+shift+Tab ctrl+shift+Tab";
    burst += " ctrl+Tab";
    Keys(burst);
    EXPECT_TRUE(SamePixels(Capture(window), browser)) << "201 switches end on Browser History, as one does";
}

TEST_F(QuickSwitches, ASwitchWhileTheLastOnesPaintIsPendingShowsTheLastOne) {
    const RECT window = app_->WindowRect();
    ASSERT_TRUE(testing_support::MovePointerTo(POINT{window.right + 40, window.bottom + 40}));
    PostClick(L"main_panel_setting");
    app_->Settle(500);
    const ScreenPixels settings = Capture(window);
    PostClick(L"main_panel_window");
    app_->Settle(500);
    ASSERT_FALSE(SamePixels(Capture(window), settings));
    // Both presses are queued before the first is handled: the second switch comes before the paint of
    // the first, which the window posts to itself.
    PostClick(L"main_panel_browser");
    PostClick(L"main_panel_setting");
    app_->Settle(500);
    EXPECT_TRUE(SamePixels(Capture(window), settings));
}

// The progress dialog disables the main window: a real click on a sub-tab beside the dialog switches nothing,
// the window shows no pixel of the dialog once it is gone, and the first click afterwards is not lost.
TEST_F(QuickSwitches, AClickBesideTheProgressDialogSwitchesNothingAndTheNextIsNotLost) {
    const RECT window = app_->WindowRect();
    const POINT outside = Outside();
    const ScreenPixels startMenu = AfterClickOn(L"windows_startmenu");
    const ScreenPixels cleaning = AfterClickOn(L"windows_cleaning");
    ASSERT_FALSE(SamePixels(cleaning, startMenu));

    const RECT clean = app_->ScreenRect(L"btn_panelClean");
    ASSERT_TRUE(testing_support::ClickAt(POINT{(clean.left + clean.right) / 2, (clean.top + clean.bottom) / 2}));
    HWND dialog = nullptr;
    ASSERT_TRUE(testing_support::WaitUntil(
        [&] {
            for (HWND w : app_->Process().TopWindows(L"#32770"))
                if (IsWindowVisible(w)) dialog = w;
            return dialog != nullptr && !IsWindowEnabled(app_->Window());
        },
        5000));
    app_->Settle(300); // the dialog's first paint
    SaveScreenshot("app_progress_dialog_over_main", window);
    RECT shown{};
    GetWindowRect(dialog, &shown);
    const RECT tab = app_->ScreenRect(L"windows_startmenu");
    ASSERT_LT(tab.left + 10, shown.left) << "part of the sub-tab lies beside the dialog";
    ASSERT_TRUE(testing_support::ClickAt(POINT{(tab.left + std::min(tab.right, shown.left)) / 2, (tab.top + tab.bottom) / 2}));
    ASSERT_TRUE(testing_support::MovePointerTo(outside));
    app_->Settle(300);

    PostMessageW(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(testing_support::WaitUntil(
        [&] { return !IsWindowVisible(dialog) && IsWindowEnabled(app_->Window()); }, 10000));
    app_->Settle(500);
    EXPECT_TRUE(SamePixels(Capture(window), cleaning)) << "the same sub-tab, and nothing left of the dialog";

    ASSERT_TRUE(testing_support::ClickAt(POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2}));
    ASSERT_TRUE(testing_support::MovePointerTo(outside));
    app_->Settle(500);
    EXPECT_TRUE(SamePixels(Capture(window), startMenu)) << "the first switch after the dialog";
}

// A run of two steps that lasts for seconds: Recent Document History, quick, then Network History over a
// Network Shortcuts folder, moved into a test folder, of thousands of files; the progress line moves between
// them. Only these two items are chosen on the Start Menu sub-tab.
class QuickSwitchesDuringARun : public QuickSwitches {
protected:
    static constexpr int kSeeded = 4000;

    void SetUp() override {
        recent_ = std::make_unique<testing_support::ScopedShellFolder>(L"Recent", seed_.MakeFolder(L"Recent"));
        netHood_ = std::make_unique<testing_support::ScopedShellFolder>(L"NetHood", seed_.MakeFolder(L"NetHood"));
        seed_.Write(L"Recent\\recent");
        for (int i = 0; i < kSeeded; ++i) seed_.Write(L"NetHood\\f" + std::to_wstring(i));
        ASSERT_TRUE(sentinel_.PlantLinkAt(seed_ / L"NetHood\\outside-link"));
        for (const wchar_t* name : {L"FindComputer", L"RunHistory", L"WindowSearch", L"LogonUser"})
            ASSERT_TRUE(testing_support::SetDword(HKEY_CURRENT_USER, kWindowsKey, name, 0));
        QuickSwitches::SetUp();
    }
    // The planted link is a folder entry, and Wine lets no one remove a unix link.
    int FilesLeft(const wchar_t* folder) const {
        int count = 0;
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((seed_ / folder + L"\\*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return 0;
        do count += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        while (FindNextFileW(find, &found));
        FindClose(find);
        return count;
    }

    testing_support::TestFolder seed_;
    testing_support::OutsideSentinel sentinel_;
    std::unique_ptr<testing_support::ScopedShellFolder> recent_, netHood_;
};

// The click comes while the job deletes and the dialog paints its progress: the disabled main window
// switches nothing, shows no pixel of the dialog or of the message after it, and takes the next click.
TEST_F(QuickSwitchesDuringARun, AClickWhileTheProgressDialogPaintsSwitchesNothingAndTheNextIsNotLost) {
    const RECT window = app_->WindowRect();
    const POINT outside = Outside();
    const ScreenPixels cleaning = AfterClickOn(L"windows_cleaning");
    const ScreenPixels startMenu = AfterClickOn(L"windows_startmenu");
    ASSERT_FALSE(SamePixels(startMenu, cleaning));

    const DWORD uiThread = GetWindowThreadProcessId(app_->Window(), nullptr);
    ASSERT_TRUE(app_->Click(L"btn_panelClean"));
    const HWND progress = cleaning_test::WaitForDialog(uiThread, nullptr, 5000);
    ASSERT_NE(progress, nullptr);
    app_->Settle(300); // the dialog's first paint
    const RECT progressLine = On(progress, OffsetIn(htmlayout::kProgressPageId, L"progress_txt"));
    const ScreenPixels ready = Capture(progressLine);
    ASSERT_TRUE(testing_support::ClickAt(Middle(On(progress, OffsetIn(htmlayout::kProgressPageId, L"btn_Clean")))));
    ASSERT_TRUE(cleaning_test::WaitFor(
        [&] {
            const int left = FilesLeft(L"NetHood");
            return !SamePixels(Capture(progressLine), ready) && left > 0 && left < kSeeded;
        },
        10000))
        << "the run goes: the progress line moved after the first step, the second one's files going";
    SaveScreenshot("app_progress_dialog_running_over_main", window);

    RECT shown{};
    GetWindowRect(progress, &shown);
    const RECT tab = app_->ScreenRect(L"windows_cleaning");
    ASSERT_LT(tab.left + 10, shown.left) << "part of the sub-tab lies beside the dialog";
    const RECT beside{window.left, window.top, shown.left, window.bottom};
    const ScreenPixels besideBefore = Capture(beside);
    ASSERT_TRUE(testing_support::ClickAt(POINT{(tab.left + std::min(tab.right, shown.left)) / 2, (tab.top + tab.bottom) / 2}));
    ASSERT_TRUE(testing_support::MovePointerTo(outside));
    app_->Settle(300);
    ASSERT_TRUE(IsWindowVisible(progress) && FilesLeft(L"NetHood") > 0) << "the run outlasts the click: seed more files";
    EXPECT_TRUE(SamePixels(Capture(beside), besideBefore)) << "no switch while the dialog is up";

    ASSERT_TRUE(cleaning_test::WaitFor([&] { return !IsWindow(progress) || !IsWindowVisible(progress); }, 60000));
    const HWND done = cleaning_test::WaitForDialog(uiThread, progress, 10000);
    ASSERT_NE(done, nullptr) << "the message after a finished run";
    app_->Settle(200);
    ASSERT_TRUE(testing_support::ClickAt(Middle(On(done, OffsetIn(htmlayout::kMsgBoxPageId, L"close_btn")))));
    ASSERT_TRUE(testing_support::MovePointerTo(outside));
    ASSERT_TRUE(cleaning_test::WaitFor(
        [&] { return (!IsWindow(done) || !IsWindowVisible(done)) && IsWindowEnabled(app_->Window()); }, 10000));
    app_->Settle(500);
    EXPECT_TRUE(SamePixels(Capture(window), startMenu)) << "the same sub-tab, and nothing left of either dialog";
    EXPECT_EQ(FilesLeft(L"Recent") + FilesLeft(L"NetHood"), 0);
    EXPECT_TRUE(sentinel_.Intact());

    ASSERT_TRUE(testing_support::ClickAt(POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2}));
    ASSERT_TRUE(testing_support::MovePointerTo(outside));
    app_->Settle(500);
    EXPECT_TRUE(SamePixels(Capture(window), cleaning)) << "the first switch after the run";
}

} // namespace
} // namespace app_test
