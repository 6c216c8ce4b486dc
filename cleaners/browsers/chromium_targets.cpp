#include "cleaners/browsers/chromium_targets.h"

namespace {

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
constexpr const wchar_t* kSessionFolders[] = {L"Sessions"};

constexpr CountedRows kCookieRows[] = {{L"Cookies", "SELECT count(*) FROM cookies"},
                                       {L"Network\\Cookies", "SELECT count(*) FROM cookies"}};
constexpr CountedRows kVisitRows[] = {{L"History", "SELECT count(*) FROM visits"}};
// Current versions keep the downloads in History, beside the visits.
constexpr CountedRows kDownloadRows[] = {{L"History", "SELECT count(*) FROM downloads"}};
// An old version kept the logins in "Web Data"; the typed form entries there go with them.
constexpr CountedRows kLoginRows[] = {{L"Login Data", "SELECT count(*) FROM logins"},
                                      {L"Login Data For Account", "SELECT count(*) FROM logins"},
                                      {L"Web Data", "SELECT count(*) FROM logins"},
                                      {L"Web Data", "SELECT count(*) FROM autofill", RecordKind::FormEntries}};

constexpr BrowserTargets kTargets[] = {
    {{}, kCacheFolders, {}, RecordKind::None},
    {kCookies, {}, kCookieRows, RecordKind::Cookies},
    {kHistory, {}, kVisitRows, RecordKind::Visits},
    {kDownloads, {}, kDownloadRows, RecordKind::Downloads},
    {kPasswords, {}, kLoginRows, RecordKind::Logins},
    {kSessionFiles, kSessionFolders, {}, RecordKind::None},
};

} // namespace

const BrowserTargets& TargetsOf(ChromiumItem item) { return kTargets[static_cast<size_t>(item)]; }

BrowserFigures MeasureChromiumItem(std::span<const std::wstring> profileFolders, ChromiumItem item) {
    BrowserFigures figures{.kind = TargetsOf(item).kind};
    for (const std::wstring& profile : profileFolders) figures += MeasureTargets(profile, TargetsOf(item));
    return figures;
}
