// Changes of the main window, each from the press to its pixels on the screen, and where the time went by
// phase: a tab switch, a sub-tab switch and a check box toggle. Run under the test prefix on a display.
#include "app/main_window.h"
#include "app/main_window_names.h"
#include "app/window_placement.h"
#include "engine/dom/frame_phases.h"
#include "screen_probe.h"
#include "support/timing.h"
#include "ui/display_scale.h"
#include "ui/element_ops.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using engine::FramePhase;

constexpr const char* kPhaseNames[] = {"other",  "dispatch", "style", "box tree",
                                       "layout", "record",   "paint", "copy"};

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

void PumpFor(int ms) {
    for (auto until = Clock::now() + std::chrono::milliseconds(ms); Clock::now() < until;)
        Pump();
}

struct Series {
    std::vector<double> total;
    std::vector<double> phases[static_cast<int>(FramePhase::Count)];
};

// A press on each element of `ids` in turn, `rounds` presses in all; the probe watches the pressed element,
// which shows its new state in the same paint as the rest of the change.
Series Presses(htmlayout::window* window, POINT origin, const std::vector<const wchar_t*>& ids, int rounds) {
    Series series;
    for (int i = 0; i < rounds; ++i) {
        htmlayout::scoped_element element = htmlayout::FindById(window->root, ids[i % ids.size()]);
        RECT rc{};
        HTMLayoutGetElementLocation(element, &rc, ROOT_RELATIVE | BORDER_BOX);
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        ScreenProbe probe(
            RECT{origin.x + rc.left, origin.y + rc.top, origin.x + rc.right, origin.y + rc.bottom});
        const std::vector<unsigned> before = probe.Snapshot();
        engine::FrameTimes times;
        const auto start = Clock::now();
        engine::TimeFramePhases(&times);
        PostMessageW(window->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(window->hwnd, WM_LBUTTONUP, 0, at);
        do
            Pump();
        while (!probe.Differs(before) && Clock::now() - start < std::chrono::seconds(2));
        engine::TimeFramePhases(nullptr);
        const double total = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        series.total.push_back(total);
        double inPhases = 0;
        for (int p = 1; p < static_cast<int>(FramePhase::Count); ++p) {
            series.phases[p].push_back(times.ms[p]);
            inPhases += times.ms[p];
        }
        series.phases[0].push_back(total - inPhases); // the message loop, Wine, and reading the screen
        // No press may pair with the last into a double click.
        PumpFor(static_cast<int>(GetDoubleClickTime()) + 50);
    }
    return series;
}

void Print(const char* what, const Series& series, double goal) {
    std::printf("%s to pixels, median of %zu: %.2f ms (goal < %.0f ms)\n  ", what, series.total.size(),
                testing_support::Median(series.total), goal);
    for (int p = 0; p < static_cast<int>(FramePhase::Count); ++p)
        std::printf("%s %.2f%s", kPhaseNames[p], testing_support::Median(series.phases[p]),
                    p + 1 < static_cast<int>(FramePhase::Count) ? ", " : " ms (medians of each phase)\n");
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(4, std::atoi(argv[1])) : 40;
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    // Where and how large Tracewipe.exe opens at the display's scale.
    const UINT dpi = htmlayout::DpiOf(nullptr);
    const POINT origin = MainWindowOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), dpi);
    htmlayout::window* window =
        CreateMainWindow(origin.x, origin.y, htmlayout::ScaledPixels(kMainWindowWidth, dpi),
                         htmlayout::ScaledPixels(kMainWindowHeight, dpi), L"Frame phases benchmark");
    std::printf("%u DPI\n", dpi);
    ShowWindow(window->hwnd, SW_SHOW);
    PumpFor(500);
    Print("tab switch",
          Presses(window, origin,
                  {L"main_panel_browser", L"main_panel_setting", L"main_panel_store", L"main_panel_window"},
                  rounds),
          4);
    Presses(window, origin, {L"main_panel_window"}, 1); // its sub-tabs and, on the cleaning card, a check box
    Print(
        "sub-tab switch",
        Presses(window, origin, {L"windows_startmenu", L"windows_application", L"windows_cleaning"}, rounds),
        4);
    Presses(window, origin, {L"windows_cleaning"}, 1); // the card that holds the check box
    Print("check box toggle", Presses(window, origin, {L"temp_files"}, rounds), 2);
    DestroyWindow(window->hwnd);
    Pump();
    return 0;
}
