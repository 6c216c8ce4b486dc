#include "support/url_cache_fixture.h"

#include "common/scoped_handles.h"

#include <wininet.h>

namespace testing_support {

bool MakeCacheEntry(const std::wstring& url, DWORD type) {
    wchar_t file[MAX_PATH] = L"";
    if (!CreateUrlCacheEntryW(url.c_str(), 0, L"txt", file, 0)) return false;
    scoped::FileHandle content(CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(content.Get(), "trace", 5, &written, nullptr);
    content.Reset();
    const FILETIME never{};
    return CommitUrlCacheEntryW(url.c_str(), file, never, never, type, nullptr, 0, nullptr, nullptr);
}

bool MakeVisit(const std::wstring& url) {
    const FILETIME never{};
    return CommitUrlCacheEntryW((L"Visited: user@" + url).c_str(), nullptr, never, never, URLHISTORY_CACHE_ENTRY,
                                nullptr, 0, nullptr, nullptr);
}

bool HasCacheEntry(const std::wstring& url) {
    DWORD size = 0;
    return !GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size) && GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

} // namespace testing_support
