#pragma once
// One run of the selected cleaners on a worker thread, with a step counter for the progress display.
#include "cleaning/cleaner_set.h"
#include "cleaning/item_figures.h"
#include "cleaners/windows/stayed_reason.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class WalkStopScope;

// Process-wide step counters of the current job; the worker is the only writer of doneSteps.
extern std::atomic<int32_t> totalSteps;
extern std::atomic<int32_t> doneSteps;

constexpr UINT_PTR kProgressTimerId = 1280;

// One item's turn in a job: what its cleaners counted as they removed it, what they reported as still there
// afterwards, and what its targets held just after the step.
struct StepOutcome {
    const CatalogueEntry* item;
    std::vector<std::wstring> stayed;
    ItemFigures removed{}, after{};
    StayedReason reason = StayedReason::Unknown; // the first known reason among what stayed

    const ItemFigures& RemovedFigures() const { return removed; }
    // The cleaner reported a leftover, or the re-check still counts something.
    bool SomethingStayed() const { return !stayed.empty() || (after.measured && !after.Nothing()); }
};

// What the job needs of its dialog, all called on the user-interface thread.
class JobHost {
public:
    virtual ~JobHost() = default;
    virtual void DisableCleanButton() = 0;
    virtual void ShowProgress(const std::wstring& text, int percent) = 0;
};

class CleaningJob {
public:
    CleaningJob(CleanerSet& cleaners, JobHost& host) : cleaners_(cleaners), host_(host) {}
    ~CleaningJob() = default;
    CleaningJob(const CleaningJob&) = delete;
    CleaningJob& operator=(const CleaningJob&) = delete;

    // Set by the caller before the dialog runs.
    bool singleGroup = false;
    int32_t groupCode = 0;

    // Group switches: only ever set, by DecideGroups.
    bool cleanIe = false, cleanFirefox = false, cleanChrome = false, cleanEdge = false, cleanBrave = false;
    bool cleanBrowsers = false;
    bool cleanWindows = false, cleanWindowsCleaning = false, cleanPrograms = false, cleanStartMenu = false;

    // Whether each step's targets are counted again just after it. Off, the outcomes carry no figures
    // (benchmarks compare the two).
    bool recheck = true;

    // -2 nothing to clean, 0 ready or not finished, 1 the whole sequence ran.
    std::atomic<int32_t> jobResult{-2};

    void DecideGroups();
    void CountSteps();
    bool GroupEnabled(CleanGroup group) const;

    // Starts the worker for `dialog` and arms its progress timer; one job per object. False when a job
    // was started before or the thread could not be made.
    bool StartJob(HWND dialog);
    // The dialog's WM_TIMER.
    void OnProgressTimer(HWND dialog, UINT_PTR timerId);
    // A request to close the dialog. True when it may close now; false while a job runs: the job is told
    // to stop before its next step, a folder walk of the current step stops after the entry at hand (that
    // step then does not count), and the job posts WM_CLOSE to the dialog once it has stopped.
    bool RequestClose();
    bool Running() const { return running_.load(std::memory_order_acquire); }

    // The whole sequence on the calling thread; the worker's body. False when it stopped early.
    bool RunCleaners(HWND dialog);
    // The items that ran to their end, in run order; read once the job is no longer running.
    const std::vector<StepOutcome>& Outcomes() const { return outcomes_; }
    // While the job runs: the outcomes [0, OutcomesPublished()) may be read from any thread.
    size_t OutcomesPublished() const { return published_.load(std::memory_order_acquire); }
    const StepOutcome& OutcomeAt(size_t index) const { return outcomes_[index]; }

private:
    static DWORD WINAPI JobThread(LPVOID self);
    size_t SelectedSteps() const;
    bool StopRequested() const { return stopRequested_.load(std::memory_order_acquire); }
    bool RunGroup(CleanGroup group, HWND dialog, const WalkStopScope& walks);

    CleanerSet& cleaners_;
    JobHost& host_;
    HWND dialog_ = nullptr;
    bool started_ = false;
    std::atomic<bool> running_{false};
    std::atomic<bool> stopRequested_{false};
    // Reserved before the first step, so that publishing one never moves those before it.
    std::vector<StepOutcome> outcomes_;
    std::atomic<size_t> published_{0};
};

// "N% history deleted....." for the progress text.
std::wstring ProgressText(int percent);
// done x 100 / total, truncated; 0 while nothing is counted.
int ProgressPercent(int32_t done, int32_t total);
