// The browser-database steps of the real cleaners, ended by TerminateProcess at moments spread over a whole
// run: before the transaction, while rows are removed and checked, while the database is rebuilt. Afterwards
// every database opens, passes its integrity check and keeps what the step never removes, and the next run
// finishes the job.
#include "browser_folders_fixture.h"
#include "support/browser_databases.h"
#include "support/child_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

using namespace browser_tests;
using testing_support::ChildProcess;
using testing_support::TestDatabase;

enum class Moment { BeforeCommit, DuringRebuild, Done };

class KilledStep : public BrowserFoldersTest {
  protected:
    // Where the step left the database, read back after its process is gone; fails the test for anything a
    // step may never leave behind.
    using Inspect = std::function<Moment(TestDatabase&)>;

    // Starts the step in its own process and ends it `delayMs` after the step began. True when it was ended
    // part-way, false when it had finished by then.
    bool RunAndEnd(const wchar_t* step, DWORD delayMs) {
        static int serial = 0;
        const std::wstring event =
            L"tracewipe-step-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
        HANDLE begins = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
        const std::wstring program = ProgramPath();
        ChildProcess child(L"\"" + program.substr(0, program.rfind(L'\\')) + L"\\browser_step.exe\" " + step +
                           L" " + event);
        EXPECT_TRUE(child.Started());
        EXPECT_EQ(WaitForSingleObject(begins, 20000), WAIT_OBJECT_0);
        CloseHandle(begins);
        if (delayMs == INFINITE) {
            EXPECT_TRUE(child.WaitForExit(60000));
            EXPECT_EQ(child.ExitCode(), 0u);
            return false;
        }
        Sleep(delayMs);
        return child.Terminate();
    }

    // The database from its copy `pristine`, without anything an earlier run left beside it.
    static void Restore(const std::wstring& pristine, const std::wstring& database) {
        for (const wchar_t* suffix : {L"-wal", L"-shm", L"-journal"})
            DeleteFileW((database + suffix).c_str());
        ASSERT_TRUE(CopyFileW(pristine.c_str(), database.c_str(), FALSE));
    }

    static Moment Read(const std::wstring& database, const Inspect& inspect) {
        TestDatabase db(database);
        EXPECT_TRUE(db.IntegrityOk());
        return inspect(db);
    }

    // Ends the step ever later, `apartMs` apart, until it finishes before it is ended; after every end the
    // next run must finish the job. Both hard moments must have been hit.
    void EndAtEveryMoment(const wchar_t* step, const std::wstring& database, DWORD apartMs,
                          const Inspect& inspect) {
        const std::wstring pristine = root_.Path() + L"\\pristine.sqlite";
        ASSERT_TRUE(CopyFileW(database.c_str(), pristine.c_str(), FALSE));
        int beforeCommit = 0, duringRebuild = 0, ended = 0;
        for (DWORD delay = 0; delay < 3000; delay += apartMs) {
            Restore(pristine, database);
            const bool endedPartWay = RunAndEnd(step, delay);
            const Moment moment = Read(database, inspect);
            if (!endedPartWay) {
                EXPECT_EQ(moment, Moment::Done);
                break;
            }
            ++ended;
            beforeCommit += moment == Moment::BeforeCommit;
            duringRebuild += moment == Moment::DuringRebuild;
            RunAndEnd(step, INFINITE);
            EXPECT_EQ(Read(database, inspect), Moment::Done)
                << "the next run after an end at " << delay << " ms";
            if (HasFailure()) return;
        }
        EXPECT_GT(beforeCommit, 0) << "no end while rows were removed";
        EXPECT_GT(duringRebuild, 0) << "no end while the database was rebuilt";
        std::printf("%ls: ended %d times, %d before the commit, %d during the rebuild\n", step, ended,
                    beforeCommit, duringRebuild);
    }
};

TEST_F(KilledStep, FirefoxHistoryRemovalAndRebuildKeepEveryBookmark) {
    root_.Write(
        L"Roaming\\Mozilla\\Firefox\\profiles.ini",
        "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/abcd1234.default-release\r\n");
    const std::wstring profile = appData_ + L"\\Mozilla\\Firefox\\Profiles\\abcd1234.default-release";
    PlantLinkIn(profile);
    const std::wstring places = profile + L"\\places.sqlite";
    const auto bookmarks = testing_support::MakePlacesDatabase(
        places, {.pages = 10000, .visits = 50000, .bookmarks = 2500, .downloads = 100});
    int64_t visits = 0;
    {
        TestDatabase db(places);
        visits = db.Count("moz_historyvisits");
    }
    EndAtEveryMoment(L"ff_urls", places, 2, [&](TestDatabase& db) {
        EXPECT_EQ(bookmarks, testing_support::ReadBookmarks(db));
        const int64_t left = db.Count("moz_historyvisits");
        if (left == visits) return Moment::BeforeCommit;
        EXPECT_EQ(left, 0) << "the visits go in one transaction";
        return db.Number("PRAGMA freelist_count") > 0 ? Moment::DuringRebuild : Moment::Done;
    });
    EXPECT_TRUE(sentinel_.Intact());
}

TEST_F(KilledStep, ChromeDownloadRemovalAndRebuildKeepEveryVisit) {
    const std::wstring profile = localAppData_ + L"\\Google\\Chrome\\User Data\\Default";
    PlantLinkIn(profile);
    const std::wstring history = profile + L"\\History";
    root_.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Preferences", "{}"); // marks a profile folder
    testing_support::MakeChromeHistory(history, 10000, 10000);
    int64_t visits = 0, urls = 0, downloads = 0;
    {
        TestDatabase db(history);
        visits = db.Count("visits");
        urls = db.Count("urls");
        downloads = db.Count("downloads");
    }
    EndAtEveryMoment(L"gc_downloads", history, 4, [&](TestDatabase& db) {
        EXPECT_EQ(visits, db.Count("visits"));
        EXPECT_EQ(urls, db.Count("urls"));
        const int64_t left = db.Count("downloads");
        if (left == downloads) return Moment::BeforeCommit;
        EXPECT_EQ(left, 0) << "the downloads go in one transaction";
        EXPECT_EQ(db.Count("downloads_url_chains"), 0);
        return db.Number("PRAGMA freelist_count") > 0 ? Moment::DuringRebuild : Moment::Done;
    });
    EXPECT_TRUE(sentinel_.Intact());
}

} // namespace
