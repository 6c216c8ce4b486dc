#include "cleaners/browsers/browser_process.h"

#include "cleaners/browsers/chromium_browsers.h"
#include "cleaners/browsers/firefox_cleaner.h"
#include "cleaners/browsers/firefox_profile.h"
#include "common/scoped_handles.h"

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <span>
#include <string_view>

namespace {

constexpr DWORD kReleasePauseMs = 500;

std::wstring_view ImageNameOf(BrowserKind kind) {
    switch (kind) {
    case BrowserKind::InternetExplorer:
        return L"iexplore.exe";
    case BrowserKind::Firefox:
        return L"firefox.exe";
    case BrowserKind::Chrome:
        return L"chrome.exe";
    case BrowserKind::Opera:
        return L"opera.exe";
    case BrowserKind::Safari:
        return L"Safari.exe";
    }
    return {};
}

// True when any process of those names was running, whether or not it could be ended.
bool EndProcessesNamed(std::span<const std::wstring_view> imageNames) {
    // CreateToolhelp32Snapshot fails with INVALID_HANDLE_VALUE, as file opens do.
    scoped::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    bool seen = false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (std::find(imageNames.begin(), imageNames.end(), std::wstring_view(entry.szExeFile)) ==
            imageNames.end())
            continue;
        seen = true;
        scoped::KernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
        if (process) TerminateProcess(process.Get(), 0);
    }
    return seen;
}

} // namespace

int32_t TerminateBrowser(BrowserKind kind) {
    const std::wstring_view imageName = ImageNameOf(kind);
    const bool seen = !imageName.empty() && EndProcessesNamed({&imageName, 1});
    Sleep(kReleasePauseMs);
    // A Firefox ended this way would restore its tabs at the next start.
    // Only the profile in use: the others were not running, and the user may not have chosen "Last Session".
    if (seen && kind == BrowserKind::Firefox)
        if (const auto profile = ReadFirefoxProfilePath()) RemoveFirefoxSession(*profile);
    return 1;
}

int32_t TerminateBrowser(const ChromiumBrowser& browser) {
    EndProcessesNamed(browser.executables);
    Sleep(kReleasePauseMs);
    return 1;
}
