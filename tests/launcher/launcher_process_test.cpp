// The real launcher under Wine: its instance rule, its window, and the hot key pressed on the X display.
#include "support/child_process.h"
#include "support/registry_fixture.h"
#include "support/test_folder.h"
#include "support/unix_side.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace testing_support;

const std::wstring kPlainKey = L"SOFTWARE\\Quellbyte\\Freeweare\\Tracewipe";
const std::wstring kWow64Key = L"SOFTWARE\\Wow6432Node\\Quellbyte\\Freeweare\\Tracewipe";
const wchar_t kInstanceName[] = L"{63CCDC9D-411E-43d8-8ACF-6DA1F4844B44}";
constexpr int kStartButtonId = 1000;
constexpr int kMessageBoxTextId = 0xFFFF;

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

// A visible window of the test takes the X input focus, so that the X server hands the keys to Wine, whose
// server turns them into the launcher's WM_HOTKEY. One for all tests: without a window manager, Wine waits
// two seconds for every such window to go.
class KeyboardFocus {
public:
    KeyboardFocus()
        : window_(CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"focus", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                  nullptr, nullptr, nullptr, nullptr)) {}
    ~KeyboardFocus() { DestroyWindow(window_); }
    KeyboardFocus(const KeyboardFocus&) = delete;
    KeyboardFocus& operator=(const KeyboardFocus&) = delete;

    static KeyboardFocus& Shared() {
        static KeyboardFocus focus;
        return focus;
    }

    bool PressCtrlShiftH(const TestFolder& scratch) {
        auto xWindow = reinterpret_cast<uintptr_t>(GetPropW(window_, L"__wine_x11_whole_window"));
        if (!xWindow) return false;
        std::wstring done = scratch / (L"xdotool-" + std::to_wstring(presses_++));
        return RunUnixShell("timeout 5 xdotool windowfocus --sync " + std::to_string(xWindow) + " key ctrl+shift+h",
                            done);
    }

private:
    HWND window_;
    int presses_ = 0;
};

class Launcher : public ::testing::Test {
protected:
    ScopedKeyTree plain_{HKEY_LOCAL_MACHINE, kPlainKey};
    ScopedKeyTree wow64_{HKEY_LOCAL_MACHINE, kWow64Key};
    TestFolder folder_;
    KeyboardFocus& focus_ = KeyboardFocus::Shared();
    std::vector<std::unique_ptr<ChildProcess>> launchers_;

    ChildProcess& Start() {
        launchers_.push_back(std::make_unique<ChildProcess>(Quoted(DosPathOf(LAUNCHER_EXE))));
        return *launchers_.back();
    }

    // The top-level dialogs of a launcher: its own (holding the Start button) and a message box.
    static HWND Dialog(const ChildProcess& launcher, int childId) {
        for (HWND window : launcher.TopWindows(L"#32770"))
            if (GetDlgItem(window, childId)) return window;
        return nullptr;
    }

    // Up, and hidden by its first timer tick: ready for the hot key.
    static bool Ready(const ChildProcess& launcher) {
        return WaitUntil(
            [&] {
                HWND dialog = Dialog(launcher, kStartButtonId);
                return dialog && !IsWindowVisible(dialog);
            },
            5000);
    }

    // A copy of the stand-in main program at `relative`; it counts its starts in launched.txt beside it.
    std::wstring PlantProgram(const std::wstring& relative) {
        std::wstring path = folder_ / relative;
        MakeFolders(path.substr(0, path.rfind(L'\\')));
        EXPECT_TRUE(CopyFileW(DosPathOf(FAKE_MAIN_PROGRAM_EXE).c_str(), path.c_str(), FALSE));
        return path;
    }

    static size_t Starts(const std::wstring& program) {
        std::string log = ReadAll(program.substr(0, program.rfind(L'\\')) + L"\\launched.txt");
        return static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
    }

    bool PressAndSeeStarts(const std::wstring& program, size_t expected) {
        return focus_.PressCtrlShiftH(folder_) && WaitUntil([&] { return Starts(program) >= expected; }, 5000) &&
               Starts(program) == expected;
    }
};

TEST_F(Launcher, SecondAndThirdStartsEndAndTheFirstKeepsTheHotKey) {
    ChildProcess& first = Start();
    ASSERT_TRUE(Ready(first));
    ChildProcess& second = Start();
    ChildProcess& third = Start();
    EXPECT_TRUE(second.WaitForExit(5000));
    EXPECT_TRUE(third.WaitForExit(5000));
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_EQ(third.ExitCode(), 0u);
    EXPECT_TRUE(first.Running());

    std::wstring program = PlantProgram(L"app\\Tracewipe.exe");
    SetString(HKEY_LOCAL_MACHINE, kPlainKey, L"InstallPath", program);
    EXPECT_TRUE(PressAndSeeStarts(program, 1));
}

TEST_F(Launcher, HotKeyStartsTheProgramUnderTheKeyOfThisSystemsBitness) {
    // The test prefix is 32-bit, so the plain key counts and the Wow6432Node twin must be ignored.
    std::wstring program = PlantProgram(L"Program Files\\Tracewipe\\Tracewipe.exe");
    std::wstring decoy = PlantProgram(L"decoy\\Tracewipe.exe");
    SetString(HKEY_LOCAL_MACHINE, kPlainKey, L"InstallPath", program);
    SetString(HKEY_LOCAL_MACHINE, kWow64Key, L"InstallPath", decoy);
    ASSERT_TRUE(Ready(Start()));

    EXPECT_TRUE(PressAndSeeStarts(program, 1));
    EXPECT_TRUE(PressAndSeeStarts(program, 2)) << "every press starts it again";
    EXPECT_EQ(Starts(decoy), 0u);
}

TEST_F(Launcher, PathOf259CharactersIsStartedWhole) {
    const std::wstring name = L"Tracewipe.exe";
    const size_t padding = 259 - folder_.Path().size() - 2 - name.size();
    std::wstring program = PlantProgram(std::wstring(padding, L'd') + L"\\" + name);
    ASSERT_EQ(program.size(), 259u);
    SetString(HKEY_LOCAL_MACHINE, kPlainKey, L"InstallPath", program);
    ASSERT_TRUE(Ready(Start()));
    EXPECT_TRUE(PressAndSeeStarts(program, 1));
}

TEST_F(Launcher, MissingOrEmptyInstallPathStartsNothing) {
    ChildProcess& launcher = Start();
    ASSERT_TRUE(Ready(launcher));
    for (const char* state : {"missing", "empty"}) {
        SCOPED_TRACE(state);
        ASSERT_TRUE(focus_.PressCtrlShiftH(folder_));
        WaitUntil([] { return false; }, 1000);
        EXPECT_TRUE(ChildrenOf(launcher.Id()).empty());
        EXPECT_TRUE(launcher.Running());
        SetString(HKEY_LOCAL_MACHINE, kPlainKey, L"InstallPath", L"");
    }
    // The presses above did arrive: with a path, the same press starts the program.
    std::wstring program = PlantProgram(L"app\\Tracewipe.exe");
    SetString(HKEY_LOCAL_MACHINE, kPlainKey, L"InstallPath", program);
    EXPECT_TRUE(PressAndSeeStarts(program, 1));
}

TEST_F(Launcher, HotKeyHeldElsewhereShowsOneMessageAndStaysHidden) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, 'H'));
    ChildProcess& launcher = Start();
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = Dialog(launcher, kMessageBoxTextId)) != nullptr; }, 5000));
    wchar_t text[64] = {};
    GetDlgItemTextW(box, kMessageBoxTextId, text, 64);
    EXPECT_STREQ(text, L"RegisterHotKey failed");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));

    EXPECT_TRUE(Ready(launcher));
    EXPECT_FALSE(WaitUntil([&] { return Dialog(launcher, kMessageBoxTextId) != nullptr; }, 1000));
    EXPECT_TRUE(launcher.Running());
    UnregisterHotKey(nullptr, 1);
}

TEST_F(Launcher, InstanceNameTakenWithoutAccessMeansAnotherLauncherRuns) {
    // An empty access list: opening the mutex is denied, as for a launcher started with other rights.
    ACL emptyAcl;
    ASSERT_TRUE(InitializeAcl(&emptyAcl, sizeof emptyAcl, ACL_REVISION));
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, &emptyAcl, FALSE);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    HANDLE mutex = CreateMutexW(&attributes, FALSE, kInstanceName);
    ASSERT_NE(mutex, nullptr);

    ChildProcess& launcher = Start();
    EXPECT_TRUE(launcher.WaitForExit(5000));
    EXPECT_EQ(launcher.ExitCode(), 0u);
    CloseHandle(mutex);
}

TEST_F(Launcher, InstanceNameHeldByAnotherKindOfObjectIsNoLauncher) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, kInstanceName);
    ASSERT_NE(event, nullptr);
    ChildProcess& launcher = Start();
    EXPECT_TRUE(Ready(launcher));
    EXPECT_TRUE(launcher.Running());
    CloseHandle(event);
}

} // namespace
