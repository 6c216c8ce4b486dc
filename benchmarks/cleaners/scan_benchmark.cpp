// The count of what a run would remove against a plain listing of the same trees, in the same run: a temporary
// folder of 20,000 files and a Chrome-like cache of 30,000, counted by MeasureFolder and walked by
// FindFirstFileExW (basic info, large fetch) with nothing else done.
// Usage: scan_benchmark [rounds]. Run it under Wine in a test prefix: it writes C:\tracewipe-scan-bench.
#include "cleaners/windows/folder_measure.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/shell_delete.h"
#include "file_trees.h"
#include "support/timing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const std::wstring kRoot = L"C:\\tracewipe-scan-bench";

// The least a count must do: list every folder once and add the sizes.
uint64_t PlainWalk(const std::wstring& folder, uint64_t& bytes) {
    uint64_t files = 0;
    std::vector<std::wstring> pending{folder};
    while (!pending.empty()) {
        const std::wstring current = std::move(pending.back());
        pending.pop_back();
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileExW((current + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                       nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            if (!wcscmp(data.cFileName, L".") || !wcscmp(data.cFileName, L"..")) continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) pending.push_back(current + L"\\" + data.cFileName);
                continue;
            }
            ++files;
            bytes += (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    return files;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::wstring temp = kRoot + L"\\Temp", cache = kRoot + L"\\Cache";
    CreateDirectoryW(kRoot.c_str(), nullptr);
    if (!file_trees::BuildTree(temp, 200, 100) || !file_trees::BuildTree(cache, 300, 100)) {
        std::printf("could not build the trees\n");
        return 1;
    }
    std::vector<double> scan, plain;
    uint64_t scanned = 0, listed = 0;
    for (int r = 0; r < rounds; ++r) {
        // Alternately first, so that neither profits from the other's warm caches alone.
        auto count = [&] {
            scan.push_back(testing_support::TimeMs([&] {
                scanned = MeasureFolder(ExtendedLengthPath(temp), true).files +
                          MeasureFolder(ExtendedLengthPath(cache), true).files;
            }));
        };
        auto walk = [&] {
            plain.push_back(testing_support::TimeMs([&] {
                uint64_t bytes = 0;
                listed = PlainWalk(temp, bytes) + PlainWalk(cache, bytes);
            }));
        };
        if (r % 2) count(), walk();
        else walk(), count();
        std::printf("round %d: scan %.0f ms, plain walk %.0f ms\n", r + 1, scan.back(), plain.back());
    }
    const double s = testing_support::Median(scan), p = testing_support::Median(plain);
    std::printf("50,000 files (%llu counted, %llu listed): scan %.0f ms, plain walk %.0f ms (medians), ratio %.3f\n",
                static_cast<unsigned long long>(scanned), static_cast<unsigned long long>(listed), s, p, s / p);
    ShellDelete(kRoot + L"\\*");
    RemoveDirectoryW(kRoot.c_str());
    return 0;
}
