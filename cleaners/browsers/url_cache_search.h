#pragma once
// Deletes entries of the WinINet URL cache. Kept apart from every WinHTTP user: <wininet.h> and
// <winhttp.h> cannot share a translation unit.

enum class CacheEntryFilter { AllButCookies, All };

// Walks the entries that `pattern` selects (null: the whole cache; "Cookie:": the cookies) and deletes
// those the filter lets through. True when the walk reached its normal end.
bool DeleteUrlCacheEntries(const wchar_t* pattern, CacheEntryFilter filter);
