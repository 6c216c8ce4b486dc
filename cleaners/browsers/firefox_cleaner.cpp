#include "cleaners/browsers/firefox_cleaner.h"

#include "cleaners/browsers/firefox_places.h"
#include "cleaners/browsers/firefox_profile.h"
#include "cleaners/browsers/special_folders.h"
#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/folder_listing.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/shell_delete.h"

#include <shlobj.h>

#include <cwchar>
#include <string>

namespace {

// A database of the profile with the "-wal" and "-shm" files SQLite keeps beside it in write-ahead mode,
// then the file older versions of Firefox kept the same data in.
void TruncateAndDeleteDatabase(const wchar_t* database, const wchar_t* older) {
    const auto profile = ReadFirefoxProfilePath();
    if (!profile) return;
    const std::wstring path = *profile + L"\\" + database;
    for (const wchar_t* suffix : {L"", L"-wal", L"-shm"}) TruncateAndDelete(path + suffix);
    TruncateAndDelete(*profile + L"\\" + older);
}

} // namespace

void FirefoxCleaner::CleanCookies() {
    TruncateAndDeleteDatabase(L"cookies.sqlite", L"cookies.txt");
}
void FirefoxCleaner::CleanAutoForms() {
    TruncateAndDeleteDatabase(L"formhistory.sqlite", L"formhistory.dat");
}

// places.sqlite holds the bookmarks too: only its history rows go, never the file.
void FirefoxCleaner::CleanUrls() {
    const auto profile = ReadFirefoxProfilePath();
    if (!profile) return;
    RemoveFirefoxHistory(*profile + L"\\places.sqlite");
    TruncateAndDelete(*profile + L"\\history.dat");
}

// Firefox 3 to 20 kept downloads in their own files; later versions keep them in places.sqlite.
void FirefoxCleaner::CleanDownloadHistory() {
    const auto profile = ReadFirefoxProfilePath();
    if (!profile) return;
    TruncateAndDelete(*profile + L"\\downloads.sqlite");
    TruncateAndDelete(*profile + L"\\downloads.rdf");
    RemoveFirefoxDownloads(*profile + L"\\places.sqlite");
}

void FirefoxCleaner::CleanLastSession() {
    const auto profile = ReadFirefoxProfilePath();
    if (!profile) return;
    for (const wchar_t* name : {L"\\sessionstore.js", L"\\sessionstore.jsonlz4"})
        DeleteFileRecorded(*profile + name);
    ShellDelete(*profile + L"\\sessionstore-backups\\*");
}

// The name alone decides: a profile folder whose own name holds "signons" must not lose every file.
// key4.db and cert9.db stay: they hold keys and certificates beyond the passwords.
void FirefoxCleaner::CleanPasswords() {
    const auto profile = ReadFirefoxProfilePath();
    if (!profile) return;
    ForEachEntry(ExtendedLengthPath(*profile), [&](const FolderEntry& entry) {
        if (std::wcsstr(entry.name, L"signons") != nullptr) DeleteFileRecorded(JoinPath(*profile, entry.name));
    });
    for (const wchar_t* name : {L"\\logins.json", L"\\logins-backup.json"})
        DeleteFileRecorded(*profile + name);
}

void FirefoxCleaner::CleanCache(HWND /*ownerWindow*/) {
    const std::wstring localAppData = SpecialFolder(CSIDL_LOCAL_APPDATA);
    if (!localAppData.empty()) ShellDelete(localAppData + L"\\Mozilla\\Firefox\\Profiles\\*");
}
