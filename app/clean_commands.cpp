#include "app/clean_commands.h"

#include "cleaning/cleaning_run_lock.h"
#include "cleaning/msg_cleaner_dlg.h"
#include "settings/clean_item_catalogue.h"
#include "settings/clean_selection.h"
#include "settings/settings_store.h"
#include "ui/msg_box_dlg.h"

#include <optional>
#include <string_view>

namespace {

constexpr wchar_t kNothingSelectedTitle[] = L"No Item(s) Selected";
constexpr wchar_t kNothingSelectedText[] =
    L"You have not selected any item to clean!. Please first select the item(s) from windows and/or Browser tab "
    L"to delete its history.";
constexpr wchar_t kDoneTitle[] = L"Delete Successfully";
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
int32_t RunCleaning(HWND owner, std::optional<CleanGroup> singleGroup) {
    const CleaningRunLock lock;
    if (!lock.Held()) {
        Tell(owner, kBusyTitle, kBusyText);
        return 0;
    }
    htmlayout::MsgCleanerDlg dialog(owner);
    if (singleGroup) dialog.SetSingleGroup(*singleGroup);
    dialog.Run();
    return dialog.JobResult();
}

// Nothing for a run that did not finish (0): the user closed the dialog.
void Report(HWND owner, int32_t jobResult, std::wstring_view doneText) {
    if (jobResult == -2) Tell(owner, kNothingSelectedTitle, kNothingSelectedText);
    else if (jobResult == 1) Tell(owner, kDoneTitle, doneText);
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
    const int32_t jobResult = RunCleaning(owner, std::nullopt);
    CleanSelection = earlier;
    if (jobResult == 1) Tell(owner, kDoneTitle, L"History of all the items are delete successfully.");
}
