#include "cleaners/windows/registry_history_cleaners.h"

#include "support/registry_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace testing_support;

const std::wstring kExplorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const std::wstring kBars = L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\";

// A history key with a value and nested subkeys, beside a sibling key and a sibling value that must stay.
void PlantHistoryTree(const std::wstring& key) {
    SetString(HKEY_CURRENT_USER, key, L"a", L"C:\\secret.txt");
    SetString(HKEY_CURRENT_USER, key + L"\\nested\\deeper", L"x", L"trace");
    const std::wstring parent = key.substr(0, key.rfind(L'\\'));
    SetString(HKEY_CURRENT_USER, parent + L"\\Tracewipe sibling", L"keep", L"1");
    SetString(HKEY_CURRENT_USER, parent, L"Tracewipe sibling value", L"1");
}

bool SiblingsIntact(const std::wstring& key) {
    const std::wstring parent = key.substr(0, key.rfind(L'\\'));
    return ValueExists(HKEY_CURRENT_USER, parent + L"\\Tracewipe sibling", L"keep") &&
           ValueExists(HKEY_CURRENT_USER, parent, L"Tracewipe sibling value");
}

void RemoveSiblings(const std::wstring& key) {
    const std::wstring parent = key.substr(0, key.rfind(L'\\'));
    DeleteTree(HKEY_CURRENT_USER, parent + L"\\Tracewipe sibling");
    DeleteValue(HKEY_CURRENT_USER, parent, L"Tracewipe sibling value");
}

struct TreeCase {
    const char* name;
    std::function<void()> cleaner;
    std::vector<std::wstring> keys;
};

TEST(RegistryHistoryCleaners, EachRemovesItsTreesAndNothingBeside) {
    const TreeCase cases[] = {
        {"open/save", CleanOpenSaveHistory,
         {kExplorer + L"ComDlg32\\LastVisitedPidlMRU", kExplorer + L"ComDlg32\\OpenSavePidlMRU"}},
        {"media player", CleanMediaPlayerHistory,
         {L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList",
          L"Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList"}},
        {"paint", CleanPaintHistory, {L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List"}},
        {"wordpad", CleanWordPadHistory,
         {L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List"}},
        {"search", CleanSearchHistory,
         {kExplorer + L"Doc Find Spec MRU", kBars + L"ContainingTextMRU", kBars + L"FilesNamedMRU",
          L"Software\\Microsoft\\Search Assistant\\ACMru\\5603", kExplorer + L"WordWheelQuery"}},
        {"find computer", CleanFindComputerHistory, {kExplorer + L"FindComputerMRU", kBars + L"ComputerNameMRU"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& key : c.keys) PlantHistoryTree(key);
        c.cleaner();
        for (const auto& key : c.keys) {
            EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key));
            EXPECT_TRUE(SiblingsIntact(key));
        }
        for (const auto& key : c.keys) RemoveSiblings(key);
        c.cleaner(); // nothing left to delete: silent
    }
}

class RunHistory : public ::testing::Test {
protected:
    const std::wstring key_ = kExplorer + L"RunMRU";
    ScopedKeyTree tree_{HKEY_CURRENT_USER, key_};

    void PlantEntries() {
        for (wchar_t c = L'a'; c <= L'z'; ++c) SetString(HKEY_CURRENT_USER, key_, std::wstring(1, c), L"cmd\\1");
        SetString(HKEY_CURRENT_USER, key_, L"MRUList", L"zyxwvutsrqponmlkjihgfedcba");
        SetString(HKEY_CURRENT_USER, key_, L"A", L"upper case is another name");
        SetString(HKEY_CURRENT_USER, key_, L"aa", L"two letters");
    }
};

TEST_F(RunHistory, KeyWithoutSubkeysIsRemovedWhole) {
    PlantEntries();
    SetString(HKEY_CURRENT_USER, kExplorer, L"Tracewipe sibling value", L"1");
    CleanRunHistory();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key_));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kExplorer, L"Tracewipe sibling value"));
    RemoveSiblings(key_);
}

TEST_F(RunHistory, KeyWithASubkeyLosesOnlyTheLetterEntriesAndTheOrderList) {
    PlantEntries();
    SetString(HKEY_CURRENT_USER, key_ + L"\\child", L"v", L"1");
    CleanRunHistory();
    ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, key_));
    for (wchar_t c = L'a'; c <= L'z'; ++c) EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, key_, std::wstring(1, c)));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, key_, L"MRUList"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, key_, L"aa"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, key_ + L"\\child", L"v"));
    // The registry's value names are case-insensitive: "A" is the same value as "a".
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, key_, L"A"));
}

TEST_F(RunHistory, MissingKeyIsNothingToDo) {
    CleanRunHistory();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key_));
}

TEST(LogonUserName, RemovesTheThreeValuesOnly) {
    const std::wstring user = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
    const std::wstring machine = L"Software\\Microsoft\\Windows\\CurrentVersion\\Winlogon";
    SetString(HKEY_CURRENT_USER, user, L"DefaultUserName", L"alice");
    SetString(HKEY_CURRENT_USER, user, L"AltDefaultUserName", L"bob");
    SetString(HKEY_CURRENT_USER, user, L"Tracewipe sibling value", L"1");
    SetString(HKEY_LOCAL_MACHINE, machine, L"DefaultUserName", L"carol");
    SetString(HKEY_LOCAL_MACHINE, machine, L"Tracewipe sibling value", L"1");

    CleanLogonUserName();

    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, user, L"DefaultUserName"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, user, L"AltDefaultUserName"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, machine, L"DefaultUserName"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, user, L"Tracewipe sibling value"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, machine, L"Tracewipe sibling value"));
    DeleteValue(HKEY_CURRENT_USER, user, L"Tracewipe sibling value");
    DeleteValue(HKEY_LOCAL_MACHINE, machine, L"Tracewipe sibling value");

    CleanLogonUserName(); // all three already gone: silent
}

} // namespace
