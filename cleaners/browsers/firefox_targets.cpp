#include "cleaners/browsers/firefox_targets.h"

namespace {

// A database comes with the "-wal" and "-shm" files SQLite keeps beside it in write-ahead mode, then the
// file older versions kept the same data in.
constexpr const wchar_t* kCookies[] = {L"cookies.sqlite", L"cookies.sqlite-wal", L"cookies.sqlite-shm",
                                       L"cookies.txt"};
constexpr const wchar_t* kForms[] = {L"formhistory.sqlite", L"formhistory.sqlite-wal", L"formhistory.sqlite-shm",
                                     L"formhistory.dat"};
// places.sqlite holds the bookmarks too: only its history rows go, never the file.
constexpr const wchar_t* kHistory[] = {L"history.dat"};
// Firefox 3 to 20 kept downloads in their own files; later versions keep them in places.sqlite.
constexpr const wchar_t* kDownloads[] = {L"downloads.sqlite", L"downloads.rdf"};
constexpr const wchar_t* kSessionFiles[] = {L"sessionstore.js", L"sessionstore.jsonlz4"};
constexpr const wchar_t* kSessionFolders[] = {L"sessionstore-backups"};

constexpr CountedRows kCookieRows[] = {{L"cookies.sqlite", "SELECT count(*) FROM moz_cookies"}};
constexpr CountedRows kFormRows[] = {{L"formhistory.sqlite", "SELECT count(*) FROM moz_formhistory"}};
constexpr CountedRows kVisitRows[] = {{L"places.sqlite", "SELECT count(*) FROM moz_historyvisits"}};
// Visit type 7 is a download.
constexpr CountedRows kDownloadRows[] = {
    {L"places.sqlite", "SELECT count(*) FROM moz_historyvisits WHERE visit_type = 7"},
    {L"downloads.sqlite", "SELECT count(*) FROM moz_downloads"}};

constexpr BrowserTargets kTargets[] = {
    {kCookies, {}, kCookieRows, RecordKind::Cookies},
    {kHistory, {}, kVisitRows, RecordKind::Visits},
    {kForms, {}, kFormRows, RecordKind::FormEntries},
    {kDownloads, {}, kDownloadRows, RecordKind::Downloads},
    {kSessionFiles, kSessionFolders, {}, RecordKind::None},
};

} // namespace

const BrowserTargets& TargetsOf(FirefoxItem item) { return kTargets[static_cast<size_t>(item)]; }

BrowserFigures MeasureFirefoxItem(std::span<const FirefoxProfile> profiles, FirefoxItem item) {
    BrowserFigures figures{.kind = TargetsOf(item).kind};
    for (const FirefoxProfile& profile : profiles) figures += MeasureTargets(profile.folder + L"\\", TargetsOf(item));
    return figures;
}

void RemoveFirefoxTargets(const std::wstring& profileFolder, FirefoxItem item) {
    RemoveTargets(profileFolder + L"\\", TargetsOf(item));
}
