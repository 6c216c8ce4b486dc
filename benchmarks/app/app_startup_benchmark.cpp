// Tracewipe.exe's start-up: from process creation to the main window's pixels on the screen, as a ratio to
// a trivial Win32 window started the same way in the same run; the working set after the first paint; and
// a tab switch of the main window to its pixels. Run under the test prefix on a display (Xvfb).
#include "app/main_window.h"
#include "support/timing.h"
#include "ui/element_ops.h"

#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The screen at the main window's place: painted once it holds anything but the empty display.
// NOTE: reading the screen costs Wine an X round trip that grows with the area, so the probes look at small
// areas that the awaited paint is sure to change.
class ScreenProbe {
public:
    explicit ScreenProbe(RECT area) : area_(area) {
        screen_ = GetDC(nullptr);
        memory_ = CreateCompatibleDC(screen_);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, Width(), -Height(), 1, 32};
        bitmap_ = CreateDIBSection(screen_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        SelectObject(memory_, bitmap_);
    }
    ~ScreenProbe() {
        DeleteDC(memory_);
        DeleteObject(bitmap_);
        ReleaseDC(nullptr, screen_);
    }
    int Width() const { return area_.right - area_.left; }
    int Height() const { return area_.bottom - area_.top; }
    void Grab() {
        BitBlt(memory_, 0, 0, Width(), Height(), screen_, area_.left, area_.top, SRCCOPY);
        GdiFlush();
    }
    // Some pixel differs from `empty` (the bare display's colour).
    bool Painted(unsigned empty) {
        Grab();
        for (int i = 0; i < Width() * Height(); ++i)
            if ((bits_[i] & 0xFFFFFF) != empty) return true;
        return false;
    }
    std::vector<unsigned> Snapshot() {
        Grab();
        return std::vector<unsigned>(bits_, bits_ + Width() * Height());
    }
    bool Differs(const std::vector<unsigned>& before) {
        Grab();
        for (size_t i = 0; i < before.size(); ++i)
            if ((bits_[i] & 0xFFFFFF) != (before[i] & 0xFFFFFF)) return true;
        return false;
    }

private:
    RECT area_{};
    HDC screen_ = nullptr, memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    unsigned* bits_ = nullptr;
};

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
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return result;
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
    while (probe.Painted(empty) && Clock::now() - start < std::chrono::seconds(30)) Sleep(5);
    return result;
}

std::wstring Beside(const wchar_t* name) {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\') + 1) + name;
}

// Tab switches of a main window of this process, shown at the same place: a press on the tab, then the
// time until the screen changed.
double TabSwitchMs() {
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 351, y = GetSystemMetrics(SM_CYSCREEN) / 2 - 251;
    htmlayout::window* window = CreateMainWindow(x, y, 720, 510, L"Tab switch benchmark");
    ShowWindow(window->hwnd, SW_SHOW);
    auto pump = [] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    };
    for (auto until = Clock::now() + std::chrono::milliseconds(500); Clock::now() < until;) pump();
    std::vector<double> times;
    const wchar_t* tabs[] = {L"main_panel_browser", L"main_panel_setting", L"main_panel_store", L"main_panel_window"};
    for (int i = 0; i < 40; ++i) {
        htmlayout::scoped_element tab = htmlayout::FindById(window->root, tabs[i % 4]);
        RECT rc{};
        HTMLayoutGetElementLocation(tab, &rc, ROOT_RELATIVE | BORDER_BOX);
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        // The tab itself: it turns current (bold, underlined) in the same paint that shows its panel.
        ScreenProbe probe(RECT{x + rc.left, y + rc.top, x + rc.right, y + rc.bottom});
        const std::vector<unsigned> before = probe.Snapshot();
        const auto start = Clock::now();
        PostMessageW(window->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(window->hwnd, WM_LBUTTONUP, 0, at);
        do pump();
        while (!probe.Differs(before) && Clock::now() - start < std::chrono::seconds(2));
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        for (auto until = Clock::now() + std::chrono::milliseconds(GetDoubleClickTime() + 50); Clock::now() < until;)
            pump();
    }
    DestroyWindow(window->hwnd);
    pump();
    return testing_support::Median(times);
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
    std::printf("start to pixels, median of 10: Tracewipe %.1f ms, trivial window %.1f ms, ratio %.2f (goal <= 1.5)\n", p,
                b, b > 0 ? p / b : 0);
    std::printf("working set after the first paint, median: %.1f MB (goal < 30)\n", testing_support::Median(workingSets));
    std::printf("tab switch to pixels, median of 40: %.2f ms (goal < 5)\n", TabSwitchMs());
    return 0;
}
