#include "cleaners/browsers/chromium_cleaner.h"

#include "cleaners/browsers/browser_database.h"
#include "cleaners/browsers/chromium_profiles.h"
#include "cleaners/browsers/special_folders.h"
#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/shell_delete.h"

#include <shlobj.h>

#include <initializer_list>
#include <span>

namespace {

using Names = std::span<const wchar_t* const>;

std::vector<std::wstring> ProfilesOf(const ChromiumBrowser& browser) {
    const std::wstring localAppData = SpecialFolder(CSIDL_LOCAL_APPDATA);
    if (localAppData.empty()) return {};
    return ChromiumProfileFolders(localAppData + L"\\" + std::wstring(browser.userData));
}

// The file of each kind that early versions kept comes first, then where current versions keep the same
// data. A "-journal" beside a database holds its latest changes. "Bookmarks", "Favicons", "Preferences"
// and "Local State" are never among them.
constexpr const wchar_t* kCookies[] = {L"Cookies", L"Cookies-journal", L"Network\\Cookies",
                                       L"Network\\Cookies-journal"};
// The most visited pages, the address bar's shortcuts and its predictions are history as much as History.
constexpr const wchar_t* kHistory[] = {
    L"History",           L"History-journal",          L"Visited Links",
    L"Top Sites",         L"Top Sites-journal",        L"Shortcuts",
    L"Shortcuts-journal", L"Network Action Predictor", L"Network Action Predictor-journal"};
constexpr const wchar_t* kDownloads[] = {L"Downloads.plist"};
constexpr const wchar_t* kPasswords[] = {L"Login Data", L"Login Data-journal", L"Login Data For Account",
                                         L"Login Data For Account-journal"};
constexpr const wchar_t* kCacheFolders[] = {L"Cache", L"Code Cache", L"GPUCache"};
constexpr const wchar_t* kSessionFiles[] = {L"Current Session", L"Current Tabs", L"Last Session",
                                            L"Last Tabs"};

Names FileNamesOf(ChromeFileKind kind) {
    switch (kind) {
    case ChromeFileKind::Cookies:
        return kCookies;
    case ChromeFileKind::History:
        return kHistory;
    case ChromeFileKind::DownloadHistory:
        return kDownloads;
    case ChromeFileKind::WebData:
        return kPasswords;
    }
    return {};
}

// Deletes every row of those of `tables` the database has; false when it has none of them, so that an
// unknown file is left as it was.
bool EmptyTables(BrowserDatabase& db, std::initializer_list<const char*> tables) {
    bool any = false;
    for (const char* table : tables) {
        if (!db.HasTable(table)) continue;
        any = true;
        if (!db.Execute(std::string("DELETE FROM ") + table)) return false;
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
                                     "downloads_reroute_info"});
    });
}

// "Web Data" also holds the saved addresses, payment cards and search engines, which are no password: only
// the typed form entries (with the dates older versions kept apart) and an old version's logins go. The
// rebuild after the change leaves the removed rows nowhere in the file.
void RemoveFormAndLoginRows(const std::wstring& webDataPath) {
    auto db = BrowserDatabase::Open(webDataPath);
    if (!db) return;
    db->ChangeInOneTransaction([](BrowserDatabase& webData) {
        return EmptyTables(webData, {"autofill", "autofill_dates", "logins"});
    });
}

} // namespace

ChromiumCleaner::ChromiumCleaner(const ChromiumBrowser& browser) : profileFolders_(ProfilesOf(browser)) {}

void ChromiumCleaner::CleanCache(HWND /*ownerWindow*/) {
    for (const std::wstring& profile : profileFolders_)
        for (const wchar_t* folder : kCacheFolders)
            ShellDelete(profile + folder + L"\\*");
}

void ChromiumCleaner::CleanProfileFile(ChromeFileKind kind) {
    for (const std::wstring& profile : profileFolders_) {
        if (kind == ChromeFileKind::DownloadHistory) RemoveDownloadRows(profile + L"History");
        if (kind == ChromeFileKind::WebData) RemoveFormAndLoginRows(profile + L"Web Data");
        for (const wchar_t* name : FileNamesOf(kind))
            TruncateAndDelete(profile + name);
    }
}

void ChromiumCleaner::CleanLastSession() {
    for (const std::wstring& profile : profileFolders_) {
        ShellDelete(profile + L"Sessions\\*");
        for (const wchar_t* name : kSessionFiles)
            TruncateAndDelete(profile + name);
    }
}
