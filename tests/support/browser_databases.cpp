#include "support/browser_databases.h"

#include "support/test_folder.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace testing_support {

namespace {

std::string Utf8(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), length, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
}

// One prepared statement bound by position and run once per call of Run.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK)
            ADD_FAILURE() << sqlite3_errmsg(db) << " in " << sql;
    }
    ~Statement() { sqlite3_finalize(statement_); }
    template <typename... Values>
    void Run(const Values&... values) {
        int index = 0;
        (Bind(++index, values), ...);
        if (sqlite3_step(statement_) != SQLITE_DONE) ADD_FAILURE() << sqlite3_errmsg(sqlite3_db_handle(statement_));
        sqlite3_reset(statement_);
    }

private:
    void Bind(int index, int64_t value) { sqlite3_bind_int64(statement_, index, value); }
    void Bind(int index, int value) { sqlite3_bind_int64(statement_, index, value); }
    void Bind(int index, const std::string& value) {
        sqlite3_bind_text(statement_, index, value.c_str(), -1, SQLITE_TRANSIENT);
    }
    void Bind(int index, const char* value) {
        if (value) sqlite3_bind_text(statement_, index, value, -1, SQLITE_TRANSIENT);
        else sqlite3_bind_null(statement_, index);
    }
    sqlite3_stmt* statement_ = nullptr;
};

// Firefox's places schema (nsPlacesTables.h and nsPlacesIndexes.h of current versions).
constexpr const char* kPlacesSchema = R"(
CREATE TABLE moz_origins (id INTEGER PRIMARY KEY, prefix TEXT NOT NULL, host TEXT NOT NULL,
  frecency INTEGER NOT NULL, recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER,
  recalc_alt_frecency INTEGER NOT NULL DEFAULT 0, UNIQUE (prefix, host));
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR,
  visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL,
  frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER, guid TEXT,
  foreign_count INTEGER DEFAULT 0 NOT NULL, url_hash INTEGER DEFAULT 0 NOT NULL, description TEXT,
  preview_image_url TEXT, site_name TEXT, origin_id INTEGER REFERENCES moz_origins(id),
  recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER,
  recalc_alt_frecency INTEGER NOT NULL DEFAULT 0);
CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER,
  visit_date INTEGER, visit_type INTEGER, session INTEGER, source INTEGER DEFAULT 0 NOT NULL,
  triggeringPlaceId INTEGER);
CREATE TABLE moz_inputhistory (place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER,
  PRIMARY KEY (place_id, input));
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,
  position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER,
  lastModified INTEGER, guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0,
  syncChangeCounter INTEGER NOT NULL DEFAULT 1);
CREATE TABLE moz_bookmarks_deleted (guid TEXT PRIMARY KEY, dateRemoved INTEGER NOT NULL DEFAULT 0);
CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE, place_id INTEGER,
  post_data TEXT);
CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);
CREATE TABLE moz_annos (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER,
  content LONGVARCHAR, flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0,
  dateAdded INTEGER DEFAULT 0, lastModified INTEGER DEFAULT 0);
CREATE TABLE moz_items_annos (id INTEGER PRIMARY KEY, item_id INTEGER NOT NULL, anno_attribute_id INTEGER,
  content LONGVARCHAR, flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0,
  dateAdded INTEGER DEFAULT 0, lastModified INTEGER DEFAULT 0);
CREATE TABLE moz_meta (key TEXT PRIMARY KEY, value NOT NULL) WITHOUT ROWID;
CREATE TABLE moz_places_metadata_search_queries (id INTEGER PRIMARY KEY, terms TEXT NOT NULL UNIQUE);
CREATE TABLE moz_places_metadata (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL,
  referrer_place_id INTEGER, created_at INTEGER NOT NULL DEFAULT 0, updated_at INTEGER NOT NULL DEFAULT 0,
  total_view_time INTEGER NOT NULL DEFAULT 0, typing_time INTEGER NOT NULL DEFAULT 0,
  key_presses INTEGER NOT NULL DEFAULT 0, scrolling_time INTEGER NOT NULL DEFAULT 0,
  scrolling_distance INTEGER NOT NULL DEFAULT 0, document_type INTEGER NOT NULL DEFAULT 0,
  search_query_id INTEGER,
  FOREIGN KEY (place_id) REFERENCES moz_places(id) ON DELETE CASCADE,
  FOREIGN KEY (referrer_place_id) REFERENCES moz_places(id) ON DELETE CASCADE,
  FOREIGN KEY (search_query_id) REFERENCES moz_places_metadata_search_queries(id) ON DELETE CASCADE
  CHECK (place_id != referrer_place_id));
CREATE TABLE moz_previews_tombstones (hash TEXT PRIMARY KEY) WITHOUT ROWID;
CREATE INDEX moz_places_url_hashindex ON moz_places (url_hash);
CREATE INDEX moz_places_hostindex ON moz_places (rev_host);
CREATE INDEX moz_places_visitcount ON moz_places (visit_count);
CREATE INDEX moz_places_frecencyindex ON moz_places (frecency);
CREATE INDEX moz_places_lastvisitdateindex ON moz_places (last_visit_date);
CREATE UNIQUE INDEX moz_places_guid_uniqueindex ON moz_places (guid);
CREATE INDEX moz_places_originidindex ON moz_places (origin_id);
CREATE INDEX moz_historyvisits_placedateindex ON moz_historyvisits (place_id, visit_date);
CREATE INDEX moz_historyvisits_fromindex ON moz_historyvisits (from_visit);
CREATE INDEX moz_historyvisits_dateindex ON moz_historyvisits (visit_date);
CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);
CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);
CREATE INDEX moz_bookmarks_itemlastmodifiedindex ON moz_bookmarks (fk, lastModified);
CREATE INDEX moz_bookmarks_dateaddedindex ON moz_bookmarks (dateAdded);
CREATE UNIQUE INDEX moz_bookmarks_guid_uniqueindex ON moz_bookmarks (guid);
CREATE UNIQUE INDEX moz_keywords_placepostdata_uniqueindex ON moz_keywords (place_id, post_data);
CREATE UNIQUE INDEX moz_annos_placeattributeindex ON moz_annos (place_id, anno_attribute_id);
CREATE UNIQUE INDEX moz_items_annos_itemattributeindex ON moz_items_annos (item_id, anno_attribute_id);
CREATE UNIQUE INDEX moz_places_metadata_placecreated_uniqueindex ON moz_places_metadata (place_id, created_at);
PRAGMA user_version = 78;
)";

// The roots every places database has, with their fixed guids.
constexpr const char* kBookmarkRoots = R"(
INSERT INTO moz_bookmarks (id, type, parent, position, title, guid, dateAdded, lastModified) VALUES
  (1, 2, 0, 0, '', 'root________', 1700000000000000, 1700000000000000),
  (2, 2, 1, 0, 'menu', 'menu________', 1700000000000000, 1700000000000000),
  (3, 2, 1, 1, 'toolbar', 'toolbar_____', 1700000000000000, 1700000000000000),
  (4, 2, 1, 2, 'tags', 'tags________', 1700000000000000, 1700000000000000),
  (5, 2, 1, 3, 'unfiled', 'unfiled_____', 1700000000000000, 1700000000000000),
  (6, 2, 1, 4, 'mobile', 'mobile______', 1700000000000000, 1700000000000000);
INSERT INTO moz_anno_attributes (id, name) VALUES (1, 'downloads/destinationFileURI'),
  (2, 'downloads/metaData'), (3, 'bookmarkProperties/description'), (4, 'URIProperties/characterSet');
INSERT INTO moz_meta VALUES ('origin_frecency_count', 50), ('origin_frecency_sum', 5000);
)";

// Chrome's History (history_database.cc, visit_database.cc, download_database.cc of current versions).
constexpr const char* kChromeHistorySchema = R"(
CREATE TABLE meta (key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE urls (id INTEGER PRIMARY KEY AUTOINCREMENT, url LONGVARCHAR, title LONGVARCHAR,
  visit_count INTEGER DEFAULT 0 NOT NULL, typed_count INTEGER DEFAULT 0 NOT NULL,
  last_visit_time INTEGER NOT NULL, hidden INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE visits (id INTEGER PRIMARY KEY AUTOINCREMENT, url INTEGER NOT NULL, visit_time INTEGER NOT NULL,
  from_visit INTEGER, transition INTEGER DEFAULT 0 NOT NULL, segment_id INTEGER,
  visit_duration INTEGER DEFAULT 0 NOT NULL, incremented_omnibox_typed_score BOOLEAN DEFAULT FALSE NOT NULL,
  opener_visit INTEGER, originator_cache_guid TEXT, originator_visit_id INTEGER,
  originator_from_visit INTEGER, originator_opener_visit INTEGER,
  is_known_to_sync BOOLEAN DEFAULT FALSE NOT NULL, consider_for_ntp_most_visited BOOLEAN DEFAULT FALSE NOT NULL,
  external_referrer_url TEXT, visited_link_id INTEGER DEFAULT 0 NOT NULL, app_id TEXT);
CREATE TABLE keyword_search_terms (keyword_id INTEGER NOT NULL, url_id INTEGER NOT NULL,
  term LONGVARCHAR NOT NULL, normalized_term LONGVARCHAR NOT NULL);
CREATE TABLE downloads (id INTEGER PRIMARY KEY, guid VARCHAR NOT NULL, current_path LONGVARCHAR NOT NULL,
  target_path LONGVARCHAR NOT NULL, start_time INTEGER NOT NULL, received_bytes INTEGER NOT NULL,
  total_bytes INTEGER NOT NULL, state INTEGER NOT NULL, danger_type INTEGER NOT NULL,
  interrupt_reason INTEGER NOT NULL, hash BLOB NOT NULL, end_time INTEGER NOT NULL, opened INTEGER NOT NULL,
  last_access_time INTEGER NOT NULL, transient INTEGER NOT NULL, referrer VARCHAR NOT NULL,
  site_url VARCHAR NOT NULL, embedder_download_data VARCHAR NOT NULL, tab_url VARCHAR NOT NULL,
  tab_referrer_url VARCHAR NOT NULL, http_method VARCHAR NOT NULL, by_ext_id VARCHAR NOT NULL,
  by_ext_name VARCHAR NOT NULL, by_web_app_id VARCHAR NOT NULL, etag VARCHAR NOT NULL,
  last_modified VARCHAR NOT NULL, mime_type VARCHAR(255) NOT NULL, original_mime_type VARCHAR(255) NOT NULL);
CREATE TABLE downloads_url_chains (id INTEGER NOT NULL, chain_index INTEGER NOT NULL, url LONGVARCHAR NOT NULL,
  PRIMARY KEY (id, chain_index));
CREATE TABLE downloads_slices (download_id INTEGER NOT NULL, offset INTEGER NOT NULL,
  received_bytes INTEGER NOT NULL, finished INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (download_id, offset));
CREATE INDEX visits_url_index ON visits (url);
CREATE INDEX visits_time_index ON visits (visit_time);
CREATE INDEX urls_url_index ON urls (url);
INSERT INTO meta VALUES ('version', '70'), ('last_compatible_version', '16');
)";

constexpr int kSites = 50;
constexpr int64_t kStart = 1735689600000000; // visit times in microseconds, from 2025 on

std::string Guid(char kind, int64_t n) {
    std::string guid = std::to_string(n);
    return std::string(1, kind) + std::string(11 - guid.size(), '_') + guid;
}

} // namespace

TestDatabase::TestDatabase(const std::wstring& path) {
    if (sqlite3_open_v2(Utf8(path).c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        ADD_FAILURE() << "cannot open the test database";
    sqlite3_busy_timeout(db_, 5000);
}

TestDatabase::~TestDatabase() { sqlite3_close_v2(db_); }

void TestDatabase::Execute(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        ADD_FAILURE() << (error ? error : "?") << " in " << sql.substr(0, 200);
        sqlite3_free(error);
    }
}

int64_t TestDatabase::Number(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return -1;
    const int64_t value = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
    sqlite3_finalize(statement);
    return value;
}

bool TestDatabase::IntegrityOk() {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, "PRAGMA integrity_check", -1, &statement, nullptr) != SQLITE_OK) return false;
    const bool ok = sqlite3_step(statement) == SQLITE_ROW &&
                    std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "ok") == 0;
    sqlite3_finalize(statement);
    return ok;
}

PlacesBookmarks MakePlacesDatabase(const std::wstring& path, const PlacesContent& content) {
    TestDatabase db(path);
    if (content.wal) db.Execute("PRAGMA journal_mode = WAL");
    db.Execute(kPlacesSchema);
    db.Execute("BEGIN");
    db.Execute(kBookmarkRoots);
    sqlite3* raw = db.Handle();
    {
        Statement origin(raw, "INSERT INTO moz_origins (id, prefix, host, frecency) VALUES (?, 'https://', ?, 100)");
        for (int site = 0; site < kSites + 5; ++site)
            origin.Run(site + 1, (site < kSites ? "site" : "files") + std::to_string(site) + ".example");

        Statement page(raw, "INSERT INTO moz_places (id, url, title, rev_host, frecency, guid, url_hash, "
                            "origin_id, description) VALUES (?, ?, ?, ?, 100, ?, ?, ?, ?)");
        for (int i = 1; i <= content.pages; ++i) {
            const int site = i % kSites;
            const std::string host = "site" + std::to_string(site) + ".example";
            page.Run(i, "https://" + host + "/articles/page" + std::to_string(i) + "?ref=home",
                     "Page " + std::to_string(i) + " of site " + std::to_string(site),
                     std::string(host.rbegin(), host.rend()) + ".", Guid('p', i), int64_t(i) * 2654435761LL,
                     site + 1, "A page someone read");
        }
        // Downloaded files are pages of their own, with a download visit and two annotations each.
        Statement visit(raw, "INSERT INTO moz_historyvisits (from_visit, place_id, visit_date, visit_type, "
                             "session, source) VALUES (?, ?, ?, ?, 0, 0)");
        Statement anno(raw, "INSERT INTO moz_annos (place_id, anno_attribute_id, content, flags, expiration, type, "
                            "dateAdded, lastModified) VALUES (?, ?, ?, 0, 4, 3, ?, ?)");
        for (int d = 0; d < content.downloads; ++d) {
            const int id = content.pages + 1 + d;
            const std::string host = "files" + std::to_string(kSites + d % 5) + ".example";
            page.Run(id, "https://" + host + "/file" + std::to_string(d) + ".zip", nullptr,
                     std::string(host.rbegin(), host.rend()) + ".", Guid('d', d), int64_t(id) * 2654435761LL,
                     kSites + d % 5 + 1, nullptr);
            const int64_t when = kStart + int64_t(d) * 3600000000LL;
            visit.Run(0, id, when, 7);
            anno.Run(id, 1, "file:///C:/Users/me/Downloads/file" + std::to_string(d) + ".zip", when, when);
            anno.Run(id, 2, "{\"state\":1,\"endTime\":" + std::to_string(when / 1000) + ",\"fileSize\":1048576}",
                     when, when);
        }
        for (int v = 0; v < content.visits; ++v) {
            const int place = static_cast<int>((int64_t(v) * 7919) % std::max(content.pages, 1)) + 1;
            visit.Run(v % 3 == 0 ? 0 : v, place, kStart + int64_t(v) * 60000000LL, v % 10 == 0 ? 2 : 1);
        }
        // A downloaded page the user also visited keeps that visit when only downloads go.
        if (content.downloads > 1) visit.Run(0, content.pages + 2, kStart, 1);

        // Folders under the menu and the toolbar, bookmarks spread over them, every tenth one tagged and every
        // twentieth one with a keyword, and a keyword on a page that has no bookmark.
        Statement item(raw, "INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, dateAdded, "
                            "lastModified, guid) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
        int next = 7;
        const int folders[] = {next, next + 1, next + 2, 5};
        item.Run(next++, 2, nullptr, 2, 0, "Work", kStart, kStart, Guid('f', 1));
        item.Run(next++, 2, nullptr, 2, 1, "Recipes", kStart, kStart, Guid('f', 2));
        item.Run(next++, 2, nullptr, 3, 0, "News", kStart, kStart, Guid('f', 3));
        const int tagFolders[] = {next, next + 1};
        item.Run(next++, 2, nullptr, 4, 0, "reading", kStart, kStart, Guid('t', 1));
        item.Run(next++, 2, nullptr, 4, 1, "to do", kStart, kStart, Guid('t', 2));
        Statement keyword(raw, "INSERT INTO moz_keywords (keyword, place_id, post_data) VALUES (?, ?, ?)");
        Statement itemAnno(raw, "INSERT INTO moz_items_annos (item_id, anno_attribute_id, content, dateAdded, "
                                "lastModified) VALUES (?, 3, ?, ?, ?)");
        const int step = std::max(1, content.pages / std::max(content.bookmarks, 1));
        for (int b = 0; b < content.bookmarks; ++b) {
            const int place = 1 + b * step;
            const int id = next++;
            item.Run(id, 1, place, folders[b % 4], b / 4, "Bookmark " + std::to_string(b), kStart, kStart,
                     Guid('b', b));
            if (b % 10 == 0) item.Run(next++, 1, place, tagFolders[b % 20 == 0 ? 0 : 1], b, nullptr, kStart, kStart,
                                      Guid('g', b));
            if (b % 20 == 0) keyword.Run("kw" + std::to_string(b), place, nullptr);
            if (b < 5) itemAnno.Run(id, "What bookmark " + std::to_string(b) + " is for", kStart, kStart);
        }
        if (content.pages > 1 && step > 1) keyword.Run("search", 2, "q=%s");
        // A bookmarked download: the page stays, its download record goes.
        if (content.downloads > 0) item.Run(next++, 1, content.pages + 1, 5, 9999, "A download", kStart, kStart,
                                            Guid('b', 999999));
        if (content.pages > 0) anno.Run(1, 4, "UTF-8", kStart, kStart);

        Statement input(raw, "INSERT INTO moz_inputhistory (place_id, input, use_count) VALUES (?, ?, ?)");
        for (int i = 1; i <= std::min(content.pages, 100); ++i) input.Run(i, "pa" + std::to_string(i), i % 7 + 1);
        Statement query(raw, "INSERT INTO moz_places_metadata_search_queries (id, terms) VALUES (?, ?)");
        for (int q = 1; q <= 5; ++q) query.Run(q, "how to cook " + std::to_string(q));
        Statement metadata(raw, "INSERT INTO moz_places_metadata (place_id, referrer_place_id, created_at, "
                                "updated_at, total_view_time, search_query_id) VALUES (?, ?, ?, ?, 30000, ?)");
        for (int m = 1; m < std::min(content.pages, 50); ++m)
            metadata.Run(m + 1, m, kStart + m, kStart + m, m % 5 + 1);
    }
    db.Execute("UPDATE moz_places SET foreign_count = (SELECT count(*) FROM moz_bookmarks WHERE fk = moz_places.id)"
               " + (SELECT count(*) FROM moz_keywords WHERE place_id = moz_places.id)");
    db.Execute("UPDATE moz_places SET visit_count = (SELECT count(*) FROM moz_historyvisits WHERE place_id = "
               "moz_places.id AND visit_type <> 7), last_visit_date = (SELECT max(visit_date) FROM "
               "moz_historyvisits WHERE place_id = moz_places.id)");
    db.Execute("COMMIT");
    return ReadBookmarks(db);
}

PlacesBookmarks ReadBookmarks(TestDatabase& db) {
    PlacesBookmarks bookmarks;
    bookmarks.bookmarkRows = db.Count("moz_bookmarks");
    bookmarks.bookmarkedPages = db.Number("SELECT count(DISTINCT fk) FROM moz_bookmarks WHERE fk IS NOT NULL");
    bookmarks.keywords = db.Count("moz_keywords");
    bookmarks.tags = db.Number("SELECT count(*) FROM moz_bookmarks AS b JOIN moz_bookmarks AS tag ON b.parent = "
                               "tag.id WHERE tag.parent = 4 AND b.type = 1");
    bookmarks.titles = db.Number("SELECT count(*) FROM moz_bookmarks WHERE title IS NOT NULL AND title <> ''");
    bookmarks.descriptions = db.Count("moz_items_annos");
    bookmarks.dangling = db.Number("SELECT count(*) FROM moz_bookmarks WHERE fk IS NOT NULL AND fk NOT IN "
                                   "(SELECT id FROM moz_places)") +
                         db.Number("SELECT count(*) FROM moz_keywords WHERE place_id NOT IN "
                                   "(SELECT id FROM moz_places)");
    return bookmarks;
}

void MakeChromeHistory(const std::wstring& path, int visits, int downloads) {
    TestDatabase db(path);
    db.Execute(kChromeHistorySchema);
    db.Execute("BEGIN");
    sqlite3* raw = db.Handle();
    {
        const int pages = std::max(1, visits / 4);
        Statement url(raw, "INSERT INTO urls (id, url, title, visit_count, typed_count, last_visit_time, hidden) "
                           "VALUES (?, ?, ?, 4, 0, ?, 0)");
        for (int i = 1; i <= pages; ++i)
            url.Run(i, "https://site" + std::to_string(i % 40) + ".example/read/" + std::to_string(i),
                    "Read " + std::to_string(i), kStart + i);
        Statement visit(raw, "INSERT INTO visits (url, visit_time, from_visit, transition, segment_id, "
                             "visit_duration) VALUES (?, ?, 0, 805306368, 0, 15000000)");
        for (int v = 0; v < visits; ++v) visit.Run(v % pages + 1, kStart + int64_t(v) * 60000000LL);
        Statement download(raw, "INSERT INTO downloads (id, guid, current_path, target_path, start_time, "
                                "received_bytes, total_bytes, state, danger_type, interrupt_reason, hash, end_time, "
                                "opened, last_access_time, transient, referrer, site_url, embedder_download_data, "
                                "tab_url, tab_referrer_url, http_method, by_ext_id, by_ext_name, by_web_app_id, etag, "
                                "last_modified, mime_type, original_mime_type) VALUES (?, ?, ?, ?, ?, 1048576, "
                                "1048576, 1, 0, 0, x'', ?, 0, 0, 0, ?, ?, '', ?, '', 'GET', '', '', '', '', '', "
                                "'application/zip', 'application/zip')");
        Statement chain(raw, "INSERT INTO downloads_url_chains (id, chain_index, url) VALUES (?, ?, ?)");
        Statement slice(raw, "INSERT INTO downloads_slices (download_id, offset, received_bytes, finished) "
                             "VALUES (?, 0, 1048576, 1)");
        for (int d = 1; d <= downloads; ++d) {
            const std::string file = "C:\\Users\\me\\Downloads\\report" + std::to_string(d) + ".zip";
            const std::string from = "https://files.example/report" + std::to_string(d) + ".zip";
            download.Run(d, Guid('d', d), file, file, kStart + d, kStart + d + 5, "https://files.example/",
                         "https://files.example/", "https://files.example/list");
            chain.Run(d, 0, from);
            chain.Run(d, 1, "https://cdn.files.example/report" + std::to_string(d) + ".zip");
            slice.Run(d);
        }
    }
    db.Execute("COMMIT");
}

// The tables of "Web Data" that matter here, as current versions write them (webdata/ of Chromium).
constexpr const char* kWebDataSchema = R"(
CREATE TABLE meta (key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE autofill (name VARCHAR, value VARCHAR, value_lower VARCHAR, date_created INTEGER DEFAULT 0,
  date_last_used INTEGER DEFAULT 0, count INTEGER DEFAULT 1, PRIMARY KEY (name, value));
CREATE INDEX autofill_name ON autofill (name);
CREATE INDEX autofill_name_value_lower ON autofill (name, value_lower);
CREATE TABLE addresses (guid VARCHAR PRIMARY KEY, record_type INTEGER, use_count INTEGER NOT NULL DEFAULT 0,
  use_date INTEGER NOT NULL DEFAULT 0, date_modified INTEGER NOT NULL DEFAULT 0, language_code VARCHAR,
  label VARCHAR, initial_creator_id INTEGER DEFAULT 0, last_modifier_id INTEGER DEFAULT 0);
CREATE TABLE credit_cards (guid VARCHAR PRIMARY KEY, name_on_card VARCHAR, expiration_month INTEGER,
  expiration_year INTEGER, card_number_encrypted BLOB, date_modified INTEGER NOT NULL DEFAULT 0,
  origin VARCHAR DEFAULT '', use_count INTEGER NOT NULL DEFAULT 0, use_date INTEGER NOT NULL DEFAULT 0,
  billing_address_id VARCHAR, nickname VARCHAR);
CREATE TABLE keywords (id INTEGER PRIMARY KEY, short_name VARCHAR NOT NULL, keyword VARCHAR NOT NULL,
  favicon_url VARCHAR NOT NULL, url VARCHAR NOT NULL, safe_for_autoreplace INTEGER, originating_url VARCHAR,
  date_created INTEGER DEFAULT 0, usage_count INTEGER DEFAULT 0, input_encodings VARCHAR,
  suggest_url VARCHAR, prepopulate_id INTEGER DEFAULT 0);
INSERT INTO meta VALUES ('version', '134'), ('last_compatible_version', '134');
INSERT INTO addresses (guid, record_type, label) VALUES ('a1', 0, 'Home'), ('a2', 0, 'Office');
INSERT INTO credit_cards (guid, name_on_card, expiration_month, expiration_year) VALUES ('c1', 'A Person', 4, 2031);
INSERT INTO keywords (id, short_name, keyword, favicon_url, url) VALUES
  (1, 'Search', 'search.example', '', 'https://search.example/?q={searchTerms}'),
  (2, 'Wiki', 'wiki', '', 'https://wiki.example/{searchTerms}'),
  (3, 'Maps', 'maps', '', 'https://maps.example/{searchTerms}');
)";

void MakeChromeWebData(const std::wstring& path, int entries, bool legacyLogins) {
    TestDatabase db(path);
    db.Execute(kWebDataSchema);
    if (legacyLogins)
        db.Execute("CREATE TABLE logins (origin_url VARCHAR NOT NULL, username_value VARCHAR, "
                   "password_value BLOB, signon_realm VARCHAR NOT NULL)");
    db.Execute("BEGIN");
    {
        Statement entry(db.Handle(), "INSERT INTO autofill (name, value, value_lower, date_created) VALUES (?, ?, ?, ?)");
        std::optional<Statement> login;
        if (legacyLogins)
            login.emplace(db.Handle(), "INSERT INTO logins VALUES ('https://mail.example/', ?, ?, 'https://mail.example/')");
        for (int i = 1; i <= entries; ++i) {
            const std::string value = "typed-secret-" + std::to_string(i);
            entry.Run("email", value, value, kStart + i);
            if (login) login->Run("user" + std::to_string(i), value);
        }
    }
    db.Execute("COMMIT");
}

void MakeCountedTable(const std::wstring& path, const std::string& table, int rows) {
    MakeFolders(path.substr(0, path.rfind(L'\\')));
    TestDatabase db(path);
    db.Execute("CREATE TABLE " + table + " (name TEXT)");
    db.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(rows) +
               ") INSERT INTO " + table + " SELECT 'row' || i FROM n");
}

} // namespace testing_support
