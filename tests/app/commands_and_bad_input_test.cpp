// The real program's dialogs and its bad inputs: the About and update buttons, the tray icon pressed on
// Wine's own tray window, the window's place on a 1024 x 768 screen, a missing page, a 300-character path,
// a Run key it may not write, and a missing launcher.
#include "app_fixture.h"
#include "real_input.h"
#include "support/real_input.h"

#include "support/unix_side.h"
#include "update/local_http_server.h"
#include "update/user_proxy_settings.h"
#include "common/scoped_handles.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>

namespace app_test {
namespace {

using testing_support::ChildProcess;
using testing_support::ClickAt;
using testing_support::SetDword;
using testing_support::WaitUntil;

// The program's top-level windows other than its main window, shown.
std::vector<HWND> ShownDialogs(const ChildProcess& process, HWND mainWindow) {
    std::vector<HWND> found;
    for (HWND window : process.TopWindows(L"#32770"))
        if (window != mainWindow && IsWindowVisible(window)) found.push_back(window);
    return found;
}

TEST_F(AppTest, AboutAndCheckForUpdatesRunTheirDialogsOverTheDisabledWindow) {
    RunningApp& app = StartShown();
    ASSERT_NE(app.Window(), nullptr);
    ASSERT_TRUE(app.Click(L"about"));
    ASSERT_TRUE(WaitUntil([&] { return ShownDialogs(app.Process(), app.Window()).size() == 1; }, 5000));
    EXPECT_FALSE(IsWindowEnabled(app.Window()));
    RECT about{};
    GetWindowRect(ShownDialogs(app.Process(), app.Window())[0], &about);
    SaveScreenshot("app_about", about);
    PostMessageW(ShownDialogs(app.Process(), app.Window())[0], WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return ShownDialogs(app.Process(), app.Window()).empty(); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app.Window()); }, 2000));

    // The version check goes to a local server posing as the user's proxy: the maker's site is never asked.
    testing_support::LocalHttpServer server(testing_support::HttpReply(200, "TRWP1.0.0"));
    ASSERT_TRUE(server.Listening());
    testing_support::ScopedUserProxySettings proxy({"127.0.0.1:" + std::to_string(server.Port()), "", ""});
    ASSERT_TRUE(app.Click(L"main_panel_setting"));
    ASSERT_TRUE(app.Click(L"update"));
    ASSERT_TRUE(WaitUntil([&] { return ShownDialogs(app.Process(), app.Window()).size() == 1; }, 10000));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_NE(server.Requests()[0].find("/php/database/tracewipe/checkversion-tw.php"), std::string::npos);
    HWND box = ShownDialogs(app.Process(), app.Window())[0];
    RECT boxRect{};
    GetWindowRect(box, &boxRect);
    SaveScreenshot("app_update_message", boxRect);
    PostMessageW(box, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return ShownDialogs(app.Process(), app.Window()).empty(); }, 5000));
    EXPECT_TRUE(app.Process().Running());
}

// The slots of Wine's own tray window, from the left; the icon added last takes the last filled one.
TEST_F(AppTest, LeftPressOnTheIconInWinesTrayRestoresTheWindow) {
    RunningApp& app = StartShown();
    ASSERT_NE(app.Window(), nullptr);
    HWND window = app.Window();
    ASSERT_TRUE(app.Click(L"movetray"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 3000));
    HWND tray = FindWindowW(nullptr, L"Wine System Tray");
    ASSERT_NE(tray, nullptr) << "Wine shows no tray window of its own on this display";
    // Only its client area is on the display; Wine draws no frame for it there.
    RECT trayRect{};
    GetClientRect(tray, &trayRect);
    MapWindowPoints(tray, nullptr, reinterpret_cast<POINT*>(&trayRect), 2);
    SaveScreenshot("app_tray", trayRect);
    const int slot = GetSystemMetrics(SM_CXSMICON) + 4;
    const ScreenPixels pixels = Capture(trayRect);
    int last = -1;
    for (int i = 0; (i + 1) * slot <= pixels.width; ++i) {
        const unsigned background = pixels.At(i * slot, 0);
        for (int y = 0; y < pixels.height && y < slot; ++y)
            for (int x = i * slot; x < (i + 1) * slot; ++x)
                if (pixels.At(x, y) != background) last = i;
    }
    ASSERT_GE(last, 0);
    ASSERT_TRUE(ClickAt(POINT{trayRect.left + last * slot + slot / 2, trayRect.top + slot / 2}));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window); }, 3000));
    app.Settle();
    EXPECT_EQ(GetForegroundWindow(), window);
    EXPECT_FALSE(HasTrayIcon(window)) << "the icon is gone";
}

BOOL CALLBACK KeepMainWindow(HWND window, LPARAM param) {
    wchar_t title[64] = L"", name[64] = L"";
    GetWindowTextW(window, title, 64);
    GetClassNameW(window, name, 64);
    if (std::wstring(title) == L"Tracewipe 1.0" && std::wstring(name) == L"htmlayout::window")
        *reinterpret_cast<HWND*>(param) = window;
    return TRUE;
}

// A Wine desktop of its own, 1024 x 768, for this one start.
TEST_F(AppTest, OnA1024By768ScreenTheWindowOpensAt161And133) {
    const std::wstring desktopName = L"TracewipeSmall" + std::to_wstring(GetCurrentProcessId());
    ChildProcess desktop(L"explorer.exe /desktop=" + desktopName + L",1024x768 \"" + program_ + L"\"");
    ASSERT_TRUE(desktop.Started());
    HWND found = nullptr;
    auto findOnDesktop = [&] {
        HDESK handle = OpenDesktopW(desktopName.c_str(), 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
        if (!handle) return false;
        found = nullptr;
        EnumDesktopWindows(handle, KeepMainWindow, reinterpret_cast<LPARAM>(&found));
        CloseDesktop(handle);
        return found != nullptr; // NOTE: IsWindowVisible answers false for a window of another desktop
    };
    ASSERT_TRUE(WaitUntil(findOnDesktop, 15000));
    RECT rc{};
    GetWindowRect(found, &rc);
    EXPECT_EQ(rc.left, 161);
    EXPECT_EQ(rc.top, 133);
    EXPECT_EQ(rc.right - rc.left, 720);
    EXPECT_EQ(rc.bottom - rc.top, 510);
    PostMessageW(found, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(found); }, 5000));
    desktop.WaitForExit(5000);
}

TEST_F(AppTest, MissingPageLeavesAnEmptyWindowShownThatASecondStartFinds) {
    // A build of the program that carries no pages at all.
    ASSERT_TRUE(CopyFileW(testing_support::DosPathOf(WITHOUT_PAGES_EXE).c_str(), program_.c_str(), FALSE));
    RunningApp& app = StartShown(L"-startup");
    ASSERT_NE(app.Window(), nullptr) << "shown, with nothing on it; exit code " << app.Process().ExitCode();
    RunningApp& second = Start();
    ASSERT_TRUE(second.Process().WaitForExit(10000));
    EXPECT_EQ(second.Process().ExitCode(), 0u);
    PostMessageW(app.Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.Process().WaitForExit(5000));
    EXPECT_EQ(app.Process().ExitCode(), 0u);
}

TEST_F(AppTest, ProgramPathOf300CharactersIsWrittenWholeIntoTheRunValue) {
    const std::wstring name = L"\\Tracewipe.exe";
    // Folders of at most 60 characters, made one by one in the extended-length form beyond MAX_PATH.
    std::wstring folder = folder_.Path() + L"\\deep";
    CreateDirectoryW(folder.c_str(), nullptr);
    while (folder.size() + name.size() < 300) {
        folder += L"\\" + std::wstring(std::min<size_t>(60, 300 - folder.size() - name.size() - 1), L'd');
        CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr);
    }
    ASSERT_EQ(folder.size() + name.size(), 300u);
    const std::wstring program = folder + name;
    ASSERT_TRUE(CopyFileW(program_.c_str(), (L"\\\\?\\" + program).c_str(), FALSE));
    ASSERT_TRUE(StartThroughWine(program));
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            window = FindWindowW(L"htmlayout::window", L"Tracewipe 1.0");
            return window && IsWindowVisible(window);
        },
        10000));
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    scoped::KernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId));
    ASSERT_TRUE(process);

    // Apply, as a click on the Settings tab and then on Apply would: "Load at Window Startup" is ticked by
    // default. The mirror says where both are.
    PageMirror mirror;
    RECT windowRect{};
    GetWindowRect(window, &windowRect);
    // NOTE: a window started through the wine command may take clicks only once its first paint is through
    // on a busy machine; Apply writes the same value again, so the two clicks are repeated until it lands.
    bool mirroredTab = false;
    const auto applied = [] { return ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"Tracewipe").has_value(); };
    for (int attempt = 0; attempt < 3 && !applied(); ++attempt) {
        for (const wchar_t* id : {L"main_panel_setting", L"apply"}) {
            RECT rc = mirror.Location(id);
            ASSERT_TRUE(
                ClickAt(POINT{windowRect.left + (rc.left + rc.right) / 2, windowRect.top + (rc.top + rc.bottom) / 2}));
            if (!mirroredTab && std::wstring(id) == L"main_panel_setting") {
                mirror.Click(id); // a mirrored Apply would apply here
                mirroredTab = true;
            }
            WaitUntil([] { return false; }, 300);
        }
        WaitUntil(applied, 3000);
    }
    EXPECT_TRUE(applied());
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"Tracewipe"), L"\"" + program + L"\"");
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.Get(), 5000) != WAIT_OBJECT_0) TerminateProcess(process.Get(), 1);
    testing_support::RemoveTreeUnix(folder_.Path() + L"\\deep");
}

TEST_F(AppTest, RunKeyItMayNotWriteLeavesNoValueAndStillSavesTheSettings) {
    SetDword(HKEY_CURRENT_USER, kSettingKey, L"HotKey", 0);
    testing_support::ScopedWritesDenied denied(L"MACHINE\\" + kRunKey);
    ASSERT_TRUE(denied.Applied());
    HKEY probe = nullptr;
    const LONG openForWrite = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey.c_str(), 0, KEY_SET_VALUE, &probe);
    if (probe) RegCloseKey(probe);
    if (openForWrite == ERROR_SUCCESS) GTEST_SKIP() << "Wine grants the write the key's access list denies";

    RunningApp& app = StartShown();
    ASSERT_TRUE(app.Click(L"main_panel_setting"));
    ASSERT_TRUE(app.Click(L"apply"));
    ASSERT_TRUE(WaitUntil([] { return ReadDword(HKEY_CURRENT_USER, kSettingKey, L"Startup").has_value(); }, 3000));
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"Tracewipe"));
    EXPECT_TRUE(app.Process().Running());
    EXPECT_TRUE(ShownDialogs(app.Process(), app.Window()).empty()) << "failures are silent";
}

TEST_F(AppTest, MissingLauncherStartsNothingAndTellsNothing) {
    const std::wstring program = InstallCopy(folder_ / L"alone", false);
    SetDword(HKEY_CURRENT_USER, kSettingKey, L"HotKey", 1);
    RunningApp& app = Start(L"", program);
    ASSERT_NE(app.WaitForWindow(), nullptr);
    app.Settle(300);
    ASSERT_TRUE(app.Click(L"main_panel_setting"));
    ASSERT_TRUE(app.Click(L"apply"));
    ASSERT_TRUE(WaitUntil([] { return ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"TracewipeHK").has_value(); }, 3000));
    WaitUntil([] { return false; }, 1000);
    EXPECT_TRUE(Launchers().empty());
    EXPECT_TRUE(app.Process().Running());
    EXPECT_TRUE(ShownDialogs(app.Process(), app.Window()).empty());
}

} // namespace
} // namespace app_test
