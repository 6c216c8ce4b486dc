#include "journey.h"

#include "support/real_input.h"
#include "ui/element_ops.h"
#include "ui/resource_data.h"
#include "support/unix_side.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <map>

namespace journey {

using testing_support::ChildProcess;
using testing_support::WaitUntil;

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring DefaultInstallDir() {
    wchar_t programFiles[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, programFiles, CSIDL_PROGRAM_FILES, FALSE);
    return std::wstring(programFiles) + L"\\Tracewipe";
}

std::wstring ShortcutFolder() {
    wchar_t programs[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, programs, CSIDL_COMMON_PROGRAMS, FALSE);
    return std::wstring(programs) + L"\\Tracewipe";
}

std::wstring ShortcutTarget(const std::wstring& lnk) {
    CoInitialize(nullptr);
    std::wstring target;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t path[MAX_PATH] = L"";
            if (SUCCEEDED(file->Load(lnk.c_str(), STGM_READ)) &&
                SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)))
                target = path;
            file->Release();
        }
        link->Release();
    }
    return target;
}

bool OpenShortcut(const std::wstring& lnk) {
    return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", lnk.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

bool InstallSilently(const std::wstring& arguments) {
    const std::wstring setup = Quoted(testing_support::DosPathOf(SETUP_EXE)) + L" /S" +
                               (arguments.empty() ? L"" : L" " + arguments);
    return testing_support::RunToEndWithChildren(setup, 60000) >= 0;
}

bool UninstallSilently(const std::wstring& installDir) {
    return testing_support::RunToEndWithChildren(Quoted(installDir + L"\\Uninstall.exe") + L" /S", 60000) > 0;
}

namespace {

// The first icon slot of Wine's tray window on the screen; empty when the tray is not shown.
RECT FirstTraySlot() {
    HWND tray = FindWindowW(nullptr, L"Wine System Tray");
    if (!tray || !IsWindowVisible(tray)) return RECT{};
    const int slot = GetSystemMetrics(SM_CXSMICON) + 4;
    POINT origin{0, 0};
    ClientToScreen(tray, &origin);
    return RECT{origin.x, origin.y, origin.x + slot, origin.y + slot};
}

} // namespace

bool TrayShowsAnIcon() {
    const RECT slot = FirstTraySlot();
    if (IsRectEmpty(&slot)) return false;
    const app_test::ScreenPixels pixels = app_test::Capture(slot);
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            if (pixels.At(x, y) != pixels.At(0, 0)) return true;
    return false;
}

bool PressTrayIcon(const std::string& shot) {
    const RECT slot = FirstTraySlot();
    if (IsRectEmpty(&slot)) return false;
    Screenshot(shot, RectOf(FindWindowW(nullptr, L"Wine System Tray")));
    return testing_support::ClickAt(POINT{(slot.left + slot.right) / 2, (slot.top + slot.bottom) / 2});
}

void Screenshot(const std::string& name, const RECT& area) {
    testing_support::SaveScreenshot(SCREENSHOT_DIR "/journeys", name, area);
}

RECT RectOf(HWND window) {
    RECT rc{};
    GetWindowRect(window, &rc);
    return rc;
}

std::vector<HWND> DialogsOf(const ChildProcess& process, HWND mainWindow) {
    std::vector<HWND> found;
    for (HWND window : process.TopWindows(L"#32770"))
        if (window != mainWindow && IsWindowVisible(window)) found.push_back(window);
    return found;
}

HWND WaitForOneDialog(const ChildProcess& process, HWND mainWindow, DWORD timeoutMs) {
    std::vector<HWND> shown;
    // Shown and sized: the page has been laid out.
    WaitUntil(
        [&] {
            shown = DialogsOf(process, mainWindow);
            if (shown.size() != 1) return false;
            const RECT rc = RectOf(shown[0]);
            return rc.right > rc.left;
        },
        timeoutMs);
    if (shown.size() != 1) return nullptr;
    WaitUntil([] { return false; }, 300); // the first paint
    return shown[0];
}

namespace {

LRESULT CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BOOL handled = FALSE;
    const LRESULT result = HTMLayoutProcND(hwnd, message, wParam, lParam, &handled);
    return handled ? result : DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

RECT PageOffset(unsigned pageId, const wchar_t* id) {
    // Laid out once per element: a long-running test process of Wine 8 may lose the right to make windows.
    static std::map<std::pair<unsigned, std::wstring>, RECT> found;
    const auto key = std::make_pair(pageId, std::wstring(id));
    if (auto known = found.find(key); known != found.end()) return known->second;
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PageProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TracewipeJourneyPage";
        return RegisterClassW(&wc);
    }();
    HWND window = CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    RECT rc{};
    if (auto page = htmlayout::LoadPage(pageId)) {
        HTMLayoutLoadHtml(window, page->data(), static_cast<UINT>(page->size()));
        const UINT width = HTMLayoutGetMinWidth(window);
        SetWindowPos(window, nullptr, 0, 0, static_cast<int>(width), static_cast<int>(HTMLayoutGetMinHeight(window, width)),
                     SWP_NOZORDER | SWP_NOMOVE);
        htmlayout::scoped_element element = htmlayout::FindById(htmlayout::RootOf(window), id);
        if (element) HTMLayoutGetElementLocation(element, &rc, ROOT_RELATIVE | BORDER_BOX);
    }
    DestroyWindow(window);
    return found[key] = rc;
}

bool PressOn(HWND dialog, unsigned pageId, const wchar_t* id) {
    const RECT window = RectOf(dialog), offset = PageOffset(pageId, id);
    if (IsRectEmpty(&offset)) return false;
    // From elsewhere, so that the page sees the pointer enter the element.
    testing_support::MovePointerTo(POINT{1, 1});
    return testing_support::ClickAt(POINT{window.left + (offset.left + offset.right) / 2,
                                          window.top + (offset.top + offset.bottom) / 2});
}

KeyboardFocus::KeyboardFocus()
    // In the lower left corner: clear of Wine's tray window in the upper left and of the program's window.
    : window_(CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"journey focus", WS_POPUP | WS_VISIBLE, 0,
                              GetSystemMetrics(SM_CYSCREEN) - 40, 120, 40, nullptr, nullptr, nullptr, nullptr)) {}

KeyboardFocus::~KeyboardFocus() { DestroyWindow(window_); }

bool KeyboardFocus::PressCtrlShiftH() const { return testing_support::PressKeys(window_, "ctrl+shift+h"); }

namespace {

BOOL CALLBACK NoteShownWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<std::pair<DWORD, bool>*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->first && IsWindowVisible(window)) search->second = true;
    return TRUE;
}

} // namespace

bool ShowsAWindow(const std::wstring& folder, const std::wstring& exeName) {
    for (DWORD id : app_test::ProcessesUnder(folder, exeName)) {
        std::pair<DWORD, bool> search{id, false};
        EnumWindows(NoteShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.second) return true;
    }
    return false;
}

std::vector<DWORD> SettledProcesses(const std::wstring& folder, const std::wstring& exeName, size_t expected,
                                    DWORD timeoutMs) {
    std::vector<DWORD> found;
    WaitUntil([&] { return (found = app_test::ProcessesUnder(folder, exeName)).size() == expected; }, timeoutMs);
    return found;
}

} // namespace journey
