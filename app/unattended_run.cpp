#include "app/unattended_run.h"

#include "app/clean_log.h"
#include "app/console_output.h"
#include "app/unattended_command.h"
#include "cleaners/browsers/browser_process.h"
#include "cleaners/browsers/index_file_messages.h"
#include "cleaners/windows/stayed_record.h"
#include "cleaning/cleaning_run_lock.h"
#include "cleaning/real_cleaners.h"
#include "cleaning/run_report.h"
#include "settings/settings_store.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

namespace {

// The job's progress goes nowhere: nobody watches.
class NoHost : public JobHost {
  public:
    void DisableCleanButton() override {}
    void ShowProgress(const std::wstring&, int) override {}
};

// The index-file messages become lines of the report: the file they name stayed.
int WINAPI IndexFileMessageToReport(HWND, LPCWSTR text, LPCWSTR, UINT) {
    ReportStayed(text);
    return IDOK;
}

void ClearGroup(CleanGroup group) {
    for (const CatalogueEntry* item : ItemsInRunOrder(group))
        CleanSelection.*item->flag = 0;
}

// The selection the command asks for, in memory only: nothing is saved.
void SelectFor(const UnattendedCommand& command) {
    LoadCleanSelection();
    if (command.scope == UnattendedCommand::Scope::Everything) SelectAllItems();
    if (command.scope != UnattendedCommand::Scope::Groups) return;
    for (const CommandGroup& group : CommandGroups())
        if (std::find(command.groups.begin(), command.groups.end(), group.code) == command.groups.end())
            ClearGroup(group.code);
}

// With -keep-running-browsers, the group of a browser that runs is left out rather than its browser ended.
std::vector<SkippedGroup> LeaveOutRunningBrowsers() {
    std::vector<SkippedGroup> skipped;
    for (const CommandGroup& group : CommandGroups()) {
        if (!AnySelected(group.code)) continue;
        const std::wstring_view running =
            RunningImageName(BrowserImageNames(static_cast<int32_t>(group.code)));
        if (running.empty()) continue;
        ClearGroup(group.code);
        skipped.push_back({group.code, std::wstring(running) + L" is running (-keep-running-browsers)"});
    }
    return skipped;
}

std::wstring Header(const std::vector<std::wstring>& arguments) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[32];
    std::swprintf(stamp, std::size(stamp), L"%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    std::wstring header = L"=== " + std::wstring(stamp) + L" Tracewipe";
    // A command line of thousands of arguments is not copied into every block.
    constexpr size_t kShownArguments = 16;
    for (size_t i = 0; i < arguments.size() && i < kShownArguments; ++i)
        header.append(L" ").append(arguments[i]);
    if (arguments.size() > kShownArguments) header.append(L" ...");
    return header + L"\r\n";
}

} // namespace

int RunUnattended(const std::vector<std::wstring>& arguments) {
    const ParsedCommand parsed = ParseUnattendedCommand(arguments);
    if (!parsed.command) {
        WriteStandardError(parsed.error + L"\r\n" + UnattendedUsage());
        return kUnattendedBadCommandLine;
    }
    const CleaningRunLock lock;
    if (!lock.Held()) {
        WriteStandardError(
            L"Another cleaning run is going on (in the Tracewipe window or started like this one); "
            L"nothing was cleaned.\r\n");
        return kUnattendedAnotherRun;
    }
    ReplaceIndexFileMessageBox(&IndexFileMessageToReport);

    SelectFor(*parsed.command);
    const std::vector<SkippedGroup> skipped =
        parsed.command->keepRunningBrowsers ? LeaveOutRunningBrowsers() : std::vector<SkippedGroup>{};
    RealCleaners cleaners;
    NoHost host;
    CleaningJob job(cleaners, host);
    job.DecideGroups();
    job.CountSteps();
    job.RunCleaners(nullptr);

    const bool stayed = SomethingStayed(job.Outcomes());
    std::wstring report = Header(arguments);
    if (job.Outcomes().empty() && skipped.empty())
        report.append(L"Nothing to clean: no item of the run is ticked.\r\n");
    report.append(RunReport(job.Outcomes(), skipped));
    report.append(stayed ? L"Result: something stayed (exit code 1)\r\n\r\n"
                         : L"Result: cleaned (exit code 0)\r\n\r\n");
    WriteStandardOutput(report);
    if (const std::wstring problem = AppendToCleanLog(report); !problem.empty()) WriteStandardError(problem);
    return stayed ? kUnattendedSomethingStayed : kUnattendedCleaned;
}
