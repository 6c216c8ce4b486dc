// What the Chromium-family items count before a run and after it, from the same targets their cleaner reads.
#include "cleaners/browsers/chromium_cleaner.h"
#include "cleaners/browsers/chromium_targets.h"
#include "cleaning/cleaning_job.h"
#include "cleaning/item_figures.h"
#include "cleaning/real_cleaners.h"
#include "cleaning/run_report.h"
#include "settings/clean_selection.h"

#include "browser_folders_fixture.h"
#include "locked_database.h"
#include "selected_job.h"
#include "support/browser_databases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace browser_tests;
using testing_support::TestDatabase;

const ChromiumBrowser& Chrome() { return *FindChromiumBrowser(6); }

// Chrome with two profiles seeded with known counts, a link to the outside in every folder that is counted.
class ChromeFigures : public BrowserFoldersTest {
  protected:
    const std::wstring userData_ = localAppData_ + L"\\Google\\Chrome\\User Data";
    const std::wstring default_ = userData_ + L"\\Default";
    const std::wstring other_ = userData_ + L"\\Profile 1";

    void SetUp() override {
        for (const auto& profile : {default_, other_}) Write(profile + L"\\Preferences", "{}");
        testing_support::MakeChromeHistory(default_ + L"\\History", 3114, 9);
        testing_support::MakeChromeHistory(other_ + L"\\History", 500, 3);
        // Current versions keep the cookies in "Network", older ones beside History.
        testing_support::MakeCountedTable(default_ + L"\\Network\\Cookies", "cookies", 412);
        testing_support::MakeCountedTable(other_ + L"\\Cookies", "cookies", 10);
        testing_support::MakeCountedTable(default_ + L"\\Login Data", "logins", 42);
        // Typed form entries beside a saved address, which is no password and stays.
        testing_support::MakeCountedTable(other_ + L"\\Web Data", "autofill", 12);
        testing_support::MakeCountedTable(other_ + L"\\Web Data", "autofill_profiles", 2);
        Write(default_ + L"\\Cache\\data_0", std::string(1000, 'c'));
        Write(default_ + L"\\Cache\\index\\f_000001", std::string(2000, 'c'));
        Write(default_ + L"\\Code Cache\\js\\index", std::string(500, 'c'));
        Write(other_ + L"\\GPUCache\\data_1", std::string(24, 'c'));
        Write(default_ + L"\\Sessions\\Session_13350000000000001", std::string(100, 's'));
        Write(default_ + L"\\Current Session", std::string(50, 's'));
        Write(other_ + L"\\Last Tabs", std::string(7, 's'));
        for (const auto& folder : {default_ + L"\\Cache", default_ + L"\\Cache\\index", default_ + L"\\Code Cache\\js",
                                   other_ + L"\\GPUCache"})
            PlantLink(folder, cacheLinks_);
        PlantLink(default_ + L"\\Sessions", sessionLinks_);
    }
    void TearDown() override { EXPECT_TRUE(sentinel_.Intact()); }

    std::vector<std::wstring> cacheLinks_, sessionLinks_;

    void PlantLink(const std::wstring& folder, std::vector<std::wstring>& links) {
        PlantLinkIn(folder);
        links.push_back(folder + L"\\outside link");
    }
    // The links of the item's folders that are still there: the clean never follows one, and the system
    // may refuse to let one go.
    uint64_t LinksLeft(ChromiumItem item) const {
        const auto& links = item == ChromiumItem::Cache ? cacheLinks_ : item == ChromiumItem::LastSession ? sessionLinks_ : std::vector<std::wstring>{};
        return std::count_if(links.begin(), links.end(), [](const std::wstring& link) { return testing_support::PathExists(link); });
    }
    void Write(const std::wstring& path, const std::string& content) {
        root_.Write(path.substr(root_.Path().size() + 1), content);
    }
    BrowserFigures Measure(ChromiumItem item) const {
        return MeasureChromiumItem(ChromiumCleaner(Chrome()).ProfileFolders(), item);
    }
};

struct Expected {
    ChromiumItem item;
    uint64_t rows, files, links, bytes;
    const wchar_t* text;
};

// A link counts as a file of no bytes, and none of the outside files behind it counts.
const Expected kSeeded[] = {
    {ChromiumItem::History, 3614, 0, 0, 0, L"3,614 visits"},
    {ChromiumItem::DownloadHistory, 12, 0, 0, 0, L"12 downloads"},
    {ChromiumItem::Cookies, 422, 0, 0, 0, L"422 cookies"},
    {ChromiumItem::WebData, 42, 0, 0, 0, L"42 saved logins, 12 form entries"},
    {ChromiumItem::Cache, 0, 4, 4, 3524, L"8 files, 3.4 KB"},
    {ChromiumItem::LastSession, 0, 3, 1, 157, L"4 files, 157 bytes"},
};

void Clean(ChromiumItem item) {
    ChromiumCleaner cleaner(Chrome());
    switch (item) {
    case ChromiumItem::Cache: cleaner.CleanCache(nullptr); break;
    case ChromiumItem::Cookies: cleaner.CleanProfileFile(ChromeFileKind::Cookies); break;
    case ChromiumItem::History: cleaner.CleanProfileFile(ChromeFileKind::History); break;
    case ChromiumItem::DownloadHistory: cleaner.CleanProfileFile(ChromeFileKind::DownloadHistory); break;
    case ChromiumItem::WebData: cleaner.CleanProfileFile(ChromeFileKind::WebData); break;
    case ChromiumItem::LastSession: cleaner.CleanLastSession(); break;
    }
}

// The count equals the seeded history, and after each item's clean what it removed equals the count. The
// downloads go first: the visits item deletes the History they live in.
TEST_F(ChromeFigures, CountsEqualTheSeededHistoryAndWhatTheCleanRemoves) {
    const Expected order[] = {kSeeded[1], kSeeded[0], kSeeded[2], kSeeded[3], kSeeded[4], kSeeded[5]};
    for (const Expected& expected : order) {
        SCOPED_TRACE(expected.text);
        const BrowserFigures before = Measure(expected.item);
        EXPECT_EQ(expected.rows, before.rows);
        EXPECT_EQ(expected.files + expected.links, before.files.files);
        EXPECT_EQ(expected.bytes, before.files.bytes);
        EXPECT_FALSE(before.inUse);
        EXPECT_EQ(expected.text, FoundText(FromBrowser(before)));
        const uint64_t forms = expected.item == ChromiumItem::WebData ? 12 : 0;
        EXPECT_EQ(forms, before.formEntries);
        RemovedTally tally;
        Clean(expected.item);
        const BrowserFigures after = Measure(expected.item);
        EXPECT_EQ(0u, after.rows);
        EXPECT_EQ(0u, after.formEntries);
        EXPECT_EQ(0u, after.files.bytes);
        EXPECT_EQ(LinksLeft(expected.item), after.files.files) << "what stays is the links, no more";
        // The clean's own count: rows for a database item (its files are no figure of it), else files.
        const RemovedCounts removed = tally.Counts();
        EXPECT_EQ(expected.rows, removed.rows);
        EXPECT_EQ(forms, removed.formEntries);
        EXPECT_EQ(expected.files + expected.links - LinksLeft(expected.item), removed.files);
        EXPECT_EQ(expected.bytes, removed.bytes);
    }
}

// The passwords item empties the form entries of "Web Data" and keeps the file with its addresses.
TEST_F(ChromeFigures, FormEntriesGoAndTheAddressesStay) {
    Clean(ChromiumItem::WebData);
    TestDatabase webData(other_ + L"\\Web Data");
    EXPECT_EQ(0, webData.Count("autofill"));
    EXPECT_EQ(2, webData.Count("autofill_profiles"));
}

// Counting reads only: no journal or other file appears beside a database, and its bytes stay as they were.
TEST_F(ChromeFigures, CountingWritesNothing) {
    const std::string before = testing_support::ReadAll(default_ + L"\\History");
    for (const Expected& expected : kSeeded) Measure(expected.item);
    EXPECT_TRUE(testing_support::ReadAll(default_ + L"\\History") == before);
    for (const auto& beside : {L"\\History-journal", L"\\History-wal", L"\\History-shm", L"\\Web Data"})
        EXPECT_FALSE(testing_support::PathExists(default_ + beside));
}

// Locked while counted: the database reads "in use" at once, the other profile's rows still count, and once
// the lock is gone the clean removes all of it.
TEST_F(ChromeFigures, DatabaseLockedDuringTheCountReadsInUseAndIsCleanedLater) {
    {
        LockedDatabase locked(default_ + L"\\History");
        ASSERT_TRUE(locked.Holding());
        const DWORD start = GetTickCount();
        const BrowserFigures figures = Measure(ChromiumItem::DownloadHistory);
        EXPECT_LT(GetTickCount() - start, 1000u) << "a lock is not waited for";
        EXPECT_TRUE(figures.inUse);
        EXPECT_EQ(3u, figures.rows);
        EXPECT_EQ(L"3 downloads, in use", FoundText(FromBrowser(figures)));
    }
    Clean(ChromiumItem::DownloadHistory);
    EXPECT_EQ(L"nothing found", FoundText(FromBrowser(Measure(ChromiumItem::DownloadHistory))));
    EXPECT_EQ(0, TestDatabase(default_ + L"\\History").Count("downloads"));
}

// Locked while cleaned: the job's line and its end message name the item and the browser that holds it.
TEST_F(ChromeFigures, DatabaseLockedDuringTheCleanIsNamedAsHeldByABrowser) {
    SelectedJob selected({&SelectionRecord::gc_downloadhistory});
    CleaningJob& job = selected.job;
    {
        LockedDatabase locked(default_ + L"\\History");
        ASSERT_TRUE(locked.Holding());
        EXPECT_TRUE(job.RunCleaners(nullptr));
    }
    ASSERT_EQ(1u, job.Outcomes().size());
    const StepOutcome& outcome = job.Outcomes().front();
    EXPECT_TRUE(SomethingStayed(job.Outcomes()));
    EXPECT_EQ(StayedReason::HeldByBrowser, outcome.reason);
    EXPECT_EQ(L"removed 3 downloads, a database in use", OutcomeText(outcome));
    EXPECT_EQ(L"database held by a browser", OutcomeLineText(outcome));
    EXPECT_EQ(L"Google Chrome: Download History (held by a running browser)\n", StayedLines(job.Outcomes()));
    EXPECT_EQ(L"Removed 3 browser records.", TotalsLine(job.Outcomes()));
    EXPECT_EQ(9, TestDatabase(default_ + L"\\History").Count("downloads"));
}

} // namespace
