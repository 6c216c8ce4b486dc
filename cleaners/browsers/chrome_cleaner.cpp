#include "cleaners/browsers/chrome_cleaner.h"

#include "cleaners/browsers/special_folders.h"
#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/shell_delete.h"

#include <shlobj.h>

namespace {

std::wstring DefaultProfileFolder() {
    const std::wstring localAppData = SpecialFolder(CSIDL_LOCAL_APPDATA);
    return localAppData.empty() ? std::wstring() : localAppData + L"\\Google\\Chrome\\User Data\\Default\\";
}

const wchar_t* FileNameOf(ChromeFileKind kind) {
    switch (kind) {
    case ChromeFileKind::Cookies:
        return L"Cookies";
    case ChromeFileKind::History:
        return L"History";
    case ChromeFileKind::DownloadHistory:
        return L"Downloads.plist";
    case ChromeFileKind::WebData:
        return L"Web Data";
    }
    return nullptr;
}

} // namespace

ChromeCleaner::ChromeCleaner() : profileFolder_(DefaultProfileFolder()) {}

// Without a profile folder "Cache\*" would name a folder of the current directory.
void ChromeCleaner::CleanCache(HWND /*ownerWindow*/) {
    if (!profileFolder_.empty()) ShellDelete(profileFolder_ + L"Cache\\*");
}

void ChromeCleaner::CleanProfileFile(ChromeFileKind kind) {
    const wchar_t* name = FileNameOf(kind);
    if (profileFolder_.empty() || !name) return;
    TruncateAndDelete(profileFolder_ + name);
}
