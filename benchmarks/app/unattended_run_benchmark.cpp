// "Tracewipe.exe -clean windows" from process creation to its exit, against the same job run in this process
// as the window's progress dialog runs it once Clean is pressed (the Windows Cleaning group with its default
// selection, on a temporary folder of N files). Alternating rounds; medians.
// Usage: unattended_run_benchmark [rounds] [files]
// Run it under Wine in a test prefix: it resets the per-user settings and writes
// C:\tracewipe-bench-unattended.
#include "cleaning/cleaning_job.h"
#include "cleaning/real_cleaners.h"
#include "settings/settings_store.h"
#include "support/registry_fixture.h"
#include "support/test_folder.h"
#include "support/timing.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace testing_support;

const std::wstring kTemp = L"C:\\tracewipe-bench-unattended\\temp";

void Seed(int files) {
    MakeFolders(kTemp);
    for (int i = 0; i < files; ++i) {
        const std::wstring folder = kTemp + L"\\d" + std::to_wstring(i / 100);
        if (i % 100 == 0) CreateDirectoryW(folder.c_str(), nullptr);
        HANDLE h = CreateFileW((folder + L"\\f" + std::to_wstring(i)).c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, "history", 7, &written, nullptr);
        CloseHandle(h);
    }
}

class NoHost : public JobHost {
    void DisableCleanButton() override {}
    void ShowProgress(const std::wstring&, int) override {}
};

void RunInProcess() {
    CleanSelection = {};
    LoadWindowsSelection();
    RealCleaners cleaners;
    NoHost host;
    CleaningJob job(cleaners, host);
    job.singleGroup = true;
    job.groupCode = static_cast<int32_t>(CleanGroup::WindowsCleaning);
    job.DecideGroups();
    job.CountSteps();
    job.RunCleaners(nullptr);
}

DWORD RunUnattended(const std::wstring& program) {
    std::wstring line = L"\"" + program + L"\" -clean windows";
    // Its report goes nowhere, as under the Task Scheduler; the log is still written.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nowhere =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = nowhere;
    PROCESS_INFORMATION pi{};
    const BOOL started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(nowhere);
    if (!started) return 99;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    const int files = argc > 2 ? std::atoi(argv[2]) : 5000;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program = self;
    program = program.substr(0, program.find_last_of(L'\\') + 1) + L"Tracewipe.exe";
    // The default selection: every Windows Cleaning item.
    ScopedKeyTree settings(HKEY_CURRENT_USER, L"Software\\Quellbyte\\Freeweare\\Tracewipe");
    SetEnvironmentVariableW(L"TMP", kTemp.c_str());
    SetEnvironmentVariableW(L"TEMP", kTemp.c_str());

    std::vector<double> unattended, inProcess;
    for (int round = 0; round < rounds; ++round) {
        Seed(files);
        DWORD code = 0;
        unattended.push_back(TimeMs([&] { code = RunUnattended(program); }));
        Seed(files);
        inProcess.push_back(TimeMs(RunInProcess));
        std::printf("round %d: unattended %.0f ms (exit %lu), in-process job %.0f ms\n", round + 1,
                    unattended.back(), code, inProcess.back());
    }
    const double u = Median(unattended), j = Median(inProcess);
    std::printf("%d files, median of %d: unattended run %.0f ms, the window's job %.0f ms, ratio %.2f\n",
                files, rounds, u, j, j > 0 ? u / j : 0);
    return 0;
}
