// The real Tracewipe.exe by keyboard alone, with real key presses through the X server: from start, every
// sub-tab is opened and a box ticked on it, Clean runs on one sub-tab, and each dialog on the way (progress,
// "Close Browser", About) is closed with Escape.
#include "app_fixture.h"
#include "real_input.h"
#include "support/accessible_tree.h"
#include "support/real_input.h"
#include "support/registry_fixture.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <string>

namespace app_test {
namespace {

const std::wstring kBrKey = kSettingsRoot + L"\\Browser\\BR";

struct KeyboardJourney : AppTest {
    RunningApp* app = nullptr;

    void Keys(const std::string& keys, int times = 1) {
        for (int i = 0; i < times; ++i) ASSERT_TRUE(testing_support::PressKeys(app->Window(), keys)) << keys;
        app->Settle(50);
    }

    // The program's one visible dialog other than the main window, once it shows; null when none comes.
    HWND WaitForDialog() {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(100))
            for (HWND window : app->Process().TopWindows(L"#32770"))
                if (IsWindowVisible(window)) {
                    Sleep(300); // drawn
                    return window;
                }
        return nullptr;
    }
    static std::wstring TitleOf(HWND window) {
        wchar_t title[128]{};
        GetWindowTextW(window, title, 128);
        return title;
    }
    // Escape on the dialog, and whether it went.
    static bool EscapeCloses(HWND dialog) {
        if (!testing_support::PressKeys(dialog, "Escape")) return false;
        for (DWORD start = GetTickCount(); GetTickCount() - start < 8000; Sleep(100))
            if (!IsWindow(dialog) || !IsWindowVisible(dialog)) return true;
        return false;
    }

    // From the sub-strip's stop: opens the `index`th sub-tab (Home, Down, Enter or Space) and ticks its first
    // box (Tab, Space), then goes back to the strip (Shift+Tab).
    void TickFirstBoxOfSubTab(int index, const std::string& open) {
        Keys("Home");
        Keys("Down", index);
        Keys(open);
        Keys("Tab");
        Keys("space");
        Keys("shift+Tab");
    }
};

TEST_F(KeyboardJourney, EverySubTabIsReachedAndABoxTickedCleanRunsAndEscapeClosesEachDialog) {
    // The first box of each sub-tab starts unticked, whatever its default.
    for (const wchar_t* value : {L"RecentDocuments", L"TempFiles", L"MediaPlayer"})
        testing_support::SetDword(HKEY_CURRENT_USER, kWindowsKey, value, 0);
    testing_support::SetDword(HKEY_CURRENT_USER, kBrKey, L"Cache", 0);
    app = &StartShown();
    ASSERT_NE(app->Window(), nullptr);

    // About, Move to Tray, Minimize, Exit, the main strip, the sub-strip.
    Keys("Tab", 6);
    for (int i = 0; i < 3; ++i) TickFirstBoxOfSubTab(i, i % 2 ? "Return" : "space");
    SaveScreenshot("app_keyboard_windows_tab", app->WindowRect());

    Keys("shift+Tab");
    Keys("Right"); // Browser History
    Keys("Tab");
    for (int i = 0; i < 5; ++i) TickFirstBoxOfSubTab(i, "space");
    // Leaves the focus on the Brave box, its ring shown.
    Keys("Tab");
    SaveScreenshot("app_keyboard_focus_ring", app->WindowRect());

    // Clean on the Brave sub-tab: the box's group, past the six other boxes (two disabled, no stop).
    Keys("Tab", 4);
    Keys("Return");
    HWND notice = WaitForDialog();
    ASSERT_NE(notice, nullptr) << "Clean opens the \"Close Browser\" notice";
    EXPECT_EQ(TitleOf(notice), L"Close Browser");
    EXPECT_TRUE(EscapeCloses(notice));
    HWND progress = WaitForDialog();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(TitleOf(progress), L"Cleaning Item List");
    EXPECT_TRUE(EscapeCloses(progress)) << "Escape before Clean closes it; nothing is cleaned";
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kBrKey, L"Cache"), 1u) << "the key of the cleaned group was saved";

    // The Windows boxes: Clean on the Programs sub-tab saves the whole Windows key.
    app->Settle(300);
    Keys("Tab"); // the window's focus came back without a page focus: Tab starts at the first stop
    Keys("Tab", 4);
    Keys("Left"); // Windows History
    Keys("Tab", 2); // the sub-strip, then the first Programs box
    Keys("Tab", 3); // past the three boxes to Clean
    Keys("Return");
    progress = WaitForDialog();
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(EscapeCloses(progress));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kWindowsKey, L"RecentDocuments"), 1u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kWindowsKey, L"TempFiles"), 1u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kWindowsKey, L"MediaPlayer"), 1u);

    // About by Enter on its button, closed with Escape.
    app->Settle(300);
    Keys("Tab");
    Keys("Return");
    HWND about = WaitForDialog();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(TitleOf(about), L"About Tracewipe");
    EXPECT_TRUE(EscapeCloses(about));
    EXPECT_TRUE(IsWindowVisible(app->Window()));
}

} // namespace
} // namespace app_test

namespace app_test {
namespace {

VARIANT Self() { return testing_support::ChildId(CHILDID_SELF); }

// Another process reads the program's page as a screen reader does: oleacc marshals the program's objects.
TEST_F(AppTest, AScreenReaderInAnotherProcessReadsTheBoxesAndTicksOneThroughItsDefaultAction) {
    testing_support::SetDword(HKEY_CURRENT_USER, kWindowsKey, L"Clipboard", 0);
    RunningApp& app = StartShown();
    ASSERT_NE(app.Window(), nullptr);
    ASSERT_TRUE(app.Click(L"windows_cleaning"));
    app.Settle();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::vector<IAccessible*> held;
    IAccessible* client = testing_support::ClientObject(app.Window(), held);
    ASSERT_NE(client, nullptr);
    const std::vector<testing_support::AccessibleNode> nodes = testing_support::WalkAccessible(client, held);
    const testing_support::AccessibleNode* found =
        testing_support::FindAccessible(nodes, L"Clipboard", ROLE_SYSTEM_CHECKBUTTON);
    ASSERT_NE(found, nullptr);
    IAccessible* box = found->object;
    VARIANT state;
    ASSERT_EQ(box->get_accState(Self(), &state), S_OK);
    EXPECT_FALSE(state.lVal & STATE_SYSTEM_CHECKED);
    EXPECT_EQ(box->accDoDefaultAction(Self()), S_OK);
    ASSERT_EQ(box->get_accState(Self(), &state), S_OK);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_CHECKED);
    for (IAccessible* a : held) a->Release();
    CoUninitialize();
    // The program's flag followed: Clean on this sub-tab saves it.
    ASSERT_TRUE(app.Click(L"btn_panelClean"));
    app.Settle(500);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kWindowsKey, L"Clipboard"), 1u);
    for (HWND window : app.Process().TopWindows(L"#32770")) PostMessageW(window, WM_CLOSE, 0, 0);
}

} // namespace
} // namespace app_test
