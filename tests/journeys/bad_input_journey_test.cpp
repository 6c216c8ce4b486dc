// The installed programs meeting what a user or a machine does wrong, in a Wine prefix made fresh for it:
// nine more starts at once, Apply while the Run key may not be written, the hot key pressed during a
// cleaning run, and the program's folder renamed after install.
#include "journey.h"
#include "message_box_check.h"
#include "seeded_history.h"

#include "support/real_input.h"
#include "support/registry_fixture.h"
#include "support/test_folder.h"
#include "support/unix_side.h"
#include "ui/resource_ids.h"

#include <gtest/gtest.h>

#include <memory>

namespace journey {
namespace {

using app_test::kRunKey;
using app_test::ReadDword;
using app_test::ReadString;
using app_test::RunningApp;
using testing_support::ChildProcess;
using testing_support::WaitUntil;

const std::wstring kSettingKey = app_test::kSettingsRoot + L"\\Setting";

TEST(BadInputJourney, TenStartsRunKeyDeniedHotKeyDuringACleaningRunAndARenamedFolder) {
    ASSERT_TRUE(InstallSilently());
    const std::wstring dir = DefaultInstallDir();
    const std::wstring program = dir + L"\\Tracewipe.exe";
    SeededHistory history;
    history.AddCacheFiles(3000);

    // A first start, then the second to the tenth at once: one instance stays, in front.
    RunningApp app(program);
    HWND window = app.WaitForWindow();
    ASSERT_NE(window, nullptr);
    app.Settle(300);
    DrawExpectedMessages({{L"Some Items Not Cleaned", L""}});
    const std::vector<DWORD> first = app_test::ProcessesUnder(dir, L"Tracewipe.exe");
    ASSERT_EQ(first.size(), 1u);
    {
        std::vector<std::unique_ptr<ChildProcess>> more;
        for (int i = 0; i < 9; ++i) more.push_back(std::make_unique<ChildProcess>(Quoted(program)));
        for (auto& start : more) {
            EXPECT_TRUE(start->WaitForExit(20000));
            EXPECT_EQ(start->ExitCode(), 0u);
        }
    }
    EXPECT_EQ(app_test::ProcessesUnder(dir, L"Tracewipe.exe"), first);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(DialogsOf(app.Process(), window).empty());

    std::vector<DWORD> launchers;
    // Apply while the Run key may not be written. Wine has no user without rights, so the key's access list
    // denies this user its writes; what Apply cannot write stays unwritten, silently, and the rest is done.
    {
        testing_support::ScopedWritesDenied denied(L"MACHINE\\" + kRunKey);
        ASSERT_TRUE(denied.Applied());
        HKEY probe = nullptr;
        const LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey.c_str(), 0, KEY_SET_VALUE, &probe);
        if (probe) RegCloseKey(probe);
        EXPECT_EQ(opened, ERROR_ACCESS_DENIED) << "Wine grants what the key's access list denies";
        ASSERT_TRUE(app.Click(L"main_panel_setting"));
        ASSERT_TRUE(app.Click(L"hot_key"));
        ASSERT_TRUE(app.Click(L"apply"));
        launchers = SettledProcesses(dir, kLauncherName, 1);
        EXPECT_EQ(launchers.size(), 1u) << "the launcher starts all the same";
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kSettingKey, L"HotKey"), 1u) << "the settings are saved";
        if (opened == ERROR_ACCESS_DENIED) {
            EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"Tracewipe"));
            EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kRunKey, L"TracewipeHK"));
        }
        WaitUntil([] { return false; }, 500);
        EXPECT_TRUE(DialogsOf(app.Process(), window).empty()) << "a failed write is not told";
        Screenshot("bad_run_key_denied_apply", app.WindowRect());
    }

    // Clean All with a big cache; Ctrl+Shift+H while it runs starts no second instance and leaves the run to end.
    KeyboardFocus focus;
    ASSERT_TRUE(app.Click(L"btn_cleanAll"));
    HWND notice = WaitForOneDialog(app.Process(), window);
    ASSERT_NE(notice, nullptr);
    ASSERT_TRUE(PressClose(notice));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(notice) || !IsWindowVisible(notice); }, 8000));
    HWND progress = WaitForOneDialog(app.Process(), window);
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(PressOn(progress, htmlayout::kProgressPageId, L"btn_Clean"));
    ASSERT_TRUE(focus.PressCtrlShiftH());
    WaitUntil([] { return false; }, 1500); // the second instance has found the first by now
    if (IsWindowVisible(progress)) Screenshot("bad_hot_key_during_run", RectOf(progress));
    EXPECT_EQ(app_test::ProcessesUnder(dir, L"Tracewipe.exe"), first);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(progress) || !IsWindowVisible(progress); }, 120000));
    HWND box = WaitForOneDialog(app.Process(), window, 20000);
    ASSERT_NE(box, nullptr) << "the run ended with its message";
    // The planted links stay under Wine: the run names what stayed.
    EXPECT_TRUE(ShowsTitle(box, L"Some Items Not Cleaned", "bad_hot_key_run_done"));
    ASSERT_TRUE(PressClose(box));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(window); }, 5000));
    EXPECT_TRUE(history.ItemsLeft().empty());
    EXPECT_TRUE(history.SentinelsIntact());

    ASSERT_TRUE(app.Click(L"exit"));
    ASSERT_TRUE(app.Process().WaitForExit(5000));

    // The program's folder renamed, with a decoy where an unquoted path would lead: the hot key starts nothing.
    const std::wstring moved = dir + L" moved";
    ASSERT_TRUE(MoveFileW(dir.c_str(), moved.c_str()));
    const std::wstring decoy = L"C:\\Program.exe";
    ASSERT_TRUE(CopyFileW(testing_support::DosPathOf(IDLE_PROGRAM_EXE).c_str(), decoy.c_str(), FALSE));
    ASSERT_TRUE(focus.PressCtrlShiftH());
    WaitUntil([] { return false; }, 2000);
    EXPECT_TRUE(app_test::ProcessesUnder(L"C:\\", L"Tracewipe.exe").empty());
    EXPECT_TRUE(app_test::ProcessesUnder(L"C:\\", L"Program.exe").empty());
    ASSERT_EQ(launchers.size(), 1u);
    EXPECT_TRUE(ChildProcess(launchers[0]).Running()) << "the launcher keeps running";
}

} // namespace
} // namespace journey
