// The real TracewipeSetup.exe and its uninstaller, run silently in the test prefix.
#include "support/child_process.h"
#include "support/outside_sentinel.h"
#include "support/registry_fixture.h"
#include "support/test_folder.h"
#include "support/unix_side.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace testing_support;

const std::wstring kProductKey = L"SOFTWARE\\Quellbyte\\Freeweare\\Tracewipe";
const std::wstring kRunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kLauncher = L"Tracewipe HotKey.exe";
constexpr bool kCarriesMainProgram = CARRIES_MAIN_PROGRAM;

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring ReadString(HKEY root, const std::wstring& key, const std::wstring& name) {
    wchar_t buffer[1024] = {};
    DWORD bytes = sizeof buffer;
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
        return {};
    return buffer;
}

std::wstring Shortcuts() {
    wchar_t programs[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, programs, CSIDL_COMMON_PROGRAMS, FALSE)) return {};
    return std::wstring(programs) + L"\\Tracewipe";
}

// Runs a silent setup or uninstall to its end; true when it exited with 0.
bool RunSilently(const std::wstring& commandLine) { return RunToEndWithChildren(commandLine, 60000) >= 0; }

class Installer : public ::testing::Test {
protected:
    ScopedKeyTree product_{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Quellbyte"};
    TestFolder folder_;
    const std::wstring installDir_ = folder_ / L"Program Files\\Tracewipe";

    void TearDown() override {
        DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, L"Tracewipe");
        DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, L"TracewipeHK");
        if (!Shortcuts().empty()) RemoveTreeUnix(Shortcuts());
    }

    bool Install(const std::wstring& dir) { return RunSilently(Quoted(DosPathOf(SETUP_EXE)) + L" /S /D=" + dir); }

    // The uninstaller hands its work to a copy of itself and returns at once; waits for the copy too.
    bool Uninstall(const std::wstring& dir) {
        return RunToEndWithChildren(Quoted(dir + L"\\Uninstall.exe") + L" /S", 60000) > 0;
    }

    void ExpectInstalledIn(const std::wstring& dir) {
        EXPECT_TRUE(PathExists(dir + L"\\" + kLauncher));
        EXPECT_TRUE(PathExists(dir + L"\\Uninstall.exe"));
        EXPECT_EQ(PathExists(dir + L"\\Tracewipe.exe"), kCarriesMainProgram);
        EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kProductKey, L"InstallPath"), dir + L"\\Tracewipe.exe");
        EXPECT_TRUE(PathExists(Shortcuts() + L"\\Uninstall Tracewipe.lnk"));
        EXPECT_EQ(PathExists(Shortcuts() + L"\\Tracewipe.lnk"), kCarriesMainProgram);
    }
};

TEST_F(Installer, SilentInstallThenUninstallLeavesNothingBehind) {
    ASSERT_TRUE(Install(installDir_));
    ExpectInstalledIn(installDir_);

    // What the main program's Apply leaves: both Run values and a running launcher.
    SetString(HKEY_LOCAL_MACHINE, kRunKey, L"Tracewipe", Quoted(installDir_ + L"\\Tracewipe.exe"));
    SetString(HKEY_LOCAL_MACHINE, kRunKey, L"TracewipeHK", Quoted(installDir_ + L"\\" + kLauncher));
    SetString(HKEY_LOCAL_MACHINE, kRunKey, L"Tracewipe neighbour", L"C:\\other.exe");
    ChildProcess launcher(Quoted(installDir_ + L"\\" + kLauncher));
    ASSERT_TRUE(WaitUntil([&] { return !launcher.TopWindows(L"#32770").empty(); }, 5000));

    ASSERT_TRUE(Uninstall(installDir_));
    EXPECT_TRUE(launcher.WaitForExit(10000));
    EXPECT_FALSE(PathExists(installDir_));
    EXPECT_FALSE(PathExists(Shortcuts()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Quellbyte"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRunKey, L"Tracewipe"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRunKey, L"TracewipeHK"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kRunKey, L"Tracewipe neighbour"));
    DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, L"Tracewipe neighbour");
}

TEST_F(Installer, UninstallKeepsWhatItDidNotInstallAndNeverFollowsLinks) {
    ASSERT_TRUE(Install(installDir_));
    folder_.Write(L"Program Files\\Tracewipe\\notes.txt", "mine");
    OutsideSentinel outside;
    ASSERT_TRUE(outside.PlantLinkAt(installDir_ + L"\\linked"));

    ASSERT_TRUE(Uninstall(installDir_));
    EXPECT_FALSE(PathExists(installDir_ + L"\\" + kLauncher));
    EXPECT_FALSE(PathExists(installDir_ + L"\\Uninstall.exe"));
    EXPECT_EQ(ReadAll(installDir_ + L"\\notes.txt"), "mine");
    EXPECT_TRUE(outside.Intact());
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kProductKey, L"InstallPath"));
}

TEST_F(Installer, InstallsIntoProgramFilesByDefault) {
    wchar_t programFiles[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, programFiles, CSIDL_PROGRAM_FILES, FALSE));
    const std::wstring dir = std::wstring(programFiles) + L"\\Tracewipe";
    ASSERT_FALSE(PathExists(dir)) << "left over from an earlier run";
    ASSERT_TRUE(RunSilently(Quoted(DosPathOf(SETUP_EXE)) + L" /S"));
    ExpectInstalledIn(dir);
    EXPECT_TRUE(Uninstall(dir));
    EXPECT_FALSE(PathExists(dir));
    RemoveTreeUnix(dir);
}

} // namespace
