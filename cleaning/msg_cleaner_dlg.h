#pragma once
// The cleaning progress dialog (page 117): the lines of what a run cleans, the "Close Browser" notice over
// the owner when browsers take part, the Clean button that starts the job, the live percentage, and "exit",
// which closes at once before a job and, during one, stops it after the current item.
#include "cleaning/cleaning_job.h"
#include "cleaning/found_scan.h"
#include "ui/dialog.h"

#include <map>
#include <memory>

namespace htmlayout {

class MsgCleanerDlg : public dialog, private JobHost {
public:
    // With the program's own cleaners.
    explicit MsgCleanerDlg(HWND owner);
    // With the cleaners given (tests, benchmarks); they must outlive the dialog.
    MsgCleanerDlg(HWND owner, CleanerSet& cleaners);
    // A job still running here lost its window with the owner's: it is stopped and waited for, because it
    // runs on this object.
    ~MsgCleanerDlg() override;

    // Cleans only `group` instead of every enabled group. Call before Run.
    void SetSingleGroup(CleanGroup group);
    // Runs the dialog modally on page 117 and returns once its window is gone.
    void Run();
    // -2 nothing to clean, 0 not finished (also a run the user stopped, even if its last item ended while it
    // stopped), 1 the whole run ended.
    int32_t JobResult() const;
    const CleaningJob& Job() const { return job_; }

    // Posted by the scan when a shown item's figures are known; wParam is the item's place in the scan.
    static constexpr UINT kFoundMessage = WM_APP + 1;

    static constexpr wchar_t kReadyText[] = L"Start History cleaning ....";
    static constexpr wchar_t kStoppingText[] = L"Stopping after the current item ...";
    static constexpr wchar_t kCloseBrowserTitle[] = L"Close Browser";
    static constexpr wchar_t kCloseBrowserText[] =
        L"It is recommanded that close all the browsers by yourself or else Tracewipe 'End Process' the browser "
        L"before start deleting history.";

protected:
    void on_init_dialog() override;
    bool on_message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    bool can_close() override;
    BOOL handle_event(HELEMENT he, HL_BEHAVIOR_EVENT_PARAMS& params) override;

private:
    MsgCleanerDlg(HWND owner, CleanerSet* cleaners);

    void ShowItemList();
    // The words after a line's text: what its item holds, then what its step removed and what stayed.
    void ShowFigure(const CatalogueEntry& item, const std::wstring& text);
    void MakeRoomFor(HELEMENT figure);
    void ShowNewOutcomes();
    void StartJob();
    void ShowPercent(int percent);
    void DisableCleanButton() override;
    void ShowProgress(const std::wstring& text, int percent) override;

    scoped_element exit_;
    scoped_element progressText_;
    scoped_element progressBar_;
    std::unique_ptr<CleanerSet> ownCleaners_;
    CleaningJob job_;
    FoundScan scan_;
    std::map<const CatalogueEntry*, scoped_element> figures_; // the figure span of each line that has one
    size_t outcomesShown_ = 0;
    bool closeAsked_ = false; // no job starts once the dialog is closing
    bool inNotice_ = false;   // the notice runs inside this dialog's initialisation
    bool stoppedByUser_ = false;
    int shownPercent_ = -1;
};

} // namespace htmlayout
