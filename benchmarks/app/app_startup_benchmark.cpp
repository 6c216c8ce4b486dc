// Tracewipe.exe's start-up: from process creation to the main window's pixels on the screen, as a ratio to
// a trivial Win32 window started the same way in the same run, and the working set after the first paint.
// Run under the test prefix on a display (Xvfb). Changes of a shown window: frame_phases_benchmark.
#include "screen_probe.h"
#include "support/timing.h"

#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct StartResult {
    double ms = 0;
    double workingSetMb = 0;
};

struct WindowSearch {
    DWORD id;
    HWND found;
};

BOOL CALLBACK KeepShownWindowOf(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->id && IsWindowVisible(window)) search->found = window;
    return TRUE;
}

HWND TopWindowOf(DWORD processId) {
    WindowSearch search{processId, nullptr};
    EnumWindows(KeepShownWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

StartResult TimeStart(const std::wstring& exe, ScreenProbe& probe, unsigned empty) {
    StartResult result;
    std::wstring line = L"\"" + exe + L"\"";
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    const auto start = Clock::now();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return result;
    while (!probe.Painted(empty) && Clock::now() - start < std::chrono::seconds(20)) {
    }
    result.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    PROCESS_MEMORY_COUNTERS counters{sizeof counters};
    if (GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters))
        result.workingSetMb = counters.WorkingSetSize / (1024.0 * 1024.0);
    HWND window = TopWindowOf(pi.dwProcessId);
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // Until the display is bare again.
    while (probe.Painted(empty) && Clock::now() - start < std::chrono::seconds(30))
        Sleep(5);
    return result;
}

std::wstring Beside(const wchar_t* name) {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\') + 1) + name;
}

} // namespace

int main() {
    // The middle of the window's caption row, where both programs paint at once.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 351, y = GetSystemMetrics(SM_CYSCREEN) / 2 - 251;
    ScreenProbe probe(RECT{x + 300, y + 10, x + 340, y + 30});
    probe.Grab();
    const unsigned empty = probe.Snapshot()[0] & 0xFFFFFF;
    const std::wstring program = Beside(L"Tracewipe.exe"), baseline = Beside(L"trivial_window.exe");
    TimeStart(program, probe, empty); // the first start of a run loads what every later one finds cached
    TimeStart(baseline, probe, empty);

    std::vector<double> programMs, baselineMs, workingSets;
    for (int i = 0; i < 10; ++i) {
        StartResult p = TimeStart(program, probe, empty);
        programMs.push_back(p.ms);
        workingSets.push_back(p.workingSetMb);
        baselineMs.push_back(TimeStart(baseline, probe, empty).ms);
    }
    const double p = testing_support::Median(programMs), b = testing_support::Median(baselineMs);
    std::printf("start to pixels, median of 10: Tracewipe %.1f ms, trivial window %.1f ms, ratio %.2f (goal "
                "<= 1.25)\n",
                p, b, b > 0 ? p / b : 0);
    std::printf("working set after the first paint, median: %.1f MB (goal < 24)\n",
                testing_support::Median(workingSets));
    return 0;
}
