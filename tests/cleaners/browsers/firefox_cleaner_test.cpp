#include "cleaners/browsers/firefox_cleaner.h"
#include "cleaners/browsers/firefox_profile.h"

#include "browser_folders_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace browser_tests;
using testing_support::PathExists;

class FirefoxProfile : public BrowserFoldersTest {
  protected:
    const std::wstring firefox_ = appData_ + L"\\Mozilla\\Firefox";

    void WriteProfilesIni(const std::string& text) const {
        root_.Write(L"Roaming\\Mozilla\\Firefox\\profiles.ini", text);
    }
    std::optional<std::wstring> Expected(const std::wstring& relative) const {
        return firefox_ + L"\\" + relative;
    }
};

TEST_F(FirefoxProfile, TakesTheFirstPathLine) {
    const std::string longName(400, 'p');
    struct Case {
        const char* name;
        std::string ini;
        std::optional<std::wstring> expected;
    };
    const Case cases[] = {
        {"lf", "[Profile0]\nName=default\nIsRelative=1\nPath=Profiles/ab12cd34.default\n",
         Expected(L"Profiles\\ab12cd34.default")},
        {"crlf",
         "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/ab12cd34.default\r\nDefault=1\r\n",
         Expected(L"Profiles\\ab12cd34.default")},
        {"no line end", "[Profile0]\nPath=Profiles/last", Expected(L"Profiles\\last")},
        {"two profiles", "[Profile1]\nPath=Profiles/first\n[Profile0]\nPath=Profiles/second\n",
         Expected(L"Profiles\\first")},
        {"name holding Path", "[Profile0]\nName=Pathfinder\nIsRelative=1\nPath=Profiles/pf\n",
         Expected(L"Profiles\\pf")},
        {"huge file", std::string(2'000'000, '#') + "\nPath=Profiles/" + longName + "\n",
         Expected(L"Profiles\\" + std::wstring(longName.begin(), longName.end()))},
        {"within the folder", "Path=Profiles/../Other\n", Expected(L"Other")},
        {"no Path", "[General]\nStartWithLastProfile=1\n[Profile0]\nName=default\n", std::nullopt},
        {"empty", "", std::nullopt},
        {"binary", std::string("\0\x01\xff\xfePat\0h=\x80\n", 12), std::nullopt},
        {"empty value", "Path=\n", std::nullopt},
        {"absolute", "[Profile0]\nIsRelative=0\nPath=C:\\Users\\me\\profile\n", std::nullopt},
        {"rooted", "Path=/home/me/profile\n", std::nullopt},
        {"climbing out", "Path=Profiles/../../../Documents\n", std::nullopt},
        {"the folder itself", "Path=Profiles/..\n", std::nullopt},
        {"stream", "Path=Profiles/x:secret\n", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteProfilesIni(c.ini);
        EXPECT_EQ(c.expected, ReadFirefoxProfilePath());
    }
}

TEST_F(FirefoxProfile, NoFileOrNoFolderIsNoProfile) {
    EXPECT_EQ(std::nullopt, ReadFirefoxProfilePath());
    WriteProfilesIni("Path=Profiles/x\n");
    testing_support::ScopedShellFolder missing(L"AppData", root_ / L"missing");
    EXPECT_EQ(std::nullopt, ReadFirefoxProfilePath());
}

class FirefoxCleaners : public FirefoxProfile {
  protected:
    const std::vector<std::wstring> files_ = {
        L"cookies.sqlite",  L"cookies.txt",      L"places.sqlite", L"history.dat",     L"formhistory.sqlite",
        L"formhistory.dat", L"downloads.sqlite", L"downloads.rdf", L"sessionstore.js", L"signons.sqlite",
        L"signons3.txt",    L"key3.db",          L"prefs.js"};

    // `folder` below the Firefox folder, holding every file and a link to the outside.
    std::wstring PlantProfile(const std::wstring& folder) {
        for (const auto& name : files_)
            root_.Write(L"Roaming\\Mozilla\\Firefox\\" + folder + L"\\" + name, "data");
        const std::wstring profile = firefox_ + L"\\" + folder;
        if (!PathExists(profile + L"\\outside link")) PlantLinkIn(profile);
        return profile;
    }
    // The files of `files_` that are gone from `profile`.
    std::vector<std::wstring> Removed(const std::wstring& profile) const {
        std::vector<std::wstring> removed;
        for (const auto& name : files_)
            if (!PathExists(profile + L"\\" + name)) removed.push_back(name);
        return removed;
    }
};

TEST_F(FirefoxCleaners, EachRemovesItsFilesOfTheFirstProfileOnly) {
    using Names = std::vector<std::wstring>;
    struct Case {
        const char* name;
        std::function<void(FirefoxCleaner&)> clean;
        Names removed;
    };
    const Case cases[] = {
        {"cookies", &FirefoxCleaner::CleanCookies, {L"cookies.sqlite", L"cookies.txt"}},
        {"urls", &FirefoxCleaner::CleanUrls, {L"places.sqlite", L"history.dat"}},
        {"forms", &FirefoxCleaner::CleanAutoForms, {L"formhistory.sqlite", L"formhistory.dat"}},
        {"downloads", &FirefoxCleaner::CleanDownloadHistory, {L"downloads.sqlite", L"downloads.rdf"}},
        {"last session", &FirefoxCleaner::CleanLastSession, {L"sessionstore.js"}},
        {"passwords", &FirefoxCleaner::CleanPasswords, {L"signons.sqlite", L"signons3.txt"}},
    };
    WriteProfilesIni("[Profile0]\r\nPath=Profiles/first.default\r\n[Profile1]\r\nPath=Profiles/second\r\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring first = PlantProfile(L"Profiles\\first.default");
        const std::wstring second = PlantProfile(L"Profiles\\second");
        FirefoxCleaner cleaner;
        c.clean(cleaner);
        EXPECT_EQ(c.removed, Removed(first));
        EXPECT_EQ(Names{}, Removed(second));
        EXPECT_TRUE(sentinel_.Intact());
    }
}

// Every file of a profile whose folder name holds "signons" matches a test on the whole path.
TEST_F(FirefoxCleaners, PasswordsAreMatchedByFileNameAndNeverAFolder) {
    WriteProfilesIni("Path=Profiles/signons.default\n");
    const std::wstring profile = PlantProfile(L"Profiles\\signons.default");
    root_.MakeFolder(L"Roaming\\Mozilla\\Firefox\\Profiles\\signons.default\\signons-backup");
    FirefoxCleaner().CleanPasswords();
    EXPECT_EQ((std::vector<std::wstring>{L"signons.sqlite", L"signons3.txt"}), Removed(profile));
    EXPECT_TRUE(PathExists(profile + L"\\signons-backup"));
    EXPECT_TRUE(sentinel_.Intact());
}

TEST_F(FirefoxCleaners, NothingIsCreatedForMissingFilesAndNothingDeletedWithoutAProfile) {
    WriteProfilesIni("Path=Profiles/empty\n");
    const std::wstring profile = root_.MakeFolder(L"Roaming\\Mozilla\\Firefox\\Profiles\\empty");
    FirefoxCleaner().CleanCookies();
    EXPECT_FALSE(PathExists(profile + L"\\cookies.sqlite"));
    EXPECT_FALSE(PathExists(profile + L"\\cookies.txt"));

    // A profile outside the Firefox folder is not Firefox's to clean.
    const std::wstring outside = PlantProfile(L"..\\Elsewhere");
    WriteProfilesIni("Path=../Elsewhere\n");
    FirefoxCleaner cleaner;
    cleaner.CleanCookies();
    cleaner.CleanPasswords();
    cleaner.CleanLastSession();
    EXPECT_EQ(std::vector<std::wstring>{}, Removed(outside));
}

TEST_F(FirefoxCleaners, CacheEmptiesEveryLocalProfileAndKeepsTheFolder) {
    const std::wstring profiles = localAppData_ + L"\\Mozilla\\Firefox\\Profiles";
    root_.Write(L"Local\\Mozilla\\Firefox\\Profiles\\first.default\\cache2\\entries\\A1", "cached");
    root_.Write(L"Local\\Mozilla\\Firefox\\Profiles\\second\\Cache\\_CACHE_MAP_", "cached");
    root_.Write(L"Local\\Mozilla\\Firefox\\Profiles\\loose file", "cached");
    root_.Write(L"Local\\Mozilla\\Firefox\\other.txt", "kept");
    PlantLinkIn(profiles);
    PlantLinkIn(profiles + L"\\first.default\\cache2");
    FirefoxCleaner().CleanCache(nullptr);
    EXPECT_TRUE(PathExists(profiles));
    // Wine cannot remove a unix link, so the folders leading to the inner one stay.
    EXPECT_FALSE(PathExists(profiles + L"\\first.default\\cache2\\entries"));
    EXPECT_FALSE(PathExists(profiles + L"\\second"));
    EXPECT_FALSE(PathExists(profiles + L"\\loose file"));
    EXPECT_TRUE(PathExists(localAppData_ + L"\\Mozilla\\Firefox\\other.txt"));
    EXPECT_TRUE(sentinel_.Intact());
}

} // namespace
