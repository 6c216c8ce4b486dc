// The progress dialog run modally over a real owner window, driven by real X input: the list it shows, the
// "Close Browser" notice, Clean, exit at every moment of a run, and the real cleaners on seeded history.
#include "cleaning/msg_cleaner_dlg.h"

#include "cleaners/windows/walk_stop.h"
#include "cleaning/run_report.h"

#include "dialog_stage.h"
#include "real_input.h"
#include "support/accessible_tree.h"
#include "settings/settings_store.h"
#include "support/clipboard_text.h"
#include "support/outside_sentinel.h"
#include "support/real_input.h"
#include "support/registry_fixture.h"
#include "support/shell_folder_redirect.h"
#include "support/test_folder.h"
#include "ui/element_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>

namespace {

using namespace cleaning_test;
using htmlayout::MsgCleanerDlg;

// Records what the job runs; can hold the job inside one of its steps until the test lets it go on.
class GatedCleaners : public CleanerSet {
public:
    GatedCleaners() : held_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), go_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~GatedCleaners() override {
        CloseHandle(held_);
        CloseHandle(go_);
    }
    void BeginWindowsPhase(HWND) override {}
    void EndWindowsPhase() override {}
    void BeginBrowserGroup(CleanGroup group) override { Note(L"end browser " + std::to_wstring(int(group))); }
    void EndBrowserGroup(CleanGroup) override {}
    void Run(CleanAction action, HWND dialog) override {
        int index;
        {
            std::lock_guard lock(mutex_);
            index = static_cast<int>(actions_.size());
            actions_.push_back(action);
            dialogAlive_ = dialogAlive_ && IsWindow(dialog);
        }
        if (index == holdAt_) {
            SetEvent(held_);
            WaitForSingleObject(go_, 15000);
        }
    }

    // Holds the job in its step number `index` (from 0).
    void HoldAt(int index) { holdAt_ = index; }
    bool WaitUntilHeld() { return WaitForSingleObject(held_, 10000) == WAIT_OBJECT_0; }
    void Release() { SetEvent(go_); }
    std::vector<CleanAction> Actions() {
        std::lock_guard lock(mutex_);
        return actions_;
    }
    std::vector<std::wstring> Notes() {
        std::lock_guard lock(mutex_);
        return notes_;
    }
    // Every step ran while its dialog window still existed.
    bool DialogAlive() const { return dialogAlive_; }

private:
    void Note(std::wstring note) {
        std::lock_guard lock(mutex_);
        notes_.push_back(std::move(note));
    }
    std::mutex mutex_;
    std::vector<CleanAction> actions_;
    std::vector<std::wstring> notes_;
    bool dialogAlive_ = true;
    int holdAt_ = -1;
    HANDLE held_, go_;
};

void Select(std::initializer_list<const wchar_t*> ids) {
    for (const wchar_t* id : ids) CleanSelection.*(FindByBoxId(id)->flag) = 1;
}

std::vector<std::wstring> AllLineIds() {
    std::vector<std::wstring> ids;
    for (const CatalogueEntry& entry : Catalogue())
        if (entry.IsCleanItem()) ids.emplace_back(entry.lineId);
    return ids;
}

std::vector<std::wstring> AllContainerIds() {
    std::vector<std::wstring> ids = {L"windows_history_list", L"browser_history_list"};
    for (const CleanGroupInfo& group : CleanGroups()) ids.emplace_back(group.listId);
    return ids;
}

RECT WindowRect(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

void Screenshot(HWND window, const char* name) {
    testing_support::SaveScreenshot(SCREENSHOT_DIR, name, WindowRect(window));
}

// What the user side saw of a dialog, read on the dialog's thread.
struct PageState {
    std::map<std::wstring, bool> displayed;
    std::wstring progressText;
    std::wstring barValue;
    unsigned cleanStates = 0;
    POINT clean{}, exit{};
    RECT window{};

    std::vector<std::wstring> Shown() const {
        std::vector<std::wstring> shown;
        for (const auto& [id, is] : displayed)
            if (is) shown.push_back(id);
        return shown;
    }
};

class ProgressDialog : public ::testing::Test {
protected:
    void SetUp() override {
        CleanSelection = {};
        ui_ = GetCurrentThreadId();
    }
    void TearDown() override {
        MSG msg;
        EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_TRUE(VisibleDialogsOf(ui_).empty());
        EXPECT_TRUE(IsWindowEnabled(owner_.hwnd()));
        CleanSelection = {};
    }

    PageState Look(HWND dialog) {
        PageState state;
        owner_.OnUiThread([&] {
            for (const auto& id : AllLineIds()) state.displayed[id] = Displayed(dialog, id.c_str());
            for (const auto& id : AllContainerIds()) state.displayed[id] = Displayed(dialog, id.c_str());
            state.progressText = TextOf(dialog, L"progress_txt");
            state.barValue = AttributeOf(dialog, L"progress_bar", "value");
            state.cleanStates = StatesOf(dialog, L"btn_Clean");
            state.clean = CentreOf(dialog, L"btn_Clean");
            state.exit = CentreOf(dialog, L"exit");
            state.window = WindowRect(dialog);
        });
        return state;
    }
    // Waits for the "Close Browser" notice, notes what it says and closes it with its Close button.
    HWND CloseTheNotice(std::wstring* title = nullptr, std::wstring* text = nullptr, const char* shot = nullptr) {
        HWND notice = WaitForDialog(ui_);
        if (!notice) return nullptr;
        Sleep(150);
        POINT close{};
        owner_.OnUiThread([&] {
            if (title) *title = TextOf(notice, L"main_heading_text");
            if (text) *text = TextOf(notice, L"msg_text");
            close = CentreOf(notice, L"close_btn");
        });
        if (shot) Screenshot(notice, shot);
        Press(close);
        WaitFor([&] { return !IsWindow(notice); }, 5000);
        return notice;
    }
    // The progress dialog itself, shown and drawn.
    HWND WaitForProgress() {
        HWND dialog = WaitForDialog(ui_);
        Sleep(150);
        return dialog;
    }

    DWORD ui_ = 0;
    OwnerWindow owner_;
    GatedCleaners cleaners_;
};

TEST_F(ProgressDialog, FirefoxSubTabShowsOnlyItsTickedLinesAfterTheNoticeAndCleansThem) {
    Select({L"ff_cache", L"ff_urls", L"temp_files", L"gc_cookies"});
    MsgCleanerDlg dialog(owner_.hwnd(), cleaners_);
    dialog.SetSingleGroup(CleanGroup::Firefox);
    std::wstring title, text;
    bool ownerEnabledUnderNotice = true, progressSeenDuringNotice = true;
    PageState before, during;
    cleaners_.HoldAt(1);
    User user([&] {
        HWND notice = WaitForDialog(ui_);
        Sleep(150);
        ownerEnabledUnderNotice = IsWindowEnabled(owner_.hwnd());
        progressSeenDuringNotice = VisibleDialogsOf(ui_).size() > 1;
        if (!notice || !CloseTheNotice(&title, &text, "progress_close_browser_notice")) return;
        HWND progress = WaitForProgress();
        if (!progress) return;
        before = Look(progress);
        Screenshot(progress, "progress_before_firefox");
        Press(before.clean);
        if (!cleaners_.WaitUntilHeld()) return;
        Sleep(100);
        during = Look(progress);
        Screenshot(progress, "progress_during_firefox");
        cleaners_.Release();
        WaitFor([&] { return !IsWindow(progress); }, 10000);
    });
    dialog.Run();
    user.Join();

    EXPECT_EQ(title, MsgCleanerDlg::kCloseBrowserTitle);
    EXPECT_EQ(text, MsgCleanerDlg::kCloseBrowserText);
    EXPECT_FALSE(ownerEnabledUnderNotice) << "the notice is modal over the main window";
    EXPECT_FALSE(progressSeenDuringNotice) << "the notice comes first, alone";
    EXPECT_EQ(before.Shown(), (std::vector<std::wstring>{L"browser_ff_list", L"browser_history_list", L"ff_cache",
                                                         L"ff_url"}));
    EXPECT_EQ(before.progressText, MsgCleanerDlg::kReadyText);
    EXPECT_EQ(before.barValue, L"0");
    EXPECT_EQ(before.cleanStates & STATE_DISABLED, 0u);
    // The dialog is centred over its owner.
    RECT o = WindowRect(owner_.hwnd());
    const int w = before.window.right - before.window.left, h = before.window.bottom - before.window.top;
    EXPECT_EQ(before.window.left, o.left + (o.right - o.left - w) / 2);
    EXPECT_EQ(before.window.top, o.top + (o.bottom - o.top - h) / 2);

    EXPECT_EQ(during.progressText, L"50% history deleted.....");
    EXPECT_EQ(during.barValue, L"50");
    EXPECT_NE(during.cleanStates & STATE_DISABLED, 0u);

    EXPECT_EQ(dialog.JobResult(), 1);
    EXPECT_EQ(cleaners_.Actions(), (std::vector<CleanAction>{CleanAction::FfCache, CleanAction::FfUrls}));
    EXPECT_EQ(cleaners_.Notes(), (std::vector<std::wstring>{L"end browser 5"}));
    EXPECT_TRUE(cleaners_.DialogAlive());
}

TEST_F(ProgressDialog, OnlyWindowsItemsComeWithoutNoticeAndWithoutTheBrowserList) {
    Select({L"temp_files", L"run_history", L"media_player"});
    MsgCleanerDlg dialog(owner_.hwnd(), cleaners_);
    PageState before;
    int dialogsSeen = 0;
    User user([&] {
        HWND progress = WaitForProgress();
        if (!progress) return;
        dialogsSeen = static_cast<int>(VisibleDialogsOf(ui_).size());
        before = Look(progress);
        Screenshot(progress, "progress_before_windows");
        Press(before.clean);
        WaitFor([&] { return !IsWindow(progress); }, 10000);
    });
    dialog.Run();
    user.Join();

    EXPECT_EQ(dialogsSeen, 1);
    EXPECT_EQ(before.Shown(), (std::vector<std::wstring>{L"mediaplayer", L"run", L"temp_files",
                                                         L"windos_cleaning_list", L"windos_program_list",
                                                         L"windos_startmenu_list", L"windows_history_list"}));
    EXPECT_EQ(dialog.JobResult(), 1);
    EXPECT_EQ(cleaners_.Actions(), (std::vector<CleanAction>{CleanAction::TempFiles, CleanAction::MediaPlayerHistory,
                                                             CleanAction::RunHistory}));
    EXPECT_TRUE(cleaners_.Notes().empty()) << "no browser is ended";
}

TEST_F(ProgressDialog, NothingToCleanClosesAtOnceWithoutShowingAnything) {
    for (bool single : {false, true}) {
        CleanSelection = {};
        if (single) Select({L"ff_cache", L"temp_files"}); // Chrome has nothing ticked
        MsgCleanerDlg dialog(owner_.hwnd(), cleaners_);
        if (single) dialog.SetSingleGroup(CleanGroup::Chrome);
        bool sawWindow = false;
        User user([&] { sawWindow = WaitForDialog(ui_, nullptr, 700) != nullptr; });
        dialog.Run();
        user.Join();
        EXPECT_FALSE(sawWindow) << single;
        EXPECT_EQ(dialog.JobResult(), -2) << single;
        EXPECT_FALSE(dialog.Job().cleanWindows || dialog.Job().cleanBrowsers) << single;
    }
    EXPECT_TRUE(cleaners_.Actions().empty());
}

TEST_F(ProgressDialog, EveryItemShowsAllFortyFiveLinesInAScrollingListAndExitBeforeCleanCleansNothing) {
    SelectAllItems();
    MsgCleanerDlg dialog(owner_.hwnd(), cleaners_);
    PageState before;
    RECT lastLine{}, list{};
    User user([&] {
        if (!CloseTheNotice()) return;
        HWND progress = WaitForProgress();
        if (!progress) return;
        before = Look(progress);
        owner_.OnUiThread([&] {
            lastLine = LocationOf(progress, L"br_downloadhistory");
            list = LocationOf(progress, L"progress_bar");
        });
        Screenshot(progress, "progress_before_all_items");
        Press(before.exit);
        WaitFor([&] { return !IsWindow(progress); }, 5000);
    });
    dialog.Run();
    user.Join();

    EXPECT_EQ(before.Shown().size(), 45u + 10u);
    EXPECT_EQ(totalSteps.load(), 45);
    EXPECT_GT(lastLine.bottom, list.top) << "the list reaches below the bar: it must scroll to show its end";
    EXPECT_EQ(dialog.JobResult(), 0);
    EXPECT_TRUE(cleaners_.Actions().empty());
}

BOOL CALLBACK NoteDialog(HWND hwnd, LPARAM found) {
    wchar_t name[16] = L"";
    GetClassNameW(hwnd, name, 16);
    if (std::wstring(name) == L"#32770") reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
    return TRUE;
}

// A close that reaches the progress dialog while its notice is up (it is still initialising, unsized) waits
// for the notice; then the dialog goes without being shown and nothing runs.
TEST_F(ProgressDialog, ClosedWhileTheNoticeIsUpItGoesAfterTheNoticeWithoutShowing) {
    Select({L"ff_cache", L"temp_files"});
    MsgCleanerDlg dialog(owner_.hwnd(), cleaners_);
    bool noticeStayed = false;
    bool shownAfter = true;
    User user([&] {
        HWND notice = WaitForDialog(ui_);
        if (!notice) return;
        std::vector<HWND> all;
        EnumThreadWindows(ui_, NoteDialog, reinterpret_cast<LPARAM>(&all));
        for (HWND d : all)
            if (d != notice) PostMessageW(d, WM_CLOSE, 0, 0);
        Sleep(300);
        noticeStayed = IsWindowVisible(notice);
        CloseTheNotice();
        shownAfter = WaitForDialog(ui_, notice, 1000) != nullptr;
    });
    dialog.Run();
    user.Join();
    EXPECT_TRUE(noticeStayed);
    EXPECT_FALSE(shownAfter);
    EXPECT_EQ(dialog.JobResult(), 0);
    EXPECT_TRUE(cleaners_.Actions().empty());
}

// Exit while the job is inside a step: the dialog says it is stopping at once, stays while the step ends,
// then closes; nothing more runs and no result is reported.
TEST_F(ProgressDialog, ExitDuringTheFirstOrTheLastStepStopsTheJobAfterThatStep) {
    struct Case {
        int holdAt;
        int pressesOfExit;
    };
    for (Case c : {Case{0, 1}, Case{2, 1}, Case{0, 2}}) {
        GatedCleaners cleaners;
        cleaners.HoldAt(c.holdAt);
        CleanSelection = {};
        Select({L"temp_files", L"clip_board", L"recycle_bin"});
        MsgCleanerDlg dialog(owner_.hwnd(), cleaners);
        PageState stopping;
        bool openWhileStepRuns = false;
        DWORD exitToGone = 0;
        User user([&] {
            HWND progress = WaitForProgress();
            if (!progress) return;
            PageState before = Look(progress);
            Press(before.clean);
            if (!cleaners.WaitUntilHeld()) return;
            for (int i = 0; i < c.pressesOfExit; ++i) Press(before.exit);
            Sleep(200);
            stopping = Look(progress);
            openWhileStepRuns = IsWindow(progress);
            if (c.holdAt == 0 && c.pressesOfExit == 1) Screenshot(progress, "progress_stopping");
            DWORD released = GetTickCount();
            cleaners.Release();
            WaitFor([&] { return !IsWindow(progress); }, 10000);
            exitToGone = GetTickCount() - released;
        });
        dialog.Run();
        user.Join();

        const std::string label = "step " + std::to_string(c.holdAt) + ", " + std::to_string(c.pressesOfExit) + "x";
        EXPECT_TRUE(openWhileStepRuns) << label;
        EXPECT_EQ(stopping.progressText, MsgCleanerDlg::kStoppingText) << label;
        // Under Wine without a window manager, destroying a shown window waits about 2 s for its withdrawal.
        EXPECT_LT(exitToGone, 3000u) << label;
        EXPECT_EQ(cleaners.Actions().size(), static_cast<size_t>(c.holdAt + 1)) << label;
        EXPECT_EQ(dialog.JobResult(), 0) << label << ": a run the user stopped reports nothing";
        EXPECT_TRUE(cleaners.DialogAlive()) << label;
    }
}

// Escape is the keyboard's exit: during a run it stops the job the same way. The window carries the caption
// as its title for screen readers.
TEST_F(ProgressDialog, EscapeDuringARunStopsItAsExitDoesAndTheWindowIsTitledByItsCaption) {
    GatedCleaners cleaners;
    cleaners.HoldAt(0);
    Select({L"temp_files", L"clip_board"});
    MsgCleanerDlg dialog(owner_.hwnd(), cleaners);
    PageState stopping;
    wchar_t title[64]{};
    User user([&] {
        HWND progress = WaitForProgress();
        if (!progress) return;
        GetWindowTextW(progress, title, 64);
        Press(Look(progress).clean);
        if (!cleaners.WaitUntilHeld()) return;
        testing_support::PressKeys(progress, "Escape");
        Sleep(200);
        stopping = Look(progress);
        cleaners.Release();
        WaitFor([&] { return !IsWindow(progress); }, 10000);
    });
    dialog.Run();
    user.Join();
    EXPECT_STREQ(title, L"Cleaning Item List");
    EXPECT_EQ(stopping.progressText, MsgCleanerDlg::kStoppingText);
    EXPECT_EQ(cleaners.Actions().size(), 1u) << "the held step ends, nothing after it runs";
    EXPECT_EQ(dialog.JobResult(), 0);
}

TEST_F(ProgressDialog, CleanPressedTwiceQuicklyRunsOneJob) {
    Select({L"temp_files", L"clip_board"});
    MsgCleanerDlg dialog(owner_.hwnd(), cleaners_);
    cleaners_.HoldAt(0);
    unsigned statesWhileRunning = 0;
    User user([&] {
        HWND progress = WaitForProgress();
        if (!progress) return;
        PageState before = Look(progress);
        Press(before.clean);
        Press(before.clean);
        cleaners_.WaitUntilHeld();
        Press(before.clean);
        statesWhileRunning = Look(progress).cleanStates;
        cleaners_.Release();
        WaitFor([&] { return !IsWindow(progress); }, 10000);
    });
    dialog.Run();
    user.Join();
    EXPECT_NE(statesWhileRunning & STATE_DISABLED, 0u);
    EXPECT_EQ(cleaners_.Actions(), (std::vector<CleanAction>{CleanAction::TempFiles, CleanAction::Clipboard}));
    EXPECT_EQ(dialog.JobResult(), 1);
}

// The display's scale changes while a run goes (150 %, then back): the dialog takes each rectangle Windows
// suggests and lays its page out for the new DPI, its buttons where the scaled page has them, and the run
// finishes as it would have. A change without a rectangle moves nothing.
TEST_F(ProgressDialog, ADpiChangeDuringTheRunMovesTheDialogAndRelaysItsPageOut) {
    Select({L"temp_files", L"clip_board"});
    MsgCleanerDlg dialog(owner_.hwnd(), cleaners_);
    cleaners_.HoldAt(0);
    PageState before, scaled, back;
    RECT suggested{};
    User user([&] {
        HWND progress = WaitForProgress();
        if (!progress) return;
        before = Look(progress);
        Press(before.clean);
        cleaners_.WaitUntilHeld();
        const RECT& r = before.window;
        suggested = RECT{r.left, r.top, r.left + (r.right - r.left) * 3 / 2, r.top + (r.bottom - r.top) * 3 / 2};
        SendMessageW(progress, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        Sleep(150);
        scaled = Look(progress);
        Screenshot(progress, "progress_after_dpi_change");
        SendMessageW(progress, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&before.window));
        SendMessageW(progress, WM_DPICHANGED, 0, 0);
        back = Look(progress);
        cleaners_.Release();
        WaitFor([&] { return !IsWindow(progress); }, 10000);
    });
    dialog.Run();
    user.Join();

    EXPECT_TRUE(EqualRect(&scaled.window, &suggested));
    auto offset = [](const PageState& s, POINT p) { return POINT{p.x - s.window.left, p.y - s.window.top}; };
    for (auto point : {&PageState::clean, &PageState::exit}) {
        POINT at96 = offset(before, before.*point), at144 = offset(scaled, scaled.*point);
        EXPECT_NEAR(at144.x, at96.x * 1.5, 2);
        EXPECT_NEAR(at144.y, at96.y * 1.5, 2);
    }
    EXPECT_TRUE(EqualRect(&back.window, &before.window));
    EXPECT_EQ(offset(back, back.clean).x, offset(before, before.clean).x);
    EXPECT_EQ(cleaners_.Actions(), (std::vector<CleanAction>{CleanAction::TempFiles, CleanAction::Clipboard}));
    EXPECT_EQ(dialog.JobResult(), 1);
}

// A quit message met by the dialog's loop stops the job like exit; the quit reaches the program's loop after.
TEST_F(ProgressDialog, QuitDuringTheRunStopsTheJobAndIsPostedAgain) {
    Select({L"temp_files", L"clip_board"});
    MsgCleanerDlg dialog(owner_.hwnd(), cleaners_);
    cleaners_.HoldAt(0);
    std::wstring text;
    User user([&] {
        HWND progress = WaitForProgress();
        if (!progress) return;
        Press(Look(progress).clean);
        if (!cleaners_.WaitUntilHeld()) return;
        owner_.OnUiThread([] { PostQuitMessage(3); });
        Sleep(200);
        text = Look(progress).progressText;
        cleaners_.Release();
        WaitFor([&] { return !IsWindow(progress); }, 10000);
    });
    dialog.Run();
    user.Join();
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_EQ(text, MsgCleanerDlg::kStoppingText);
    EXPECT_EQ(dialog.JobResult(), 0);
    EXPECT_EQ(cleaners_.Actions().size(), 1u);
}

// The owner destroyed under a running job takes the dialog window with it; the dialog object still waits for
// its job, which runs on it.
TEST_F(ProgressDialog, OwnerDestroyedDuringTheRunLeavesNoJobOnAGoneDialog) {
    Select({L"temp_files", L"clip_board"});
    auto owner = std::make_unique<OwnerWindow>();
    GatedCleaners cleaners;
    cleaners.HoldAt(0);
    {
        MsgCleanerDlg dialog(owner->hwnd(), cleaners);
        User user([&] {
            HWND progress = WaitForProgress();
            if (!progress) return;
            Press(Look(progress).clean);
            if (!cleaners.WaitUntilHeld()) return;
            PostMessageW(owner->hwnd(), WM_CLOSE, 0, 0);
            WaitFor([&] { return !IsWindow(progress); }, 5000);
            Sleep(100);
            cleaners.Release();
        });
        // The owner's class destroys it on WM_CLOSE, through DefWindowProc.
        dialog.Run();
        user.Join();
        EXPECT_EQ(dialog.JobResult(), 0);
    }
    EXPECT_EQ(cleaners.Actions().size(), 1u) << "the job stopped after its current step";
}

// The program's own cleaners behind the dialog, on history seeded for three Windows items, with a link to an
// outside folder in the emptied folder.
TEST_F(ProgressDialog, TheRealCleanersRemoveTheSeededTracesOfTheShownLinesOnly) {
    using namespace testing_support;
    const std::wstring runMru = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
    const std::wstring typedUrls = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
    ScopedKeyTree runKey(HKEY_CURRENT_USER, runMru), urlKey(HKEY_CURRENT_USER, typedUrls);
    SetString(HKEY_CURRENT_USER, runMru, L"a", L"notepad\\1");
    SetString(HKEY_CURRENT_USER, typedUrls, L"url1", L"http://tracewipe.test/");
    TestFolder root;
    const std::wstring local = root.MakeFolder(L"Local");
    ScopedShellFolder localAppData(L"Local AppData", local);
    const std::wstring trace = root.Write(L"Local\\Temp\\session.tmp");
    OutsideSentinel sentinel;
    ASSERT_TRUE(sentinel.PlantLinkAt(local + L"\\Temp\\outside-link"));
    ASSERT_TRUE(PutTextOnClipboard(L"secret"));

    Select({L"temp_files", L"clip_board", L"run_history", L"ie_urls"});
    MsgCleanerDlg dialog(owner_.hwnd());
    dialog.SetSingleGroup(CleanGroup::WindowsCleaning);
    User user([&] {
        HWND progress = WaitForProgress();
        if (!progress) return;
        Press(Look(progress).clean);
        WaitFor([&] { return !IsWindow(progress); }, 20000);
    });
    dialog.Run();
    user.Join();

    EXPECT_EQ(dialog.JobResult(), 1);
    EXPECT_FALSE(PathExists(trace));
    EXPECT_TRUE(PathExists(local + L"\\Temp"));
    EXPECT_TRUE(sentinel.Intact());
    EXPECT_FALSE(ClipboardHasText());
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, runMru, L"a")) << "Start Menu Cleaning was not in the run";
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, typedUrls, L"url1")) << "nor Internet Explorer";
    // The clipboard step.s own count: it emptied text; empty after, nothing stayed.
    ASSERT_EQ(dialog.Job().Outcomes().size(), 2u);
    const StepOutcome& clipboard = dialog.Job().Outcomes()[1];
    EXPECT_EQ(clipboard.RemovedFigures().clipboard, ClipboardContent::Text);
    EXPECT_EQ(clipboard.after.clipboard, ClipboardContent::Empty);
    EXPECT_FALSE(clipboard.SomethingStayed());
}

// Counts scripted per action, taken in turn by the scan and by the re-check after the step; each step
// counts what it is scripted to remove, as the real cleaners do. The first count of Run History is a long
// walk that only the scan's stop ends.
class FigureCleaners : public GatedCleaners {
public:
    std::map<CleanAction, std::vector<ItemFigures>> counts;
    std::map<CleanAction, RemovedCounts> removes; // written before the job starts
    std::atomic<DWORD> stopHeardAt{0};
    std::atomic<bool> longWalkStarted{false};

    void Run(CleanAction action, HWND dialog) override {
        if (const auto scripted = removes.find(action); scripted != removes.end()) {
            const RemovedCounts& removed = scripted->second;
            for (uint64_t file = 0; file < removed.files; ++file) TallyRemovedFile(removed.bytes / removed.files);
            TallyRemovedEntries(removed.entries);
            TallyRemovedRows(removed.rows);
            TallyClipboard(removed.clipboard);
        }
        GatedCleaners::Run(action, dialog);
    }

    ItemFigures Measure(const CleaningStep& step) override {
        const CleanAction action = step.action;
        if (action == CleanAction::RunHistory && !longWalkStarted.exchange(true)) {
            while (!WalkStopRequested()) Sleep(1);
            stopHeardAt = GetTickCount();
            return {};
        }
        std::lock_guard lock(mutex_);
        auto& queue = counts[action];
        if (queue.empty()) return {};
        ItemFigures next = queue.front();
        queue.erase(queue.begin());
        return next;
    }

private:
    std::mutex mutex_;
};

// The 14 x 14 mark at the start of a progress line, as the screen shows it.
app_test::ScreenPixels MarkOf(const OwnerWindow& owner, HWND dialog, const wchar_t* lineId) {
    RECT line{}, window = WindowRect(dialog);
    owner.OnUiThread([&] { line = LocationOf(dialog, lineId); });
    const int x = window.left + line.left + 46, y = window.top + line.top + 5;
    return app_test::Capture(RECT{x, y, x + 14, y + 14});
}

// Pixels of the amber that marks a line whose item kept something.
int AmberPixels(const app_test::ScreenPixels& shot) {
    int amber = 0;
    for (unsigned p : shot.pixels) {
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (r > 150 && r - b > 80 && g < r) ++amber;
    }
    return amber;
}

// The names of the static texts a screen reader on another thread finds in the dialog (oleacc marshals the
// dialog's objects: its thread must have COM).
std::vector<std::wstring> ReaderNames(HWND dialog) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::vector<std::wstring> names;
    std::vector<IAccessible*> held;
    if (IAccessible* client = testing_support::ClientObject(dialog, held))
        for (const testing_support::AccessibleNode& node : testing_support::WalkAccessible(client, held))
            if (node.role == ROLE_SYSTEM_STATICTEXT) names.push_back(node.name);
    for (IAccessible* a : held) a->Release();
    CoUninitialize();
    return names;
}

ItemFigures FilesOf(uint64_t files, uint64_t bytes) { return {.measured = true, .files = files, .bytes = bytes}; }
ItemFigures EntriesOf(uint64_t entries) { return {.measured = true, .entries = entries}; }

TEST_F(ProgressDialog, LinesShowWhatWasFoundThenWhatEachStepRemovedAndCleanStopsTheCountAtOnce) {
    FigureCleaners cleaners;
    cleaners.counts[CleanAction::TempFiles] = {FilesOf(1204, 50541363), FilesOf(3, 3072)};
    cleaners.counts[CleanAction::Clipboard] = {{.measured = true, .clipboard = ClipboardContent::Text},
                                               {.measured = true, .clipboard = ClipboardContent::Empty}};
    cleaners.counts[CleanAction::OpenSaveHistory] = {EntriesOf(12), EntriesOf(0)};
    cleaners.removes[CleanAction::TempFiles] = {.files = 1201, .bytes = 1201 * 42081};
    cleaners.removes[CleanAction::Clipboard] = {.clipboard = ClipboardData::Text};
    cleaners.removes[CleanAction::OpenSaveHistory] = {.entries = 12};
    cleaners.HoldAt(3);
    Select({L"temp_files", L"clip_board", L"os_dialog", L"run_history"});
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    MsgCleanerDlg dialog(owner_.hwnd(), cleaners);
    std::map<std::wstring, std::wstring> found, during;
    std::map<std::wstring, app_test::ScreenPixels> marks;
    std::vector<std::wstring> readerNames;
    DWORD pressedAt = 0;
    User user([&] {
        HWND progress = WaitForProgress();
        if (!progress) return;
        WaitFor([&] { return cleaners.longWalkStarted.load(); }, 5000);
        Sleep(100);
        owner_.OnUiThread([&] {
            for (const wchar_t* id : {L"temp_files", L"clipboard", L"opensavedialog", L"run"})
                found[id] = TextOf(progress, id);
        });
        Screenshot(progress, "progress_found_figures");
        const POINT clean = Look(progress).clean;
        pressedAt = GetTickCount();
        Press(clean);
        if (!cleaners.WaitUntilHeld()) return;
        Sleep(100);
        owner_.OnUiThread([&] {
            for (const wchar_t* id : {L"temp_files", L"clipboard", L"opensavedialog", L"run"})
                during[id] = TextOf(progress, id);
        });
        Screenshot(progress, "progress_figures_mid_run");
        for (const wchar_t* id : {L"temp_files", L"clipboard", L"opensavedialog"})
            marks[id] = MarkOf(owner_, progress, id);
        readerNames = ReaderNames(progress);
        cleaners.Release();
        WaitFor([&] { return !IsWindow(progress); }, 10000);
    });
    dialog.Run();
    user.Join();

    EXPECT_EQ(found[L"temp_files"], L"Temp Files / Folders1,204 files, 48.2 MB");
    EXPECT_EQ(found[L"clipboard"], L"Clipboardtext");
    EXPECT_EQ(found[L"opensavedialog"], L"Open / Save Dialog12 entries");
    EXPECT_EQ(found[L"run"], L"Run History") << "still being counted: no figure yet";
    ASSERT_NE(cleaners.stopHeardAt.load(), 0u);
    EXPECT_LT(cleaners.stopHeardAt - pressedAt, 100u) << "Clean stops the count at once";

    EXPECT_EQ(during[L"temp_files"], L"Temp Files / Folders3 files stayed");
    EXPECT_EQ(during[L"clipboard"], L"Clipboardremoved text");
    EXPECT_EQ(during[L"opensavedialog"], L"Open / Save Dialogremoved 12 entries");
    EXPECT_EQ(during[L"run"], L"Run History") << "its step has not ended";
    // The item that kept something trades the green tick for the amber mark; removed items keep the tick.
    EXPECT_GT(AmberPixels(marks[L"temp_files"]), 10);
    EXPECT_EQ(AmberPixels(marks[L"clipboard"]), 0);
    EXPECT_TRUE(app_test::SamePixels(marks[L"clipboard"], marks[L"opensavedialog"]));
    EXPECT_FALSE(app_test::SamePixels(marks[L"temp_files"], marks[L"clipboard"]));
    // A reader hears each line with its figure, the one that kept something with what stayed.
    auto heard = [&](const std::wstring& name) {
        return std::find(readerNames.begin(), readerNames.end(), name) != readerNames.end();
    };
    EXPECT_TRUE(heard(L"Temp Files / Folders 3 files stayed")) << testing::PrintToString(readerNames);
    EXPECT_TRUE(heard(L"Clipboard removed text"));
    EXPECT_TRUE(heard(L"Run History")) << "a line still waiting for its step";
    EXPECT_TRUE(heard(L"Windows History")) << "the list's headings are read too";
    EXPECT_TRUE(heard(L"Windows Cleaning"));
    EXPECT_FALSE(heard(L"Browser History")) << "a hidden heading is not";
    CoUninitialize();
    EXPECT_EQ(dialog.JobResult(), 1);
    EXPECT_TRUE(SomethingStayed(dialog.Job().Outcomes()));
}

// With enough lines shown the list scrolls and its bar takes room: a figure too long to sit beside its label
// then takes a row under it instead of running into the label; a short one stays beside its label.
TEST_F(ProgressDialog, ALongFigureMovesUnderItsLabelInsteadOfOverlappingIt) {
    FigureCleaners cleaners;
    cleaners.counts[CleanAction::RecentDocuments] = {{.measured = true, .files = 1, .bytes = 49, .entries = 1}};
    cleaners.counts[CleanAction::Clipboard] = {{.measured = true, .clipboard = ClipboardContent::Text}};
    Select({L"clip_board", L"media_player", L"word_pad", L"ms_paint", L"recent_doc", L"find_comp",
            L"network_history", L"window_search", L"logon_user"});
    MsgCleanerDlg dialog(owner_.hwnd(), cleaners);
    struct Placed {
        RECT line, label, figure;
    };
    std::map<std::wstring, Placed> placed;
    User user([&] {
        HWND progress = WaitForProgress();
        if (!progress) return;
        WaitFor([&] {
            std::wstring text;
            owner_.OnUiThread([&] { text = TextOf(progress, L"recentdoc"); });
            return text != L"Recent Document History";
        }, 5000);
        owner_.OnUiThread([&] {
            for (const wchar_t* id : {L"recentdoc", L"clipboard"}) {
                htmlayout::scoped_element line = htmlayout::FindById(htmlayout::RootOf(progress), id);
                HELEMENT label = nullptr, figure = nullptr;
                HTMLayoutGetNthChild(line, 0, &label);
                HTMLayoutGetNthChild(line, 1, &figure);
                Placed& p = placed[id];
                HTMLayoutGetElementLocation(line, &p.line, ROOT_RELATIVE | BORDER_BOX);
                HTMLayoutGetElementLocation(label, &p.label, ROOT_RELATIVE | BORDER_BOX);
                HTMLayoutGetElementLocation(figure, &p.figure, ROOT_RELATIVE | BORDER_BOX);
            }
        });
        Screenshot(progress, "progress_long_figure");
        Press(Look(progress).exit);
        WaitFor([&] { return !IsWindow(progress); }, 5000);
    });
    dialog.Run();
    user.Join();

    ASSERT_EQ(placed.size(), 2u);
    const Placed& crowded = placed[L"recentdoc"];
    RECT overlap{};
    EXPECT_FALSE(IntersectRect(&overlap, &crowded.label, &crowded.figure)) << "the figure runs into the label";
    EXPECT_GE(crowded.figure.top, crowded.label.bottom) << "on a row of its own";
    EXPECT_LE(crowded.figure.bottom, crowded.line.bottom) << "inside its own line";
    const Placed& roomy = placed[L"clipboard"];
    EXPECT_LT(roomy.figure.top, roomy.label.bottom) << "a short figure stays beside its label";
    EXPECT_EQ(roomy.line.bottom - roomy.line.top, 24);
}

} // namespace

namespace {

ItemFigures RowsOf(uint64_t rows, RecordKind kind) { return {.measured = true, .records = rows, .recordKind = kind}; }

// Browser lines say how many rows each item holds, what went, and a database the browser kept holding.
TEST_F(ProgressDialog, BrowserLinesShowTheirRowsAndADatabaseHeldByTheBrowser) {
    FigureCleaners cleaners;
    const ItemFigures held{.measured = true, .recordKind = RecordKind::Downloads, .inUse = true};
    cleaners.counts[CleanAction::ChromiumCookies] = {RowsOf(412, RecordKind::Cookies), RowsOf(0, RecordKind::Cookies)};
    cleaners.counts[CleanAction::ChromiumDownloadHistory] = {RowsOf(9, RecordKind::Downloads), held};
    cleaners.counts[CleanAction::ChromiumUrls] = {RowsOf(3114, RecordKind::Visits), RowsOf(0, RecordKind::Visits)};
    // The held database's change was never committed, so its step counted no rows.
    cleaners.removes[CleanAction::ChromiumCookies] = {.rows = 412};
    cleaners.removes[CleanAction::ChromiumUrls] = {.rows = 3114};
    cleaners.HoldAt(2);
    Select({L"gc_cookies", L"gc_downloadhistory", L"gc_urls"});
    MsgCleanerDlg dialog(owner_.hwnd(), cleaners);
    dialog.SetSingleGroup(CleanGroup::Chrome);
    const wchar_t* const ids[] = {L"gc_cookies", L"gc_downloadhistory", L"gc_url"};
    std::map<std::wstring, std::wstring> found, during;
    User user([&] {
        if (!CloseTheNotice()) return;
        HWND progress = WaitForProgress();
        if (!progress) return;
        Sleep(300);
        owner_.OnUiThread([&] {
            for (const wchar_t* id : ids) found[id] = TextOf(progress, id);
        });
        Screenshot(progress, "progress_browser_figures");
        Press(Look(progress).clean);
        if (!cleaners.WaitUntilHeld()) return;
        Sleep(100);
        owner_.OnUiThread([&] {
            for (const wchar_t* id : ids) during[id] = TextOf(progress, id);
        });
        Screenshot(progress, "progress_browser_figures_mid_run");
        cleaners.Release();
        WaitFor([&] { return !IsWindow(progress); }, 10000);
    });
    dialog.Run();
    user.Join();

    EXPECT_EQ(found[L"gc_cookies"], L"Cookies412 cookies");
    EXPECT_EQ(found[L"gc_downloadhistory"], L"Download History9 downloads");
    EXPECT_EQ(found[L"gc_url"], L"URLs3,114 visits");
    EXPECT_EQ(during[L"gc_cookies"], L"Cookiesremoved 412 cookies");
    EXPECT_EQ(during[L"gc_downloadhistory"], L"Download Historydatabase held by a browser");
    EXPECT_EQ(during[L"gc_url"], L"URLs3,114 visits") << "its step has not ended: the line keeps what was found";
    const std::vector<StepOutcome>& outcomes = dialog.Job().Outcomes();
    ASSERT_EQ(outcomes.size(), 3u);
    EXPECT_EQ(outcomes[1].reason, StayedReason::HeldByBrowser);
    EXPECT_EQ(StayedLines(outcomes), L"Google Chrome: Download History (held by a running browser)\n");
    EXPECT_EQ(TotalsLine(outcomes), L"Removed 3,526 browser records.") << "the held database's rows are not claimed";
}

} // namespace
