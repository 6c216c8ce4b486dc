// The progress dialog while its job empties a folder of 20,000 files: how long the dialog takes to answer the
// window manager (a WM_NULL sent every 10 ms) while it counts the folder before Clean and while the job runs, and
// the job's time against the same job run headless in the same run, and headless with and without the
// re-check after each step. Then, with 100,000 files, the time from "exit" pressed to the dialog hidden and gone.
// Usage: progress_dialog_benchmark [rounds] [--no-exit]
// Run it under Wine with a display, in a test prefix: it writes and empties C:\tracewipe-bench.
#include "cleaners/windows/folder_measure.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/shell_delete.h"
#include "cleaning/msg_cleaner_dlg.h"
#include "dialog_stage.h"
#include "support/timing.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using cleaning_test::OwnerWindow;

const std::wstring kRoot = L"C:\\tracewipe-bench";

bool BuildTree(const std::wstring& root, int files) {
    CreateDirectoryW(root.c_str(), nullptr);
    constexpr int kPerFolder = 100;
    for (int f = 0; f * kPerFolder < files; ++f) {
        const std::wstring folder = root + L"\\folder" + std::to_wstring(f);
        if (!CreateDirectoryW(folder.c_str(), nullptr)) return false;
        for (int i = 0; i < kPerFolder && f * kPerFolder + i < files; ++i) {
            HANDLE h = CreateFileW((folder + L"\\file" + std::to_wstring(i) + L".tmp").c_str(), GENERIC_WRITE, 0,
                                   nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (h == INVALID_HANDLE_VALUE) return false;
            DWORD written = 0;
            WriteFile(h, "history", 7, &written, nullptr);
            CloseHandle(h);
        }
    }
    return true;
}

int CountFiles(const std::wstring& folder) {
    int count = 0;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!wcscmp(found.cFileName, L".") || !wcscmp(found.cFileName, L"..")) continue;
        count += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? CountFiles(folder + L"\\" + found.cFileName) : 1;
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return count;
}

// The one item of the run empties the bench folder; its time is the job's time.
class EmptyingCleaners : public CleanerSet {
public:
    void BeginWindowsPhase(HWND) override {}
    void EndWindowsPhase() override {}
    void BeginBrowserGroup(CleanGroup) override {}
    void EndBrowserGroup(CleanGroup) override {}
    void Run(CleanAction action, HWND) override {
        if (action != CleanAction::TempFiles) return;
        running = true;
        stepMs = testing_support::TimeMs([] { ShellDelete(kRoot + L"\\*"); });
        running = false;
    }
    // The count the dialog's scan and the job's re-checks make of the item's folder.
    ItemFigures Measure(const CleaningStep& step) override {
        if (step.action != CleanAction::TempFiles) return {};
        scanning = true;
        FolderFigures folder;
        countMs += testing_support::TimeMs([&] { folder = MeasureFolder(ExtendedLengthPath(kRoot), true); });
        scanning = false;
        ++counts;
        return {.measured = true, .files = folder.files, .bytes = folder.bytes};
    }
    std::atomic<bool> running{false}, scanning{false};
    std::atomic<int> counts{0};
    double stepMs = 0, countMs = 0;
};

class NoPage : public JobHost {
public:
    void DisableCleanButton() override {}
    void ShowProgress(const std::wstring&, int) override {}
};

struct HeadlessRun {
    double stepMs = 0, jobMs = 0, countMs = 0; // the item's step, the whole job, and the counts in it
};

HeadlessRun Headless(int files, bool recheck = true) {
    BuildTree(kRoot, files);
    EmptyingCleaners cleaners;
    NoPage page;
    CleaningJob job(cleaners, page);
    job.recheck = recheck;
    job.DecideGroups();
    const double jobMs = testing_support::TimeMs([&] { job.RunCleaners(nullptr); });
    return {cleaners.stepMs, jobMs, cleaners.countMs};
}

// A press of the page's element as the mouse gives it: button down and up at its centre.
void PressOnPage(const OwnerWindow& owner, HWND dialog, const wchar_t* id) {
    POINT p{};
    owner.OnUiThread([&] { p = cleaning_test::CentreOf(dialog, id); });
    ScreenToClient(dialog, &p);
    PostMessageW(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    PostMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageW(dialog, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

double CpuMs(HANDLE thread) {
    FILETIME created, ended, kernel, user;
    if (!GetThreadTimes(thread, &created, &ended, &kernel, &user)) return 0;
    auto ms = [](FILETIME t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

struct Answers {
    double longestMs = 0;
    int count = 0, over50 = 0;
};

// Sends WM_NULL every 10 ms while `going` holds and notes how long each answer takes.
template <typename Condition>
Answers Ping(HWND window, Condition going) {
    Answers answers;
    while (going()) {
        DWORD_PTR answer = 0;
        const double ms = testing_support::TimeMs(
            [&] { SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer); });
        answers.longestMs = std::max(answers.longestMs, ms);
        answers.over50 += ms > 50;
        ++answers.count;
        Sleep(10);
    }
    return answers;
}

struct DialogRun {
    double stepMs = 0;
    Answers idle, busy; // before Clean (the scan), and while the job runs
    bool scanned = false; // the scan ended before Clean
    double uiCpuMs = 0;  // the dialog thread's processor time while the job runs
    double exitToHiddenMs = 0, exitToGoneMs = 0;
    int filesLeft = 0;
};

// With `exitAfterMs` >= 0, "exit" is pressed that long after Clean.
DialogRun InDialog(int files, int exitAfterMs) {
    BuildTree(kRoot, files);
    DialogRun run;
    OwnerWindow owner;
    EmptyingCleaners cleaners;
    htmlayout::MsgCleanerDlg dialog(owner.hwnd(), cleaners);
    const DWORD ui = GetCurrentThreadId();
    cleaning_test::User user([&] {
        HWND window = cleaning_test::WaitForDialog(ui);
        if (!window) return;
        Sleep(200);
        if (exitAfterMs < 0) {
            // The scan starts with the dialog: the answers while it counts the 20,000 files, then idle.
            const DWORD start = GetTickCount();
            run.idle = Ping(window, [&] { return GetTickCount() - start < 2000 || cleaners.scanning.load(); });
            run.scanned = cleaners.counts.load() > 0;
        }
        PressOnPage(owner, window, L"btn_Clean");
        cleaning_test::WaitFor([&] { return cleaners.running.load(); }, 5000);
        if (exitAfterMs >= 0) {
            Sleep(exitAfterMs);
            const auto pressed = std::chrono::steady_clock::now();
            PressOnPage(owner, window, L"exit");
            cleaning_test::WaitFor([&] { return !IsWindowVisible(window); }, 120000);
            run.exitToHiddenMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - pressed).count();
            cleaning_test::WaitFor([&] { return !IsWindow(window); }, 120000);
            run.exitToGoneMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - pressed).count();
            return;
        }
        HANDLE uiThread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, ui);
        const double cpuBefore = CpuMs(uiThread);
        run.busy = Ping(window, [&] { return cleaners.running.load(); });
        run.uiCpuMs = CpuMs(uiThread) - cpuBefore;
        CloseHandle(uiThread);
    });
    dialog.Run();
    user.Join();
    run.stepMs = cleaners.stepMs;
    run.filesLeft = CountFiles(kRoot);
    return run;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 && argv[1][0] != '-' ? std::max(1, std::atoi(argv[1])) : 3;
    const bool withExit = !(argc > 1 && !strcmp(argv[argc - 1], "--no-exit"));
    CleanSelection = {};
    CleanSelection.temp_files = 1;

    std::vector<double> headless, inDialog, longest, longestIdle, withCounts, withoutCounts, countShares;
    for (int r = 0; r < rounds; ++r) {
        // Alternately first, so that neither profits from the other's traces in the file system.
        DialogRun run;
        if (r % 2) run = InDialog(20000, -1);
        headless.push_back(Headless(20000).stepMs);
        if (!(r % 2)) run = InDialog(20000, -1);
        const bool countsFirst = r % 2 == 0;
        HeadlessRun checked;
        if (countsFirst) checked = Headless(20000, true);
        withoutCounts.push_back(Headless(20000, false).jobMs);
        if (!countsFirst) checked = Headless(20000, true);
        withCounts.push_back(checked.jobMs);
        countShares.push_back(checked.countMs / checked.jobMs);
        inDialog.push_back(run.stepMs);
        longest.push_back(run.busy.longestMs);
        longestIdle.push_back(run.idle.longestMs);
        std::printf("round %d: headless %.0f ms, in the dialog %.0f ms; while it runs %d answers, %d over 50 ms, "
                    "longest %.1f ms; dialog thread busy %.0f ms; scanning then idle before Clean %d answers, %d over 50 ms, "
                    "longest %.1f ms (scan ended: %s); job with re-check %.0f ms, without %.0f ms\n",
                    r + 1, headless.back(), run.stepMs, run.busy.count, run.busy.over50, run.busy.longestMs, run.uiCpuMs,
                    run.idle.count, run.idle.over50, run.idle.longestMs, run.scanned ? "yes" : "no", withCounts.back(),
                    withoutCounts.back());
    }
    const double h = testing_support::Median(headless), d = testing_support::Median(inDialog);
    std::printf("20,000 files: headless %.0f ms, in the dialog %.0f ms (medians), ratio %.3f; longest answer "
                "to WM_NULL %.1f ms while the job runs, %.1f ms while scanning before Clean (worst rounds)\n",
                h, d, d / h, *std::max_element(longest.begin(), longest.end()),
                *std::max_element(longestIdle.begin(), longestIdle.end()));
    const double c = testing_support::Median(withCounts), n = testing_support::Median(withoutCounts);
    std::printf("20,000 files: the job with its re-check after the step %.0f ms, without %.0f ms (medians), "
                "ratio %.3f; the re-check took %.2f%% of the job (median)\n", c, n, c / n,
                100 * testing_support::Median(countShares));

    if (withExit) {
        DialogRun stop = InDialog(100000, 300);
        std::printf("100,000 files, exit 300 ms after Clean: dialog hidden after %.0f ms, gone after %.0f ms; "
                    "%d of 100000 files left\n",
                    stop.exitToHiddenMs, stop.exitToGoneMs, stop.filesLeft);
        ShellDelete(kRoot + L"\\*");
    }
    RemoveDirectoryW(kRoot.c_str());
    return 0;
}
