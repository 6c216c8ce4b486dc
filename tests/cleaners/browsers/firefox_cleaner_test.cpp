#include "cleaners/browsers/firefox_cleaner.h"
#include "cleaners/browsers/firefox_profile.h"
#include "cleaners/browsers/profiles_ini.h"

#include "browser_folders_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Current versions list an unused profile first; the profile Firefox uses is named by its installation.
TEST_F(FirefoxProfile, ChoosesTheProfileFirefoxUses) {
    for (const auto& folder : {L"a.default", L"b.default-release", L"x", L"y"})
        root_.MakeFolder(L"Roaming\\Mozilla\\Firefox\\Profiles\\" + std::wstring(folder));
    const std::string modern = "[Profile1]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n"
                               "Default=1\r\n\r\n[Profile0]\r\nName=default-release\r\nIsRelative=1\r\n"
                               "Path=Profiles/b.default-release\r\n\r\n[General]\r\nStartWithLastProfile=1\r\n"
                               "Version=2\r\n\r\n";
    const std::string install = "[Install308046B0AF4A39CB]\r\nDefault=Profiles/b.default-release\r\nLocked=1\r\n\r\n";
    struct Case {
        const char* name;
        std::string ini;
        std::wstring expected;
    };
    const Case cases[] = {
        {"installation last", modern + install, L"Profiles\\b.default-release"},
        {"installation first", install + modern, L"Profiles\\b.default-release"},
        {"byte-order mark", "\xEF\xBB\xBF" + install + modern, L"Profiles\\b.default-release"},
        {"line feeds only",
         "[Profile1]\nPath=Profiles/a.default\nDefault=1\n[Profile0]\nPath=Profiles/x\n[Install1]\nDefault=Profiles/y\n",
         L"Profiles\\y"},
        {"installation default missing", "[Install1]\r\nDefault=Profiles/gone\r\n" + modern, L"Profiles\\a.default"},
        {"installation default outside", "[Install1]\r\nDefault=C:\\elsewhere\r\n" + modern, L"Profiles\\a.default"},
        {"marked default without installation", modern, L"Profiles\\a.default"},
        {"sections out of order",
         "[General]\r\nVersion=2\r\n[Profile1]\r\nPath=Profiles/y\r\n[Profile0]\r\nDefault=1\r\nPath=Profiles/x\r\n",
         L"Profiles\\x"},
        {"marked default missing", "[Profile0]\nPath=Profiles/x\n[Profile1]\nPath=Profiles/gone\nDefault=1\n",
         L"Profiles\\x"},
        {"default of a non-profile section", "[General]\nDefault=1\n[Profile0]\nPath=Profiles/y\n", L"Profiles\\y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteProfilesIni(c.ini);
        EXPECT_EQ(Expected(c.expected), ReadFirefoxProfilePath());
    }
}

class FirefoxCleaners : public FirefoxProfile {
  protected:
    // Each item's files of old and current versions, and files no item may remove.
    const std::vector<std::wstring> files_ = {
        L"cookies.sqlite",       L"cookies.sqlite-wal",
        L"cookies.sqlite-shm",   L"cookies.txt",
        L"places.sqlite",        L"history.dat",
        L"formhistory.sqlite",   L"formhistory.sqlite-wal",
        L"formhistory.sqlite-shm", L"formhistory.dat",
        L"downloads.sqlite",     L"downloads.rdf",
        L"sessionstore.js",      L"sessionstore.jsonlz4",
        L"sessionstore-backups\\recovery.jsonlz4", L"sessionstore-backups\\previous.jsonlz4",
        L"signons.sqlite",       L"signons3.txt",
        L"logins.json",          L"logins-backup.json",
        L"key3.db",              L"key4.db",
        L"cert9.db",             L"prefs.js"};
    // The files older versions kept, which a current profile no longer has.
    const std::vector<std::wstring> legacy_ = {L"cookies.txt",      L"history.dat",   L"formhistory.dat",
                                               L"downloads.sqlite", L"downloads.rdf", L"sessionstore.js",
                                               L"signons.sqlite",   L"signons3.txt",  L"key3.db"};

    bool IsLegacy(const std::wstring& name) const {
        return std::find(legacy_.begin(), legacy_.end(), name) != legacy_.end();
    }
    // `folder` below the Firefox folder, holding every file (the legacy ones only `withLegacy`) and links to
    // the outside.
    std::wstring PlantProfile(const std::wstring& folder, bool withLegacy = true) {
        for (const auto& name : files_)
            if (withLegacy || !IsLegacy(name))
                root_.Write(L"Roaming\\Mozilla\\Firefox\\" + folder + L"\\" + name, "data");
        const std::wstring profile = firefox_ + L"\\" + folder;
        if (!PathExists(profile + L"\\outside link")) PlantLinkIn(profile);
        if (!PathExists(profile + L"\\sessionstore-backups\\outside link"))
            PlantLinkIn(profile + L"\\sessionstore-backups");
        return profile;
    }
    // The files of `files_` that are gone from `profile`.
    std::vector<std::wstring> Removed(const std::wstring& profile, bool withLegacy = true) const {
        std::vector<std::wstring> removed;
        for (const auto& name : files_)
            if ((withLegacy || !IsLegacy(name)) && !PathExists(profile + L"\\" + name)) removed.push_back(name);
        return removed;
    }
};

// places.sqlite here is no database: it stays, as any database that cannot be cleaned safely does (the
// history removal from real databases is tested on its own).
TEST_F(FirefoxCleaners, EachRemovesItsFilesOfEveryProfileWithAndWithoutTheOlderFiles) {
    using Names = std::vector<std::wstring>;
    struct Case {
        const char* name;
        std::function<void(FirefoxCleaner&)> clean;
        Names removed;
    };
    const Case cases[] = {
        {"cookies",
         &FirefoxCleaner::CleanCookies,
         {L"cookies.sqlite", L"cookies.sqlite-wal", L"cookies.sqlite-shm", L"cookies.txt"}},
        {"urls", &FirefoxCleaner::CleanUrls, {L"history.dat"}},
        {"forms",
         &FirefoxCleaner::CleanAutoForms,
         {L"formhistory.sqlite", L"formhistory.sqlite-wal", L"formhistory.sqlite-shm", L"formhistory.dat"}},
        {"downloads", &FirefoxCleaner::CleanDownloadHistory, {L"downloads.sqlite", L"downloads.rdf"}},
        {"last session",
         &FirefoxCleaner::CleanLastSession,
         {L"sessionstore.js", L"sessionstore.jsonlz4", L"sessionstore-backups\\recovery.jsonlz4",
          L"sessionstore-backups\\previous.jsonlz4"}},
        {"passwords",
         &FirefoxCleaner::CleanPasswords,
         {L"signons.sqlite", L"signons3.txt", L"logins.json", L"logins-backup.json"}},
    };
    WriteProfilesIni("[Profile0]\r\nPath=Profiles/first.default\r\n[Profile1]\r\nPath=Profiles/second\r\n");
    for (const bool withLegacy : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (withLegacy ? " with older files" : " without older files"));
            const std::wstring first = PlantProfile(L"Profiles\\first.default", withLegacy);
            const std::wstring second = PlantProfile(L"Profiles\\second", withLegacy);
            for (const auto& name : legacy_)
                if (!withLegacy) {
                    DeleteFileW((first + L"\\" + name).c_str());
                    DeleteFileW((second + L"\\" + name).c_str());
                }
            FirefoxCleaner cleaner;
            c.clean(cleaner);
            Names expected;
            for (const auto& name : c.removed)
                if (withLegacy || !IsLegacy(name)) expected.push_back(name);
            EXPECT_EQ(expected, Removed(first, withLegacy));
            EXPECT_EQ(expected, Removed(second, withLegacy));
            EXPECT_TRUE(PathExists(first + L"\\sessionstore-backups"));
            EXPECT_TRUE(sentinel_.Intact());
        }
    }
}

// A link in place of "sessionstore-backups" is never emptied.
TEST_F(FirefoxCleaners, SessionBackupsThatAreALinkAreNotFollowed) {
    WriteProfilesIni("Path=Profiles/linked\n");
    const std::wstring profile = root_.MakeFolder(L"Roaming\\Mozilla\\Firefox\\Profiles\\linked");
    ASSERT_TRUE(sentinel_.PlantLinkAt(profile + L"\\sessionstore-backups"));
    root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\linked\\sessionstore.jsonlz4", "tabs");
    FirefoxCleaner().CleanLastSession();
    EXPECT_FALSE(PathExists(profile + L"\\sessionstore.jsonlz4"));
    EXPECT_TRUE(sentinel_.Intact());
}

// Every file of a profile whose folder name holds "signons" matches a test on the whole path.
TEST_F(FirefoxCleaners, PasswordsAreMatchedByFileNameAndNeverAFolder) {
    WriteProfilesIni("Path=Profiles/signons.default\n");
    const std::wstring profile = PlantProfile(L"Profiles\\signons.default");
    root_.MakeFolder(L"Roaming\\Mozilla\\Firefox\\Profiles\\signons.default\\signons-backup");
    FirefoxCleaner().CleanPasswords();
    EXPECT_EQ((std::vector<std::wstring>{L"signons.sqlite", L"signons3.txt", L"logins.json", L"logins-backup.json"}),
              Removed(profile));
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

std::string Narrow(const std::wstring& path) { return std::string(path.begin(), path.end()); }

TEST(ProfilesIniText, EverySectionWithAPathOnceWithItsLastValues) {
    const ProfilesIni ini = ParseProfilesIni("[Profile0]\r\nPath=Profiles/a\r\nIsRelative=1\r\n[Profile1]\r\n"
                                             "IsRelative=0\r\nPath=D:\\ff\\b\r\n[General]\r\nVersion=2\r\n"
                                             "[Profile0]\r\nPath=Profiles/a2\r\n[Install1]\r\nDefault=Profiles/a2\r\n");
    ASSERT_EQ(ini.profiles.size(), 2u);
    EXPECT_EQ(ini.profiles[0].path, "Profiles/a2");
    EXPECT_TRUE(ini.profiles[0].relative);
    EXPECT_EQ(ini.profiles[1].path, "D:\\ff\\b");
    EXPECT_FALSE(ini.profiles[1].relative);
    EXPECT_EQ(ini.inUse, (std::vector<std::string>{"Profiles/a2", "Profiles/a"}));
    // Tens of thousands of sections cost one pass.
    std::string many;
    for (int i = 0; i < 50'000; ++i) many += "[Profile" + std::to_string(i) + "]\nPath=p" + std::to_string(i) + "\n";
    EXPECT_EQ(ParseProfilesIni(many).profiles.size(), 50'000u);
}

// Every profile listed, relative or absolute, each once; nothing that profiles.ini cannot show to be a profile
// of Firefox: an absolute folder without "prefs.js", a link, a network or drive-relative path, a missing folder.
TEST_F(FirefoxCleaners, EveryListedProfileOnceAndNothingElse) {
    const std::wstring a = PlantProfile(L"Profiles\\a.default");
    const std::wstring b = PlantProfile(L"Profiles\\b.default-release");
    for (const auto& name : files_) {
        root_.Write(L"Elsewhere\\mine\\" + name, "data");
        if (name != L"prefs.js") root_.Write(L"Documents\\" + name, "data");
    }
    const std::wstring elsewhere = root_ / L"Elsewhere\\mine", documents = root_ / L"Documents";
    PlantLinkIn(elsewhere);
    ASSERT_TRUE(sentinel_.PlantLinkAt(firefox_ + L"\\Profiles\\linked"));
    WriteProfilesIni("[Profile0]\nPath=Profiles/a.default\n[Profile1]\nPath=Profiles/b.default-release\nDefault=1\n"
                     "[Profile2]\nIsRelative=0\nPath=" + Narrow(elsewhere) + "\n"
                     "[Profile3]\nIsRelative=1\nPath=Profiles/A.DEFAULT/\n"
                     "[Profile4]\nIsRelative=0\nPath=" + Narrow(a) + "\n"
                     "[Profile5]\nIsRelative=0\nPath=" + Narrow(documents) + "\n"
                     "[Profile6]\nPath=Profiles/linked\n"
                     "[Profile7]\nIsRelative=0\nPath=\\\\server\\share\\p\n"
                     "[Profile8]\nIsRelative=0\nPath=C:relative\n"
                     "[Profile9]\nPath=Profiles/missing\n");
    std::vector<std::wstring> found;
    for (const auto& profile : ReadFirefoxProfiles()) found.push_back(profile.folder);
    EXPECT_EQ(found, (std::vector<std::wstring>{a, b, elsewhere}));
    FirefoxCleaner().CleanCookies();
    for (const auto& profile : {a, b, elsewhere}) EXPECT_FALSE(PathExists(profile + L"\\cookies.sqlite"));
    EXPECT_TRUE(PathExists(documents + L"\\cookies.sqlite"));
}

TEST_F(FirefoxCleaners, TwoHundredProfilesAreAllCleaned) {
    std::string ini;
    for (int i = 0; i < 200; ++i) {
        ini += "[Profile" + std::to_string(i) + "]\r\nIsRelative=1\r\nPath=Profiles/p" + std::to_string(i) + "\r\n";
        root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\p" + std::to_wstring(i) + L"\\cookies.sqlite", "data");
    }
    WriteProfilesIni(ini);
    FirefoxCleaner cleaner;
    cleaner.CleanCookies();
    for (int i = 0; i < 200; ++i)
        EXPECT_FALSE(PathExists(firefox_ + L"\\Profiles\\p" + std::to_wstring(i) + L"\\cookies.sqlite")) << i;
}

// The usual local folder goes whole as before; a profile kept elsewhere below the Firefox folder has its own
// local folder emptied, one at an absolute path only its cache folders; a local folder reached through a
// link is not entered.
TEST_F(FirefoxCleaners, CacheOfEveryProfileWhereverItLives) {
    const std::wstring local = localAppData_ + L"\\Mozilla\\Firefox";
    root_.MakeFolder(L"Roaming\\Mozilla\\Firefox\\Mine\\b");
    root_.MakeFolder(L"Roaming\\Mozilla\\Firefox\\Linked\\c");
    for (const auto& name : {L"prefs.js", L"cookies.sqlite", L"cache2\\entries\\Y", L"startupCache\\s"})
        root_.Write(L"Elsewhere\\mine\\" + std::wstring(name), "data");
    const std::wstring elsewhere = root_ / L"Elsewhere\\mine";
    root_.Write(L"Local\\Mozilla\\Firefox\\Profiles\\a\\cache2\\entries\\X", "cached");
    root_.Write(L"Local\\Mozilla\\Firefox\\Mine\\b\\cache2\\entries\\X", "cached");
    root_.Write(L"Local\\Mozilla\\Firefox\\Mine\\kept.txt", "kept");
    PlantLinkIn(local + L"\\Mine\\b");
    PlantLinkIn(elsewhere + L"\\cache2");
    ASSERT_TRUE(sentinel_.PlantLinkAt(local + L"\\Linked"));
    WriteProfilesIni("[Profile0]\nPath=Profiles/a\n[Profile1]\nPath=Mine/b\n[Profile2]\nPath=Linked/c\n"
                     "[Profile3]\nIsRelative=0\nPath=" + Narrow(elsewhere) + "\n");
    FirefoxCleaner().CleanCache(nullptr);
    EXPECT_FALSE(PathExists(local + L"\\Profiles\\a"));
    EXPECT_FALSE(PathExists(local + L"\\Mine\\b\\cache2"));
    EXPECT_TRUE(PathExists(local + L"\\Mine\\kept.txt"));
    EXPECT_FALSE(PathExists(elsewhere + L"\\cache2\\entries"));
    EXPECT_FALSE(PathExists(elsewhere + L"\\startupCache\\s"));
    EXPECT_TRUE(PathExists(elsewhere + L"\\cookies.sqlite"));
    EXPECT_TRUE(PathExists(elsewhere + L"\\prefs.js"));
    EXPECT_TRUE(sentinel_.Intact());
}

} // namespace
