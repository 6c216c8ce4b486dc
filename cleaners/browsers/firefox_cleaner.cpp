#include "cleaners/browsers/firefox_cleaner.h"

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

// Each item is a current file and the one older versions of Firefox kept the same data in.
void TruncateAndDeletePair(const wchar_t* current, const wchar_t* older) {
    const auto profile = ReadFirefoxProfilePath();
    if (!profile) return;
    TruncateAndDelete(*profile + L"\\" + current);
    TruncateAndDelete(*profile + L"\\" + older);
}

} // namespace

void FirefoxCleaner::CleanCookies() {
    TruncateAndDeletePair(L"cookies.sqlite", L"cookies.txt");
}
void FirefoxCleaner::CleanUrls() {
    TruncateAndDeletePair(L"places.sqlite", L"history.dat");
}
void FirefoxCleaner::CleanAutoForms() {
    TruncateAndDeletePair(L"formhistory.sqlite", L"formhistory.dat");
}
void FirefoxCleaner::CleanDownloadHistory() {
    TruncateAndDeletePair(L"downloads.sqlite", L"downloads.rdf");
}

void FirefoxCleaner::CleanLastSession() {
    if (const auto profile = ReadFirefoxProfilePath())
        DeleteFileW(ExtendedLengthPath(*profile + L"\\sessionstore.js").c_str());
}

// The name alone decides: a profile folder whose own name holds "signons" must not lose every file.
void FirefoxCleaner::CleanPasswords() {
    const auto profile = ReadFirefoxProfilePath();
    if (!profile) return;
    ForEachEntry(ExtendedLengthPath(*profile), [](const FolderEntry& entry) {
        if (std::wcsstr(entry.name, L"signons") != nullptr) DeleteFileW(entry.path.c_str());
    });
}

void FirefoxCleaner::CleanCache(HWND /*ownerWindow*/) {
    const std::wstring localAppData = SpecialFolder(CSIDL_LOCAL_APPDATA);
    if (!localAppData.empty()) ShellDelete(localAppData + L"\\Mozilla\\Firefox\\Profiles\\*");
}
