// The real Tracewipe.exe on the X display: where its window opens, what its tabs show, what its boxes and
// buttons do to the registry and to the launcher, the tray, and how a second start behaves.
#include "app_fixture.h"
#include "real_input.h"
#include "support/real_input.h"

#include "support/unix_side.h"

#include <gtest/gtest.h>

#include <shellapi.h>

namespace app_test {
namespace {

using testing_support::ChildProcess;
using testing_support::ClickAt;
using testing_support::SetDword;
using testing_support::WaitUntil;

const std::wstring kGcKey = kSettingsRoot + L"\\Browser\\GC";

// The 16 x 16 check mark of a box, as the screen shows it.
ScreenPixels CheckMark(const RunningApp& app, const wchar_t* id) {
    RECT box = app.ScreenRect(id);
    return Capture(RECT{box.left, box.top + 6, box.left + 16, box.top + 22});
}

// A clean button opens the progress dialog (after the "Close Browser" notice when browsers take part) or a
// message; they are closed here before anything is cleaned, until none is left (a hidden one may still be on
// its way out, and the program answers only once it is gone) and the main window is enabled for a while.
void DismissCleanDialogs(RunningApp& app) {
    int quiet = 0;
    for (DWORD start = GetTickCount(); quiet < 3 && GetTickCount() - start < 15000; Sleep(100)) {
        const std::vector<HWND> dialogs = app.Process().TopWindows(L"#32770");
        for (HWND window : dialogs)
            if (IsWindowVisible(window)) PostMessageW(window, WM_CLOSE, 0, 0);
        quiet = !dialogs.empty() || !IsWindowEnabled(app.Window()) ? 0 : quiet + 1;
    }
}

TEST_F(AppTest, OpensInTheMiddleAtItsSizeAndExitEndsWithCodeZero) {
    RunningApp& app = StartShown();
    ASSERT_NE(app.Window(), nullptr);
    const RECT rc = app.WindowRect();
    EXPECT_EQ(rc.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 351);
    EXPECT_EQ(rc.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 251);
    EXPECT_EQ(rc.right - rc.left, 720);
    EXPECT_EQ(rc.bottom - rc.top, 510);
    SaveScreenshot("app_main_window", rc);

    ASSERT_TRUE(app.Click(L"exit"));
    ASSERT_TRUE(app.Process().WaitForExit(5000));
    EXPECT_EQ(app.Process().ExitCode(), 0u);
}

TEST_F(AppTest, BoxesShowTheStoredSettingsAndTickingTwiceLeavesTheFlag) {
    SetDword(HKEY_CURRENT_USER, kWindowsKey, L"TempFiles", 0);
    SetDword(HKEY_CURRENT_USER, kWindowsKey, L"Clipboard", 1);
    SetDword(HKEY_CURRENT_USER, kWindowsKey, L"RecyleBin", 0);
    // Wrong types and sizes read as the defaults (ticked): eight bytes, two bytes, a long string.
    const unsigned long long eight = 0;
    testing_support::SetRaw(HKEY_CURRENT_USER, kWindowsKey, L"OpenSaveDialog", REG_BINARY, &eight, 8);
    testing_support::SetRaw(HKEY_CURRENT_USER, kWindowsKey, L"WordPad", REG_BINARY, &eight, 2);
    testing_support::SetString(HKEY_CURRENT_USER, kWindowsKey, L"MSPaint", L"not a number");
    SetDword(HKEY_CURRENT_USER, kSettingKey, L"Startup", 0);
    SetDword(HKEY_CURRENT_USER, kSettingKey, L"HotKey", 1);

    RunningApp& app = StartShown();
    ASSERT_NE(app.Window(), nullptr);
    ASSERT_TRUE(app.Click(L"windows_cleaning"));
    const ScreenPixels ticked = CheckMark(app, L"clip_board");
    const ScreenPixels unticked = CheckMark(app, L"temp_files");
    EXPECT_FALSE(SamePixels(ticked, unticked));
    EXPECT_TRUE(SamePixels(CheckMark(app, L"recycle_bin"), unticked));
    EXPECT_TRUE(SamePixels(CheckMark(app, L"os_dialog"), ticked)) << "an eight-byte value reads as the default";

    // temp_files twice, recycle_bin once; the Clean button saves the flags as they are.
    // Apart, so that the second press is no double click.
    ASSERT_TRUE(app.Click(L"temp_files"));
    app.Settle(GetDoubleClickTime() + 100);
    ASSERT_TRUE(app.Click(L"temp_files"));
    ASSERT_TRUE(app.Click(L"recycle_bin"));
    const RECT clean = app.ScreenRect(L"btn_panelClean");
    ASSERT_TRUE(ClickAt(POINT{(clean.left + clean.right) / 2, (clean.top + clean.bottom) / 2}));
    ASSERT_TRUE(WaitUntil([] { return ReadDword(HKEY_CURRENT_USER, kWindowsKey, L"TempFiles").has_value(); }, 3000));
    DismissCleanDialogs(app);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kWindowsKey, L"TempFiles"), 0u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kWindowsKey, L"RecyleBin"), 1u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kWindowsKey, L"OpenSaveDialog"), 1u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kWindowsKey, L"WordPad"), 1u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kWindowsKey, L"Clipboard"), 1u);

    ASSERT_TRUE(app.Click(L"main_panel_setting"));
    EXPECT_TRUE(SamePixels(CheckMark(app, L"hot_key"), ticked));
    EXPECT_TRUE(SamePixels(CheckMark(app, L"load_startup"), unticked));
}

TEST_F(AppTest, ApplyWritesQuotedRunValuesAndStartsTheLauncherThenRemovesAndEndsIt) {
    SetDword(HKEY_CURRENT_USER, kSettingKey, L"Startup", 1);
    SetDword(HKEY_CURRENT_USER, kSettingKey, L"HotKey", 1);
    const std::wstring launcher = folder_ / L"Tracewipe\\Tracewipe HotKey.exe";
    RunningApp& app = StartShown();
    ASSERT_NE(app.Window(), nullptr);
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"Tracewipe")) << "nothing before Apply";

    ASSERT_TRUE(app.Click(L"main_panel_setting"));
    ASSERT_TRUE(app.Click(L"apply"));
    ASSERT_TRUE(WaitUntil([&] { return Launchers().size() == 1; }, 5000))
        << testing::PrintToString(ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"TracewipeHK").value_or(L"none"));
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"Tracewipe"), L"\"" + program_ + L"\"");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"TracewipeHK"), L"\"" + launcher + L"\"");
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingKey, L"Startup"), 1u);

    // A second process of the launcher's name: only the first one found is ended.
    testing_support::MakeFolders(folder_ / L"other");
    const std::wstring other = folder_ / L"other\\Tracewipe HotKey.exe";
    ASSERT_TRUE(CopyFileW(testing_support::DosPathOf(LAUNCHER_EXE).c_str(), other.c_str(), FALSE));
    testing_support::SetString(HKEY_LOCAL_MACHINE, kRunKeyWow64, L"Tracewipe", L"x");
    testing_support::SetString(HKEY_LOCAL_MACHINE, kRunKeyWow64, L"TracewipeHK", L"x");

    ASSERT_TRUE(app.Click(L"load_startup"));
    ASSERT_TRUE(app.Click(L"hot_key"));
    ASSERT_TRUE(app.Click(L"apply"));
    ASSERT_TRUE(WaitUntil([&] { return Launchers().empty(); }, 5000));
    for (const std::wstring& key : {kRunKey, kRunKeyWow64})
        for (const wchar_t* name : {L"Tracewipe", L"TracewipeHK"})
            EXPECT_FALSE(testing_support::ValueExists(HKEY_LOCAL_MACHINE, key, name));
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingKey, L"Startup"), 0u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingKey, L"HotKey"), 0u);
    EXPECT_TRUE(app.Process().Running());
}

TEST_F(AppTest, ApplyEndsOnlyTheFirstOfTwoLaunchers) {
    // Two processes of the launcher's name: the real one and a stand-in of the same name elsewhere.
    SetDword(HKEY_CURRENT_USER, kSettingKey, L"HotKey", 0);
    ChildProcess first(L"\"" + folder_ / L"Tracewipe\\Tracewipe HotKey.exe" + L"\"");
    testing_support::MakeFolders(folder_ / L"other");
    const std::wstring other = folder_ / L"other\\Tracewipe HotKey.exe";
    ASSERT_TRUE(CopyFileW(testing_support::DosPathOf(IDLE_PROGRAM_EXE).c_str(), other.c_str(), FALSE));
    ChildProcess second(L"\"" + other + L"\"");
    ASSERT_TRUE(WaitUntil([&] { return Launchers().size() == 2; }, 5000));

    RunningApp& app = StartShown();
    ASSERT_TRUE(app.Click(L"main_panel_setting"));
    ASSERT_TRUE(app.Click(L"apply"));
    ASSERT_TRUE(WaitUntil([&] { return Launchers().size() == 1; }, 5000));
    WaitUntil([] { return false; }, 500);
    EXPECT_EQ(Launchers().size(), 1u);
}

TEST_F(AppTest, StartupHidesTheWindowIntoTheTrayAndOtherCommandLinesDoNot) {
    RunningApp& app = Start(L"-startup");
    ASSERT_TRUE(WaitUntil([&] { return MainWindowOf(app.Process()) != nullptr; }, 10000));
    HWND window = MainWindowOf(app.Process());
    const DWORD created = GetTickCount();
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window) && HasTrayIcon(window); }, 3000));
    EXPECT_LT(GetTickCount() - created, 1500u);
    EXPECT_TRUE(app.Process().Running());

    for (const wchar_t* line : {L"-startup now", L"-Startup", L"startup"}) {
        apps_.clear();
        RunningApp& other = StartShown(line);
        ASSERT_NE(other.Window(), nullptr) << testing::PrintToString(std::wstring(line));
        WaitUntil([] { return false; }, 700);
        EXPECT_TRUE(IsWindowVisible(other.Window()));
        EXPECT_FALSE(HasTrayIcon(other.Window()));
    }
}

TEST_F(AppTest, MoveToTrayThenALeftPressOnTheIconRestoresAndRemovesIt) {
    RunningApp& app = StartShown();
    ASSERT_NE(app.Window(), nullptr);
    HWND window = app.Window();
    ASSERT_TRUE(app.Click(L"movetray"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 3000));
    EXPECT_TRUE(HasTrayIcon(window));

    // A right press does nothing; a left press restores.
    PostMessageW(window, WM_USER + 101, 103, WM_RBUTTONDOWN);
    app.Settle();
    EXPECT_FALSE(IsWindowVisible(window));
    PostMessageW(window, WM_USER + 101, 103, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window); }, 3000));
    app.Settle();
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(GetForegroundWindow(), window);
    EXPECT_FALSE(HasTrayIcon(window));

    ASSERT_TRUE(app.Click(L"minimize"));
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(window); }, 3000));
    EXPECT_FALSE(HasTrayIcon(window)) << "Minimize leaves no icon";
}

TEST_F(AppTest, SecondStartShowsTheFirstWindowAndEndsWithCodeZero) {
    RunningApp& first = StartShown();
    ASSERT_NE(first.Window(), nullptr);
    ASSERT_TRUE(first.Click(L"movetray"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(first.Window()); }, 3000));

    RunningApp& second = Start();
    ASSERT_TRUE(second.Process().WaitForExit(10000));
    EXPECT_EQ(second.Process().ExitCode(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(first.Window()); }, 3000));
    EXPECT_TRUE(HasTrayIcon(first.Window())) << "the icon stays until it is pressed";
}

// The launcher's hot key starts the program, so this is also what the user sees after Ctrl+Shift+H.
TEST_F(AppTest, SecondStartRestoresAMinimizedFirstWindow) {
    RunningApp& first = StartShown();
    HWND window = first.Window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(first.Click(L"minimize"));
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(window); }, 3000));

    RunningApp& second = Start();
    ASSERT_TRUE(second.Process().WaitForExit(10000));
    EXPECT_EQ(second.Process().ExitCode(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(window) && IsWindowVisible(window); }, 3000));
}

TEST_F(AppTest, TenStartsAtOnceLeaveOneWindowAndNineEndWithCodeZero) {
    std::vector<RunningApp*> starts;
    for (int i = 0; i < 10; ++i) starts.push_back(&Start());
    size_t ended = 0, windows = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
            ended = windows = 0;
            for (RunningApp* app : starts) {
                if (!app->Process().Running()) ++ended;
                else if (MainWindowOf(app->Process())) ++windows;
            }
            return ended == 9 && windows == 1;
        },
        20000))
        << ended << " ended, " << windows << " windows";
    for (RunningApp* app : starts) {
        if (!app->Process().Running()) {
            EXPECT_EQ(app->Process().ExitCode(), 0u);
        }
    }
}

// NOTE: last of the program's tests: after its first Clean press (the Chrome sub-tab, with the Close Browser
// notice) the test process's own thread desktop handle was found closed under Wine 8, and no later test could
// create a window. Not understood yet; the tests before it are unaffected.
TEST_F(AppTest, TabsShowGuidanceOrTheCleanButtonAndRememberTheSubTab) {
    RunningApp& app = StartShown();
    ASSERT_NE(app.Window(), nullptr);
    // The Clean button is where a click saves the group's key: hidden, a click there writes nothing.
    auto cleanSaves = [&](const std::wstring& key) {
        testing_support::DeleteTree(HKEY_CURRENT_USER, key);
        RunningApp& a = app;
        RECT clean = a.ScreenRect(L"btn_panelClean");
        if (IsRectEmpty(&clean)) return false;
        ClickAt(POINT{(clean.left + clean.right) / 2, (clean.top + clean.bottom) / 2});
        a.Settle();
        DismissCleanDialogs(a);
        return testing_support::KeyExists(HKEY_CURRENT_USER, key);
    };
    const RECT guide = app.ScreenRect(L"pannel_guide");
    ASSERT_FALSE(IsRectEmpty(&guide));
    const ScreenPixels windowsGuide = Capture(guide);
    SaveScreenshot("app_tab_windows", app.WindowRect());

    ASSERT_TRUE(app.Click(L"main_panel_browser"));
    SaveScreenshot("app_tab_browser", app.WindowRect());
    EXPECT_FALSE(SamePixels(Capture(guide), windowsGuide)) << "the guidance names the Browser History tab";
    ASSERT_TRUE(app.Click(L"browser_chrome"));
    SaveScreenshot("app_tab_browser_chrome", app.WindowRect());
    EXPECT_TRUE(cleanSaves(kGcKey)) << "a chosen sub-tab shows the Clean button";
    EXPECT_FALSE(testing_support::KeyExists(HKEY_CURRENT_USER, kWindowsKey));

    for (const auto& [tab, key] : {std::pair{L"browser_edge", std::wstring(L"\\Browser\\ME")},
                                   std::pair{L"browser_brave", std::wstring(L"\\Browser\\BR")}}) {
        ASSERT_TRUE(app.Click(tab));
        SaveScreenshot(tab == std::wstring(L"browser_edge") ? "app_tab_browser_edge" : "app_tab_browser_brave",
                       app.WindowRect());
        EXPECT_TRUE(cleanSaves(kSettingsRoot + key)) << testing::PrintToString(tab);
    }
    EXPECT_FALSE(testing_support::KeyExists(HKEY_CURRENT_USER, kWindowsKey));

    ASSERT_TRUE(app.Click(L"main_panel_window"));
    EXPECT_TRUE(SamePixels(Capture(guide), windowsGuide)) << "no Windows sub-tab chosen yet: the guidance";
    ASSERT_TRUE(app.Click(L"windows_application"));
    SaveScreenshot("app_tab_windows_programs", app.WindowRect());
    EXPECT_TRUE(cleanSaves(kWindowsKey));

    for (const wchar_t* tab : {L"main_panel_setting", L"main_panel_store"}) {
        ASSERT_TRUE(app.Click(tab));
        SaveScreenshot(tab == std::wstring(L"main_panel_setting") ? "app_tab_settings" : "app_tab_store",
                       app.WindowRect());
        const RECT clean = app.ScreenRect(L"btn_panelClean");
        EXPECT_TRUE(IsRectEmpty(&clean)) << "Settings and Store hide the Clean button";
    }
    // Where the Clean button stood, a click on the Store tab saves nothing.
    testing_support::DeleteTree(HKEY_CURRENT_USER, kWindowsKey);
    ASSERT_TRUE(app.Click(L"main_panel_window"));
    EXPECT_TRUE(cleanSaves(kWindowsKey)) << "the chosen sub-tab is remembered";
    ASSERT_TRUE(app.Click(L"main_panel_browser"));
    EXPECT_TRUE(cleanSaves(kSettingsRoot + L"\\Browser\\BR")) << "Brave was the last browser sub-tab chosen";
}

} // namespace
} // namespace app_test
