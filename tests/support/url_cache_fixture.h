#pragma once
// Real entries of the prefix's WinINet cache. Kept apart: <wininet.h> cannot share a unit with <winhttp.h>.
#include <windows.h>

#include <string>

namespace testing_support {

// An entry of `type` (NORMAL_CACHE_ENTRY, COOKIE_CACHE_ENTRY) with a small content file.
bool MakeCacheEntry(const std::wstring& url, DWORD type);
// A visit of `url` in the history's container, as the URL history store records one: no content file.
bool MakeVisit(const std::wstring& url);
bool HasCacheEntry(const std::wstring& url);

} // namespace testing_support
