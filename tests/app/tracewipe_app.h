#pragma once
// The real Tracewipe.exe, started by a test from a folder of its own, and a mirror of its page in the
// test's own process that tells where each element lies on the screen.
#include "app/main_window.h"
#include "support/child_process.h"

#include <memory>
#include <string>

namespace app_test {

// Copies Tracewipe.exe into `folder` (created as needed), with "Tracewipe HotKey.exe" beside it when
// `withLauncher`. Returns the program's path.
std::wstring InstallCopy(const std::wstring& folder, bool withLauncher = true);

// The program's main window (class "htmlayout::window", title "Tracewipe 1.0"), shown or hidden; null
// when it has none.
HWND MainWindowOf(const testing_support::ChildProcess& process);

// The same page in a hidden main window of this process, at the program's size, driven through the same
// tab clicks, so that it knows where each element of the program's page is.
class PageMirror {
public:
    PageMirror();
    ~PageMirror();
    PageMirror(const PageMirror&) = delete;
    PageMirror& operator=(const PageMirror&) = delete;

    // The element's border box in client coordinates; empty when the page lacks it or it is hidden.
    RECT Location(const wchar_t* id) const;
    // Presses the element in the mirror as a click of the program would.
    void Click(const wchar_t* id);

private:
    htmlayout::window* window_ = nullptr;
};

// A started program with its mirror: clicks go to the program as real input at the element's place.
class RunningApp {
public:
    RunningApp(const std::wstring& exePath, const std::wstring& arguments = L"");
    // A program something else started (the hot-key launcher), taken over by its process id.
    explicit RunningApp(DWORD processId);

    testing_support::ChildProcess& Process() { return *process_; }
    // Waits until the main window exists and is visible; null when it does not come.
    HWND WaitForWindow(DWORD timeoutMs = 10000);
    HWND Window() const { return window_; }
    RECT WindowRect() const;
    // The program runs at this DPI: the mirror's places (laid out at the test's own DPI) are scaled to it.
    void ShownAtDpi(UINT dpi) { dpi_ = dpi; }
    // The element's border box on the screen.
    RECT ScreenRect(const wchar_t* id) const;
    // A real left click on the middle of the element; tabs are clicked in the mirror too.
    bool Click(const wchar_t* id);
    // Lets the program handle what it was sent: a message round trip through its window.
    void Settle(DWORD extraMs = 150) const;

private:
    std::unique_ptr<testing_support::ChildProcess> process_;
    HWND window_ = nullptr;
    PageMirror mirror_;
    UINT dpi_ = 0; // 0: the test's own
};

} // namespace app_test
