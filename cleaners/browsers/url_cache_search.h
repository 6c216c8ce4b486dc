#pragma once
// Deletes or counts entries of the WinINet URL cache. Kept apart from every WinHTTP user: <wininet.h> and
// <winhttp.h> cannot share a translation unit.
#include <cstdint>

enum class CacheEntryFilter { AllButCookies, All };

// Which entries an item walks: `pattern` null for the whole cache, "Cookie:" for the cookies.
struct UrlCacheWalk {
    const wchar_t* pattern;
    CacheEntryFilter filter;
};

struct UrlCacheFigures {
    uint64_t entries = 0, bytes = 0;
};

// Walks the entries that `pattern` selects and deletes those the filter lets through. True when the walk
// reached its normal end.
bool DeleteUrlCacheEntries(const wchar_t* pattern, CacheEntryFilter filter);
// The entries the same walk would delete, and the bytes of their files; nothing is opened or changed.
UrlCacheFigures CountUrlCacheEntries(const UrlCacheWalk& walk);
