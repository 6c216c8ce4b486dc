// The real job in its own process, ended by TerminateProcess at moments spread over its run: amid the folder
// walks, the registry items and the browser databases. Nothing beyond the selection is touched, every
// database stays whole with its bookmarks and visits, and the next run finishes the job.
#include "settings/clean_item_catalogue.h"
#include "settings/settings_store.h"
#include "support/browser_databases.h"
#include "support/child_process.h"
#include "support/outside_sentinel.h"
#include "support/registry_fixture.h"
#include "support/shell_folder_redirect.h"
#include "support/test_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using namespace testing_support;

const std::wstring kRunMru = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

std::wstring RunnerPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring self = path;
    return self.substr(0, self.rfind(L'\\')) + L"\\job_runner.exe";
}

class KilledJob : public ::testing::Test {
  protected:
    void SetUp() override {
        root_.Write(L"Roaming\\Mozilla\\Firefox\\profiles.ini",
                    "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/abc.default\r\n");
        MakeFolders(firefox_);
        MakeFolders(chrome_);
        bookmarks_ = MakePlacesDatabase(places_, {.pages = 5000, .visits = 20000, .bookmarks = 200});
        MakeChromeHistory(history_, 5000, 5000);
        ASSERT_TRUE(CopyFileW(places_.c_str(), (root_.Path() + L"\\places.pristine").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(history_.c_str(), (root_.Path() + L"\\history.pristine").c_str(), FALSE));
        for (const std::wstring& folder : {localTemp_, firefox_, chrome_})
            ASSERT_TRUE(sentinel_.PlantLinkAt(folder + L"\\outside-link"));
        CleanSelection = {};
        for (const wchar_t* box : {L"temp_files", L"run_history", L"ff_urls", L"gc_downloadhistory"})
            CleanSelection.*(FindByBoxId(box)->flag) = 1;
        SaveCleanSelection();
    }

    // History for every selected item, the databases as they were made.
    void Seed() {
        for (const wchar_t* suffix : {L"-wal", L"-shm", L"-journal"}) {
            DeleteFileW((places_ + suffix).c_str());
            DeleteFileW((history_ + suffix).c_str());
        }
        ASSERT_TRUE(CopyFileW((root_.Path() + L"\\places.pristine").c_str(), places_.c_str(), FALSE));
        ASSERT_TRUE(CopyFileW((root_.Path() + L"\\history.pristine").c_str(), history_.c_str(), FALSE));
        for (int i = 0; i < 300; ++i)
            root_.Write(L"Local\\Temp\\run" + std::to_wstring(i % 10) + L"\\file" + std::to_wstring(i) +
                        L".tmp");
        SetString(HKEY_CURRENT_USER, kRunMru, L"a", L"secret\\1");
        SetString(HKEY_CURRENT_USER, kRunMru, L"MRUList", L"a");
    }

    // Starts the job and ends it `delayMs` after it began (never, for INFINITE). The milliseconds it ran.
    long long Run(DWORD delayMs) {
        static int serial = 0;
        const std::wstring event =
            L"tracewipe-job-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
        HANDLE begins = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
        ChildProcess runner(L"\"" + RunnerPath() + L"\" " + event);
        EXPECT_TRUE(runner.Started());
        EXPECT_EQ(WaitForSingleObject(begins, 20000), WAIT_OBJECT_0);
        CloseHandle(begins);
        const auto start = std::chrono::steady_clock::now();
        if (delayMs == INFINITE) {
            EXPECT_TRUE(runner.WaitForExit(120000));
            EXPECT_EQ(runner.ExitCode(), 0u);
        } else {
            Sleep(delayMs);
            runner.Terminate();
        }
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    }

    // What may never be lost, whenever the job ended.
    void ExpectNothingLost() {
        EXPECT_TRUE(sentinel_.Intact());
        EXPECT_TRUE(PathExists(firefox_ + L"\\prefs.js"));
        TestDatabase places(places_);
        EXPECT_TRUE(places.IntegrityOk());
        EXPECT_EQ(bookmarks_, ReadBookmarks(places));
        TestDatabase history(history_);
        EXPECT_TRUE(history.IntegrityOk());
        EXPECT_EQ(history.Count("visits"), 5000);
    }

    void ExpectJobDone() {
        EXPECT_FALSE(PathExists(root_.Path() + L"\\Local\\Temp\\run0"));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRunMru));
        TestDatabase places(places_);
        EXPECT_EQ(places.Count("moz_historyvisits"), 0);
        EXPECT_EQ(places.Number("PRAGMA freelist_count"), 0);
        TestDatabase history(history_);
        EXPECT_EQ(history.Count("downloads"), 0);
        EXPECT_EQ(history.Number("PRAGMA freelist_count"), 0);
    }

    TestFolder root_;
    const std::wstring roaming_ = root_.MakeFolder(L"Roaming"), local_ = root_.MakeFolder(L"Local");
    const std::wstring localTemp_ = root_.MakeFolder(L"Local\\Temp");
    ScopedShellFolder roamingFolder_{L"AppData", roaming_};
    ScopedShellFolder localFolder_{L"Local AppData", local_};
    ScopedKeyTree settings_{HKEY_CURRENT_USER, L"Software\\Quellbyte\\Freeweare\\Tracewipe"};
    ScopedKeyTree runMru_{HKEY_CURRENT_USER, kRunMru};
    OutsideSentinel sentinel_;
    const std::wstring firefox_ = roaming_ + L"\\Mozilla\\Firefox\\Profiles\\abc.default";
    const std::wstring chrome_ = local_ + L"\\Google\\Chrome\\User Data\\Default";
    const std::wstring places_ = firefox_ + L"\\places.sqlite";
    const std::wstring history_ = chrome_ + L"\\History";
    PlacesBookmarks bookmarks_;
};

TEST_F(KilledJob, EndedAtAnyMomentLosesNothingAndTheNextRunFinishes) {
    root_.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\prefs.js");
    root_.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Preferences", "{}"); // marks a profile folder
    Seed();
    const long long whole = Run(INFINITE);
    ExpectNothingLost();
    ExpectJobDone();
    ASSERT_FALSE(HasFailure());
    std::printf("a whole job took %lld ms; ended at 12 moments of it\n", whole);

    constexpr int kMoments = 12;
    for (int k = 0; k < kMoments; ++k) {
        const DWORD delay = static_cast<DWORD>(whole * k / kMoments);
        SCOPED_TRACE("ended " + std::to_string(delay) + " ms into a job of " + std::to_string(whole) + " ms");
        Seed();
        Run(delay);
        ExpectNothingLost();
        Run(INFINITE);
        ExpectNothingLost();
        ExpectJobDone();
        if (HasFailure()) return;
    }
}

} // namespace
