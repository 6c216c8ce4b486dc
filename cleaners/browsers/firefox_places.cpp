#include "cleaners/browsers/firefox_places.h"

#include "cleaners/browsers/browser_database.h"

#include <string_view>

namespace {

// Firefox's visit type of a download.
constexpr const char* kDownloadVisit = "7";

// The tables and columns every removal relies on; anything else is optional.
bool KnowsPlacesSchema(const BrowserDatabase& db) {
    return db.HasColumn("moz_places", "id") && db.HasColumn("moz_historyvisits", "place_id") &&
           db.HasColumn("moz_historyvisits", "visit_type") && db.HasColumn("moz_bookmarks", "fk");
}

// The pages that must stay: those a bookmark (and so a tag) or a keyword refers to, and those Firefox
// itself counts as referred to from elsewhere (foreign_count, kept by every version since 2015).
std::string KeptPage(const BrowserDatabase& db) {
    std::string kept = "(id IN (SELECT fk FROM moz_bookmarks WHERE fk IS NOT NULL)";
    if (db.HasColumn("moz_keywords", "place_id"))
        kept += " OR id IN (SELECT place_id FROM moz_keywords WHERE place_id IS NOT NULL)";
    if (db.HasColumn("moz_places", "foreign_count")) kept += " OR foreign_count > 0";
    return kept + ")";
}

// Runs `sql` on `table` only when the database has that column of it.
bool ExecuteIfColumn(BrowserDatabase& db, const char* table, const char* column, const std::string& sql) {
    return !db.HasColumn(table, column) || db.Execute(sql);
}

// What refers to a page that is gone, and the annotation names and origins nothing uses any more.
bool RemoveOrphans(BrowserDatabase& db) {
    const std::string gonePage = " WHERE place_id NOT IN (SELECT id FROM moz_places)";
    if (!ExecuteIfColumn(db, "moz_annos", "place_id", "DELETE FROM moz_annos" + gonePage) ||
        !ExecuteIfColumn(db, "moz_inputhistory", "place_id", "DELETE FROM moz_inputhistory" + gonePage) ||
        !ExecuteIfColumn(db, "moz_places_extra", "place_id", "DELETE FROM moz_places_extra" + gonePage))
        return false;
    if (db.HasColumn("moz_anno_attributes", "id") && db.HasColumn("moz_annos", "anno_attribute_id")) {
        std::string unused = "DELETE FROM moz_anno_attributes WHERE id NOT IN (SELECT anno_attribute_id FROM "
                             "moz_annos WHERE anno_attribute_id IS NOT NULL)";
        if (db.HasColumn("moz_items_annos", "anno_attribute_id"))
            unused +=
                " AND id NOT IN (SELECT anno_attribute_id FROM moz_items_annos WHERE anno_attribute_id IS "
                "NOT NULL)";
        if (!db.Execute(unused)) return false;
    }
    if (db.HasColumn("moz_origins", "id") && db.HasColumn("moz_places", "origin_id"))
        return db.Execute("DELETE FROM moz_origins WHERE id NOT IN "
                          "(SELECT origin_id FROM moz_places WHERE origin_id IS NOT NULL)");
    return true;
}

// The kept pages are set aside, both tables emptied whole and the kept pages put back under their own ids:
// emptying a table whole is far quicker than deleting nearly all its rows one by one.
bool RemoveHistory(BrowserDatabase& db) {
    if (!KnowsPlacesSchema(db)) return false;
    if (!db.Execute("CREATE TEMP TABLE tracewipe_kept AS SELECT * FROM main.moz_places WHERE " +
                    KeptPage(db)) ||
        !db.ExecuteCounted("DELETE FROM main.moz_historyvisits") ||
        !db.Execute("DELETE FROM main.moz_places;"
                    "INSERT INTO main.moz_places SELECT * FROM temp.tracewipe_kept;"
                    "DROP TABLE temp.tracewipe_kept"))
        return false;
    // What the kept pages still say about visits, in one pass; Firefox recomputes their ranking itself.
    std::string visitless;
    for (const std::string_view assignment : {"visit_count = 0", "last_visit_date = NULL", "typed = 0",
                                              "recalc_frecency = 1", "recalc_alt_frecency = 1"}) {
        if (!db.HasColumn("moz_places", std::string(assignment.substr(0, assignment.find(' '))))) continue;
        visitless += (visitless.empty() ? "" : ", ") + std::string(assignment);
    }
    if (!visitless.empty() && !db.Execute("UPDATE moz_places SET " + visitless)) return false;
    for (const char* table : {"moz_inputhistory", "moz_historyvisits_extra", "moz_places_metadata",
                              "moz_places_metadata_search_queries"})
        if (db.HasTable(table) && !db.Execute(std::string("DELETE FROM ") + table)) return false;
    return RemoveOrphans(db);
}

bool RemoveDownloads(BrowserDatabase& db) {
    if (!KnowsPlacesSchema(db)) return false;
    const std::string downloadVisits =
        std::string(" FROM moz_historyvisits WHERE visit_type = ") + kDownloadVisit;
    if (!db.Execute("CREATE TEMP TABLE tracewipe_downloaded AS SELECT DISTINCT place_id" + downloadVisits) ||
        !db.ExecuteCounted("DELETE" + downloadVisits))
        return false;
    if (db.HasColumn("moz_annos", "anno_attribute_id") && db.HasColumn("moz_anno_attributes", "name") &&
        !db.Execute("DELETE FROM moz_annos WHERE anno_attribute_id IN "
                    "(SELECT id FROM moz_anno_attributes WHERE name GLOB 'downloads/*')"))
        return false;
    // A downloaded page keeps its other visits; one that only the download knew goes, unless it is kept.
    const std::string downloaded = " WHERE id IN (SELECT place_id FROM temp.tracewipe_downloaded)";
    const std::string lastVisit = "UPDATE moz_places SET last_visit_date = (SELECT max(visit_date) FROM "
                                  "moz_historyvisits WHERE place_id = moz_places.id)" +
                                  downloaded;
    const std::string unvisited = "DELETE FROM moz_places" + downloaded +
                                  " AND NOT EXISTS (SELECT 1 FROM moz_historyvisits WHERE place_id = "
                                  "moz_places.id) AND NOT " +
                                  KeptPage(db);
    if (!ExecuteIfColumn(db, "moz_places", "last_visit_date", lastVisit) || !db.Execute(unvisited) ||
        !db.Execute("DROP TABLE temp.tracewipe_downloaded"))
        return false;
    return RemoveOrphans(db);
}

bool ChangePlaces(const std::wstring& placesPath, bool (*change)(BrowserDatabase&)) {
    auto db = BrowserDatabase::Open(placesPath);
    return db && db->ChangeInOneTransaction(change);
}

} // namespace

bool RemoveFirefoxHistory(const std::wstring& placesPath) {
    return ChangePlaces(placesPath, RemoveHistory);
}

bool RemoveFirefoxDownloads(const std::wstring& placesPath) {
    return ChangePlaces(placesPath, RemoveDownloads);
}
