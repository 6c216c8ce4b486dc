#include "cleaners/browsers/chromium_cleaner.h"

#include "cleaners/browsers/browser_database.h"
#include "cleaners/browsers/chromium_profiles.h"
#include "cleaners/browsers/chromium_targets.h"
#include "cleaners/browsers/special_folders.h"
#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/shell_delete.h"

#include <shlobj.h>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string_view>

namespace {

std::vector<std::wstring> ProfilesOf(const ChromiumBrowser& browser) {
    const std::wstring localAppData = SpecialFolder(CSIDL_LOCAL_APPDATA);
    if (localAppData.empty()) return {};
    return ChromiumProfileFolders(localAppData + L"\\" + std::wstring(browser.userData));
}

// None for a number that is no known kind: it removes nothing.
std::optional<ChromiumItem> ItemOf(ChromeFileKind kind) {
    switch (kind) {
    case ChromeFileKind::Cookies: return ChromiumItem::Cookies;
    case ChromeFileKind::History: return ChromiumItem::History;
    case ChromeFileKind::DownloadHistory: return ChromiumItem::DownloadHistory;
    case ChromeFileKind::WebData: return ChromiumItem::WebData;
    }
    return std::nullopt;
}

// A table whose deleted rows the item's line counts as removed, and as what.
struct CountedTable {
    std::string_view table;
    RemovedRows kind = RemovedRows::Records;
};

// Deletes every row of those of `tables` the database has; false when it has none of them, so that an
// unknown file is left as it was. The rows of the `counted` tables are what the item's line counts as removed.
bool EmptyTables(BrowserDatabase& db, std::initializer_list<std::string_view> tables,
                 std::initializer_list<CountedTable> counted) {
    bool any = false;
    for (const std::string_view table : tables) {
        if (!db.HasTable(std::string(table))) continue;
        any = true;
        const std::string sql = "DELETE FROM " + std::string(table);
        const auto count = std::find_if(counted.begin(), counted.end(),
                                        [&](const CountedTable& c) { return c.table == table; });
        if (!(count != counted.end() ? db.ExecuteCounted(sql, count->kind) : db.Execute(sql))) return false;
    }
    return any;
}

// Current versions keep the download history in the History database, beside the visits.
void RemoveDownloadRows(const std::wstring& historyPath) {
    auto db = BrowserDatabase::Open(historyPath);
    if (!db) return;
    db->ChangeInOneTransaction([](BrowserDatabase& history) {
        return history.HasTable("downloads") &&
               EmptyTables(history, {"downloads", "downloads_url_chains", "downloads_slices",
                                     "downloads_reroute_info"}, {{"downloads"}});
    });
}

// "Web Data" also holds the saved addresses, payment cards and search engines, which are no password: only
// the typed form entries (with the dates older versions kept apart) and an old version's logins go. The
// rebuild after the change leaves the removed rows nowhere in the file.
void RemoveFormAndLoginRows(const std::wstring& webDataPath) {
    auto db = BrowserDatabase::Open(webDataPath);
    if (!db) return;
    db->ChangeInOneTransaction([](BrowserDatabase& webData) {
        return EmptyTables(webData, {"autofill", "autofill_dates", "logins"},
                           {{"logins"}, {"autofill", RemovedRows::FormEntries}});
    });
}

} // namespace

ChromiumCleaner::ChromiumCleaner(const ChromiumBrowser& browser) : profileFolders_(ProfilesOf(browser)) {}

void ChromiumCleaner::CleanCache(HWND /*ownerWindow*/) {
    for (const std::wstring& profile : profileFolders_) RemoveTargets(profile, TargetsOf(ChromiumItem::Cache));
}

void ChromiumCleaner::CleanProfileFile(ChromeFileKind kind) {
    for (const std::wstring& profile : profileFolders_) {
        if (kind == ChromeFileKind::DownloadHistory) RemoveDownloadRows(profile + L"History");
        if (kind == ChromeFileKind::WebData) RemoveFormAndLoginRows(profile + L"Web Data");
        if (const auto item = ItemOf(kind)) RemoveTargets(profile, TargetsOf(*item));
    }
}

void ChromiumCleaner::CleanLastSession() {
    for (const std::wstring& profile : profileFolders_) RemoveTargets(profile, TargetsOf(ChromiumItem::LastSession));
}
