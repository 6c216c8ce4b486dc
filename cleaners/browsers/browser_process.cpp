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
constexpr std::wstring_view kInternetExplorer[] = {L"iexplore.exe"};
constexpr std::wstring_view kFirefox[] = {L"firefox.exe"};

std::wstring_view ImageNameOf(BrowserKind kind) {
    switch (kind) {
    case BrowserKind::InternetExplorer:
        return kInternetExplorer[0];
    case BrowserKind::Firefox:
        return kFirefox[0];
    case BrowserKind::Chrome:
        return L"chrome.exe";
    case BrowserKind::Opera:
        return L"opera.exe";
    case BrowserKind::Safari:
        return L"Safari.exe";
    }
    return {};
}

// Calls `act` with the id of each running process of those image names; true when there was any.
template <typename Act> bool ForEachProcessNamed(std::span<const std::wstring_view> imageNames, Act act) {
    // CreateToolhelp32Snapshot fails with INVALID_HANDLE_VALUE, as file opens do.
    scoped::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    bool seen = false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        const auto name = std::find(imageNames.begin(), imageNames.end(), std::wstring_view(entry.szExeFile));
        if (name == imageNames.end()) continue;
        seen = true;
        act(entry.th32ProcessID, *name);
    }
    return seen;
}

// True when any process of those names was running, whether or not it could be ended.
bool EndProcessesNamed(std::span<const std::wstring_view> imageNames) {
    return ForEachProcessNamed(imageNames, [](DWORD id, std::wstring_view) {
        scoped::KernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
        if (process) TerminateProcess(process.Get(), 0);
    });
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

std::span<const std::wstring_view> BrowserImageNames(int32_t groupCode) {
    if (groupCode == 4) return kInternetExplorer;
    if (groupCode == 5) return kFirefox;
    if (const ChromiumBrowser* browser = FindChromiumBrowser(groupCode)) return browser->executables;
    return {};
}

std::wstring_view RunningImageName(std::span<const std::wstring_view> imageNames) {
    std::wstring_view running;
    ForEachProcessNamed(imageNames, [&](DWORD, std::wstring_view name) {
        if (running.empty()) running = name;
    });
    return running;
}
