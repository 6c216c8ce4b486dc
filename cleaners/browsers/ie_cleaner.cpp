#include "cleaners/browsers/ie_cleaner.h"

#include "cleaners/browsers/index_file_messages.h"
#include "cleaners/browsers/index_file_wipe.h"
#include "cleaners/browsers/special_folders.h"
#include "cleaners/browsers/url_cache_search.h"
#include "cleaners/browsers/url_history_store.h"
#include "cleaners/windows/folder_listing.h"
#include "cleaners/windows/shell_delete.h"
#include "common/scoped_handles.h"

#include <shlobj.h>

#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kIntelliForms[] = L"Software\\Microsoft\\Internet Explorer\\IntelliForms\\";
constexpr wchar_t kCacheIndex[] = L"\\content.ie5\\index.dat";
constexpr wchar_t kHistoryIndex[] = L"\\History.IE5\\index.dat";
constexpr wchar_t kCookiesIndex[] = L"\\index.dat";

// An index file in one of Internet Explorer's folders, and the message shown when it cannot be opened.
struct IndexFile {
    int csidl;
    const wchar_t* suffix;
    IndexFileMessage message;
};

// True unless the file exists but cannot be opened, which has been reported. A missing folder or file is
// nothing to wipe.
bool WipeOrReport(const std::wstring& path, int64_t offset, IndexFileMessage message) {
    if (WipeIndexFile(path, offset) != WipeResult::Unopenable) return true;
    ShowIndexFileMessage(message);
    return false;
}

bool WipeOrReport(const IndexFile& file) {
    const std::wstring folder = SpecialFolder(file.csidl);
    return folder.empty() || WipeOrReport(folder + file.suffix, kMainIndexOffset, file.message);
}

// The index file where older systems kept it; normally in use, so failure is expected and ignored.
void DeleteLegacyIndexFile(const wchar_t* suffix) {
    const std::wstring profile = UserProfileFolder();
    if (!profile.empty()) DeleteFileW((profile + suffix).c_str());
}

// The history folder's per-period subfolders ("MSHist...") each hold an index file of their own. The name
// decides: a user folder whose path holds "MSH" must not make every entry of History.IE5 a period folder.
bool WipePeriodIndexFiles(const std::wstring& historyFolder) {
    bool reported = false;
    ForEachEntry(historyFolder + L"\\History.IE5", [&](const FolderEntry& entry) {
        if (reported || !entry.IsDirectory() || std::wcsstr(entry.name, L"MSH") == nullptr) return;
        reported =
            !WipeOrReport(entry.path + L"\\index.dat", kPeriodIndexOffset, IndexFileMessage::BrowserHistory);
    });
    return !reported;
}

} // namespace

void IECleaner::CleanTypedUrls() {
    scoped::RegKey key;
    if (RegOpenKeyW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\TypedURLs", key.Out()) !=
        ERROR_SUCCESS)
        return;
    // The list is numbered from url1 without gaps; the first missing number ends it.
    for (unsigned n = 1; RegDeleteValueW(key.Get(), (L"url" + std::to_wstring(n)).c_str()) == ERROR_SUCCESS;
         ++n) {
    }
}

// Storage2 holds the form data on systems that no longer have SPW, so it goes whatever became of SPW.
void IECleaner::CleanAutoFormsAndPasswords() {
    for (const wchar_t* name : {L"SPW", L"Storage2"})
        RegDeleteKeyW(HKEY_CURRENT_USER, (std::wstring(kIntelliForms) + name).c_str());
}

int32_t IECleaner::CleanCache(int32_t withIndexFile) {
    if (withIndexFile) {
        DeleteLegacyIndexFile(L"\\Local Settings\\Temporary Internet Files\\Content.IE5\\index.dat");
        if (!WipeOrReport({CSIDL_INTERNET_CACHE, kCacheIndex, IndexFileMessage::Cache})) return 0;
    }
    return DeleteUrlCacheEntries(nullptr, CacheEntryFilter::AllButCookies) ? 1 : 0;
}

// NOTE: "Cookie:" in the container's own case: Windows matches the pattern in any case, Wine only exactly.
int32_t IECleaner::CleanCookies(int32_t withIndexFile) {
    if (withIndexFile) {
        DeleteLegacyIndexFile(L"\\Cookies\\index.dat");
        if (!WipeOrReport({CSIDL_COOKIES, kCookiesIndex, IndexFileMessage::Cookies})) return 0;
    }
    return DeleteUrlCacheEntries(L"Cookie:", CacheEntryFilter::All) ? 1 : 0;
}

void IECleaner::CleanIndexFiles() {
    const IndexFile files[] = {
        {CSIDL_INTERNET_CACHE, kCacheIndex, IndexFileMessage::IndexAll},
        {CSIDL_HISTORY, kHistoryIndex, IndexFileMessage::IndexAll},
        {CSIDL_COOKIES, kCookiesIndex, IndexFileMessage::Index},
    };
    for (const auto& file : files)
        if (!WipeOrReport(file)) return;
}

HRESULT IECleaner::CleanBrowserHistory(HWND /*ownerWindow*/) {
    const std::wstring history = SpecialFolder(CSIDL_HISTORY);
    if (!history.empty()) {
        ShellDelete(history + L"\\*");
        if (!WipeOrReport(history + kHistoryIndex, kMainIndexOffset, IndexFileMessage::Index)) return 0;
        if (!WipePeriodIndexFiles(history)) return 0;
    }
    DeleteLegacyIndexFile(L"\\Local Settings\\History\\History.IE5\\index.dat");
    return ClearUrlHistoryStore();
}
