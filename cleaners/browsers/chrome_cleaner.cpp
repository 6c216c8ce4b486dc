#include "cleaners/browsers/chrome_cleaner.h"

#include "cleaners/browsers/browser_database.h"
#include "cleaners/browsers/special_folders.h"
#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/shell_delete.h"

#include <shlobj.h>

#include <span>

namespace {

using Names = std::span<const wchar_t* const>;

std::wstring DefaultProfileFolder() {
    const std::wstring localAppData = SpecialFolder(CSIDL_LOCAL_APPDATA);
    return localAppData.empty() ? std::wstring() : localAppData + L"\\Google\\Chrome\\User Data\\Default\\";
}

// The file of each kind that early versions of Chrome kept comes first, then where current versions keep
// the same data. A "-journal" beside a database holds its latest changes.
constexpr const wchar_t* kCookies[] = {L"Cookies", L"Cookies-journal", L"Network\\Cookies",
                                       L"Network\\Cookies-journal"};
constexpr const wchar_t* kHistory[] = {L"History", L"History-journal", L"Visited Links"};
constexpr const wchar_t* kDownloads[] = {L"Downloads.plist"};
constexpr const wchar_t* kPasswords[] = {L"Web Data", L"Login Data", L"Login Data-journal",
                                         L"Login Data For Account", L"Login Data For Account-journal"};
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

// Current versions keep the download history in the History database, beside the visits.
void RemoveDownloadRows(const std::wstring& historyPath) {
    auto db = BrowserDatabase::Open(historyPath);
    if (!db) return;
    db->ChangeInOneTransaction([](BrowserDatabase& history) {
        if (!history.HasTable("downloads")) return false;
        for (const char* table :
             {"downloads", "downloads_url_chains", "downloads_slices", "downloads_reroute_info"})
            if (history.HasTable(table) && !history.Execute(std::string("DELETE FROM ") + table))
                return false;
        return true;
    });
}

} // namespace

ChromeCleaner::ChromeCleaner() : profileFolder_(DefaultProfileFolder()) {}

// Without a profile folder "Cache\*" would name a folder of the current directory.
void ChromeCleaner::CleanCache(HWND /*ownerWindow*/) {
    if (profileFolder_.empty()) return;
    for (const wchar_t* folder : kCacheFolders)
        ShellDelete(profileFolder_ + folder + L"\\*");
}

void ChromeCleaner::CleanProfileFile(ChromeFileKind kind) {
    if (profileFolder_.empty()) return;
    if (kind == ChromeFileKind::DownloadHistory) RemoveDownloadRows(profileFolder_ + L"History");
    for (const wchar_t* name : FileNamesOf(kind))
        TruncateAndDelete(profileFolder_ + name);
}

void ChromeCleaner::CleanLastSession() {
    if (profileFolder_.empty()) return;
    ShellDelete(profileFolder_ + L"Sessions\\*");
    for (const wchar_t* name : kSessionFiles)
        TruncateAndDelete(profileFolder_ + name);
}
