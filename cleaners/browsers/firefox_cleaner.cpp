#include "cleaners/browsers/firefox_cleaner.h"

#include "cleaners/browsers/firefox_places.h"
#include "cleaners/browsers/firefox_targets.h"
#include "cleaners/browsers/special_folders.h"
#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/folder_listing.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/shell_delete.h"

#include <shlobj.h>

#include <cwchar>
#include <string>

namespace {

// `folder` lies inside `parent` (which ends with a backslash), in any case.
bool IsBelow(const std::wstring& folder, const std::wstring& parent) {
    return !parent.empty() && folder.size() > parent.size() &&
           CompareStringOrdinal(folder.c_str(), static_cast<int>(parent.size()), parent.c_str(),
                                static_cast<int>(parent.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

FirefoxCleaner::FirefoxCleaner() : profiles_(ReadFirefoxProfiles()) {}

void FirefoxCleaner::CleanCookies() {
    for (const FirefoxProfile& profile : profiles_) RemoveFirefoxTargets(profile.folder, FirefoxItem::Cookies);
}
void FirefoxCleaner::CleanAutoForms() {
    for (const FirefoxProfile& profile : profiles_) RemoveFirefoxTargets(profile.folder, FirefoxItem::AutoForms);
}

void FirefoxCleaner::CleanUrls() {
    for (const FirefoxProfile& profile : profiles_) {
        RemoveFirefoxHistory(profile.folder + L"\\places.sqlite");
        RemoveFirefoxTargets(profile.folder, FirefoxItem::Urls);
    }
}

void FirefoxCleaner::CleanDownloadHistory() {
    for (const FirefoxProfile& profile : profiles_) {
        RemoveFirefoxTargets(profile.folder, FirefoxItem::DownloadHistory);
        RemoveFirefoxDownloads(profile.folder + L"\\places.sqlite");
    }
}

void RemoveFirefoxSession(const std::wstring& profileFolder) {
    RemoveFirefoxTargets(profileFolder, FirefoxItem::LastSession);
}

void FirefoxCleaner::CleanLastSession() {
    for (const FirefoxProfile& profile : profiles_)
        RemoveFirefoxSession(profile.folder);
}

// The name alone decides: a profile folder whose own name holds "signons" must not lose every file.
// key4.db and cert9.db stay: they hold keys and certificates beyond the passwords.
void FirefoxCleaner::CleanPasswords() {
    for (const FirefoxProfile& profile : profiles_) {
        ForEachEntry(ExtendedLengthPath(profile.folder), [&](const FolderEntry& entry) {
            if (std::wcsstr(entry.name, L"signons") != nullptr)
                DeleteFileRecorded(JoinPath(profile.folder, entry.name));
        });
        for (const wchar_t* name : {L"\\logins.json", L"\\logins-backup.json"})
            DeleteFileRecorded(profile.folder + name);
    }
}

// The local data of every profile in the usual place goes whole, listed or not, as it always did; a profile
// kept elsewhere has its local folder emptied, and one at an absolute path (whose cache Firefox keeps inside
// the profile) loses its cache folders only.
void FirefoxCleaner::CleanCache(HWND /*ownerWindow*/) {
    const std::wstring localAppData = SpecialFolder(CSIDL_LOCAL_APPDATA);
    const std::wstring localProfiles =
        localAppData.empty() ? std::wstring() : localAppData + L"\\Mozilla\\Firefox\\Profiles\\";
    if (!localProfiles.empty()) ShellDelete(localProfiles + L"*");
    for (const FirefoxProfile& profile : profiles_) {
        if (profile.absolute) {
            for (const wchar_t* cache : {L"\\cache2\\*", L"\\startupCache\\*"})
                ShellDelete(profile.folder + cache);
        } else if (!profile.localFolder.empty() && !IsBelow(profile.localFolder, localProfiles)) {
            ShellDelete(profile.localFolder + L"\\*");
        }
    }
}
