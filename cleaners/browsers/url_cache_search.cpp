#include "cleaners/browsers/url_cache_search.h"

#include "cleaners/windows/removed_tally.h"
#include "cleaners/windows/walk_stop.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <vector>

namespace {

constexpr DWORD kInitialEntrySize = 4096;

uint64_t EntryBytes(const INTERNET_CACHE_ENTRY_INFOW& entry) {
    return (static_cast<uint64_t>(entry.dwSizeHigh) << 32) | entry.dwSizeLow;
}

// One entry record; grows whenever WinINet reports an entry that does not fit.
class EntryBuffer {
  public:
    EntryBuffer() { Resize(kInitialEntrySize); }

    INTERNET_CACHE_ENTRY_INFOW* Entry() {
        return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(bytes_.data());
    }
    // Reset before every call: WinINet shrinks it to the size of the entry it returned.
    DWORD* Size() {
        size_ = static_cast<DWORD>(bytes_.size());
        return &size_;
    }
    // After ERROR_INSUFFICIENT_BUFFER, Size() held what the entry needs.
    void Grow() { Resize(size_); }

  private:
    void Resize(DWORD size) {
        bytes_.assign(std::max<DWORD>(size, sizeof(INTERNET_CACHE_ENTRY_INFOW)), 0);
        Entry()->dwStructSize = static_cast<DWORD>(bytes_.size());
    }

    std::vector<unsigned char> bytes_;
    DWORD size_ = 0;
};

struct SearchCloser {
    void operator()(HANDLE search) const { FindCloseUrlCache(search); }
};
using SearchHandle = std::unique_ptr<void, SearchCloser>;

// One call, and once more with a grown buffer when the entry did not fit.
template <typename Find> bool FindGrowing(EntryBuffer& buffer, Find find) {
    if (find(buffer)) return true;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    buffer.Grow();
    return find(buffer);
}

// NOTE: a null pattern gives the content entries on Windows, but every container's under Wine: the
// visits go with the history item, never with the cache.
bool IsContent(const INTERNET_CACHE_ENTRY_INFOW& entry) {
    if (entry.CacheEntryType & (COOKIE_CACHE_ENTRY | URLHISTORY_CACHE_ENTRY)) return false;
    const wchar_t* name = entry.lpszSourceUrlName;
    return !name || (_wcsnicmp(name, L"Visited:", 8) != 0 && _wcsnicmp(name, L"Cookie:", 7) != 0);
}

// Walks the entries that `pattern` selects and calls `visit` with those the filter lets through. True when
// the walk reached its normal end.
template <typename Visit> bool ForEachUrlCacheEntry(const wchar_t* pattern, CacheEntryFilter filter, Visit visit) {
    EntryBuffer buffer;
    SearchHandle search;
    if (!FindGrowing(buffer, [&](EntryBuffer& b) {
            search.reset(FindFirstUrlCacheEntryW(pattern, b.Entry(), b.Size()));
            return search != nullptr;
        }))
        return false;
    do {
        if (WalkStopRequested()) return false;
        INTERNET_CACHE_ENTRY_INFOW* entry = buffer.Entry();
        if (filter == CacheEntryFilter::All || IsContent(*entry)) visit(*entry);
    } while (FindGrowing(buffer, [&](EntryBuffer& b) {
        return FindNextUrlCacheEntryW(search.get(), b.Entry(), b.Size()) != FALSE;
    }));
    return GetLastError() == ERROR_NO_MORE_ITEMS;
}

} // namespace

bool DeleteUrlCacheEntries(const wchar_t* pattern, CacheEntryFilter filter) {
    return ForEachUrlCacheEntry(pattern, filter, [](const INTERNET_CACHE_ENTRY_INFOW& entry) {
        if (DeleteUrlCacheEntryW(entry.lpszSourceUrlName)) TallyRemovedCacheEntry(EntryBytes(entry));
    });
}

UrlCacheFigures CountUrlCacheEntries(const UrlCacheWalk& walk) {
    UrlCacheFigures figures;
    ForEachUrlCacheEntry(walk.pattern, walk.filter, [&](const INTERNET_CACHE_ENTRY_INFOW& entry) {
        ++figures.entries;
        figures.bytes += EntryBytes(entry);
    });
    return figures;
}
