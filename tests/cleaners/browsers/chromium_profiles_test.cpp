#include "cleaners/browsers/chromium_cleaner.h"
#include "cleaners/browsers/chromium_profiles.h"
#include "cleaners/browsers/local_state_profiles.h"

#include "browser_folders_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace browser_tests;
using testing_support::PathExists;
using Names = std::vector<std::string>;

std::wstring Up(const std::wstring& path) {
    return path.substr(0, path.rfind(L'\\'));
}

TEST(LocalStateNames, OnlyTheKeysOfProfileInfoCacheThatArePlainFolderNames) {
    EXPECT_EQ(ProfileNamesInLocalState(R"({"browser": {"info_cache": {"Elsewhere": {}}},
        "profile": {"last_used": "Work", "profiles_order": ["Default"], "info_cache": {
          "Default": {"name": "Person 1", "info_cache": {"Nested": {}}}, "Work": {}, "Profile 1": {"n": [1, 2]},
          "System Profile": {}, "Guest Profile": {}, "..\\..\\Windows": {}, "C:\\x": {}, "C:x": {}, "a/b": {},
          "..": {}, ".": {}, "": {}, "Default.": {}, "Default ": {}, "x*": {}, "\u0001": {}, "Work": {},
          "Profil\u00e9 2": {}}}})"),
              (Names{"Default", "Work", "Profile 1", "Profil\xC3\xA9 2"}));
    // info_cache anywhere else, or not an object, names nothing.
    EXPECT_EQ(ProfileNamesInLocalState(R"([{"profile": {"info_cache": {"A": {}}}}])"), Names{});
    EXPECT_EQ(ProfileNamesInLocalState(R"({"profile": {"info_cache": [{"A": {}}]}})"), Names{});
    EXPECT_EQ(ProfileNamesInLocalState(R"({"x": {"profile": {"info_cache": {"A": {}}}}})"), Names{});
}

TEST(LocalStateNames, InputThatIsNotWholeJsonNamesNothing) {
    const std::string good = R"({"profile": {"info_cache": {"Default": {}, "Work": {}}}})";
    EXPECT_EQ(ProfileNamesInLocalState(good), (Names{"Default", "Work"}));
    for (const std::string& bad :
         {std::string(), std::string("not JSON"), good.substr(0, good.size() - 1), good + "]",
          std::string(R"({"profile": {"info_cache": {"\xff": {}}}})"), std::string("\0", 1)})
        EXPECT_EQ(ProfileNamesInLocalState(bad), Names{}) << testing::PrintToString(bad);
    // Nesting deeper than any "Local State", within the size limit and beyond it.
    for (const size_t depth : {size_t{65}, size_t{1'000'000}, size_t{10'000'000}}) {
        const std::string deep = R"({"profile": {"info_cache": {"Default": )" + std::string(depth, '[') +
                                 std::string(depth, ']') + "}}}";
        EXPECT_EQ(ProfileNamesInLocalState(deep), Names{}) << depth;
    }
    const std::string padded = good + std::string(kMaxLocalStateBytes, ' ');
    EXPECT_EQ(ProfileNamesInLocalState(padded), Names{});
}

// Three profiles of a browser, one of them named in "Local State" only, beside folders that are no profile
// of it: the system and guest profiles, a folder without "Preferences", links, and names that lead out.
class EveryChromiumBrowser : public BrowserFoldersTest, public testing::WithParamInterface<int32_t> {
  protected:
    const ChromiumBrowser& browser_ = *FindChromiumBrowser(GetParam());
    const std::wstring userData_ = localAppData_ + L"\\" + std::wstring(browser_.userData);
    const std::vector<std::wstring> profiles_ = {userData_ + L"\\Default", userData_ + L"\\Profile 1",
                                                 userData_ + L"\\Work"};
    const std::vector<std::wstring> others_ = {userData_ + L"\\System Profile",
                                               userData_ + L"\\Guest Profile", userData_ + L"\\Profile 3",
                                               Up(Up(userData_)) + L"\\Windows"};

    // Everything the six items remove, and what they never touch.
    const std::vector<std::wstring> removed_ = {L"Cookies",
                                                L"Cookies-journal",
                                                L"Network\\Cookies",
                                                L"Network\\Cookies-journal",
                                                L"History",
                                                L"History-journal",
                                                L"Visited Links",
                                                L"Top Sites",
                                                L"Top Sites-journal",
                                                L"Shortcuts",
                                                L"Shortcuts-journal",
                                                L"Network Action Predictor",
                                                L"Network Action Predictor-journal",
                                                L"Login Data",
                                                L"Login Data-journal",
                                                L"Login Data For Account",
                                                L"Login Data For Account-journal",
                                                L"Downloads.plist",
                                                L"Current Session",
                                                L"Current Tabs",
                                                L"Last Session",
                                                L"Last Tabs",
                                                L"Sessions\\Session_13350000000000001",
                                                L"Cache\\Cache_Data\\data_1",
                                                L"Code Cache\\js\\index",
                                                L"GPUCache\\data_0"};
    const std::vector<std::wstring> kept_ = {L"Bookmarks",   L"Favicons", L"Favicons-journal",
                                             L"Preferences", L"Web Data", L"Network\\TransportSecurity"};
    const std::vector<std::wstring> emptied_ = {L"Cache", L"Code Cache", L"GPUCache", L"Sessions"};

    void SetUp() override {
        for (const auto& folder : profiles_)
            Seed(folder);
        for (const auto& folder : others_)
            Seed(folder);
        // "Work" is found through "Local State" only; "Profile 3" is named nowhere and has no "Preferences".
        DeleteFileW((userData_ + L"\\Profile 3\\Preferences").c_str());
        root_.Write(Relative(userData_ + L"\\Local State"), R"({"profile": {"info_cache": {
            "Profile 1": {}, "Work": {}, "Linked": {}, "Missing": {}, "System Profile": {},
            "..\\..\\Windows": {}, "C:\\x": {}}}})");
        ASSERT_TRUE(sentinel_.PlantLinkAt(userData_ + L"\\Linked"));
        ASSERT_TRUE(sentinel_.PlantLinkAt(userData_ + L"\\Profile 4"));
        for (const auto& folder : profiles_) {
            PlantLinkIn(folder);
            for (const auto& emptied : emptied_)
                PlantLinkIn(folder + L"\\" + emptied);
            PlantLinkIn(folder + L"\\Network");
        }
    }
    void TearDown() override { EXPECT_TRUE(sentinel_.Intact()); }

    std::wstring Relative(const std::wstring& path) const { return path.substr(root_.Path().size() + 1); }
    void Seed(const std::wstring& folder) {
        for (const auto& name : removed_)
            root_.Write(Relative(folder + L"\\" + name), "trace");
        for (const auto& name : kept_)
            root_.Write(Relative(folder + L"\\" + name), "kept");
    }
    bool Untouched(const std::wstring& folder) const {
        for (const auto& name : removed_)
            if (!PathExists(folder + L"\\" + name)) return false;
        return true;
    }
};

TEST_P(EveryChromiumBrowser, EveryItemReachesEveryProfileAndNothingElse) {
    ChromiumCleaner cleaner(browser_);
    std::vector<std::wstring> found = cleaner.ProfileFolders();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found,
              (std::vector<std::wstring>{profiles_[0] + L"\\", profiles_[1] + L"\\", profiles_[2] + L"\\"}));

    cleaner.CleanCache(nullptr);
    for (const auto kind : {ChromeFileKind::Cookies, ChromeFileKind::History, ChromeFileKind::DownloadHistory,
                            ChromeFileKind::WebData})
        cleaner.CleanProfileFile(kind);
    cleaner.CleanLastSession();

    for (const auto& folder : profiles_) {
        SCOPED_TRACE(testing::PrintToString(folder));
        for (const auto& name : removed_)
            EXPECT_FALSE(PathExists(folder + L"\\" + name)) << testing::PrintToString(name);
        for (const auto& name : kept_)
            EXPECT_TRUE(PathExists(folder + L"\\" + name)) << testing::PrintToString(name);
        for (const auto& name : emptied_)
            EXPECT_TRUE(PathExists(folder + L"\\" + name));
    }
    for (const auto& folder : others_)
        EXPECT_TRUE(Untouched(folder)) << testing::PrintToString(folder);
    EXPECT_TRUE(PathExists(userData_ + L"\\Local State"));
}

// "Local State" that cannot be used falls back to the folder rule; no name is taken twice, in any case.
TEST_P(EveryChromiumBrowser, BadLocalStateFallsBackToTheFolderRule) {
    const std::vector<std::wstring> expected = {profiles_[0] + L"\\", profiles_[1] + L"\\"};
    const std::string cases[] = {
        "", "not JSON", std::string(10'000'000, '[') + std::string(10'000'000, ']'),
        R"({"profile": {"info_cache": {"default": {}, "PROFILE 1": {}, "Profile 1": {}}}})"};
    for (const auto& content : cases) {
        root_.Write(Relative(userData_ + L"\\Local State"), content);
        std::vector<std::wstring> found = ChromiumProfileFolders(userData_);
        ASSERT_EQ(found.size(), 2u) << content.substr(0, 80);
        for (const auto& folder : expected)
            EXPECT_EQ(1, std::count_if(found.begin(), found.end(), [&](const std::wstring& f) {
                          return _wcsicmp(f.c_str(), folder.c_str()) == 0;
                      }));
    }
    DeleteFileW((userData_ + L"\\Local State").c_str());
    EXPECT_EQ(ChromiumProfileFolders(userData_), expected);
}

// A user-data folder that is itself a link names no profile.
TEST_P(EveryChromiumBrowser, UserDataThatIsALinkIsNotEntered) {
    const std::wstring linked = root_.MakeFolder(L"linked") + L"\\User Data";
    ASSERT_TRUE(sentinel_.PlantLinkAt(linked));
    EXPECT_TRUE(ChromiumProfileFolders(linked).empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, EveryChromiumBrowser, testing::Values(6, 7, 8));

} // namespace
