// What Internet Explorer's history, cache and cookies count before a run and after it, on the prefix's own
// URL cache: its index files held open by this process once counted, as in the program after its scan.
#include "cleaners/browsers/ie_cleaner.h"
#include "cleaners/browsers/special_folders.h"
#include "cleaners/windows/stayed_record.h"
#include "cleaning/cleaning_job.h"
#include "cleaning/item_figures.h"
#include "cleaning/real_cleaners.h"
#include "cleaning/run_report.h"
#include "settings/clean_selection.h"

#include "browser_folders_fixture.h"
#include "selected_job.h"
#include "support/outside_sentinel.h"
#include "support/registry_fixture.h"
#include "support/test_folder.h"
#include "support/url_cache_fixture.h"

#include <shlobj.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace browser_tests;
using testing_support::PathExists;

// Pages of 5 bytes each in the content cache, cookies, visits without files, and files in the history folder.
class IeFigures : public ::testing::Test {
  protected:
    const std::wstring history_ = SpecialFolder(CSIDL_HISTORY);
    MessageRecorder messages_;
    testing_support::OutsideSentinel sentinel_;

    void SetUp() override {
        ASSERT_FALSE(history_.empty());
        // From what a clean leaves: no entry of earlier tests, nothing in the history folder.
        DeleteUrlCacheEntries(nullptr, CacheEntryFilter::All);
        for (const wchar_t* pattern : {L"Cookie:", L"Visited:"}) DeleteUrlCacheEntries(pattern, CacheEntryFilter::All);
        IECleaner().CleanBrowserHistory(nullptr);
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(testing_support::MakeCacheEntry(L"http://ie.tracewipe.test/page" + std::to_wstring(i),
                                                        NORMAL_CACHE_ENTRY));
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(testing_support::MakeCacheEntry(L"Cookie:user@ie" + std::to_wstring(i) + L".tracewipe.test/",
                                                        COOKIE_CACHE_ENTRY));
        for (int i = 0; i < 5; ++i)
            ASSERT_TRUE(testing_support::MakeVisit(L"http://ie.tracewipe.test/visited" + std::to_wstring(i)));
        folder_.Write(L"a.url", "visit.a");
        folder_.Write(L"MSHist012026010120260108\\b.url", "visitb");
    }
    void TearDown() override {
        DeleteUrlCacheEntries(nullptr, CacheEntryFilter::All);
        EXPECT_TRUE(sentinel_.Intact());
        EXPECT_TRUE(messages_.Shown().empty()) << "no live index file is reported as unopenable";
    }

    testing_support::TestFolder folder_{SpecialFolder(CSIDL_HISTORY)};
};

// Each count is what its own clean removes, and no clean takes what another item counts: the visits are the
// history's, never the cache's, though Wine's walk of the whole cache meets them. The history's index file is
// there, held by this process's cache, and is neither counted nor reported as left behind.
TEST_F(IeFigures, CountsEqualTheSeededEntriesAndEachCleanRemovesItsOwn) {
    const UrlCacheFigures cache = IECleaner::CountCache(), cookies = IECleaner::CountCookies();
    const BrowserFigures history = IECleaner::CountBrowserHistory();
    EXPECT_EQ(4u, cache.entries);
    EXPECT_EQ(20u, cache.bytes);
    EXPECT_EQ(3u, cookies.entries);
    EXPECT_EQ(15u, cookies.bytes);
    EXPECT_EQ(5u, history.rows);
    EXPECT_EQ(2u, history.files.files);
    EXPECT_EQ(13u, history.files.bytes);
    EXPECT_EQ(L"2 files, 5 visits, 13 bytes", FoundText(FromBrowser(history)));
    ASSERT_TRUE(PathExists(history_ + L"\\History.IE5\\index.dat"));

    {
        StayedRecord stayed;
        IECleaner().CleanBrowserHistory(nullptr);
        EXPECT_TRUE(stayed.Stayed().empty()) << testing::PrintToString(stayed.Stayed());
    }
    const BrowserFigures afterHistory = IECleaner::CountBrowserHistory();
    EXPECT_EQ(0u, afterHistory.rows);
    EXPECT_EQ(0u, afterHistory.files.files);
    EXPECT_EQ(4u, IECleaner::CountCache().entries) << "the history leaves the cache alone";
    EXPECT_EQ(3u, IECleaner::CountCookies().entries);

    EXPECT_TRUE(testing_support::MakeVisit(L"http://ie.tracewipe.test/visited-again"));
    EXPECT_EQ(1, IECleaner().CleanCache(1));
    EXPECT_EQ(0u, IECleaner::CountCache().entries);
    EXPECT_EQ(1u, IECleaner::CountBrowserHistory().rows) << "the cache leaves the visits alone";
    EXPECT_EQ(3u, IECleaner::CountCookies().entries);
    EXPECT_EQ(1, IECleaner().CleanCookies(1));
    EXPECT_EQ(0u, IECleaner::CountCookies().entries);
}

// Clean All's Internet Explorer group after the dialog's scan: the found figures are the seeded ones, each
// line removed them, and nothing is said to have stayed.
TEST_F(IeFigures, AJobOfEveryItemAfterTheScanRemovesTheCountsAndNothingStays) {
    const std::wstring ie = L"Software\\Microsoft\\Internet Explorer\\";
    testing_support::ScopedKeyTree typed(HKEY_CURRENT_USER, ie + L"TypedURLs"),
        forms(HKEY_CURRENT_USER, ie + L"IntelliForms\\SPW");
    for (const wchar_t* name : {L"url1", L"url2"})
        testing_support::SetString(HKEY_CURRENT_USER, ie + L"TypedURLs", name, L"http://ie.tracewipe.test/");
    testing_support::SetString(HKEY_CURRENT_USER, ie + L"IntelliForms\\SPW", L"site", L"secret");
    SelectedJob selected({&SelectionRecord::ie_urls, &SelectionRecord::ie_cookies, &SelectionRecord::ie_browserhistory,
                          &SelectionRecord::ie_autoformsNpwd, &SelectionRecord::ie_cache, &SelectionRecord::ie_index,
                          &SelectionRecord::ie_downloadlocation});
    CleaningJob& job = selected.job;
    std::vector<std::wstring> found;
    for (const CleaningStep& step : StepsOfGroup(CleanGroup::InternetExplorer))
        found.push_back(FoundText(RealCleaners().Measure(step)));
    ASSERT_TRUE(job.RunCleaners(nullptr));

    std::wstring lines;
    for (const StepOutcome& outcome : job.Outcomes())
        lines += std::wstring(outcome.item->boxId) + L": " + OutcomeText(outcome) + L"\n";
    EXPECT_EQ(L"ie_autoformsNpwd: removed 1 entry\n"
              L"ie_browserhistory: removed 2 files, 5 visits, 13 bytes\n"
              L"ie_cache: removed 4 cache entries, 20 bytes\n"
              L"ie_cookies: removed 3 cookies, 15 bytes\n"
              L"ie_downloadlocation: ran\n"
              L"ie_index: ran\n"
              L"ie_urls: removed 2 entries\n",
              lines);
    for (const wchar_t* text : {L"2 files, 5 visits, 13 bytes", L"4 cache entries, 20 bytes", L"3 cookies, 15 bytes",
                                L"1 entry", L"2 entries"})
        EXPECT_NE(std::find(found.begin(), found.end(), std::wstring(text)), found.end()) << testing::PrintToString(text);
    EXPECT_FALSE(SomethingStayed(job.Outcomes()));
    EXPECT_EQ(L"", StayedLines(job.Outcomes()));
}

// A link in the history folder is never followed: it is what stays, named as a link, and the history's own
// index file beside it is not.
TEST_F(IeFigures, ALinkInTheHistoryFolderIsTheOneThingNamedAsStayed) {
    ASSERT_TRUE(sentinel_.PlantLinkAt(history_ + L"\\outside link"));
    IECleaner::CountBrowserHistory(); // the cache now holds its index
    StayedRecord stayed;
    IECleaner().CleanBrowserHistory(nullptr);
    const bool linkLeft = PathExists(history_ + L"\\outside link");
    EXPECT_EQ(linkLeft ? StayedReason::LinkLeft : StayedReason::Unknown, stayed.FirstKnownReason());
    for (const std::wstring& what : stayed.Stayed())
        EXPECT_EQ(std::wstring::npos, what.find(L"History.IE5")) << testing::PrintToString(what);
    const BrowserFigures after = IECleaner::CountBrowserHistory();
    EXPECT_EQ(0u, after.rows);
    EXPECT_EQ(linkLeft ? 1u : 0u, after.files.files);
    EXPECT_EQ(0u, after.files.bytes);
}

} // namespace
