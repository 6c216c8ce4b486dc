// What Firefox's items count before a run and after it, from the same targets its cleaner reads.
#include "cleaners/browsers/firefox_cleaner.h"
#include "cleaners/browsers/firefox_targets.h"
#include "cleaning/item_figures.h"

#include "browser_folders_fixture.h"
#include "locked_database.h"
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

} // namespace
