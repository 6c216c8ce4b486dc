#pragma once
// What the journeys share: the installed programs and where they live, the screenshots of each stage, the
// keyboard focus for the hot key, and the program's own dialogs seen from outside its process.
#include "app_fixture.h"
#include "real_input.h"

#include <string>
#include <vector>

namespace journey {

inline const std::wstring kProductKey = L"SOFTWARE\\Quellbyte\\Freeweare\\Tracewipe";
inline const std::wstring kLauncherName = L"Tracewipe HotKey.exe";

std::wstring Quoted(const std::wstring& path);

// Where a silent install without /D puts the programs, and the Start-menu folder of their shortcuts.
std::wstring DefaultInstallDir();
std::wstring ShortcutFolder();
// The program a shortcut starts; empty when it cannot be read.
std::wstring ShortcutTarget(const std::wstring& lnk);

// Opens a shortcut as the Start menu does; false when the shell could not.
bool OpenShortcut(const std::wstring& lnk);

// The real TracewipeSetup.exe, silently; and the installed uninstaller, silently, to its end.
bool InstallSilently(const std::wstring& arguments = L"");
bool UninstallSilently(const std::wstring& installDir);

// Whether Wine's own tray window shows an icon in its first slot (the fresh prefix's tray holds ours alone).
// Seen on the screen: asking the shell (NIM_MODIFY) from this process unsettles Wine's tray, after which a
// press on the icon leaves no window in front.
bool TrayShowsAnIcon();
// A real left press on that icon, after a screenshot of the tray as `shot`.
bool PressTrayIcon(const std::string& shot);

// Saves the screen's `area` as <build>/screenshots/journeys/<name>.png.
void Screenshot(const std::string& name, const RECT& area);
RECT RectOf(HWND window);

// The program's shown top-level windows other than its main window: its dialogs.
std::vector<HWND> DialogsOf(const testing_support::ChildProcess& process, HWND mainWindow);
// Waits for exactly one dialog of the program; null when none (or more) came within `timeoutMs`.
HWND WaitForOneDialog(const testing_support::ChildProcess& process, HWND mainWindow, DWORD timeoutMs = 10000);

// Where the element `id` of the RT_HTML page `pageId` lies in a dialog window showing it: the page laid out
// at its minimal size in a hidden window of this process, as a dialog sizes itself.
RECT PageOffset(unsigned pageId, const wchar_t* id);
// A real click on the middle of that element of the program's dialog `dialog`.
bool PressOn(HWND dialog, unsigned pageId, const wchar_t* id);

// A visible window of the journey's own process, which takes the X keyboard focus for the hot key: Wine
// turns keys into WM_HOTKEY only while one of its windows has the focus.
class KeyboardFocus {
public:
    KeyboardFocus();
    ~KeyboardFocus();
    KeyboardFocus(const KeyboardFocus&) = delete;
    KeyboardFocus& operator=(const KeyboardFocus&) = delete;
    bool PressCtrlShiftH() const;

private:
    HWND window_;
};

// Whether a process of this executable name under `folder` shows a window (the launcher never should).
bool ShowsAWindow(const std::wstring& folder, const std::wstring& exeName);

// The processes of this executable name whose image lies under `folder`, once their number has settled at
// `expected` (within `timeoutMs`); the ids either way.
std::vector<DWORD> SettledProcesses(const std::wstring& folder, const std::wstring& exeName, size_t expected,
                                    DWORD timeoutMs = 10000);

} // namespace journey
