// Times Chrome's cache item over five profiles of 5,000 cache files each, finding the profiles included,
// against the same work in one profile scaled by five, in the same session: finding and walking several
// profiles should cost nothing beyond the files themselves (goal: ratio at most 1.1).
// Usage: chromium_profiles_benchmark [rounds]   (run under Wine: it moves the local application-data folder
// into a temporary folder for its run)
#include "cleaners/browsers/chromium_cleaner.h"
#include "support/shell_folder_redirect.h"
#include "support/test_folder.h"
#include "support/timing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using testing_support::Median;
using testing_support::TimeMs;

constexpr int kFilesPerProfile = 5000;
constexpr int kProfiles = 5;

void WriteSmallFile(const std::wstring& path) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, "cached entry", 12, &written, nullptr);
    CloseHandle(file);
}

// `profiles` profiles below `userData`, each listed in "Local State", with its cache filled.
void MakeProfiles(const std::wstring& userData, int profiles) {
    std::string localState = R"({"profile": {"info_cache": {)";
    for (int p = 0; p < profiles; ++p) {
        const std::wstring name = p == 0 ? L"Default" : L"Profile " + std::to_wstring(p);
        const std::wstring cache = userData + L"\\" + name + L"\\Cache\\Cache_Data";
        testing_support::MakeFolders(cache);
        WriteSmallFile(userData + L"\\" + name + L"\\Preferences");
        for (int f = 0; f < kFilesPerProfile; ++f)
            WriteSmallFile(cache + L"\\f_" + std::to_wstring(f));
        localState +=
            (p ? ", \"" : "\"") + std::string(name.begin(), name.end()) + "\": {\"name\": \"Person\"}";
    }
    localState += "}}}";
    HANDLE file = CreateFileW((userData + L"\\Local State").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, localState.data(), static_cast<DWORD>(localState.size()), &written, nullptr);
    CloseHandle(file);
}

double CleanCacheMs(int profiles) {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    testing_support::TestFolder root(std::wstring(temp) + L"tracewipe-benchmark");
    const std::wstring local = root.MakeFolder(L"Local");
    MakeProfiles(local + L"\\Google\\Chrome\\User Data", profiles);
    testing_support::ScopedShellFolder moved(L"Local AppData", local);
    return TimeMs([] { ChromiumCleaner(*FindChromiumBrowser(6)).CleanCache(nullptr); });
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::vector<double> many, one;
    for (int round = 0; round < rounds; ++round) {
        many.push_back(CleanCacheMs(kProfiles));
        one.push_back(CleanCacheMs(1));
    }
    std::printf(
        "cache item, %d profiles of %d files: %.1f ms; one profile %.1f ms x %d = %.1f ms; ratio %.3f\n",
        kProfiles, kFilesPerProfile, Median(many), Median(one), kProfiles, Median(one) * kProfiles,
        Median(many) / (Median(one) * kProfiles));
    return 0;
}
