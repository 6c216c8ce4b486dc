#include "tracewipe_app.h"

#include "real_input.h"
#include "support/real_input.h"
#include "support/test_folder.h"
#include "support/unix_side.h"
#include "ui/display_scale.h"
#include "ui/element_ops.h"

#include <gtest/gtest.h>

namespace app_test {
namespace {

using testing_support::ChildProcess;
using testing_support::ClickAt;
using testing_support::DosPathOf;
using testing_support::WaitUntil;

constexpr wchar_t kMirrorTitle[] = L"Tracewipe page mirror"; // never found as the program by a second start

bool IsTabId(std::wstring_view id) {
    return id.starts_with(L"main_panel_") || id.starts_with(L"windows_") || id.starts_with(L"browser_");
}

} // namespace

std::wstring InstallCopy(const std::wstring& folder, bool withLauncher) {
    testing_support::MakeFolders(folder);
    const std::wstring program = folder + L"\\Tracewipe.exe";
    EXPECT_TRUE(CopyFileW(DosPathOf(TRACEWIPE_EXE).c_str(), program.c_str(), FALSE));
    if (withLauncher) {
        EXPECT_TRUE(CopyFileW(DosPathOf(LAUNCHER_EXE).c_str(), (folder + L"\\Tracewipe HotKey.exe").c_str(), FALSE));
    }
    return program;
}

HWND MainWindowOf(const ChildProcess& process) {
    for (HWND window : process.TopWindows(L"htmlayout::window")) {
        wchar_t title[64] = L"";
        GetWindowTextW(window, title, 64);
        if (std::wstring(title) == L"Tracewipe 1.0") return window;
    }
    return nullptr;
}

PageMirror::PageMirror() {
    static const bool registered = [] {
        RegisterMainWindowClass(GetModuleHandleW(nullptr));
        return true;
    }();
    (void)registered;
    window_ = CreateMainWindow(0, 0, 720, 510, kMirrorTitle);
    EXPECT_TRUE(window_ && window_->hwnd && window_->root) << "no mirror window, error " << GetLastError();
}

PageMirror::~PageMirror() {
    if (window_ && window_->hwnd) DestroyWindow(window_->hwnd); // the window procedure frees the object
    testing_support::PumpMessages();
}

RECT PageMirror::Location(const wchar_t* id) const {
    RECT rc{};
    if (!window_ || !window_->hwnd) return rc;
    htmlayout::scoped_element element = htmlayout::FindById(window_->root, id);
    if (element) HTMLayoutGetElementLocation(element, &rc, ROOT_RELATIVE | BORDER_BOX);
    return rc;
}

void PageMirror::Click(const wchar_t* id) {
    RECT rc = Location(id);
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageW(window_->hwnd, WM_MOUSEMOVE, 0, at);
    SendMessageW(window_->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(window_->hwnd, WM_LBUTTONUP, 0, at);
    testing_support::PumpMessages();
}

RunningApp::RunningApp(const std::wstring& exePath, const std::wstring& arguments)
    : process_(std::make_unique<ChildProcess>(L"\"" + exePath + L"\"" + (arguments.empty() ? L"" : L" " + arguments))) {}

RunningApp::RunningApp(DWORD processId) : process_(std::make_unique<ChildProcess>(processId)) {}

HWND RunningApp::WaitForWindow(DWORD timeoutMs) {
    WaitUntil([&] { return (window_ = MainWindowOf(*process_)) != nullptr && IsWindowVisible(window_); }, timeoutMs);
    return window_ && IsWindowVisible(window_) ? window_ : nullptr;
}

RECT RunningApp::WindowRect() const {
    RECT rc{};
    GetWindowRect(window_, &rc);
    return rc;
}

RECT RunningApp::ScreenRect(const wchar_t* id) const {
    RECT rc = mirror_.Location(id);
    if (dpi_ && !IsRectEmpty(&rc)) {
        const int own = static_cast<int>(htmlayout::DpiOf(nullptr)), shown = static_cast<int>(dpi_);
        auto scaled = [&](LONG v) { return MulDiv(v, shown, own); };
        rc = RECT{scaled(rc.left), scaled(rc.top), scaled(rc.right), scaled(rc.bottom)};
    }
    const RECT window = WindowRect();
    OffsetRect(&rc, window.left, window.top);
    return rc;
}

bool RunningApp::Click(const wchar_t* id) {
    const RECT rc = ScreenRect(id);
    if (IsRectEmpty(&rc)) {
        ADD_FAILURE() << "no element to click: " << testing::PrintToString(std::wstring(id));
        return false;
    }
    const bool clicked = ClickAt(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    if (IsTabId(id)) mirror_.Click(id);
    Settle();
    return clicked;
}

void RunningApp::Settle(DWORD extraMs) const {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored);
    WaitUntil([] { return false; }, extraMs);
    SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored);
}

} // namespace app_test
