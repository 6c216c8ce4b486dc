#include "cleaners/browsers/ie_cleaner.h"

#include "cleaners/browsers/index_file_messages.h"
#include "cleaners/browsers/index_file_wipe.h"
#include "cleaners/browsers/special_folders.h"
#include "cleaners/browsers/url_cache_search.h"
#include "cleaners/browsers/url_history_store.h"
#include "cleaners/windows/folder_listing.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/registry_targets.h"
#include "cleaners/windows/removed_tally.h"
#include "cleaners/windows/shell_delete.h"
#include "cleaners/windows/stayed_record.h"
#include "common/scoped_handles.h"

#include <shlobj.h>

#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr wchar_t kCacheIndex[] = L"\\content.ie5\\index.dat";
constexpr wchar_t kHistoryIndex[] = L"\\History.IE5\\index.dat";
constexpr wchar_t kCookiesIndex[] = L"\\index.dat";

// NOTE: "Cookie:" in the container's own case: Windows matches the pattern in any case, Wine only exactly.
constexpr UrlCacheWalk kCacheWalk{nullptr, CacheEntryFilter::Content};
constexpr UrlCacheWalk kCookieWalk{L"Cookie:", CacheEntryFilter::All};
constexpr UrlCacheWalk kVisitWalk{L"Visited:", CacheEntryFilter::All};

// An index file in one of Internet Explorer's folders, and the message shown when it cannot be opened.
struct IndexFile {
    int csidl;
    const wchar_t* suffix;
    IndexFileMessage message;
};

// The index file where older systems kept it; normally in use, so failure is expected and ignored.
void DeleteLegacyIndexFile(const wchar_t* suffix) {
    const std::wstring profile = UserProfileFolder();
    if (!profile.empty()) DeleteFileW((profile + suffix).c_str());
}

// Where the folder exists: its path + `suffix`; else empty, and the step is skipped.
std::wstring PathIn(int csidl, const wchar_t* suffix) {
    const std::wstring folder = SpecialFolder(csidl);
    return folder.empty() ? folder : folder + suffix;
}

// False when the file exists but cannot be opened, which has been reported. A missing file is nothing to
// wipe, and one a URL cache holds open is its live index, whose entries go through the cache itself.
bool WipeOrReport(const std::wstring& path, int64_t offset, IndexFileMessage message) {
    if (path.empty()) return true;
    switch (WipeIndexFile(path, offset)) {
    case IndexFileAccess::Unopenable:
        ShowIndexFileMessage(message);
        return false;
    case IndexFileAccess::Writable:
        // A cache opening it later would take the spaces for entries; without it, it starts a new index.
        DeleteFileW(ExtendedLengthPath(path).c_str());
        return true;
    default:
        return true;
    }
}

bool WipeOrReport(const IndexFile& file) {
    return WipeOrReport(PathIn(file.csidl, file.suffix), kMainIndexOffset, file.message);
}

// The cache walk comes before the wipe, so that it never reads an index just overwritten; an index that
// cannot be opened still stops the clean before any entry goes.
int32_t CleanUrlCache(int32_t withIndexFile, const IndexFile& index, const wchar_t* legacySuffix,
                      const UrlCacheWalk& walk) {
    if (withIndexFile) {
        DeleteLegacyIndexFile(legacySuffix);
        const std::wstring path = PathIn(index.csidl, index.suffix);
        if (!path.empty() && ProbeIndexFile(path) == IndexFileAccess::Unopenable) {
            ShowIndexFileMessage(index.message);
            return 0;
        }
    }
    const bool walked = DeleteUrlCacheEntries(walk.pattern, walk.filter);
    if (withIndexFile && !WipeOrReport(index)) return 0;
    return walked ? 1 : 0;
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

// The index files of the history folder are the URL cache's own. One that a cache holds open cannot go
// (this program's own cache holds them once it has counted them), and the visits in it go through the
// cache instead: such a file is neither counted nor reported as left behind.
bool IsIndexFileName(std::wstring_view name) { return _wcsicmp(std::wstring(name).c_str(), L"index.dat") == 0; }

bool NotIndexFile(const FolderEntry& entry) { return !IsIndexFileName(entry.name); }

FolderFigures MeasureHistoryFolder(const std::wstring& folder) {
    return MeasureFolderIf(ExtendedLengthPath(folder), NotIndexFile);
}

// What the removal reported as left ("folder\*", a folder or a file) holds nothing now but index files.
bool OnlyIndexFilesAt(std::wstring what) {
    if (what.ends_with(L"\\*")) what.resize(what.size() - 2);
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(what).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return IsIndexFileName(what.substr(what.rfind(L'\\') + 1));
    const FolderFigures left = MeasureHistoryFolder(what);
    return left.listed && left.unlisted == 0 && left.files == 0;
}

// Everything inside the history folder, its index files only where nothing holds them. Those are no figure of
// the item, and one the cache holds open may still be deleted (it goes when the cache lets go of it): what
// went is what the count of the item's files no longer finds.
void EmptyHistoryFolder(const std::wstring& history) {
    const FolderFigures before = MeasureHistoryFolder(history);
    std::vector<std::wstring> left;
    {
        const StayedRecord own;
        const RemovedTally countedBelow;
        ShellDelete(history + L"\\*");
        left = own.Stayed();
    }
    const FolderFigures after = MeasureHistoryFolder(history);
    TallyRemoved({.files = WentBetween(before.files, after.files), .bytes = WentBetween(before.bytes, after.bytes)});
    for (const std::wstring& what : left)
        if (!OnlyIndexFilesAt(what)) ReportStayed(what);
}

} // namespace

void IECleaner::CleanTypedUrls() { RemoveRegistryTargets(RegistryItem::IeTypedUrls); }

void IECleaner::CleanAutoFormsAndPasswords() { RemoveRegistryTargets(RegistryItem::IeAutoForms); }

int32_t IECleaner::CleanCache(int32_t withIndexFile) {
    return CleanUrlCache(withIndexFile, {CSIDL_INTERNET_CACHE, kCacheIndex, IndexFileMessage::Cache},
                         L"\\Local Settings\\Temporary Internet Files\\Content.IE5\\index.dat", kCacheWalk);
}

int32_t IECleaner::CleanCookies(int32_t withIndexFile) {
    return CleanUrlCache(withIndexFile, {CSIDL_COOKIES, kCookiesIndex, IndexFileMessage::Cookies},
                         L"\\Cookies\\index.dat", kCookieWalk);
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
        EmptyHistoryFolder(history);
        if (!WipeOrReport(history + kHistoryIndex, kMainIndexOffset, IndexFileMessage::Index)) return 0;
        if (!WipePeriodIndexFiles(history)) return 0;
    }
    DeleteLegacyIndexFile(L"\\Local Settings\\History\\History.IE5\\index.dat");
    // The store's visits are entries of the URL cache, which stay in an index the cache holds open, and
    // under Wine the store cannot clear itself: they go through the cache first.
    DeleteUrlCacheEntries(kVisitWalk.pattern, kVisitWalk.filter);
    return ClearUrlHistoryStore();
}

UrlCacheFigures IECleaner::CountCache() { return CountUrlCacheEntries(kCacheWalk); }
UrlCacheFigures IECleaner::CountCookies() { return CountUrlCacheEntries(kCookieWalk); }

BrowserFigures IECleaner::CountBrowserHistory() {
    const UrlCacheFigures visits = CountUrlCacheEntries(kVisitWalk);
    BrowserFigures figures{.rows = visits.entries, .kind = RecordKind::Visits};
    const std::wstring history = SpecialFolder(CSIDL_HISTORY);
    if (!history.empty()) figures.files = MeasureHistoryFolder(history);
    // A visit's bytes go with it, as its removal counts them.
    figures.files.bytes += visits.bytes;
    return figures;
}
