#include "cleaners/browsers/chromium_cleaner.h"

#include "browser_folders_fixture.h"
#include "locked_database.h"
#include "support/browser_databases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace browser_tests;
using testing_support::PathExists;

const ChromiumBrowser& Chrome() {
    return *FindChromiumBrowser(6);
}

const std::vector<std::wstring> kProfileFiles = {L"Cookies", L"History", L"Downloads.plist", L"Login Data",
                                                 L"Preferences"};

// Chrome with two profiles, "Default" and "Profile 1", and a folder "Profile 2" that is none (it holds no
// "Preferences" and "Local State" does not name it).
class ChromeCleaners : public BrowserFoldersTest {
  protected:
    const std::wstring userData_ = localAppData_ + L"\\Google\\Chrome\\User Data";
    const std::wstring default_ = userData_ + L"\\Default";
    const std::wstring other_ = userData_ + L"\\Profile 1";
    const std::wstring notProfile_ = userData_ + L"\\Profile 2";

    void SetUp() override {
        for (const auto& profile : {L"Default", L"Profile 1", L"Profile 2"}) {
            for (const auto& name : kProfileFiles)
                if (profile != std::wstring(L"Profile 2") || name != L"Preferences")
                    root_.Write(Relative(userData_ + L"\\" + profile + L"\\" + name), "data");
            root_.Write(Relative(userData_ + L"\\" + profile + L"\\Cache\\data_1"), "cached");
            root_.Write(Relative(userData_ + L"\\" + profile + L"\\Cache\\index\\f_0001"), "cached");
        }
        PlantLinkIn(default_);
        PlantLinkIn(default_ + L"\\Cache");
    }
    void TearDown() override { EXPECT_TRUE(sentinel_.Intact()); }

    std::wstring Relative(const std::wstring& path) const { return path.substr(root_.Path().size() + 1); }
    std::vector<std::wstring> Removed(const std::wstring& profile) const {
        std::vector<std::wstring> removed;
        for (const auto& name : kProfileFiles)
            if (!PathExists(profile + L"\\" + name)) removed.push_back(name);
        return removed;
    }
    bool CacheEmptied(const std::wstring& profile) const {
        return PathExists(profile + L"\\Cache") && !PathExists(profile + L"\\Cache\\data_1") &&
               !PathExists(profile + L"\\Cache\\index");
    }
    bool NotProfileUntouched() const {
        return PathExists(notProfile_ + L"\\Cache\\data_1") && PathExists(notProfile_ + L"\\Cookies") &&
               PathExists(notProfile_ + L"\\History") && PathExists(notProfile_ + L"\\Login Data");
    }
};

TEST_F(ChromeCleaners, CacheThenCookiesInEveryProfile) {
    ChromiumCleaner cleaner(Chrome());
    EXPECT_EQ(cleaner.ProfileFolders(), (std::vector<std::wstring>{default_ + L"\\", other_ + L"\\"}));
    cleaner.CleanCache(nullptr);
    cleaner.CleanProfileFile(ChromeFileKind::Cookies);
    for (const auto& profile : {default_, other_}) {
        EXPECT_TRUE(CacheEmptied(profile));
        EXPECT_EQ(std::vector<std::wstring>{L"Cookies"}, Removed(profile));
    }
    EXPECT_TRUE(NotProfileUntouched());
}

TEST_F(ChromeCleaners, EachKindRemovesItsFilesAndNoEmptyFileIsLeft) {
    const std::pair<ChromeFileKind, std::wstring> kinds[] = {
        {ChromeFileKind::History, L"History"},
        {ChromeFileKind::DownloadHistory, L"Downloads.plist"},
        {ChromeFileKind::WebData, L"Login Data"}};
    std::vector<std::wstring> expected;
    for (const auto& [kind, name] : kinds) {
        ChromiumCleaner(Chrome()).CleanProfileFile(kind);
        expected.push_back(name);
        EXPECT_EQ(expected, Removed(default_));
        EXPECT_EQ(expected, Removed(other_));
    }
    ChromiumCleaner(Chrome()).CleanProfileFile(ChromeFileKind::DownloadHistory);
    EXPECT_FALSE(PathExists(default_ + L"\\Downloads.plist"));
    ChromiumCleaner(Chrome()).CleanProfileFile(static_cast<ChromeFileKind>(4));
    EXPECT_EQ(expected, Removed(default_));
    EXPECT_TRUE(NotProfileUntouched());
}

// Without a local application-data folder there is no profile: nothing relative to the current
// directory is touched.
TEST_F(ChromeCleaners, NoFolderNoDeletion) {
    const std::wstring current = root_.MakeFolder(L"current");
    root_.Write(L"current\\Default\\Cache\\data_1", "someone else's");
    root_.Write(L"current\\Default\\Cookies", "someone else's");
    root_.Write(L"current\\Default\\Preferences", "{}");
    wchar_t previous[MAX_PATH * 2];
    GetCurrentDirectoryW(MAX_PATH * 2, previous);
    SetCurrentDirectoryW(current.c_str());
    {
        testing_support::ScopedShellFolder missing(L"Local AppData", root_ / L"missing");
        ChromiumCleaner cleaner(Chrome());
        EXPECT_TRUE(cleaner.ProfileFolders().empty());
        cleaner.CleanCache(nullptr);
        cleaner.CleanProfileFile(ChromeFileKind::Cookies);
    }
    SetCurrentDirectoryW(previous);
    EXPECT_TRUE(PathExists(current + L"\\Default\\Cache\\data_1"));
    EXPECT_TRUE(PathExists(current + L"\\Default\\Cookies"));
    EXPECT_FALSE(CacheEmptied(default_));
}

TEST_F(ChromeCleaners, CacheEmptiesTheCodeAndGpuCachesToo) {
    for (const auto& folder : {L"Code Cache\\js\\index-dir\\the-real-index", L"Code Cache\\wasm\\f_00001",
                               L"GPUCache\\data_0", L"GPUCache\\index"})
        root_.Write(Relative(default_) + L"\\" + folder, "cached");
    root_.Write(Relative(notProfile_) + L"\\GPUCache\\data_0", "cached");
    PlantLinkIn(default_ + L"\\Code Cache");
    PlantLinkIn(default_ + L"\\Code Cache\\js");
    PlantLinkIn(default_ + L"\\GPUCache");
    ChromiumCleaner(Chrome()).CleanCache(nullptr);
    EXPECT_TRUE(CacheEmptied(default_));
    EXPECT_TRUE(PathExists(default_ + L"\\GPUCache"));
    EXPECT_FALSE(PathExists(default_ + L"\\GPUCache\\data_0"));
    EXPECT_FALSE(PathExists(default_ + L"\\Code Cache\\wasm"));
    EXPECT_FALSE(PathExists(default_ + L"\\Code Cache\\js\\index-dir"));
    EXPECT_TRUE(PathExists(notProfile_ + L"\\GPUCache\\data_0"));
}

TEST_F(ChromeCleaners, SessionsThatAreALinkAreNotFollowed) {
    ASSERT_TRUE(sentinel_.PlantLinkAt(default_ + L"\\Sessions"));
    root_.Write(Relative(default_) + L"\\Current Session", "tabs");
    ChromiumCleaner(Chrome()).CleanLastSession();
    EXPECT_FALSE(PathExists(default_ + L"\\Current Session"));
}

// Current versions keep the downloads in History: its download rows go, its visits stay for the URLs item.
TEST_F(ChromeCleaners, DownloadRowsLeaveTheHistoryDatabase) {
    const std::wstring history = default_ + L"\\History";
    DeleteFileW(history.c_str());
    testing_support::MakeChromeHistory(history, 3000, 60);
    ChromiumCleaner(Chrome()).CleanProfileFile(ChromeFileKind::DownloadHistory);
    testing_support::TestDatabase db(history);
    EXPECT_TRUE(db.IntegrityOk());
    EXPECT_EQ(0, db.Count("downloads"));
    EXPECT_EQ(0, db.Count("downloads_url_chains"));
    EXPECT_EQ(0, db.Count("downloads_slices"));
    EXPECT_EQ(3000, db.Count("visits"));
    EXPECT_EQ(750, db.Count("urls"));
    EXPECT_FALSE(PathExists(default_ + L"\\Downloads.plist"));
}

// A History that is not SQLite, is damaged, or has no downloads table stays byte for byte; Downloads.plist
// still goes.
TEST_F(ChromeCleaners, HistoryThatCannotBeCleanedSafelyStaysAsItWas) {
    const std::wstring history = default_ + L"\\History";
    const std::wstring model = root_ / L"model";
    testing_support::MakeChromeHistory(model, 500, 10);
    const std::string whole = testing_support::ReadAll(model);
    const std::string cases[] = {"", "not a database", whole.substr(0, whole.size() / 2)};
    for (const auto& content : cases) {
        root_.Write(Relative(history), content);
        root_.Write(Relative(default_) + L"\\Downloads.plist", "data");
        ChromiumCleaner(Chrome()).CleanProfileFile(ChromeFileKind::DownloadHistory);
        EXPECT_TRUE(testing_support::ReadAll(history) == content);
        EXPECT_FALSE(PathExists(default_ + L"\\Downloads.plist"));
    }
    DeleteFileW(history.c_str());
    {
        testing_support::TestDatabase older(history);
        older.Execute(
            "CREATE TABLE urls (id INTEGER PRIMARY KEY, url TEXT); INSERT INTO urls VALUES (1, 'x')");
    }
    const std::string before = testing_support::ReadAll(history);
    ChromiumCleaner(Chrome()).CleanProfileFile(ChromeFileKind::DownloadHistory);
    EXPECT_TRUE(testing_support::ReadAll(history) == before);
}

// A Chrome the job could not end holds one profile's History locked: nothing of it changes, and the other
// profile is still cleaned.
TEST_F(ChromeCleaners, LockedHistoryInOneProfileLeavesTheOthersCleaned) {
    for (const auto& profile : {default_, other_}) {
        DeleteFileW((profile + L"\\History").c_str());
        testing_support::MakeChromeHistory(profile + L"\\History", 500, 10);
    }
    const std::string before = testing_support::ReadAll(default_ + L"\\History");
    {
        LockedDatabase locked(default_ + L"\\History");
        ASSERT_TRUE(locked.Holding());
        ChromiumCleaner(Chrome()).CleanProfileFile(ChromeFileKind::DownloadHistory);
        EXPECT_TRUE(testing_support::ReadAll(default_ + L"\\History") == before);
    }
    EXPECT_EQ(10, testing_support::TestDatabase(default_ + L"\\History").Count("downloads"));
    EXPECT_EQ(0, testing_support::TestDatabase(other_ + L"\\History").Count("downloads"));
    EXPECT_FALSE(PathExists(other_ + L"\\Downloads.plist"));
}

// The passwords item once deleted "Web Data" whole, and with it the saved addresses, payment cards and search
// engines. Now only the typed form entries and an old version's logins go, and the rebuilt file keeps no
// trace of them.
TEST_F(ChromeCleaners, PasswordsKeepAddressesCardsAndSearchEnginesAndLeaveNoTrace) {
    for (const bool legacyLogins : {true, false}) {
        SCOPED_TRACE(legacyLogins ? "with logins" : "without logins");
        for (const auto& profile : {default_, other_}) {
            DeleteFileW((profile + L"\\Web Data").c_str());
            testing_support::MakeChromeWebData(profile + L"\\Web Data", 300, legacyLogins);
            for (const auto& name : {L"Login Data", L"Login Data-journal", L"Login Data For Account",
                                     L"Login Data For Account-journal"})
                root_.Write(Relative(profile) + L"\\" + name, "logins");
        }
        ChromiumCleaner(Chrome()).CleanProfileFile(ChromeFileKind::WebData);
        for (const auto& profile : {default_, other_}) {
            testing_support::TestDatabase db(profile + L"\\Web Data");
            EXPECT_TRUE(db.IntegrityOk());
            EXPECT_EQ(0, db.Count("autofill"));
            if (legacyLogins) {
                EXPECT_EQ(0, db.Count("logins"));
            }
            EXPECT_EQ(2, db.Count("addresses"));
            EXPECT_EQ(1, db.Count("credit_cards"));
            EXPECT_EQ(3, db.Count("keywords"));
            EXPECT_EQ(std::string::npos,
                      testing_support::ReadAll(profile + L"\\Web Data").find("typed-secret"));
            for (const auto& name : {L"Login Data", L"Login Data-journal", L"Login Data For Account",
                                     L"Login Data For Account-journal"})
                EXPECT_FALSE(PathExists(profile + L"\\" + name));
        }
    }
}

// A "Web Data" held by a browser that still runs, or that is no database, stays byte for byte.
TEST_F(ChromeCleaners, WebDataThatCannotBeCleanedSafelyStaysAsItWas) {
    const std::wstring webData = default_ + L"\\Web Data";
    testing_support::MakeChromeWebData(webData, 50, true);
    const std::string before = testing_support::ReadAll(webData);
    {
        LockedDatabase locked(webData);
        ASSERT_TRUE(locked.Holding());
        ChromiumCleaner(Chrome()).CleanProfileFile(ChromeFileKind::WebData);
        EXPECT_TRUE(testing_support::ReadAll(webData) == before);
    }
    root_.Write(Relative(webData), "not a database");
    ChromiumCleaner(Chrome()).CleanProfileFile(ChromeFileKind::WebData);
    EXPECT_EQ("not a database", testing_support::ReadAll(webData));
}

} // namespace
