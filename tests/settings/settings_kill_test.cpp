// A save ended by TerminateProcess at any moment: every value is still a whole REG_DWORD of the old or the
// new choice, and the settings load.
#include "settings/clean_item_catalogue.h"
#include "settings/settings_store.h"
#include "support/child_process.h"
#include "support/registry_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using namespace testing_support;

std::wstring SaverPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring self = path;
    return self.substr(0, self.rfind(L'\\')) + L"\\settings_saver.exe";
}

TEST(SettingsKill, SaveEndedAtAnyMomentLeavesWholeValues) {
    ScopedKeyTree root(HKEY_CURRENT_USER, L"Software\\Quellbyte\\Freeweare\\Tracewipe");
    int mixed = 0;
    for (DWORD delay = 0; delay < 30; ++delay) {
        const std::wstring event =
            L"tracewipe-saver-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(delay);
        HANDLE saved = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
        ChildProcess saver(L"\"" + SaverPath() + L"\" " + event);
        ASSERT_TRUE(saver.Started());
        ASSERT_EQ(WaitForSingleObject(saved, 20000), WAIT_OBJECT_0);
        CloseHandle(saved);
        Sleep(delay);
        ASSERT_TRUE(saver.Terminate()) << "the saver never ends by itself";

        int on = 0;
        for (const auto& e : Catalogue()) {
            const std::wstring key(SettingsKeyPath(e.key));
            DWORD type = REG_NONE, value = 99, size = sizeof value;
            ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, key.c_str(), std::wstring(e.valueName).c_str(),
                                   RRF_RT_ANY, &type, &value, &size),
                      ERROR_SUCCESS);
            EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
            EXPECT_EQ(size, sizeof value);
            EXPECT_LE(value, 1u) << "one of the two choices, whole";
            on += value == 1;
        }
        mixed += on != 0 && on != static_cast<int>(Catalogue().size());
        LoadCleanSelection();
        LoadSettings();
        for (const auto& e : Catalogue())
            EXPECT_LE(static_cast<uint32_t>(CleanSelection.*(e.flag)), 1u);
        if (HasFailure()) return;
    }
    // Each value is written whole; the values of one save are not one transaction, so an end between two of
    // them leaves some items with the old choice and the rest with the new.
    std::printf("ended 30 saves, %d between the values of one save\n", mixed);
}

} // namespace
