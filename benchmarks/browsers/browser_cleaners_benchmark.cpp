// Times the two loops of the browser cleaners that grow with the user's history, each against a baseline
// run in the same session on identical data:
// - WipeIndexFile on a 32 MiB index file, against the C runtime's "r+" open and one fputc per space;
// - the cache walk deleting 2,000 WinINet entries, against deleting the same entries by their known names.
// Usage: browser_cleaners_benchmark [rounds]   (run under Wine in a test prefix: it empties the URL cache)
#include "cleaners/browsers/index_file_wipe.h"
#include "cleaners/browsers/url_cache_search.h"
#include "tests/support/timing.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using testing_support::Median;
using testing_support::TimeMs;

constexpr DWORD kIndexSize = 32 * 1024 * 1024;
constexpr int kEntries = 2000;

bool MakeIndexFile(const std::wstring& path) {
    HANDLE h =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const std::vector<char> block(1024 * 1024, 'i');
    DWORD written = 0;
    for (DWORD done = 0; done < kIndexSize; done += written)
        if (!WriteFile(h, block.data(), static_cast<DWORD>(block.size()), &written, nullptr)) break;
    CloseHandle(h);
    return true;
}

void CrtWipe(const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"r+b");
    if (!file) return;
    std::fseek(file, 0, SEEK_END);
    const long length = std::ftell(file);
    std::fseek(file, kMainIndexOffset, SEEK_SET);
    for (long n = length - kMainIndexOffset - 10; n > 0; --n)
        std::fputc(' ', file);
    std::fclose(file);
}

std::vector<std::wstring> MakeEntries() {
    std::vector<std::wstring> urls;
    for (int i = 0; i < kEntries; ++i) {
        const std::wstring url = L"http://benchmark.tracewipe.test/page" + std::to_wstring(i);
        wchar_t file[MAX_PATH] = L"";
        if (!CreateUrlCacheEntryW(url.c_str(), 0, L"txt", file, 0)) continue;
        CloseHandle(CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        const FILETIME never{};
        if (CommitUrlCacheEntryW(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr,
                                 nullptr))
            urls.push_back(url);
    }
    return urls;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring index = std::wstring(temp) + L"tracewipe-benchmark-index.dat";

    std::vector<double> wipe, crt, walk, byName;
    for (int round = 0; round < rounds; ++round) {
        if (!MakeIndexFile(index)) return 1;
        wipe.push_back(TimeMs([&] { WipeIndexFile(index, kMainIndexOffset); }));
        if (!MakeIndexFile(index)) return 1;
        crt.push_back(TimeMs([&] { CrtWipe(index); }));

        DeleteUrlCacheEntries(nullptr, CacheEntryFilter::All); // start from an empty cache
        MakeEntries();
        walk.push_back(TimeMs([] { DeleteUrlCacheEntries(nullptr, CacheEntryFilter::Content); }));
        const auto urls = MakeEntries();
        byName.push_back(TimeMs([&] {
            for (const auto& url : urls)
                DeleteUrlCacheEntryW(url.c_str());
        }));
    }
    DeleteFileW(index.c_str());

    std::printf("index wipe, 32 MiB: %.1f ms; CRT fputc baseline %.1f ms; ratio %.3f\n", Median(wipe),
                Median(crt), Median(wipe) / Median(crt));
    std::printf("cache walk, %d entries: %.1f ms; delete-by-name baseline %.1f ms; ratio %.3f\n", kEntries,
                Median(walk), Median(byName), Median(walk) / Median(byName));
    return 0;
}
