// The three clean buttons of the real Tracewipe.exe under Xvfb, pressed with real X input, on history seeded
// for the items in play, with a link to an outside folder in every folder that is emptied.
#include "app_fixture.h"
#include "box_look.h"
#include "dialog_stage.h"
#include "real_input.h"

#include "settings/clean_item_catalogue.h"
#include "support/outside_sentinel.h"
#include "support/real_input.h"
#include "support/shell_folder_redirect.h"
#include "ui/msg_box_dlg.h"
#include "ui/resource_data.h"
#include "ui/resource_ids.h"

#include <gtest/gtest.h>

#include <map>

namespace app_test {
namespace {

using namespace testing_support;
using cleaning_test::VisibleDialogsOf;

const std::wstring kWindowsKey = kSettingsRoot + L"\\WindowsClean";
const std::wstring kIeKey = kSettingsRoot + L"\\Browser\\IE";
const std::wstring kFfKey = kSettingsRoot + L"\\Browser\\FF";
const std::wstring kGcKey = kSettingsRoot + L"\\Browser\\GC";
const std::wstring kMeKey = kSettingsRoot + L"\\Browser\\ME";
const std::wstring kBrKey = kSettingsRoot + L"\\Browser\\BR";
const std::wstring kRunMru = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

constexpr wchar_t kStayedTitle[] = L"Some Items Not Cleaned";
const std::wstring kStayedAdvice = L"Close the programs that use them and clean again.";
constexpr wchar_t kNothingTitle[] = L"No Item(s) Selected";
constexpr wchar_t kNothingText[] = L"You have not selected any item to clean!. Please first select the item(s) from "
                                   L"windows and/or Browser tab to delete its history.";

class CleanCommands : public AppTest {
protected:
    CleanCommands() {
        roaming_ = root_.MakeFolder(L"Roaming");
        local_ = root_.MakeFolder(L"Local");
        folders_.push_back(std::make_unique<ScopedShellFolder>(L"AppData", roaming_));
        folders_.push_back(std::make_unique<ScopedShellFolder>(L"Local AppData", local_));
        root_.Write(L"Roaming\\Mozilla\\Firefox\\profiles.ini",
                    "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
                    "Path=Profiles/abc.default\r\n");
        cookies_ = root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\cookies.sqlite");
        prefs_ = root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\prefs.js");
        cache_ = root_.Write(L"Local\\Mozilla\\Firefox\\Profiles\\abc.default\\cache2\\entries\\A1");
        EXPECT_TRUE(sentinel_.PlantLinkAt(local_ + L"\\Mozilla\\Firefox\\Profiles\\abc.default\\outside-link"));
        SetString(HKEY_CURRENT_USER, kRunMru, L"a", L"notepad\\1");
        // The history of a Chromium-family browser, one profile each (Chrome's second one too).
        for (const auto& profile : {L"Google\\Chrome\\User Data\\Default", L"Google\\Chrome\\User Data\\Profile 1",
                                    L"Microsoft\\Edge\\User Data\\Default",
                                    L"BraveSoftware\\Brave-Browser\\User Data\\Default"}) {
            root_.Write(L"Local\\" + std::wstring(profile) + L"\\Preferences", "{}");
            histories_.push_back(root_.Write(L"Local\\" + std::wstring(profile) + L"\\History"));
            EXPECT_TRUE(sentinel_.PlantLinkAt(local_ + L"\\" + profile + L"\\outside-link"));
        }
    }
    ~CleanCommands() override { DeleteTree(HKEY_CURRENT_USER, kRunMru); }

    // Every clean item's stored flag.
    void StoreAll(DWORD value) {
        for (const CatalogueEntry& entry : Catalogue()) {
            if (!entry.IsCleanItem()) continue;
            SetDword(HKEY_CURRENT_USER, std::wstring(SettingsKeyPath(entry.key)), std::wstring(entry.valueName), value);
        }
    }

    DWORD UiThread(RunningApp& app) const { return GetWindowThreadProcessId(app.Window(), nullptr); }
    HWND NextDialog(RunningApp& app, HWND other = nullptr, unsigned ms = 10000) {
        HWND dialog = cleaning_test::WaitForDialog(UiThread(app), other, ms);
        Sleep(200); // drawn
        return dialog;
    }
    bool Gone(HWND dialog) {
        return cleaning_test::WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 8000);
    }
    void CloseBox(HWND box) {
        testing_support::ClickAt(Middle(On(box, OffsetIn(htmlayout::kMsgBoxPageId, L"close_btn"))));
        EXPECT_TRUE(Gone(box));
    }
    void Press(HWND progress, const wchar_t* id) {
        testing_support::ClickAt(Middle(On(progress, OffsetIn(htmlayout::kProgressPageId, id))));
    }
    void Shot(HWND window, const char* name) {
        RECT rc{};
        GetWindowRect(window, &rc);
        SaveScreenshot(name, rc);
    }

    // After a clean button with browsers in the run: closes the notice, keeps a screenshot of the progress
    // dialog, presses its Clean and answers the message that follows (null when something did not come).
    HWND CleanPastTheNotice(RunningApp& app, const char* progressShot, unsigned messageMs = 10000) {
        HWND notice = NextDialog(app);
        if (!notice) return nullptr;
        CloseBox(notice);
        HWND progress = NextDialog(app, notice);
        if (!progress) return nullptr;
        Shot(progress, progressShot);
        Press(progress, L"btn_Clean");
        if (!Gone(progress)) return nullptr;
        return NextDialog(app, progress, messageMs);
    }

    // Clean Now over a Firefox cache of 3,000 files and the cookies: the notice closed, Clean pressed; the
    // progress dialog, null when something did not come.
    HWND StartLongRun(RunningApp*& app) {
        for (int i = 0; i < 3000; ++i)
            root_.Write(L"Local\\Mozilla\\Firefox\\Profiles\\abc.default\\cache2\\entries\\f" + std::to_wstring(i));
        StoreAll(0);
        SetDword(HKEY_CURRENT_USER, kFfKey, L"Cache", 1);
        SetDword(HKEY_CURRENT_USER, kFfKey, L"Cookies", 1);
        app = &StartShown();
        if (!app->Window() || !app->Click(L"btn_QuickClean")) return nullptr;
        HWND notice = NextDialog(*app);
        if (!notice) return nullptr;
        CloseBox(notice);
        HWND progress = NextDialog(*app, notice);
        if (progress) Press(progress, L"btn_Clean");
        return progress;
    }

    TestFolder root_;
    std::wstring roaming_, local_, cookies_, prefs_, cache_;
    std::vector<std::wstring> histories_; // Chrome's two profiles, Edge's, Brave's
    std::vector<std::unique_ptr<ScopedShellFolder>> folders_;
    OutsideSentinel sentinel_;
};

TEST_F(CleanCommands, CleanOnTheFirefoxSubTabCleansExactlyItsTwoTickedItemsAfterTheNotice) {
    StoreAll(0);
    SetDword(HKEY_CURRENT_USER, kFfKey, L"Cache", 1);
    SetDword(HKEY_CURRENT_USER, kFfKey, L"Cookies", 1);
    SetDword(HKEY_CURRENT_USER, kWindowsKey, L"RunHistory", 1);
    RunningApp& app = StartShown();
    ASSERT_NE(app.Window(), nullptr);
    ASSERT_TRUE(app.Click(L"main_panel_browser"));
    ASSERT_TRUE(app.Click(L"browser_firefox"));
    ASSERT_TRUE(app.Click(L"btn_panelClean"));

    HWND notice = NextDialog(app);
    ASSERT_NE(notice, nullptr);
    Shot(notice, "app_close_browser_notice");
    EXPECT_FALSE(IsWindowEnabled(app.Window()));
    CloseBox(notice);
    HWND progress = NextDialog(app, notice);
    ASSERT_NE(progress, nullptr);
    Shot(progress, "app_progress_firefox_before");
    Press(progress, L"btn_Clean");
    ASSERT_TRUE(Gone(progress));
    HWND box = NextDialog(app, progress);
    ASSERT_NE(box, nullptr);
    Shot(box, "app_delete_successfully_selected");
    const BoxLook seen = Look(box);
    CloseBox(box);
    EXPECT_TRUE(IsWindowEnabled(app.Window()));

    EXPECT_FALSE(PathExists(cookies_));
    EXPECT_FALSE(PathExists(cache_));
    EXPECT_TRUE(PathExists(prefs_));
    EXPECT_TRUE(sentinel_.Intact());
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kRunMru, L"a")) << "only the Firefox group runs";
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kFfKey, L"Cache"), 1u) << "Clean saved the group's key";

    // The link planted in the cache folder cannot go under Wine: the end says so instead of claiming success,
    // with the cache file that went (the cookies file holds no database, so no rows).
    const BoxLook expected = ExpectedBox(
        kStayedTitle, L"Mozilla Firefox: Cache (a link left in place)\nRemoved 1 file (5 bytes).\n" + kStayedAdvice);
    EXPECT_TRUE(SamePixels(seen.title, expected.title));
    EXPECT_TRUE(SamePixels(seen.whole, expected.whole));
    // Another reason in the same place reads differently: the comparison sees the whole message.
    const BoxLook other = ExpectedBox(
        kStayedTitle, L"Mozilla Firefox: Cache (something stayed)\nRemoved 1 file (5 bytes).\n" + kStayedAdvice);
    EXPECT_FALSE(SamePixels(seen.whole, other.whole));
}

// URLs ticked for all three Chromium-family browsers: Clean on the Edge sub-tab saves Edge's key and cleans
// Edge alone.
TEST_F(CleanCommands, CleanOnTheEdgeSubTabCleansEdgeOnly) {
    StoreAll(0);
    for (const auto& key : {kGcKey, kMeKey, kBrKey}) SetDword(HKEY_CURRENT_USER, key, L"TypeURLS", 1);
    SetDword(HKEY_CURRENT_USER, kFfKey, L"Cookies", 1);
    RunningApp& app = StartShown();
    ASSERT_NE(app.Window(), nullptr);
    ASSERT_TRUE(app.Click(L"main_panel_browser"));
    ASSERT_TRUE(app.Click(L"browser_edge"));
    DeleteTree(HKEY_CURRENT_USER, kMeKey);
    ASSERT_TRUE(app.Click(L"btn_panelClean"));
    HWND box = CleanPastTheNotice(app, "app_progress_edge_before");
    ASSERT_NE(box, nullptr);
    CloseBox(box);

    EXPECT_FALSE(PathExists(histories_[2])) << "Edge";
    for (const size_t kept : {0u, 1u, 3u}) EXPECT_TRUE(PathExists(histories_[kept])) << kept;
    EXPECT_TRUE(PathExists(cookies_));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kMeKey, L"TypeURLS"), 1u) << "Clean saved the group's key";
    EXPECT_TRUE(sentinel_.Intact());
}

TEST_F(CleanCommands, CleanNowWithNothingTickedSaysSoWithoutADialog) {
    StoreAll(0);
    RunningApp& app = StartShown();
    ASSERT_NE(app.Window(), nullptr);
    ASSERT_TRUE(app.Click(L"btn_QuickClean"));
    HWND box = NextDialog(app);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(VisibleDialogsOf(UiThread(app)).size(), 1u);
    Shot(box, "app_no_items_selected");
    const BoxLook seen = Look(box);
    CloseBox(box);
    const BoxLook expected = ExpectedBox(kNothingTitle, kNothingText);
    EXPECT_TRUE(SamePixels(seen.title, expected.title));
    EXPECT_TRUE(SamePixels(seen.whole, expected.whole));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
}

// Clean All cleans everything, then the flags are what the boxes show again: nothing ticked, so a Clean Now
// right after it has nothing to clean.
TEST_F(CleanCommands, CleanAllCleansEveryTraceThenTheBoxesAndFlagsAgreeAgain) {
    StoreAll(0);
    RunningApp& app = StartShown();
    ASSERT_NE(app.Window(), nullptr);
    ASSERT_TRUE(app.Click(L"btn_cleanAll"));
    HWND box = CleanPastTheNotice(app, "app_progress_all_items_before", 60000);
    ASSERT_NE(box, nullptr);
    Shot(box, "app_delete_successfully_all");
    const BoxLook seen = Look(box);
    CloseBox(box);

    EXPECT_FALSE(PathExists(cookies_));
    EXPECT_FALSE(PathExists(cache_));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
    for (const auto& history : histories_) EXPECT_FALSE(PathExists(history)) << testing::PrintToString(history);
    EXPECT_TRUE(sentinel_.Intact());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kFfKey) && ReadDword(HKEY_CURRENT_USER, kFfKey, L"Cache") == 1u)
        << "Clean All saves nothing";
    // The totals depend on what the prefix's temporary folder held; the title says that the link stayed.
    const BoxLook expected = ExpectedBox(kStayedTitle, kStayedAdvice);
    EXPECT_TRUE(SamePixels(seen.title, expected.title));

    ASSERT_TRUE(app.Click(L"btn_QuickClean"));
    HWND after = NextDialog(app, box);
    ASSERT_NE(after, nullptr);
    const BoxLook nothing = Look(after);
    CloseBox(after);
    EXPECT_TRUE(SamePixels(nothing.whole, ExpectedBox(kNothingTitle, kNothingText).whole));
}

TEST_F(CleanCommands, ExitBeforeCleanCleansNothingAndShowsNothing) {
    StoreAll(0);
    SetDword(HKEY_CURRENT_USER, kWindowsKey, L"RunHistory", 1);
    RunningApp& app = StartShown();
    ASSERT_NE(app.Window(), nullptr);
    ASSERT_TRUE(app.Click(L"btn_QuickClean"));
    HWND progress = NextDialog(app);
    ASSERT_NE(progress, nullptr);
    Shot(progress, "app_progress_windows_before");
    Press(progress, L"exit");
    ASSERT_TRUE(Gone(progress));
    EXPECT_EQ(NextDialog(app, progress, 1500), nullptr) << "no message";
    EXPECT_TRUE(IsWindowEnabled(app.Window()));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
}

// Exit pressed at once after Clean, while a cache of many files is emptied: the run stops, nothing follows.
TEST_F(CleanCommands, ExitDuringTheRunStopsItAndShowsNothing) {
    RunningApp* app = nullptr;
    HWND progress = StartLongRun(app);
    ASSERT_NE(progress, nullptr);
    Press(progress, L"exit");
    Shot(progress, "app_progress_stopping");
    ASSERT_TRUE(Gone(progress));
    EXPECT_EQ(NextDialog(*app, progress, 2000), nullptr) << "no message for a run the user stopped";
    EXPECT_TRUE(IsWindowEnabled(app->Window()));
    EXPECT_TRUE(PathExists(cookies_)) << "the run stopped before its next item";
    EXPECT_TRUE(sentinel_.Intact());
}

// The main window closed while a run goes on (its dialog goes with it): the run is stopped, the program waits
// for it and ends normally. (Under Wine the main window's withdrawal takes 2 s before the dialog goes, so
// which item the run stops after is not fixed here; the dialog tests hold that.)
TEST_F(CleanCommands, MainWindowClosedDuringTheRunStopsItAndTheProgramEnds) {
    RunningApp* app = nullptr;
    HWND progress = StartLongRun(app);
    ASSERT_NE(progress, nullptr);
    PostMessageW(app->Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(app->Process().WaitForExit(20000));
    EXPECT_EQ(app->Process().ExitCode(), 0u);
    EXPECT_TRUE(sentinel_.Intact());
}

} // namespace
} // namespace app_test
