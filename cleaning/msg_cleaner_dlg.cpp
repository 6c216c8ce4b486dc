#include "cleaning/msg_cleaner_dlg.h"

#include "cleaning/real_cleaners.h"
#include "cleaning/run_report.h"
#include "ui/display_scale.h"
#include "ui/element_ops.h"
#include "ui/msg_box_dlg.h"
#include "ui/resource_ids.h"

#include <algorithm>

namespace htmlayout {
namespace {

// The least room, in CSS pixels, between a line's label and its figure.
constexpr int kFigureGap = 8;

const CleanGroupInfo* InfoOf(CleanGroup group) {
    auto groups = CleanGroups();
    auto found = std::find_if(groups.begin(), groups.end(), [&](const CleanGroupInfo& g) { return g.code == group; });
    return found == groups.end() ? nullptr : &*found;
}

// Keeps the thread's windows answering while the job ends; a quit met here is posted again afterwards.
void WaitUntilStopped(const CleaningJob& job) {
    bool quit = false;
    WPARAM quitCode = 0;
    while (job.Running()) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = msg.wParam;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

} // namespace

MsgCleanerDlg::MsgCleanerDlg(HWND owner) : MsgCleanerDlg(owner, nullptr) {}

MsgCleanerDlg::MsgCleanerDlg(HWND owner, CleanerSet& cleaners) : MsgCleanerDlg(owner, &cleaners) {}

MsgCleanerDlg::MsgCleanerDlg(HWND owner, CleanerSet* cleaners)
    : dialog(owner),
      ownCleaners_(cleaners ? nullptr : std::make_unique<RealCleaners>()),
      job_(cleaners ? *cleaners : *ownCleaners_, *this),
      scan_(cleaners ? *cleaners : *ownCleaners_) {}

MsgCleanerDlg::~MsgCleanerDlg() {
    scan_.Stop();
    if (job_.Running()) {
        job_.RequestClose();
        WaitUntilStopped(job_);
    }
}

void MsgCleanerDlg::SetSingleGroup(CleanGroup group) {
    job_.singleGroup = true;
    job_.groupCode = static_cast<int32_t>(group);
}

void MsgCleanerDlg::Run() { run(kProgressPageId); }

int32_t MsgCleanerDlg::JobResult() const { return stoppedByUser_ ? 0 : job_.jobResult.load(); }

void MsgCleanerDlg::on_init_dialog() {
    exit_ = FindById(root, L"exit");
    progressText_ = FindById(root, L"progress_txt");
    progressBar_ = FindById(root, L"progress_bar");
    totalSteps = 0;
    doneSteps = 0;
    SetText(progressText_, kReadyText);
    ShowPercent(0);

    job_.DecideGroups();
    job_.CountSteps();
    if (!job_.cleanWindows && !job_.cleanBrowsers) {
        close();
        return;
    }
    ShowItemList();
    job_.jobResult = 0;
    // Counted while the notice is up and the user reads the list; Clean and exit stop it.
    std::vector<CleaningStep> shown;
    for (CleanGroup group : GroupsInRunOrder()) {
        if (!job_.GroupEnabled(group)) continue;
        for (const CleaningStep& step : StepsOfGroup(group))
            if (step.item->Selected()) shown.push_back(step);
    }
    scan_.Start(hwnd(), kFoundMessage, std::move(shown));
    if (job_.cleanBrowsers) {
        inNotice_ = true;
        MsgBoxDlg::Show(owner(), kCloseBrowserTitle, kCloseBrowserText);
        inNotice_ = false;
        if (!hwnd()) return; // gone with its owner meanwhile
        // Closed while the notice was up: the dialog goes without being shown.
        if (closeAsked_) {
            close();
            return;
        }
    }
    place_window();
}

void MsgCleanerDlg::ShowItemList() {
    for (CleanGroup group : GroupsInRunOrder()) {
        const CleanGroupInfo* info = InfoOf(group);
        if (!info || !job_.GroupEnabled(group)) continue;
        Show(FindById(root, info->sectionId), true);
        Show(FindById(root, info->listId), true);
        for (const CatalogueEntry* item : ItemsInRunOrder(group))
            if (item->Selected()) Show(FindById(root, item->lineId), true);
    }
}

void MsgCleanerDlg::ShowFigure(const CatalogueEntry& item, const std::wstring& text) {
    scoped_element& figure = figures_[&item];
    if (!figure) {
        scoped_element line = FindById(root, item.lineId);
        HELEMENT created = nullptr;
        if (!line || HTMLayoutCreateElement("span", L"", &created) != HL_OK) return;
        figure = created;
        HTMLayout_UnuseElement(created); // the scoped handle holds its own use
        HTMLayoutSetAttributeByName(figure, "class", L"found");
        unsigned children = 0;
        HTMLayoutGetChildrenCount(line, &children);
        HTMLayoutInsertElement(figure, line, children);
    }
    SetText(figure, text);
    MakeRoomFor(figure);
}

// The figure sits at the line's right end; one that would run into the label moves to a row of its own.
void MsgCleanerDlg::MakeRoomFor(HELEMENT figure) {
    HELEMENT line = nullptr, label = nullptr;
    if (HTMLayoutGetParentElement(figure, &line) != HL_OK || HTMLayoutGetNthChild(line, 0, &label) != HL_OK ||
        !label || label == figure)
        return;
    RECT labelBox{}, figureBox{};
    HTMLayoutGetElementLocation(label, &labelBox, ROOT_RELATIVE | BORDER_BOX);
    HTMLayoutGetElementLocation(figure, &figureBox, ROOT_RELATIVE | BORDER_BOX);
    const bool crowded = labelBox.right + ScaledPixels(kFigureGap, DpiOf(hwnd())) > figureBox.left;
    const wchar_t* was = nullptr;
    HTMLayoutGetAttributeByName(line, "crowded", &was);
    if (crowded != (was != nullptr)) HTMLayoutSetAttributeByName(line, "crowded", crowded ? L"" : nullptr);
}

void MsgCleanerDlg::ShowNewOutcomes() {
    for (; outcomesShown_ < job_.OutcomesPublished(); ++outcomesShown_) {
        const StepOutcome& outcome = job_.OutcomeAt(outcomesShown_);
        ShowFigure(*outcome.item, OutcomeLineText(outcome));
        // The tick would claim the item clean: its line takes the mark that says something stayed.
        if (outcome.SomethingStayed())
            HTMLayoutSetAttributeByName(FindById(root, outcome.item->lineId), "class", L"line stayed");
    }
}

bool MsgCleanerDlg::on_message(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    // A window that goes without WM_CLOSE (with its owner) stops its job too.
    if (message == WM_DESTROY) {
        scan_.Stop();
        job_.RequestClose();
    }
    if (message == kFoundMessage) {
        // A figure that comes after Clean would overwrite what the step says.
        if (!job_.Running() && job_.OutcomesPublished() == 0)
            ShowFigure(*scan_.Step(wParam).item, FoundText(scan_.Figures(wParam)));
        result = 0;
        return true;
    }
    if (message != WM_TIMER) return false;
    job_.OnProgressTimer(hwnd(), wParam);
    ShowNewOutcomes();
    result = 0;
    return true;
}

BOOL MsgCleanerDlg::handle_event(HELEMENT he, HL_BEHAVIOR_EVENT_PARAMS& params) {
    if (params.cmd == BUTTON_CLICK) {
        const std::wstring id = IdOf(params.target);
        if (id == L"exit")
            close();
        else if (id == L"btn_Clean")
            StartJob();
    }
    return dialog::handle_event(he, params);
}

void MsgCleanerDlg::StartJob() {
    // A press that comes after "exit" (its close still queued) starts nothing.
    if (closeAsked_) return;
    scan_.Stop();
    job_.StartJob(hwnd());
}

bool MsgCleanerDlg::can_close() {
    closeAsked_ = true;
    scan_.Stop();
    // Not from inside its own initialisation: it closes once the notice has gone.
    if (inNotice_) return false;
    if (job_.RequestClose()) return true;
    // The job posts WM_CLOSE again once the current item has ended; until then the user sees why the
    // dialog is still there.
    if (!stoppedByUser_) {
        stoppedByUser_ = true;
        SetText(progressText_, kStoppingText);
    }
    return false;
}

void MsgCleanerDlg::DisableCleanButton() { SetStates(FindById(root, L"btn_Clean"), STATE_DISABLED, 0); }

void MsgCleanerDlg::ShowProgress(const std::wstring& text, int percent) {
    if (percent == shownPercent_) return;
    if (!stoppedByUser_) SetText(progressText_, text);
    ShowPercent(percent);
}

void MsgCleanerDlg::ShowPercent(int percent) {
    shownPercent_ = percent;
    if (!progressBar_) return;
    value number(percent);
    HTMLayoutControlSetValue(progressBar_, &number.raw());
}

} // namespace htmlayout
