// Times the history removal from a places.sqlite of 100,000 visits and 1,000 bookmarks (the current Firefox
// schema, in write-ahead mode as Firefox keeps it), against copying the same file once in the same run.
// Usage: firefox_history_benchmark [rounds]   (run under Wine)
#include "cleaners/browsers/firefox_places.h"
#include "tests/support/browser_databases.h"
#include "tests/support/timing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using testing_support::Median;
using testing_support::TimeMs;

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring places = std::wstring(temp) + L"tracewipe-benchmark-places.sqlite";
    const std::wstring copy = std::wstring(temp) + L"tracewipe-benchmark-places-copy.sqlite";

    testing_support::PlacesContent content;
    content.pages = 20000, content.visits = 100000, content.bookmarks = 1000, content.downloads = 200;
    std::vector<double> removal, copying;
    double megabytes = 0;
    for (int round = 0; round < rounds; ++round) {
        for (const wchar_t* suffix : {L"", L"-wal", L"-shm"}) {
            DeleteFileW((places + suffix).c_str());
            DeleteFileW((copy + suffix).c_str());
        }
        testing_support::MakePlacesDatabase(places, content);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(places.c_str(), GetFileExInfoStandard, &data);
        megabytes = data.nFileSizeLow / (1024.0 * 1024.0);
        copying.push_back(TimeMs([&] { CopyFileW(places.c_str(), copy.c_str(), FALSE); }));
        bool removed = false;
        removal.push_back(TimeMs([&] { removed = RemoveFirefoxHistory(places); }));
        if (!removed) {
            std::printf("the history removal did not commit\n");
            return 1;
        }
    }
    for (const wchar_t* suffix : {L"", L"-wal", L"-shm"}) {
        DeleteFileW((places + suffix).c_str());
        DeleteFileW((copy + suffix).c_str());
    }
    std::printf(
        "places.sqlite of %d visits, %d bookmarks (%.1f MiB): history removal %.1f ms; copying the file "
        "%.1f ms; ratio %.2f\n",
        content.visits, content.bookmarks, megabytes, Median(removal), Median(copying),
        Median(removal) / Median(copying));
    return 0;
}
