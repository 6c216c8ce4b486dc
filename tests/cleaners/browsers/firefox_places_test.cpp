// History removal from real places.sqlite databases of current Firefox versions, and the databases it must
// leave exactly as they were.
#include "cleaners/browsers/firefox_cleaner.h"

#include "browser_folders_fixture.h"
#include "support/browser_databases.h"
#include "locked_database.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

namespace {

using namespace browser_tests;
using testing_support::MakePlacesDatabase;
using testing_support::PathExists;
using testing_support::PlacesContent;
using testing_support::ReadAll;
using testing_support::ReadBookmarks;
using testing_support::TestDatabase;

class FirefoxPlaces : public BrowserFoldersTest {
  protected:
    const std::wstring profile_ = appData_ + L"\\Mozilla\\Firefox\\Profiles\\abcd1234.default-release";
    const std::wstring places_ = profile_ + L"\\places.sqlite";

    void SetUp() override {
        root_.Write(L"Roaming\\Mozilla\\Firefox\\profiles.ini",
                    "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\n"
                    "Path=Profiles/abcd1234.default-release\r\n");
        PlantLinkIn(profile_);
    }
    void TearDown() override { EXPECT_TRUE(sentinel_.Intact()); }
};

TEST_F(FirefoxPlaces, UrlsRemoveEveryVisitAndUnbookmarkedPageAndKeepEveryBookmark) {
    const auto bookmarks = MakePlacesDatabase(places_);
    root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default-release\\history.dat", "old");
    int64_t referred = 0;
    {
        TestDatabase before(places_);
        referred = before.Number("SELECT count(*) FROM moz_places WHERE foreign_count > 0");
        ASSERT_GT(before.Count("moz_historyvisits"), 5000);
    }
    FirefoxCleaner().CleanUrls();
    // Nothing of a removed page stays readable in the file's free pages; a bookmarked page is still there.
    const std::string bytes = ReadAll(places_) + ReadAll(places_ + L"-wal");
    for (const char* removed : {"/articles/page3?ref=home", "/articles/page1001?ref=home", "/page1999?ref=home"})
        EXPECT_EQ(std::string::npos, bytes.find(removed)) << removed;
    EXPECT_NE(std::string::npos, bytes.find("/articles/page1?ref=home"));

    TestDatabase after(places_);
    EXPECT_TRUE(after.IntegrityOk());
    EXPECT_EQ(bookmarks, ReadBookmarks(after));
    EXPECT_EQ(0, bookmarks.dangling);
    EXPECT_EQ(0, after.Count("moz_historyvisits"));
    EXPECT_EQ(referred, after.Count("moz_places")) << "the bookmarked pages and the keyword's page stay";
    EXPECT_EQ(0,
              after.Number("SELECT count(*) FROM moz_places WHERE visit_count <> 0 OR last_visit_date IS NOT "
                           "NULL OR typed <> 0"));
    EXPECT_EQ(0, after.Count("moz_inputhistory"));
    EXPECT_EQ(0, after.Count("moz_places_metadata"));
    EXPECT_EQ(0, after.Count("moz_places_metadata_search_queries"));
    EXPECT_EQ(0, after.Number(
                     "SELECT count(*) FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places)"));
    EXPECT_GT(after.Count("moz_origins"), 0);
    // The annotations of kept pages stay (the bookmarked download is cleaned by its own item).
    EXPECT_EQ(
        0, after.Number("SELECT count(*) FROM moz_annos WHERE place_id NOT IN (SELECT id FROM moz_places)"));
    EXPECT_EQ(3, after.Count("moz_annos"));
    EXPECT_EQ(4, after.Count("moz_anno_attributes"));
    EXPECT_FALSE(PathExists(profile_ + L"\\history.dat"));
}

TEST_F(FirefoxPlaces, DownloadHistoryRemovesDownloadVisitsAndAnnotationsOnly) {
    PlacesContent content;
    content.wal = false;
    const auto bookmarks = MakePlacesDatabase(places_, content);
    root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default-release\\downloads.sqlite", "old");
    root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default-release\\downloads.rdf", "old");
    int64_t visits = 0, pages = 0;
    {
        TestDatabase before(places_);
        visits = before.Number("SELECT count(*) FROM moz_historyvisits WHERE visit_type <> 7");
        pages = before.Count("moz_places");
    }
    FirefoxCleaner().CleanDownloadHistory();

    TestDatabase after(places_);
    EXPECT_TRUE(after.IntegrityOk());
    EXPECT_EQ(bookmarks, ReadBookmarks(after));
    EXPECT_EQ(0, after.Number("SELECT count(*) FROM moz_historyvisits WHERE visit_type = 7"));
    EXPECT_EQ(visits, after.Count("moz_historyvisits"));
    EXPECT_EQ(0, after.Number("SELECT count(*) FROM moz_annos WHERE anno_attribute_id IN (1, 2)"));
    // Of the downloaded files' pages, the bookmarked one and the visited one stay.
    EXPECT_EQ(pages - content.downloads + 2, after.Count("moz_places"));
    EXPECT_EQ(2, after.Count("moz_anno_attributes")) << "unused download annotation names go";
    EXPECT_EQ(100, after.Count("moz_inputhistory"));
    EXPECT_FALSE(PathExists(profile_ + L"\\downloads.sqlite"));
    EXPECT_FALSE(PathExists(profile_ + L"\\downloads.rdf"));
}

// Rows Firefox committed to the "-wal" file but not yet to the database are seen: a bookmark that exists
// only there survives, and the visits there go.
TEST_F(FirefoxPlaces, WriteAheadLogIsHonoured) {
    MakePlacesDatabase(places_);
    TestDatabase firefox(places_);
    firefox.Execute(
        "PRAGMA wal_autocheckpoint = 0;"
        "INSERT INTO moz_places (id, url, guid, foreign_count) VALUES (900000, 'https://new.example/',"
        " 'new_________', 1);"
        "INSERT INTO moz_bookmarks (type, fk, parent, position, title, guid) VALUES (1, 900000, 3, 99,"
        " 'Added just now', 'newbookmark_');"
        "INSERT INTO moz_historyvisits (place_id, visit_date, visit_type) VALUES (900000, 1, 1)");
    ASSERT_TRUE(PathExists(places_ + L"-wal"));
    FirefoxCleaner().CleanUrls();
    EXPECT_EQ(1, firefox.Number("SELECT count(*) FROM moz_bookmarks WHERE title = 'Added just now'"));
    EXPECT_EQ(1, firefox.Number("SELECT count(*) FROM moz_places WHERE id = 900000"));
    EXPECT_EQ(0, firefox.Count("moz_historyvisits"));
    EXPECT_TRUE(firefox.IntegrityOk());
}

// A newer Firefox may add tables and columns: what we know is cleaned, what we do not know stays.
TEST_F(FirefoxPlaces, NewerSchemaIsCleanedAroundWhatItAdds) {
    PlacesContent content;
    content.pages = 300, content.visits = 1000, content.bookmarks = 30, content.downloads = 5;
    const auto bookmarks = MakePlacesDatabase(places_, content);
    {
        TestDatabase newer(places_);
        newer.Execute("ALTER TABLE moz_places ADD COLUMN future_score INTEGER DEFAULT 7;"
                      "ALTER TABLE moz_historyvisits ADD COLUMN future_flag TEXT;"
                      "CREATE TABLE moz_future (place_id INTEGER, note TEXT);"
                      "INSERT INTO moz_future VALUES (2, 'kept'), (3, 'kept');"
                      "PRAGMA user_version = 99");
    }
    FirefoxCleaner().CleanUrls();
    TestDatabase after(places_);
    EXPECT_TRUE(after.IntegrityOk());
    EXPECT_EQ(bookmarks, ReadBookmarks(after));
    EXPECT_EQ(0, after.Count("moz_historyvisits"));
    EXPECT_EQ(2, after.Count("moz_future"));
    EXPECT_EQ(0, after.Number("SELECT count(*) FROM moz_places WHERE future_score <> 7"));
}

// Each database that cannot be cleaned safely stays byte for byte; the step still ends, and history.dat
// beside it still goes.
TEST_F(FirefoxPlaces, DatabasesThatCannotBeCleanedSafelyStayExactlyAsTheyWere) {
    const std::wstring model = root_ / L"model.sqlite";
    PlacesContent content;
    content.pages = 400, content.visits = 1500, content.bookmarks = 40, content.downloads = 5,
    content.wal = false;
    MakePlacesDatabase(model, content);
    const std::string whole = ReadAll(model);
    std::string corrupt = whole;
    for (size_t i = corrupt.size() / 2; i < corrupt.size() / 2 + 4096; ++i)
        corrupt[i] = static_cast<char>(i * 31);

    struct Case {
        const char* name;
        std::function<void()> make;
    };
    const Case cases[] = {
        {"zero bytes", [&] { root_.Write(places_.substr(root_.Path().size() + 1), ""); }},
        {"not SQLite",
         [&] { root_.Write(places_.substr(root_.Path().size() + 1), "<html>bookmarks</html>"); }},
        {"truncated",
         [&] { root_.Write(places_.substr(root_.Path().size() + 1), whole.substr(0, whole.size() / 3)); }},
        {"damaged page", [&] { root_.Write(places_.substr(root_.Path().size() + 1), corrupt); }},
        {"no bookmarks table",
         [&] {
             MakePlacesDatabase(places_, content);
             TestDatabase(places_).Execute("DROP TABLE moz_bookmarks");
         }},
        {"no places table",
         [&] {
             TestDatabase db(places_);
             db.Execute(
                 "CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, place_id INTEGER, visit_type "
                 "INTEGER); INSERT INTO moz_historyvisits VALUES (1, 1, 1)");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileW(places_.c_str());
        c.make();
        const std::string before = ReadAll(places_);
        root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default-release\\history.dat", "old");
        FirefoxCleaner cleaner;
        cleaner.CleanUrls();
        cleaner.CleanDownloadHistory();
        EXPECT_TRUE(PathExists(places_));
        EXPECT_TRUE(before == ReadAll(places_));
        EXPECT_FALSE(PathExists(profile_ + L"\\history.dat"));
    }
}

// Firefox holds its database locked while it runs; a Firefox the job could not end must not stall the job
// nor lose anything.
TEST_F(FirefoxPlaces, LockedDatabaseIsLeftAsItWasWithoutWaitingLong) {
    PlacesContent content;
    content.pages = 400, content.visits = 1500, content.bookmarks = 40, content.downloads = 5;
    for (const bool wal : {false, true}) {
        SCOPED_TRACE(wal ? "write-ahead" : "rollback journal");
        content.wal = wal;
        DeleteFileW(places_.c_str());
        MakePlacesDatabase(places_, content);
        const std::string before = ReadAll(places_);
        {
            LockedDatabase locked(places_);
            ASSERT_TRUE(locked.Holding());
            const auto start = std::chrono::steady_clock::now();
            FirefoxCleaner cleaner;
            cleaner.CleanUrls();
            cleaner.CleanDownloadHistory();
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
            EXPECT_TRUE(before == ReadAll(places_));
        }
        TestDatabase after(places_);
        EXPECT_GT(after.Count("moz_historyvisits"), 1000);
        EXPECT_TRUE(after.IntegrityOk());
    }
}

} // namespace
