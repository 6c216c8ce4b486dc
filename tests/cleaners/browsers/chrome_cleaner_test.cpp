#include "cleaners/browsers/chrome_cleaner.h"

#include "browser_folders_fixture.h"
#include "locked_database.h"
#include "support/browser_databases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace browser_tests;
using testing_support::PathExists;

const std::vector<std::wstring> kProfileFiles = {L"Cookies", L"History", L"Downloads.plist", L"Web Data",
                                                 L"Preferences"};

class ChromeCleaners : public BrowserFoldersTest {
  protected:
    const std::wstring userData_ = localAppData_ + L"\\Google\\Chrome\\User Data";
    const std::wstring default_ = userData_ + L"\\Default";
    const std::wstring other_ = userData_ + L"\\Profile 1";

    void SetUp() override {
        for (const auto& profile : {L"Default", L"Profile 1"}) {
            for (const auto& name : kProfileFiles)
                root_.Write(L"Local\\Google\\Chrome\\User Data\\" + std::wstring(profile) + L"\\" + name,
                            "data");
            root_.Write(L"Local\\Google\\Chrome\\User Data\\" + std::wstring(profile) + L"\\Cache\\data_1",
                        "cached");
            root_.Write(L"Local\\Google\\Chrome\\User Data\\" + std::wstring(profile) +
                            L"\\Cache\\index\\f_0001",
                        "cached");
        }
        PlantLinkIn(default_);
        PlantLinkIn(default_ + L"\\Cache");
    }
    void TearDown() override { EXPECT_TRUE(sentinel_.Intact()); }

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
};

TEST_F(ChromeCleaners, CacheThenCookiesInOneObject) {
    ChromeCleaner cleaner;
    cleaner.CleanCache(nullptr);
    cleaner.CleanProfileFile(ChromeFileKind::Cookies);
    EXPECT_TRUE(CacheEmptied(default_));
    EXPECT_EQ(std::vector<std::wstring>{L"Cookies"}, Removed(default_));
    EXPECT_FALSE(CacheEmptied(other_));
    EXPECT_EQ(std::vector<std::wstring>{}, Removed(other_));
}

TEST_F(ChromeCleaners, EachKindRemovesItsFileOfTheDefaultProfileOnly) {
    const std::pair<ChromeFileKind, std::wstring> kinds[] = {
        {ChromeFileKind::History, L"History"},
        {ChromeFileKind::DownloadHistory, L"Downloads.plist"},
        {ChromeFileKind::WebData, L"Web Data"}};
    std::vector<std::wstring> expected;
    for (const auto& [kind, name] : kinds) {
        ChromeCleaner().CleanProfileFile(kind);
        expected.push_back(name);
        EXPECT_EQ(expected, Removed(default_));
    }
    // Once gone, a second run leaves nothing behind either: no empty file is created.
    ChromeCleaner().CleanProfileFile(ChromeFileKind::DownloadHistory);
    EXPECT_FALSE(PathExists(default_ + L"\\Downloads.plist"));
    ChromeCleaner().CleanProfileFile(static_cast<ChromeFileKind>(4));
    EXPECT_EQ(expected, Removed(default_));
    EXPECT_EQ(std::vector<std::wstring>{}, Removed(other_));
}

// Without a local application-data folder there is no profile: nothing relative to the current
// directory is touched.
TEST_F(ChromeCleaners, NoFolderNoDeletion) {
    const std::wstring current = root_.MakeFolder(L"current");
    root_.Write(L"current\\Cache\\data_1", "someone else's");
    root_.Write(L"current\\Cookies", "someone else's");
    wchar_t previous[MAX_PATH * 2];
    GetCurrentDirectoryW(MAX_PATH * 2, previous);
    SetCurrentDirectoryW(current.c_str());
    {
        testing_support::ScopedShellFolder missing(L"Local AppData", root_ / L"missing");
        ChromeCleaner cleaner;
        cleaner.CleanCache(nullptr);
        cleaner.CleanProfileFile(ChromeFileKind::Cookies);
    }
    SetCurrentDirectoryW(previous);
    EXPECT_TRUE(PathExists(current + L"\\Cache\\data_1"));
    EXPECT_TRUE(PathExists(current + L"\\Cookies"));
    EXPECT_FALSE(CacheEmptied(default_));
}

// Where current versions keep each item's data, beside the file early versions kept, with and without that
// older file.
TEST_F(ChromeCleaners, EachKindReachesWhereCurrentVersionsKeepItsData) {
    using Names = std::vector<std::wstring>;
    const std::pair<ChromeFileKind, Names> kinds[] = {
        {ChromeFileKind::Cookies, {L"Cookies-journal", L"Network\\Cookies", L"Network\\Cookies-journal"}},
        {ChromeFileKind::History, {L"History-journal", L"Visited Links"}},
        {ChromeFileKind::WebData,
         {L"Login Data", L"Login Data-journal", L"Login Data For Account", L"Login Data For Account-journal"}},
    };
    const Names kept = {L"Preferences", L"Bookmarks", L"Network\\TransportSecurity", L"Web Data-journal"};
    PlantLinkIn(default_ + L"\\Network");
    for (const bool withOlder : {true, false}) {
        for (const auto& [kind, names] : kinds) {
            SCOPED_TRACE(std::to_string(static_cast<int>(kind)) + (withOlder ? " with" : " without"));
            for (const auto& profile : {default_, other_}) {
                for (const auto& name : names) root_.Write(profile.substr(root_.Path().size() + 1) + L"\\" + name);
                for (const auto& name : kept) root_.Write(profile.substr(root_.Path().size() + 1) + L"\\" + name);
            }
            if (!withOlder)
                for (const auto& name : {L"Cookies", L"History", L"Web Data"})
                    DeleteFileW((default_ + L"\\" + name).c_str());
            ChromeCleaner().CleanProfileFile(kind);
            for (const auto& name : names) {
                EXPECT_FALSE(PathExists(default_ + L"\\" + name)) << std::string(name.begin(), name.end());
                EXPECT_TRUE(PathExists(other_ + L"\\" + name));
            }
            for (const auto& name : kept) EXPECT_TRUE(PathExists(default_ + L"\\" + name));
            EXPECT_TRUE(sentinel_.Intact());
        }
    }
}

TEST_F(ChromeCleaners, CacheEmptiesTheCodeAndGpuCachesToo) {
    for (const auto& folder : {L"Code Cache\\js\\index-dir\\the-real-index", L"Code Cache\\wasm\\f_00001",
                               L"GPUCache\\data_0", L"GPUCache\\index"})
        root_.Write(L"Local\\Google\\Chrome\\User Data\\Default\\" + std::wstring(folder), "cached");
    root_.Write(L"Local\\Google\\Chrome\\User Data\\Profile 1\\GPUCache\\data_0", "cached");
    PlantLinkIn(default_ + L"\\Code Cache");
    PlantLinkIn(default_ + L"\\Code Cache\\js");
    PlantLinkIn(default_ + L"\\GPUCache");
    ChromeCleaner().CleanCache(nullptr);
    EXPECT_TRUE(CacheEmptied(default_));
    EXPECT_TRUE(PathExists(default_ + L"\\GPUCache"));
    EXPECT_FALSE(PathExists(default_ + L"\\GPUCache\\data_0"));
    EXPECT_FALSE(PathExists(default_ + L"\\Code Cache\\wasm"));
    EXPECT_FALSE(PathExists(default_ + L"\\Code Cache\\js\\index-dir"));
    EXPECT_TRUE(PathExists(other_ + L"\\GPUCache\\data_0"));
}

// Before, the item reported success and removed nothing.
TEST_F(ChromeCleaners, LastSessionRemovesTheSessionsAndTabs) {
    const std::vector<std::wstring> session = {L"Sessions\\Session_13350000000000001",
                                               L"Sessions\\Tabs_13350000000000001", L"Current Session",
                                               L"Current Tabs", L"Last Session", L"Last Tabs"};
    for (const auto& profile : {std::wstring(L"Default"), std::wstring(L"Profile 1")})
        for (const auto& name : session)
            root_.Write(L"Local\\Google\\Chrome\\User Data\\" + profile + L"\\" + name, "tabs");
    PlantLinkIn(default_ + L"\\Sessions");
    ChromeCleaner().CleanLastSession();
    for (const auto& name : session) {
        EXPECT_FALSE(PathExists(default_ + L"\\" + name)) << std::string(name.begin(), name.end());
        EXPECT_TRUE(PathExists(other_ + L"\\" + name));
    }
    EXPECT_TRUE(PathExists(default_ + L"\\Sessions"));
    EXPECT_EQ(std::vector<std::wstring>{}, Removed(default_));
}

TEST_F(ChromeCleaners, SessionsThatAreALinkAreNotFollowed) {
    ASSERT_TRUE(sentinel_.PlantLinkAt(default_ + L"\\Sessions"));
    root_.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Current Session", "tabs");
    ChromeCleaner().CleanLastSession();
    EXPECT_FALSE(PathExists(default_ + L"\\Current Session"));
}

class ChromeDownloads : public ChromeCleaners {
  protected:
    const std::wstring history_ = default_ + L"\\History";
};

// Current versions keep the downloads in History: its download rows go, its visits stay for gc_urls.
TEST_F(ChromeDownloads, DownloadRowsLeaveTheHistoryDatabase) {
    DeleteFileW(history_.c_str());
    testing_support::MakeChromeHistory(history_, 3000, 60);
    ChromeCleaner().CleanProfileFile(ChromeFileKind::DownloadHistory);
    testing_support::TestDatabase history(history_);
    EXPECT_TRUE(history.IntegrityOk());
    EXPECT_EQ(0, history.Count("downloads"));
    EXPECT_EQ(0, history.Count("downloads_url_chains"));
    EXPECT_EQ(0, history.Count("downloads_slices"));
    EXPECT_EQ(3000, history.Count("visits"));
    EXPECT_EQ(750, history.Count("urls"));
    EXPECT_FALSE(PathExists(default_ + L"\\Downloads.plist"));
    EXPECT_TRUE(PathExists(other_ + L"\\Downloads.plist"));
}

// A History that is not SQLite, is damaged, or has no downloads table stays byte for byte; Downloads.plist
// still goes.
TEST_F(ChromeDownloads, HistoryThatCannotBeCleanedSafelyStaysAsItWas) {
    const std::wstring model = root_ / L"model";
    testing_support::MakeChromeHistory(model, 500, 10);
    const std::string whole = testing_support::ReadAll(model);
    const std::string cases[] = {"", "not a database", whole.substr(0, whole.size() / 2)};
    for (const auto& content : cases) {
        root_.Write(history_.substr(root_.Path().size() + 1), content);
        root_.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Downloads.plist", "data");
        ChromeCleaner().CleanProfileFile(ChromeFileKind::DownloadHistory);
        EXPECT_TRUE(testing_support::ReadAll(history_) == content);
        EXPECT_FALSE(PathExists(default_ + L"\\Downloads.plist"));
    }
    DeleteFileW(history_.c_str());
    {
        testing_support::TestDatabase older(history_);
        older.Execute("CREATE TABLE urls (id INTEGER PRIMARY KEY, url TEXT); INSERT INTO urls VALUES (1, 'x')");
    }
    const std::string before = testing_support::ReadAll(history_);
    ChromeCleaner().CleanProfileFile(ChromeFileKind::DownloadHistory);
    EXPECT_TRUE(testing_support::ReadAll(history_) == before);
}

// A Chrome the job could not end holds its History locked: nothing of it changes, and the job goes on.
TEST_F(ChromeDownloads, LockedHistoryStaysAsItWas) {
    DeleteFileW(history_.c_str());
    testing_support::MakeChromeHistory(history_, 500, 10);
    const std::string before = testing_support::ReadAll(history_);
    {
        LockedDatabase locked(history_);
        ASSERT_TRUE(locked.Holding());
        ChromeCleaner().CleanProfileFile(ChromeFileKind::DownloadHistory);
        EXPECT_TRUE(testing_support::ReadAll(history_) == before);
    }
    EXPECT_EQ(10, testing_support::TestDatabase(history_).Count("downloads"));
}

} // namespace
