// Screenshots of every tab and sub-tab of a Tracewipe.exe, reached by real clicks, for comparing two builds
// pixel by pixel (scripts/compare-tab-screens): tab_screens.exe <Tracewipe.exe> <unix folder>.
// The places to click come from this build's own main window at the display's scale; a build whose layout
// differs shows it in the pictures.
#include "app/main_window.h"
#include "app/main_window_names.h"
#include "app/window_placement.h"
#include "support/real_input.h"
#include "ui/display_scale.h"
#include "ui/element_ops.h"
#include "ui/host_window.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// In order: each main tab, then its sub-tabs, a check box ticked and untouched again, and back to the first
// tab, which must show as it was left.
constexpr const wchar_t* kClicks[] = {
    L"main_panel_window",  L"windows_startmenu", L"windows_application", L"windows_cleaning", L"temp_files",
    L"main_panel_browser", L"browser_ie",        L"browser_firefox",     L"browser_chrome",   L"browser_edge",
    L"browser_brave",      L"br_cookies",        L"main_panel_setting",  L"main_panel_store", L"main_panel_window",
};

void PumpFor(std::chrono::milliseconds time) {
    for (auto until = std::chrono::steady_clock::now() + time; std::chrono::steady_clock::now() < until;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        std::this_thread::sleep_for(1ms);
    }
}

// Where each element of kClicks is, from the window's top-left, clicking each in turn in a window of this
// build so that what a click shows (a panel, its sub-tabs) can be found next.
std::vector<POINT> ClickPoints(POINT origin, UINT dpi) {
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    htmlayout::window* window =
        CreateMainWindow(origin.x, origin.y, htmlayout::ScaledPixels(kMainWindowWidth, dpi),
                         htmlayout::ScaledPixels(kMainWindowHeight, dpi), L"Tab screens");
    ShowWindow(window->hwnd, SW_SHOWNOACTIVATE);
    PumpFor(300ms);
    std::vector<POINT> points;
    for (const wchar_t* id : kClicks) {
        htmlayout::scoped_element element = htmlayout::FindById(window->root, id);
        RECT rc{};
        HTMLayoutGetElementLocation(element, &rc, ROOT_RELATIVE | BORDER_BOX);
        const POINT at{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        points.push_back(at);
        PostMessageW(window->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        PostMessageW(window->hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        PumpFor(std::chrono::milliseconds(GetDoubleClickTime() + 50));
    }
    DestroyWindow(window->hwnd);
    PumpFor(200ms);
    return points;
}

HWND WaitForMainWindow(DWORD processId) {
    for (auto until = std::chrono::steady_clock::now() + 20s; std::chrono::steady_clock::now() < until;) {
        for (HWND hwnd = FindWindowW(htmlayout::kHostWindowClass, kMainWindowTitle); hwnd;
             hwnd = FindWindowExW(nullptr, hwnd, htmlayout::kHostWindowClass, kMainWindowTitle)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == processId && IsWindowVisible(hwnd)) return hwnd;
        }
        std::this_thread::sleep_for(20ms);
    }
    return nullptr;
}

std::string Name(size_t index, const wchar_t* id) {
    char name[64];
    std::snprintf(name, sizeof name, "%02zu_%ls", index, id);
    return name;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tab_screens <Tracewipe.exe> <unix folder for the pictures>\n");
        return 2;
    }
    const UINT dpi = htmlayout::DpiOf(nullptr);
    const POINT origin = MainWindowOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), dpi);
    const std::vector<POINT> points = ClickPoints(origin, dpi);
    const std::wstring wideFolder = argv[2];
    const std::string folder(wideFolder.begin(), wideFolder.end());

    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "cannot start %ls\n", argv[1]);
        return 1;
    }
    int failed = 0;
    if (HWND hwnd = WaitForMainWindow(pi.dwProcessId)) {
        RECT area{};
        GetWindowRect(hwnd, &area);
        const POINT away{area.right + 40, area.bottom + 40}; // no hover on what is pictured
        testing_support::MovePointerTo(away);
        std::this_thread::sleep_for(1s);
        failed += !testing_support::SaveScreenshot(folder, "00_start", area);
        for (size_t i = 0; i < points.size(); ++i) {
            failed += !testing_support::ClickAt(POINT{area.left + points[i].x, area.top + points[i].y});
            testing_support::MovePointerTo(away);
            std::this_thread::sleep_for(std::chrono::milliseconds(GetDoubleClickTime() + 300));
            failed += !testing_support::SaveScreenshot(folder, Name(i + 1, kClicks[i]), area);
        }
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    } else {
        std::fprintf(stderr, "no main window\n");
        failed = 1;
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::printf("%zu pictures in %s at %u DPI%s\n", points.size() + 1, folder.c_str(), dpi,
                failed ? ", some clicks or pictures failed" : "");
    return failed ? 1 : 0;
}
