#include "cleaning/cleaning_job.h"

#include "cleaners/windows/removed_tally.h"
#include "cleaners/windows/stayed_record.h"
#include "cleaners/windows/walk_stop.h"

#include <cwchar>

std::atomic<int32_t> totalSteps{0};
std::atomic<int32_t> doneSteps{0};

namespace {

// The switch of one group (bool* or const bool*, as the job); none for CleanGroup::None.
template <typename Job>
auto SwitchOf(Job& job, CleanGroup group) -> decltype(&job.cleanIe) {
    switch (group) {
    case CleanGroup::WindowsCleaning: return &job.cleanWindowsCleaning;
    case CleanGroup::Programs: return &job.cleanPrograms;
    case CleanGroup::StartMenu: return &job.cleanStartMenu;
    case CleanGroup::InternetExplorer: return &job.cleanIe;
    case CleanGroup::Firefox: return &job.cleanFirefox;
    case CleanGroup::Chrome: return &job.cleanChrome;
    case CleanGroup::MicrosoftEdge: return &job.cleanEdge;
    case CleanGroup::Brave: return &job.cleanBrave;
    case CleanGroup::None: break;
    }
    return nullptr;
}

} // namespace

void CleaningJob::DecideGroups() {
    for (CleanGroup group : GroupsInRunOrder()) {
        if (AnySelected(group) && (!singleGroup || groupCode == static_cast<int32_t>(group)))
            *SwitchOf(*this, group) = true;
    }
    if (cleanWindowsCleaning || cleanPrograms || cleanStartMenu) cleanWindows = true;
    if (cleanIe || cleanFirefox || cleanChrome || cleanEdge || cleanBrave) cleanBrowsers = true;
}

bool CleaningJob::GroupEnabled(CleanGroup group) const {
    const bool* groupSwitch = SwitchOf(*this, group);
    const bool phase = IsBrowserGroup(group) ? cleanBrowsers : cleanWindows;
    return groupSwitch && phase && *groupSwitch;
}

size_t CleaningJob::SelectedSteps() const {
    size_t count = 0;
    for (CleanGroup group : GroupsInRunOrder()) {
        if (!GroupEnabled(group)) continue;
        for (const CleaningStep& step : StepsOfGroup(group)) count += step.item->Selected() ? 1 : 0;
    }
    return count;
}

void CleaningJob::CountSteps() {
    totalSteps.fetch_add(static_cast<int32_t>(SelectedSteps()), std::memory_order_relaxed);
}

bool CleaningJob::RunGroup(CleanGroup group, HWND dialog, const WalkStopScope& walks) {
    for (const CleaningStep& step : StepsOfGroup(group)) {
        if (!step.item->Selected()) continue;
        if (StopRequested()) return false;
        StayedRecord stayed;
        // The cleaners count what they remove themselves: what changed since the dialog's count, by another
        // program's doing, is never claimed.
        RemovedTally tally;
        cleaners_.Run(step.action, dialog);
        // A step whose walk stopped for the request left work undone, so it is not counted.
        if (walks.CutShort()) return false;
        ItemFigures after = recheck ? cleaners_.Measure(step) : ItemFigures{};
        // The step ended; only its re-check was cut short.
        if (walks.CutShort()) after = {};
        StayedReason reason = stayed.FirstKnownReason();
        // The group's browser was ended before its steps: a database still locked after the step is held by
        // one that would not end, or that was started again meanwhile.
        if (reason == StayedReason::Unknown && after.inUse) reason = StayedReason::HeldByBrowser;
        outcomes_.push_back({step.item, stayed.Take(), FromRemoved(tally.Counts(), after), after, reason});
        published_.store(outcomes_.size(), std::memory_order_release);
        doneSteps.fetch_add(1, std::memory_order_relaxed);
    }
    return true;
}

bool CleaningJob::RunCleaners(HWND dialog) {
    // The folder walks of the cleaners read the job's stop request between entries, so a close never
    // waits for a whole folder of files.
    const WalkStopScope walks(stopRequested_);
    outcomes_.reserve(outcomes_.size() + SelectedSteps());
    bool completed = true;
    if (cleanWindows) {
        cleaners_.BeginWindowsPhase(dialog);
        for (CleanGroup group : GroupsInRunOrder()) {
            if (completed && !IsBrowserGroup(group) && GroupEnabled(group))
                completed = RunGroup(group, dialog, walks);
        }
        cleaners_.EndWindowsPhase();
    }
    for (CleanGroup group : GroupsInRunOrder()) {
        if (!completed || !IsBrowserGroup(group) || !GroupEnabled(group)) continue;
        // No browser is ended for a job that was asked to stop.
        if (StopRequested()) return false;
        cleaners_.BeginBrowserGroup(group);
        completed = RunGroup(group, dialog, walks);
        cleaners_.EndBrowserGroup(group);
    }
    return completed;
}

DWORD WINAPI CleaningJob::JobThread(LPVOID self) {
    auto* job = static_cast<CleaningJob*>(self);
    const HWND dialog = job->dialog_;
    if (job->RunCleaners(dialog)) job->jobResult.store(1, std::memory_order_release);
    // NOTE: clearing `running_` hands the object back to the dialog, which may then be destroyed at once:
    // nothing of *job may be touched after it.
    job->running_.store(false, std::memory_order_release);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    return 0;
}

bool CleaningJob::StartJob(HWND dialog) {
    if (started_) return false;
    started_ = true;
    dialog_ = dialog;
    // Disabled here rather than by the worker: the page belongs to the user-interface thread.
    host_.DisableCleanButton();
    if (dialog) SetTimer(dialog, kProgressTimerId, 1, nullptr);
    running_.store(true, std::memory_order_release);
    HANDLE thread = CreateThread(nullptr, 0, &CleaningJob::JobThread, this, 0, nullptr);
    if (!thread) {
        running_.store(false, std::memory_order_release);
        return false;
    }
    CloseHandle(thread);
    return true;
}

void CleaningJob::OnProgressTimer(HWND dialog, UINT_PTR timerId) {
    if (timerId != kProgressTimerId) return;
    if (dialog) SetTimer(dialog, kProgressTimerId, 5, nullptr);
    const int percent = ProgressPercent(doneSteps.load(std::memory_order_relaxed),
                                        totalSteps.load(std::memory_order_relaxed));
    host_.ShowProgress(ProgressText(percent), percent);
}

bool CleaningJob::RequestClose() {
    if (!Running()) return true;
    stopRequested_.store(true, std::memory_order_release);
    return false;
}

std::wstring ProgressText(int percent) {
    wchar_t text[64];
    std::swprintf(text, std::size(text), L"%d%% history deleted.....", percent);
    return text;
}

int ProgressPercent(int32_t done, int32_t total) {
    return total > 0 ? static_cast<int>(static_cast<int64_t>(done) * 100 / total) : 0;
}
