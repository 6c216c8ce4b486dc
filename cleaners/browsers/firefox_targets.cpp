#include "cleaners/browsers/firefox_targets.h"

#include "cleaners/browsers/logins_json.h"
#include "cleaners/browsers/small_file.h"
#include "cleaners/browsers/special_folders.h"
#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/folder_listing.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/removed_tally.h"

#include <shlobj.h>

#include <cwchar>

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

// The second is the copy Firefox keeps of the first: its logins count only when the first has none.
constexpr const wchar_t* kLoginFiles[] = {L"logins.json", L"logins-backup.json"};
constexpr CountedRows kSignonsRows{L"\\signons.sqlite", "SELECT count(*) FROM moz_logins"};

constexpr BrowserTargets kTargets[] = {
    {kCookies, {}, kCookieRows, RecordKind::Cookies},
    {kHistory, {}, kVisitRows, RecordKind::Visits},
    {kForms, {}, kFormRows, RecordKind::FormEntries},
    {kDownloads, {}, kDownloadRows, RecordKind::Downloads},
    {kSessionFiles, kSessionFolders, {}, RecordKind::None},
};

// `folder` lies inside `parent` (which ends with a backslash), in any case.
bool IsBelow(const std::wstring& folder, const std::wstring& parent) {
    return !parent.empty() && folder.size() > parent.size() &&
           CompareStringOrdinal(folder.c_str(), static_cast<int>(parent.size()), parent.c_str(),
                                static_cast<int>(parent.size()), TRUE) == CSTR_EQUAL;
}

// The saved logins of the first logins file that is whole JSON.
uint64_t SavedLogins(const std::wstring& profileFolder) {
    for (const wchar_t* name : kLoginFiles) {
        const auto bytes = ReadSmallFile(profileFolder + L"\\" + name, kMaxLoginsJsonBytes);
        if (!bytes) continue;
        if (const auto logins = CountSavedLogins(*bytes)) return *logins;
    }
    return 0;
}

// The logins a profile holds: those of its logins files and of a legacy signons.sqlite.
uint64_t LoginsHeld(const std::wstring& profileFolder) {
    return CountRows(profileFolder + kSignonsRows.database, kSignonsRows.statement).rows + SavedLogins(profileFolder);
}

// A file whose logins, not its bytes, are the item's figure.
bool HoldsLogins(const std::wstring& file) {
    const std::wstring_view name = std::wstring_view(file).substr(file.rfind(L'\\') + 1);
    return name == L"signons.sqlite" || name == kLoginFiles[0] || name == kLoginFiles[1];
}

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

std::vector<std::wstring> FirefoxPasswordFiles(const std::wstring& profileFolder) {
    std::vector<std::wstring> files;
    ForEachEntry(ExtendedLengthPath(profileFolder), [&](const FolderEntry& entry) {
        if (!entry.IsDirectory() && std::wcsstr(entry.name, L"signons") != nullptr)
            files.push_back(JoinPath(profileFolder, entry.name));
    });
    for (const wchar_t* name : kLoginFiles) files.push_back(profileFolder + L"\\" + name);
    return files;
}

BrowserFigures MeasureFirefoxPasswords(std::span<const FirefoxProfile> profiles) {
    BrowserFigures figures{.kind = RecordKind::Logins};
    for (const FirefoxProfile& profile : profiles) {
        figures += CountRows(profile.folder + kSignonsRows.database, kSignonsRows.statement);
        figures.rows += SavedLogins(profile.folder);
        for (const std::wstring& file : FirefoxPasswordFiles(profile.folder)) {
            if (HoldsLogins(file)) continue;
            const std::wstring name = file.substr(file.rfind(L'\\') + 1);
            const wchar_t* names[] = {name.c_str()};
            figures.files += MeasureFiles(profile.folder + L"\\", names);
        }
    }
    return figures;
}

void RemoveFirefoxPasswords(const std::wstring& profileFolder) {
    const uint64_t before = LoginsHeld(profileFolder);
    for (const std::wstring& file : FirefoxPasswordFiles(profileFolder)) {
        if (!HoldsLogins(file)) {
            DeleteFileRecorded(file);
            continue;
        }
        const RemovedTally filesUncounted;
        DeleteFileRecorded(file);
    }
    const uint64_t after = LoginsHeld(profileFolder);
    TallyRemovedRows(WentBetween(before, after));
}

std::vector<std::wstring> FirefoxCacheFolders(std::span<const FirefoxProfile> profiles) {
    std::vector<std::wstring> folders;
    const std::wstring localAppData = SpecialFolder(CSIDL_LOCAL_APPDATA);
    const std::wstring localProfiles =
        localAppData.empty() ? std::wstring() : localAppData + L"\\Mozilla\\Firefox\\Profiles\\";
    if (!localProfiles.empty()) folders.push_back(localProfiles.substr(0, localProfiles.size() - 1));
    for (const FirefoxProfile& profile : profiles) {
        if (profile.absolute) {
            for (const wchar_t* cache : {L"\\cache2", L"\\startupCache"}) folders.push_back(profile.folder + cache);
        } else if (!profile.localFolder.empty() && !IsBelow(profile.localFolder, localProfiles)) {
            folders.push_back(profile.localFolder);
        }
    }
    return folders;
}

BrowserFigures MeasureFirefoxCache(std::span<const FirefoxProfile> profiles) {
    BrowserFigures figures;
    for (const std::wstring& folder : FirefoxCacheFolders(profiles))
        figures.files += MeasureFolder(ExtendedLengthPath(folder), true);
    return figures;
}
