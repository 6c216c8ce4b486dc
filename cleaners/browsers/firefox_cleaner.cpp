#include "cleaners/browsers/firefox_cleaner.h"

#include "cleaners/browsers/firefox_places.h"
#include "cleaners/browsers/firefox_targets.h"
#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/shell_delete.h"

#include <string>

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

void FirefoxCleaner::CleanPasswords() {
    for (const FirefoxProfile& profile : profiles_) RemoveFirefoxPasswords(profile.folder);
}

void FirefoxCleaner::CleanCache(HWND /*ownerWindow*/) {
    for (const std::wstring& folder : FirefoxCacheFolders(profiles_)) ShellDelete(folder + L"\\*");
}
