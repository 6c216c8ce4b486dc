#include "cleaning/cleaning_job.h"

#include "job_dialog.h"

#include "cleaners/windows/stayed_record.h"
#include "cleaning/run_report.h"

#include "settings/clean_item_catalogue.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

namespace {

const wchar_t* Name(CleanAction a) {
    static const wchar_t* const names[] = {
        L"Nothing", L"TempFiles", L"Clipboard", L"RecycleBin", L"OpenSaveHistory", L"MediaPlayerHistory",
        L"PaintHistory", L"WordPadHistory", L"RecentDocuments", L"RunHistory", L"SearchHistory",
        L"FindComputerHistory", L"NetworkHistory", L"LogonUserName", L"IeAutoFormsAndPasswords",
        L"IeBrowserHistory", L"IeCache", L"IeCookies", L"IeIndexFiles", L"IeTypedUrls", L"FfAutoForms", L"FfCache",
        L"FfCookies", L"FfDownloadHistory", L"FfLastSession", L"FfPasswords", L"FfUrls", L"ChromiumCache",
        L"ChromiumCookies", L"ChromiumDownloadHistory", L"ChromiumPasswords", L"ChromiumUrls", L"ChromiumLastSession"};
    return names[static_cast<int>(a)];
}

// Records what the job asks for, with the percentage the dialog would show when each step starts.
class RecordingCleaners : public CleanerSet {
public:
    std::vector<std::wstring> log;
    std::vector<int> percentAtStep;
    HWND seenDialog = nullptr;
    int stopDuringStep = -1; // asks the dialog to close while this step (from 0) runs
    HWND dialog = nullptr;
    HANDLE closeAsked = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ~RecordingCleaners() override { CloseHandle(closeAsked); }

    void BeginWindowsPhase(HWND d) override { log.push_back(L"windows{"), seenDialog = d; }
    void EndWindowsPhase() override { log.push_back(L"}windows"); }
    void BeginBrowserGroup(CleanGroup g) override { log.push_back(L"end browser " + std::to_wstring(int(g))); }
    void EndBrowserGroup(CleanGroup) override { log.push_back(L"}browser"); }
    void Run(CleanAction a, HWND) override {
        if (static_cast<int>(percentAtStep.size()) == stopDuringStep) {
            PostMessageW(dialog, WM_APP, 0, 0); // the user presses "exit" while this step runs
            WaitForSingleObject(closeAsked, 5000);
        }
        percentAtStep.push_back(ProgressPercent(doneSteps, totalSteps));
        log.push_back(Name(a));
    }
};

class SilentHost : public JobHost {
public:
    int disabled = 0;
    std::wstring lastText;
    int lastPercent = -1;
    void DisableCleanButton() override { ++disabled; }
    void ShowProgress(const std::wstring& text, int percent) override { lastText = text, lastPercent = percent; }
};

class CleaningJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        CleanSelection = {};
        totalSteps = 0;
        doneSteps = 0;
    }
    void TearDown() override { CleanSelection = {}; }

    // Decides, counts and runs one job to its end in a real window; the job's log.
    std::vector<std::wstring> RunJob(bool single = false, int32_t code = 0) {
        CleaningJob job(cleaners_, host_);
        job.singleGroup = single;
        job.groupCode = code;
        job.DecideGroups();
        job.CountSteps();
        job.jobResult = 0; // as the dialog does once it shows the list
        JobDialog dialog(job);
        cleaners_.dialog = dialog.Window();
        EXPECT_TRUE(job.StartJob(dialog.Window()));
        EXPECT_FALSE(job.StartJob(dialog.Window())) << "one job per dialog";
        EXPECT_TRUE(dialog.RunUntilClosed());
        result_ = job.jobResult;
        job.OnProgressTimer(nullptr, kProgressTimerId);
        dialog_ = dialog.Window();
        return cleaners_.log;
    }

    RecordingCleaners cleaners_;
    SilentHost host_;
    int32_t result_ = 0;
    HWND dialog_ = nullptr;
};

using Log = std::vector<std::wstring>;

TEST_F(CleaningJobTest, DownloadLocationAloneStillEndsTheBrowserAndFinishes) {
    CleanSelection.ie_downloadlocation = 1;
    EXPECT_EQ(RunJob(), (Log{L"end browser 4", L"Nothing", L"}browser"}));
    EXPECT_EQ(totalSteps, 1);
    EXPECT_EQ(result_, 1);
    EXPECT_EQ(host_.lastPercent, 100);
    EXPECT_EQ(host_.lastText, L"100% history deleted.....");
    EXPECT_EQ(host_.disabled, 1);
}

TEST_F(CleaningJobTest, SingleGroupRunsOnlyThatGroup) {
    SelectAllItems();
    EXPECT_EQ(RunJob(true, 2), (Log{L"windows{", L"MediaPlayerHistory", L"PaintHistory", L"WordPadHistory", L"}windows"}));
    EXPECT_EQ(totalSteps, 3);
    EXPECT_EQ(cleaners_.seenDialog, dialog_) << "the Windows cleaners are owned by the dialog";
}

TEST_F(CleaningJobTest, SingleGroupNamingAnEmptyGroupEnablesNothing) {
    CleanSelection.temp_files = 1;
    CleanSelection.gc_cache = 1;
    CleaningJob job(cleaners_, host_);
    job.singleGroup = true;
    job.groupCode = 5;
    job.DecideGroups();
    job.CountSteps();
    EXPECT_FALSE(job.cleanWindows || job.cleanBrowsers || job.cleanFirefox || job.cleanChrome || job.cleanEdge ||
                 job.cleanBrave);
    EXPECT_EQ(totalSteps, 0);
    EXPECT_EQ(job.jobResult, -2);
}

TEST_F(CleaningJobTest, AllItemsRunInTheFixedOrderWithTruncatedPercentages) {
    SelectAllItems();
    const Log log = RunJob();
    const Log expected = {
        L"windows{", L"TempFiles", L"Clipboard", L"RecycleBin", L"OpenSaveHistory", L"MediaPlayerHistory",
        L"PaintHistory", L"WordPadHistory", L"RecentDocuments", L"RunHistory", L"SearchHistory",
        L"FindComputerHistory", L"NetworkHistory", L"LogonUserName", L"}windows",
        L"end browser 4", L"IeAutoFormsAndPasswords", L"IeBrowserHistory", L"IeCache", L"IeCookies", L"Nothing",
        L"IeIndexFiles", L"IeTypedUrls", L"}browser",
        L"end browser 5", L"FfAutoForms", L"FfCache", L"FfCookies", L"FfDownloadHistory", L"FfLastSession",
        L"FfPasswords", L"FfUrls", L"}browser",
        L"end browser 6", L"ChromiumCache", L"ChromiumCookies", L"ChromiumDownloadHistory", L"ChromiumPasswords",
        L"ChromiumUrls", L"ChromiumLastSession", L"}browser",
        L"end browser 7", L"ChromiumCache", L"ChromiumCookies", L"ChromiumDownloadHistory", L"ChromiumPasswords",
        L"ChromiumUrls", L"ChromiumLastSession", L"}browser",
        L"end browser 8", L"ChromiumCache", L"ChromiumCookies", L"ChromiumDownloadHistory", L"ChromiumPasswords",
        L"ChromiumUrls", L"ChromiumLastSession", L"}browser"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(totalSteps, 45);
    ASSERT_EQ(cleaners_.percentAtStep.size(), 45u);
    EXPECT_EQ(cleaners_.percentAtStep[0], 0);
    EXPECT_EQ(cleaners_.percentAtStep[1], 2);
    EXPECT_EQ(cleaners_.percentAtStep[44], 97);
    EXPECT_EQ(host_.lastPercent, 100);
    EXPECT_EQ(result_, 1);
}

TEST_F(CleaningJobTest, SearchHistoryCountsLikeEveryOtherItem) {
    CleanSelection.window_search = 1;
    CleanSelection.temp_files = 1;
    CleanSelection.ff_cache = 1;
    RunJob();
    EXPECT_EQ(totalSteps, 3);
    EXPECT_EQ(host_.lastPercent, 100);
}

TEST_F(CleaningJobTest, WindowsPhaseEndsBeforeAnyBrowserIsEnded) {
    CleanSelection.logon_user = 1;
    CleanSelection.ie_urls = CleanSelection.ff_urls = CleanSelection.gc_urls = 1;
    EXPECT_EQ(RunJob(), (Log{L"windows{", L"LogonUserName", L"}windows", L"end browser 4", L"IeTypedUrls", L"}browser",
                             L"end browser 5", L"FfUrls", L"}browser", L"end browser 6", L"ChromiumUrls", L"}browser"}));
}

TEST_F(CleaningJobTest, ProgressTextAndArithmetic) {
    EXPECT_EQ(ProgressText(0), L"0% history deleted.....");
    EXPECT_EQ(ProgressPercent(1, 3), 33);
    EXPECT_EQ(ProgressPercent(2, 3), 66);
    EXPECT_EQ(ProgressPercent(3, 3), 100);
    EXPECT_EQ(ProgressPercent(5, 0), 0);
    CleaningJob job(cleaners_, host_);
    job.OnProgressTimer(nullptr, kProgressTimerId + 1);
    EXPECT_EQ(host_.lastPercent, -1) << "other timers are not the progress timer";
}

// Closing while the job runs stops it before its next step, at every step boundary.
TEST_F(CleaningJobTest, CloseDuringTheJobStopsBeforeTheNextStep) {
    for (int stopAt = 0; stopAt < kCleanItemCount; ++stopAt) {
        SCOPED_TRACE(stopAt);
        SetUp();
        RecordingCleaners cleaners;
        cleaners.stopDuringStep = stopAt;
        SelectAllItems();
        {
            CleaningJob job(cleaners, host_);
            job.DecideGroups();
            job.CountSteps();
            job.jobResult = 0;
            JobDialog dialog(job, [&] { SetEvent(cleaners.closeAsked); });
            cleaners.dialog = dialog.Window();
            ASSERT_TRUE(job.StartJob(dialog.Window()));
            ASSERT_TRUE(dialog.RunUntilClosed());
            // Closing during the last step leaves nothing undone: that job did finish.
            EXPECT_EQ(job.jobResult, stopAt == kCleanItemCount - 1 ? 1 : 0);
            EXPECT_FALSE(job.Running());
        }
        EXPECT_EQ(static_cast<int>(cleaners.percentAtStep.size()), stopAt + 1);
        EXPECT_EQ(doneSteps, stopAt + 1);
        // No browser is ended for a group none of whose steps will run.
        for (size_t i = 0; i + 1 < cleaners.log.size(); ++i) {
            const bool browserEnded = cleaners.log[i].rfind(L"end browser", 0) == 0;
            EXPECT_FALSE(browserEnded && cleaners.log[i + 1] == L"}browser");
        }
    }
}

TEST_F(CleaningJobTest, ManyQuickStartAndCloseCycles) {
    SelectAllItems();
    for (int i = 0; i < 300; ++i) {
        RecordingCleaners cleaners;
        auto job = std::make_unique<CleaningJob>(cleaners, host_);
        job->DecideGroups();
        job->CountSteps();
        JobDialog dialog(*job);
        ASSERT_TRUE(job->StartJob(dialog.Window()));
        PostMessageW(dialog.Window(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(dialog.RunUntilClosed());
        ASSERT_FALSE(job->Running());
        job.reset(); // the worker must be done with it
    }
}

// What each item's cleaner reported as left behind is kept per item, in run order, and the report names it;
// the job runs on the calling thread as an unattended run does.
TEST_F(CleaningJobTest, WhatStayedIsKeptPerItemAndReported) {
    class LeavingCleaners : public RecordingCleaners {
        void Run(CleanAction a, HWND dialog) override {
            RecordingCleaners::Run(a, dialog);
            if (a == CleanAction::PaintHistory) ReportStayed(L"C:\\held.bmp");
        }
    } cleaners;
    CleanSelection.ms_paint = CleanSelection.word_pad = CleanSelection.ff_cache = 1;
    CleaningJob job(cleaners, host_);
    job.DecideGroups();
    job.CountSteps();
    EXPECT_TRUE(job.RunCleaners(nullptr));
    ASSERT_EQ(job.Outcomes().size(), 3u);
    EXPECT_EQ(job.Outcomes()[0].item->boxId, L"ms_paint");
    EXPECT_EQ(job.Outcomes()[0].stayed, (std::vector<std::wstring>{L"C:\\held.bmp"}));
    EXPECT_TRUE(job.Outcomes()[1].stayed.empty());
    EXPECT_TRUE(SomethingStayed(job.Outcomes()));
    EXPECT_EQ(RunReport(job.Outcomes(), {{CleanGroup::Chrome, L"chrome.exe is running"}}),
              L"Programs / Applications\r\n  MS Paint History: ran, something stayed\r\n    stayed: C:\\held.bmp\r\n"
              L"  WordPad History: ran\r\nMozilla Firefox\r\n  Cache: ran\r\n"
              L"Google Chrome\r\n  skipped: chrome.exe is running\r\n");
}

} // namespace
