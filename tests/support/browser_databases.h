#pragma once
// Real browser databases for the tests and benchmarks: Chrome's History and Firefox's places.sqlite with
// the schemas of current versions, filled with realistic rows, and a small SQLite handle to read them back.
#include <cstdint>
#include <string>

struct sqlite3;

namespace testing_support {

class TestDatabase {
public:
    // Opens `path`, creating it when missing.
    explicit TestDatabase(const std::wstring& path);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // Runs `sql`; a failure fails the test.
    void Execute(const std::string& sql);
    // The first column of the first row of `sql` as a number (-1 when it fails or yields nothing).
    int64_t Number(const std::string& sql);
    int64_t Count(const std::string& table) { return Number("SELECT count(*) FROM " + table); }
    bool IntegrityOk();
    sqlite3* Handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

struct PlacesContent {
    int pages = 2000;      // visited pages, each on one of 50 sites
    int visits = 5000;     // spread over the pages
    int bookmarks = 120;   // of visited pages, in folders, some tagged, some with keywords
    int downloads = 40;    // pages downloaded, each with a download visit and its annotations
    bool wal = true;       // write-ahead mode, as Firefox keeps it
};

// The bookmarks a places database is made with: folders, tags and keywords included.
struct PlacesBookmarks {
    int64_t bookmarkRows = 0;      // every row of moz_bookmarks
    int64_t bookmarkedPages = 0;   // distinct pages a bookmark refers to
    int64_t keywords = 0;
    int64_t tags = 0;
    int64_t titles = 0;        // folders and bookmarks with a title
    int64_t descriptions = 0;  // bookmark annotations
    int64_t dangling = 0;      // bookmarks and keywords whose page is gone

    bool operator==(const PlacesBookmarks&) const = default;
};

// Firefox's places.sqlite as current versions write it (schema of Firefox 115 to 140).
PlacesBookmarks MakePlacesDatabase(const std::wstring& path, const PlacesContent& content = {});
// What must survive any history removal: the counts above read back from the database.
PlacesBookmarks ReadBookmarks(TestDatabase& db);

// Chrome's History as current versions write it, with `visits` visits and `downloads` downloads (each with
// a redirect chain of two URLs and one slice).
void MakeChromeHistory(const std::wstring& path, int visits, int downloads);

// Chromium's "Web Data" with `entries` typed form entries (each value holds "typed-secret"), two saved
// addresses, one payment card and three search engines; `legacyLogins` adds the "logins" table old versions
// kept there, with `entries` rows.
void MakeChromeWebData(const std::wstring& path, int entries, bool legacyLogins);

// A new database at `path` (its folder made when missing) with one table `table` of `rows` rows: a browser
// database of a known count for the tests that only count rows.
void MakeCountedTable(const std::wstring& path, const std::string& table, int rows);

} // namespace testing_support
