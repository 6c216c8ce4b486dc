#pragma once
// What every test of the real program shares: clean settings, no Run values, a copy of the program in a
// folder of its own, and no launcher left running afterwards.
#include "tracewipe_app.h"

#include "support/registry_fixture.h"
#include "support/test_folder.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace app_test {

inline const std::wstring kSettingsRoot = L"Software\\Quellbyte\\Freeweare\\Tracewipe";
inline const std::wstring kWindowsKey = kSettingsRoot + L"\\WindowsClean";
inline const std::wstring kSettingKey = kSettingsRoot + L"\\Setting";
inline const std::wstring kRunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::wstring kRunKeyWow64 = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";

// A REG_SZ value, or none when it is missing or of another type.
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key, const std::wstring& name);
std::optional<DWORD> ReadDword(HKEY root, const std::wstring& key, const std::wstring& name);

// Whether the notification area holds the program's icon: modifying nothing succeeds only for an icon
// that exists.
bool HasTrayIcon(HWND window);

// Ids of the running processes with this executable name whose image lies under `folder`.
std::vector<DWORD> ProcessesUnder(const std::wstring& folder, const std::wstring& exeName);

class AppTest : public ::testing::Test {
protected:
    AppTest();
    ~AppTest() override;

    RunningApp& Start(const std::wstring& arguments = L"", const std::wstring& exePath = L"");
    // Started, and its window shown.
    RunningApp& StartShown(const std::wstring& arguments = L"");
    std::vector<DWORD> Launchers() const { return ProcessesUnder(folder_.Path(), L"Tracewipe HotKey.exe"); }

    testing_support::ScopedKeyTree settings_{HKEY_CURRENT_USER, kSettingsRoot};
    testing_support::TestFolder folder_;
    std::wstring program_;
    std::vector<std::unique_ptr<RunningApp>> apps_;
};

} // namespace app_test
