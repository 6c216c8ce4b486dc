// What Firefox's items count before a run and after it, from the same targets its cleaner reads.
#include "cleaners/browsers/firefox_cleaner.h"
#include "cleaners/browsers/logins_json.h"
#include "cleaners/browsers/firefox_targets.h"
#include "cleaners/windows/removed_tally.h"
#include "cleaning/cleaning_job.h"
#include "cleaning/item_figures.h"
#include "cleaning/real_cleaners.h"
#include "cleaning/run_report.h"
#include "settings/clean_selection.h"

#include "browser_folders_fixture.h"
#include "locked_database.h"
#include "selected_job.h"
#include "support/browser_databases.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace browser_tests;
using testing_support::TestDatabase;

// One profile: places in write-ahead mode as Firefox keeps it, cookies and form history in rollback mode
// as older versions did, and a session whose backup folder holds a link to the outside.
class FirefoxFigures : public BrowserFoldersTest {
  protected:
    const std::wstring profile_ = appData_ + L"\\Mozilla\\Firefox\\Profiles\\abc.default";

    void SetUp() override {
        root_.Write(L"Roaming\\Mozilla\\Firefox\\profiles.ini",
                    "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/abc.default\r\n");
        root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\prefs.js", "//");
        testing_support::PlacesContent content;
        content.pages = 300, content.visits = 1200, content.bookmarks = 20, content.downloads = 9;
        testing_support::MakePlacesDatabase(profile_ + L"\\places.sqlite", content);
        testing_support::MakeCountedTable(profile_ + L"\\cookies.sqlite", "moz_cookies", 412);
        testing_support::MakeCountedTable(profile_ + L"\\formhistory.sqlite", "moz_formhistory", 57);
        root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\sessionstore.jsonlz4", std::string(300, 's'));
        root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\sessionstore-backups\\recovery.jsonlz4",
                    std::string(200, 's'));
        PlantLinkIn(profile_ + L"\\sessionstore-backups");
    }
    void TearDown() override { EXPECT_TRUE(sentinel_.Intact()); }

    static ItemFigures Measure(FirefoxItem item) {
        return FromBrowser(MeasureFirefoxItem(FirefoxCleaner().Profiles(), item));
    }
};

// Downloads before visits: the visits item removes every visit, the download visits among them.
TEST_F(FirefoxFigures, CountsEqualTheSeededHistoryAndTheCleanRemovesThem) {
    struct Case {
        FirefoxItem item;
        void (FirefoxCleaner::*clean)();
        const wchar_t* found;
    };
    const Case cases[] = {
        {FirefoxItem::DownloadHistory, &FirefoxCleaner::CleanDownloadHistory, L"9 downloads"},
        // The seeded visits and one ordinary visit of a downloaded page.
        {FirefoxItem::Urls, &FirefoxCleaner::CleanUrls, L"1,201 visits"},
        {FirefoxItem::Cookies, &FirefoxCleaner::CleanCookies, L"412 cookies"},
        {FirefoxItem::AutoForms, &FirefoxCleaner::CleanAutoForms, L"57 form entries"},
        {FirefoxItem::LastSession, &FirefoxCleaner::CleanLastSession, L"3 files, 500 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.found);
        const ItemFigures before = Measure(c.item);
        EXPECT_EQ(c.found, FoundText(before));
        RemovedTally tally;
        (FirefoxCleaner().*c.clean)();
        const RemovedCounts removed = tally.Counts();
        const ItemFigures after = Measure(c.item);
        EXPECT_EQ(0u, after.records);
        EXPECT_EQ(0u, after.bytes);
        EXPECT_FALSE(after.inUse);
        // The link in the backup folder is never followed; it stays only where the system keeps it.
        const uint64_t linkLeft = testing_support::PathExists(profile_ + L"\\sessionstore-backups\\outside link");
        EXPECT_EQ(c.item == FirefoxItem::LastSession ? linkLeft : 0u, after.files);
        // The clean's own count: rows for a database item (its files are no figure of it), else files.
        EXPECT_EQ(before.records, removed.rows);
        EXPECT_EQ(before.files - linkLeft * (c.item == FirefoxItem::LastSession), removed.files);
        EXPECT_EQ(before.bytes, removed.bytes);
    }
}

// A cookie database locked while counted reads "in use" at once; once the lock is gone it is counted and
// cleaned as any other.
TEST_F(FirefoxFigures, LockedDatabaseReadsInUseThenGoes) {
    {
        LockedDatabase locked(profile_ + L"\\cookies.sqlite");
        ASSERT_TRUE(locked.Holding());
        EXPECT_EQ(L"in use", FoundText(Measure(FirefoxItem::Cookies)));
    }
    EXPECT_EQ(L"412 cookies", FoundText(Measure(FirefoxItem::Cookies)));
    FirefoxCleaner().CleanCookies();
    EXPECT_EQ(L"nothing found", FoundText(Measure(FirefoxItem::Cookies)));
    EXPECT_FALSE(testing_support::PathExists(profile_ + L"\\cookies.sqlite-journal")) << "counting writes no journal";
}

// The cache and the passwords, counted from the folders and files their cleaner removes: the local profile
// folder with a link to the outside in it, and the logins of logins.json (its backup is a copy, not more
// logins) and of a legacy signons.sqlite; key4.db stays and is not counted.
TEST_F(FirefoxFigures, CacheAndPasswordsCountWhatTheirCleanRemoves) {
    const std::wstring local = localAppData_ + L"\\Mozilla\\Firefox\\Profiles\\abc.default";
    root_.Write(L"Local\\Mozilla\\Firefox\\Profiles\\abc.default\\cache2\\entries\\A1", std::string(100, 'c'));
    root_.Write(L"Local\\Mozilla\\Firefox\\Profiles\\abc.default\\startupCache\\scriptCache.bin", std::string(50, 'c'));
    PlantLinkIn(local + L"\\cache2");
    const std::string login = R"({"id":1,"hostname":"https://a.test","encryptedPassword":"x"})";
    root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\logins.json",
                R"({"nextId":4,"logins":[)" + login + "," + login + "," + login + R"(],"version":3})");
    root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\logins-backup.json",
                R"({"logins":[)" + login + "," + login + "]}");
    testing_support::MakeCountedTable(profile_ + L"\\signons.sqlite", "moz_logins", 4);
    root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\signons3.txt", std::string(20, 's'));
    const std::wstring key4 = root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\key4.db", "key");
    // A folder link whose name holds "signons": no file of the item, never followed, never counted.
    ASSERT_TRUE(sentinel_.PlantLinkAt(profile_ + L"\\signons link"));

    const FirefoxCleaner cleaner;
    const ItemFigures cache = FromBrowser(MeasureFirefoxCache(cleaner.Profiles()));
    EXPECT_EQ(L"3 files, 150 bytes", FoundText(cache)) << "the link counts as a file of no bytes";
    const ItemFigures passwords = FromBrowser(MeasureFirefoxPasswords(cleaner.Profiles()));
    EXPECT_EQ(L"1 file, 7 saved logins, 20 bytes", FoundText(passwords));

    RemovedCounts cacheRemoved, passwordsRemoved;
    {
        const RemovedTally tally;
        FirefoxCleaner().CleanCache(nullptr);
        cacheRemoved = tally.Counts();
    }
    {
        const RemovedTally tally;
        FirefoxCleaner().CleanPasswords();
        passwordsRemoved = tally.Counts();
    }
    const uint64_t linkLeft = testing_support::PathExists(local + L"\\cache2\\outside link");
    const ItemFigures cacheAfter = FromBrowser(MeasureFirefoxCache(cleaner.Profiles()));
    EXPECT_EQ(linkLeft, cacheAfter.files);
    EXPECT_EQ(0u, cacheAfter.bytes);
    EXPECT_EQ(150u, cacheRemoved.bytes);
    EXPECT_EQ(3u - linkLeft, cacheRemoved.files) << "a link left in place is not claimed";
    // The logins go as logins, the legacy text file as a file: as the count showed them.
    EXPECT_EQ(7u, passwordsRemoved.rows);
    EXPECT_EQ(1u, passwordsRemoved.files);
    EXPECT_EQ(20u, passwordsRemoved.bytes);
    EXPECT_EQ(L"nothing found", FoundText(FromBrowser(MeasureFirefoxPasswords(cleaner.Profiles()))));
    EXPECT_TRUE(testing_support::PathExists(key4));
    EXPECT_TRUE(testing_support::PathExists(profile_ + L"\\signons link"));
}

// The cache emptied by a real job with a link in a profile's local folder: the line and the end message say
// that a link was left, not that something stayed for no known reason.
TEST_F(FirefoxFigures, ACacheLinkIsNamedByTheLineAndTheEndMessage) {
    const std::wstring local = localAppData_ + L"\\Mozilla\\Firefox\\Profiles\\abc.default";
    root_.Write(L"Local\\Mozilla\\Firefox\\Profiles\\abc.default\\cache2\\entries\\A1", std::string(100, 'c'));
    PlantLinkIn(local);
    SelectedJob selected({&SelectionRecord::ff_cache});
    CleaningJob& job = selected.job;
    ASSERT_TRUE(job.RunCleaners(nullptr));
    ASSERT_EQ(1u, job.Outcomes().size());
    const StepOutcome& outcome = job.Outcomes().front();
    if (!testing_support::PathExists(local + L"\\outside link")) GTEST_SKIP() << "the system let the link go";
    EXPECT_EQ(StayedReason::LinkLeft, outcome.reason);
    EXPECT_EQ(L"1 file stayed: a link", OutcomeLineText(outcome));
    EXPECT_EQ(L"removed 1 file, 100 bytes, 1 file, 0 bytes stayed", OutcomeText(outcome));
    EXPECT_EQ(L"Mozilla Firefox: Cache (a link left in place)\n", StayedLines(job.Outcomes()));
}

TEST(SavedLogins, OnlyTheEntriesOfTheTopLevelLoginsArray) {
    EXPECT_EQ(2u, CountSavedLogins(R"({"logins":[{"id":1},{"id":2,"logins":[{},{}]}]})"));
    EXPECT_EQ(0u, CountSavedLogins(R"({"nextId":1,"logins":[],"version":3})"));
    EXPECT_EQ(0u, CountSavedLogins(R"({"disabledHosts":[{}],"other":{"logins":[{}]}})"));
    EXPECT_EQ(1u, CountSavedLogins(R"({"logins":[{}, 7, "x", null, [{}]]})")) << "only objects are logins";
    EXPECT_FALSE(CountSavedLogins(R"([{"logins":[{}]}])")) << "no object at the top";
    EXPECT_FALSE(CountSavedLogins(R"({"logins":[{},{})"));
    EXPECT_FALSE(CountSavedLogins(""));
    EXPECT_FALSE(CountSavedLogins(std::string(100, '[') + std::string(100, ']')));
    EXPECT_FALSE(CountSavedLogins(R"({"logins":[)" + std::string(80, '[') + std::string(80, ']') + "]}"));
}

} // namespace
