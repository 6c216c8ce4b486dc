#include "settings/settings_store.h"

#include "settings/clean_item_catalogue.h"
#include "support/registry_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using namespace testing_support;

constexpr wchar_t kRoot[] = L"Software\\Quellbyte\\Freeweare\\Tracewipe";

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { CleanSelection = {}; }
    void TearDown() override { CleanSelection = {}; }
    ScopedKeyTree root_{HKEY_CURRENT_USER, kRoot};
};

void LoadEverything() {
    LoadCleanSelection();
    LoadSettings();
}

void SaveEverything() {
    SaveCleanSelection();
    SaveSettings();
}

std::wstring Path(SettingsKey key) { return std::wstring(SettingsKeyPath(key)); }

TEST_F(SettingsStore, MissingRootKeyYieldsTheDefaults) {
    std::memset(&CleanSelection, 0x5a, sizeof CleanSelection);
    LoadEverything();
    for (const auto& e : Catalogue())
        EXPECT_EQ(CleanSelection.*(e.flag), e.defaultValue) << std::string(e.boxId.begin(), e.boxId.end());
    EXPECT_EQ(CleanSelection.load_startup, 1);
    EXPECT_EQ(CleanSelection.hot_key, 0);
    EXPECT_EQ(CleanSelection.ie_downloadlocation, 0);
    EXPECT_EQ(CleanSelection.temp_files, 1);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRoot)) << "loading must not create the key";
}

TEST_F(SettingsStore, SaveThenLoadRestoresEveryFlagUnderItsValueName) {
    // Every flag the opposite of its default, so that nothing passes by falling back.
    for (const auto& e : Catalogue()) CleanSelection.*(e.flag) = e.defaultValue ? 0 : 1;
    SaveEverything();
    for (const auto& e : Catalogue()) {
        DWORD stored = ReadUserDword(Path(e.key).c_str(), std::wstring(e.valueName).c_str(), 99);
        EXPECT_EQ(stored, e.defaultValue ? 0u : 1u) << std::string(e.valueName.begin(), e.valueName.end());
    }
    CleanSelection = {};
    LoadEverything();
    for (const auto& e : Catalogue()) EXPECT_EQ(CleanSelection.*(e.flag), e.defaultValue ? 0 : 1);
}

TEST_F(SettingsStore, ChromeBoxesComeBackUnderTheirValueNames) {
    CleanSelection.gc_cache = 0;
    CleanSelection.gc_cookies = 1;
    CleanSelection.gc_downloadhistory = 0;
    CleanSelection.gc_lastsession = 1;
    CleanSelection.gc_pwd = 1;
    CleanSelection.gc_urls = 0;
    SaveGcSelection();
    const std::wstring gc = Path(SettingsKey::BrowserGc);
    const std::pair<const wchar_t*, DWORD> expected[] = {{L"Cache", 0},       {L"Cookies", 1}, {L"DownloadHistory", 0},
                                                         {L"LastSession", 1}, {L"Pwd", 1},     {L"TypeURLS", 0}};
    for (auto [name, value] : expected) EXPECT_EQ(ReadUserDword(gc.c_str(), name, 7), value);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Path(SettingsKey::WindowsClean))) << "only the Chrome key is saved";
    CleanSelection = {};
    LoadGcSelection();
    EXPECT_EQ(CleanSelection.gc_pwd, 1);
    EXPECT_EQ(CleanSelection.gc_lastsession, 1);
    EXPECT_EQ(CleanSelection.gc_cache, 0);
}

// Edge and Brave keep Chrome's value names under keys of their own: saving one touches no other browser.
TEST_F(SettingsStore, EdgeAndBraveKeysAreTheirOwn) {
    CleanSelection.gc_urls = 1;
    CleanSelection.me_urls = 0;
    CleanSelection.me_pwd = 1;
    CleanSelection.br_urls = 1;
    SaveMeSelection();
    const std::wstring me = Path(SettingsKey::BrowserMe);
    EXPECT_EQ(me, L"Software\\Quellbyte\\Freeweare\\Tracewipe\\Browser\\ME");
    EXPECT_EQ(ReadUserDword(me.c_str(), L"TypeURLS", 7), 0u);
    EXPECT_EQ(ReadUserDword(me.c_str(), L"Pwd", 7), 1u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Path(SettingsKey::BrowserGc)));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Path(SettingsKey::BrowserBr)));
    SaveBrSelection();
    CleanSelection = {};
    LoadMeSelection();
    LoadBrSelection();
    EXPECT_EQ(CleanSelection.me_pwd, 1);
    EXPECT_EQ(CleanSelection.me_urls, 0);
    EXPECT_EQ(CleanSelection.br_urls, 1);
    EXPECT_EQ(CleanSelection.br_cache, 0) << "saved as it was";
    EXPECT_EQ(CleanSelection.gc_urls, 0) << "not loaded";
}

TEST_F(SettingsStore, ValuesOfTheWrongSizeFallBackToTheDefault) {
    const std::wstring win = Path(SettingsKey::WindowsClean);
    const ULONGLONG qword = 0;
    const BYTE longBinary[16] = {};
    const BYTE shortBinary[2] = {0, 0};
    SetRaw(HKEY_CURRENT_USER, win, L"TempFiles", REG_QWORD, &qword, sizeof qword);
    SetRaw(HKEY_CURRENT_USER, win, L"Clipboard", REG_BINARY, longBinary, sizeof longBinary);
    SetRaw(HKEY_CURRENT_USER, win, L"RecyleBin", REG_BINARY, shortBinary, sizeof shortBinary);
    SetRaw(HKEY_CURRENT_USER, win, L"WordPad", REG_BINARY, nullptr, 0);
    SetDword(HKEY_CURRENT_USER, win, L"MSPaint", 0);
    SetDword(HKEY_CURRENT_USER, win, L"RunHistory", 0xFFFFFFFF);
    LoadWindowsSelection();
    EXPECT_EQ(CleanSelection.temp_files, 1);
    EXPECT_EQ(CleanSelection.clip_board, 1);
    EXPECT_EQ(CleanSelection.recycle_bin, 1);
    EXPECT_EQ(CleanSelection.word_pad, 1);
    EXPECT_EQ(CleanSelection.ms_paint, 0);
    EXPECT_EQ(CleanSelection.run_history, 1) << "any nonzero DWORD is selected";
}

// A text "0" read as a number is 0x30: it would tick the password boxes the page never lets a user tick.
TEST_F(SettingsStore, OnlyAFourByteDwordCountsAndTheNextSaveWritesDwordsOfZeroOrOne) {
    const std::wstring ff = Path(SettingsKey::BrowserFf);
    const std::wstring gc = Path(SettingsKey::BrowserGc);
    const BYTE zeros[4] = {};
    SetString(HKEY_CURRENT_USER, ff, L"Pwd", L"0");
    SetString(HKEY_CURRENT_USER, gc, L"Pwd", L"1");
    SetRaw(HKEY_CURRENT_USER, ff, L"Cookies", REG_DWORD_BIG_ENDIAN, zeros, sizeof zeros);
    SetRaw(HKEY_CURRENT_USER, ff, L"Cache", REG_BINARY, zeros, sizeof zeros);
    SetRaw(HKEY_CURRENT_USER, gc, L"Cookies", REG_EXPAND_SZ, L"0", 2 * sizeof(wchar_t));
    SetDword(HKEY_CURRENT_USER, gc, L"Cache", 7);
    LoadFfSelection();
    LoadGcSelection();
    EXPECT_EQ(CleanSelection.ff_pwd, 0);
    EXPECT_EQ(CleanSelection.gc_pwd, 0);
    EXPECT_EQ(CleanSelection.ff_cookies, FindByBoxId(L"ff_cookies")->defaultValue);
    EXPECT_EQ(CleanSelection.ff_cache, FindByBoxId(L"ff_cache")->defaultValue);
    EXPECT_EQ(CleanSelection.gc_cookies, FindByBoxId(L"gc_cookies")->defaultValue);
    EXPECT_EQ(CleanSelection.gc_cache, 1);

    SaveFfSelection();
    SaveGcSelection();
    for (const auto& [key, name] :
         {std::pair{ff, L"Pwd"}, {gc, L"Pwd"}, {ff, L"Cookies"}, {ff, L"Cache"}, {gc, L"Cookies"}, {gc, L"Cache"}}) {
        DWORD type = REG_NONE;
        DWORD value = 99;
        DWORD size = sizeof value;
        ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, &type, &value, &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << std::wstring(name);
        EXPECT_LE(value, 1u) << std::wstring(name);
    }
    EXPECT_EQ(ReadUserDword(ff.c_str(), L"Pwd", 5), 0u);
    EXPECT_EQ(ReadUserDword(gc.c_str(), L"Cache", 5), 1u);
}

TEST_F(SettingsStore, StoredFirefoxPasswordSelectsTheDisabledBox) {
    SetDword(HKEY_CURRENT_USER, Path(SettingsKey::BrowserFf), L"Pwd", 1);
    LoadFfSelection();
    EXPECT_EQ(CleanSelection.ff_pwd, 1);
    EXPECT_EQ(CleanSelection.gc_pwd, 0) << "the Chrome value of the same name is another key's";
}

TEST_F(SettingsStore, SelectAllItemsLeavesTheSettingsAndTheRegistryAlone) {
    CleanSelection.load_startup = 0;
    CleanSelection.hot_key = 0;
    SelectAllItems();
    for (const auto& e : Catalogue())
        if (e.IsCleanItem()) {
            EXPECT_EQ(CleanSelection.*(e.flag), 1);
        }
    EXPECT_EQ(CleanSelection.load_startup, 0);
    EXPECT_EQ(CleanSelection.hot_key, 0);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRoot));
}

TEST_F(SettingsStore, SettingsAreWrittenAsTwoDwords) {
    CleanSelection.load_startup = 0;
    CleanSelection.hot_key = 1;
    SaveSettings();
    const std::wstring setting = Path(SettingsKey::Setting);
    EXPECT_EQ(ReadUserDword(setting.c_str(), L"Startup", 5), 0u);
    EXPECT_EQ(ReadUserDword(setting.c_str(), L"HotKey", 5), 1u);
    EXPECT_EQ(WriteUserDword(setting.c_str(), L"HotKey", 0), ERROR_SUCCESS);
    LoadSettings();
    EXPECT_EQ(CleanSelection.hot_key, 0);
}

TEST(MachineValues, WriteAndDeleteReportTheirResults) {
    constexpr wchar_t kKey[] = L"Software\\Tracewipe Tests\\Machine";
    ScopedKeyTree tree(HKEY_LOCAL_MACHINE, L"Software\\Tracewipe Tests");
    const std::wstring text = L"\"C:\\Program Files\\Tracewipe\\Tracewipe.exe\"";
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    ASSERT_TRUE(WriteMachineString(kKey, L"Tracewipe", text.c_str(), bytes));
    wchar_t back[MAX_PATH] = {};
    DWORD size = sizeof back;
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, kKey, L"Tracewipe", RRF_RT_REG_SZ, nullptr, back, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(text, back);

    EXPECT_EQ(DeleteMachineValue(kKey, L"Tracewipe"), ERROR_SUCCESS);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kKey, L"Tracewipe"));
    EXPECT_EQ(DeleteMachineValue(L"Software\\Tracewipe Tests\\Missing", L"Tracewipe"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Tracewipe Tests\\Missing"));

    // Both a failed create and a failed write are reported, with the registry's error.
    SetLastError(0);
    EXPECT_FALSE(WriteMachineString(L"\\Software\\Tracewipe Tests", L"x", L"", 2));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_PATHNAME));
    SetLastError(0);
    const std::wstring overlongName(20000, L'v');
    EXPECT_FALSE(WriteMachineString(kKey, overlongName.c_str(), L"", 2));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

} // namespace
