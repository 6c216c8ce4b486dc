#include "cleaners/browsers/chrome_cleaner.h"

#include "browser_folders_fixture.h"

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

} // namespace
