#pragma once
// Deletes or counts entries of the WinINet URL cache. Kept apart from every WinHTTP user: <wininet.h> and
// <winhttp.h> cannot share a translation unit.
#include <cstdint>

// Content: what the cache holds of pages, neither cookies nor visits of the history.
enum class CacheEntryFilter { Content, All };

// Which entries an item walks: `pattern` null for the whole cache, "Cookie:" for the cookies, "Visited:" for
// the visits of the history.
struct UrlCacheWalk {
    const wchar_t* pattern;
    CacheEntryFilter filter;
};

struct UrlCacheFigures {
    uint64_t entries = 0, bytes = 0;
};

// Walks the entries that `pattern` selects and deletes those the filter lets through. True when the walk
// reached its normal end; it stops between entries with the thread's walk stop (walk_stop.h).
bool DeleteUrlCacheEntries(const wchar_t* pattern, CacheEntryFilter filter);
// The entries the same walk would delete, and the bytes of their files; nothing is opened or changed.
UrlCacheFigures CountUrlCacheEntries(const UrlCacheWalk& walk);
