#include "app/clean_commands.h"

#include "cleaning/cleaning_run_lock.h"
#include "cleaning/msg_cleaner_dlg.h"
#include "cleaning/run_report.h"
#include "settings/clean_item_catalogue.h"
#include "settings/clean_selection.h"
#include "settings/settings_store.h"
#include "ui/msg_box_dlg.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr wchar_t kNothingSelectedTitle[] = L"No Item(s) Selected";
constexpr wchar_t kNothingSelectedText[] =
    L"You have not selected any item to clean!. Please first select the item(s) from windows and/or Browser tab "
    L"to delete its history.";
constexpr wchar_t kDoneTitle[] = L"Delete Successfully";
constexpr wchar_t kStayedTitle[] = L"Some Items Not Cleaned";
constexpr wchar_t kStayedAdvice[] = L"Close the programs that use them and clean again.";
constexpr wchar_t kBusyTitle[] = L"Cleaning In Progress";
constexpr wchar_t kBusyText[] =
    L"Tracewipe is already cleaning, started from the command line or a scheduled task. Please try again "
    L"when it has finished.";

// A main window that went during the run (closed under the dialog) gets no message.
void Tell(HWND owner, std::wstring_view title, std::wstring_view text) {
    if (IsWindow(owner)) htmlayout::MsgBoxDlg::Show(owner, title, text);
}

// Runs the progress dialog over `owner`, for one group or for every enabled one; returns its job result.
// The dialog holds the run lock from its first to its last moment, so that an unattended run started
// meanwhile stays out even before Clean is pressed. While an unattended run holds it, the window says so
// instead of opening the dialog (0: nothing more is shown).
struct RunOutcome {
    int32_t jobResult = 0;
    std::vector<StepOutcome> steps;
};

RunOutcome RunCleaning(HWND owner, std::optional<CleanGroup> singleGroup) {
    const CleaningRunLock lock;
    if (!lock.Held()) {
        Tell(owner, kBusyTitle, kBusyText);
        return {};
    }
    htmlayout::MsgCleanerDlg dialog(owner);
    if (singleGroup) dialog.SetSingleGroup(*singleGroup);
    dialog.Run();
    return {dialog.JobResult(), dialog.Job().Outcomes()};
}

// A finished run says what it removed; one that left something names it instead of claiming success.
void ReportFinished(HWND owner, const std::vector<StepOutcome>& steps, std::wstring_view doneText) {
    const std::wstring totals = TotalsLine(steps);
    const std::wstring totalsLine = totals.empty() ? std::wstring() : totals + L"\n";
    if (SomethingStayed(steps))
        Tell(owner, kStayedTitle, StayedLines(steps) + totalsLine + kStayedAdvice);
    else
        Tell(owner, kDoneTitle, totals.empty() ? std::wstring(doneText) : std::wstring(doneText) + L"\n" + totals);
}

// Nothing for a run that did not finish (0): the user closed the dialog.
void Report(HWND owner, const RunOutcome& run, std::wstring_view doneText) {
    if (run.jobResult == -2) Tell(owner, kNothingSelectedTitle, kNothingSelectedText);
    else if (run.jobResult == 1) ReportFinished(owner, run.steps, doneText);
}

} // namespace

void CleanCurrentTab(HWND owner, const TabGuidance& view) {
    CleanGroup group = CleanGroup::None;
    if (view.mainTab == 1) {
        // Every Windows group lives under the one "WindowsClean" key.
        SaveWindowsSelection();
        group = static_cast<CleanGroup>(view.windowsSubTab);
    } else if (view.mainTab == 2) {
        switch (view.browserSubTab) {
        case 1: SaveIeSelection(); group = CleanGroup::InternetExplorer; break;
        case 2: SaveGcSelection(); group = CleanGroup::Chrome; break;
        case 3: SaveFfSelection(); group = CleanGroup::Firefox; break;
        case 4: SaveMeSelection(); group = CleanGroup::MicrosoftEdge; break;
        case 5: SaveBrSelection(); group = CleanGroup::Brave; break;
        default: return; // no browser sub-tab chosen yet: no group to clean
        }
    } else {
        return;
    }
    Report(owner, RunCleaning(owner, group), L"History of selected item(s) are delete successfully.");
}

void CleanSelected(HWND owner) {
    Report(owner, RunCleaning(owner, std::nullopt), L"History of selected item(s)are delete successfully.");
}

void CleanAll(HWND owner) {
    // The boxes keep showing the earlier selection, so the flags go back to it after the run.
    const SelectionRecord earlier = CleanSelection;
    SelectAllItems();
    const RunOutcome run = RunCleaning(owner, std::nullopt);
    CleanSelection = earlier;
    if (run.jobResult == 1) ReportFinished(owner, run.steps, L"History of all the items are delete successfully.");
}
