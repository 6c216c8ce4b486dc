#include "cleaners/browsers/browser_process.h"

#include "cleaners/browsers/firefox_cleaner.h"
#include "common/scoped_handles.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cwchar>

namespace {

constexpr DWORD kReleasePauseMs = 500;

const wchar_t* ImageNameOf(BrowserKind kind) {
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
    return nullptr;
}

// Calls `act` with the id of each running process of that image name; true when there was any.
template <typename Act>
bool ForEachProcessNamed(const wchar_t* imageName, Act act) {
    // CreateToolhelp32Snapshot fails with INVALID_HANDLE_VALUE, as file opens do.
    scoped::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    bool seen = false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (std::wcscmp(entry.szExeFile, imageName) != 0) continue;
        seen = true;
        act(entry.th32ProcessID);
    }
    return seen;
}

// True when any process of that name was running, whether or not it could be ended.
bool EndProcessesNamed(const wchar_t* imageName) {
    return ForEachProcessNamed(imageName, [](DWORD id) {
        scoped::KernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
        if (process) TerminateProcess(process.Get(), 0);
    });
}

} // namespace

int32_t TerminateBrowser(BrowserKind kind) {
    const wchar_t* imageName = ImageNameOf(kind);
    const bool seen = imageName && EndProcessesNamed(imageName);
    Sleep(kReleasePauseMs);
    // A Firefox ended this way would restore its tabs at the next start.
    if (seen && kind == BrowserKind::Firefox) FirefoxCleaner().CleanLastSession();
    return 1;
}

bool BrowserRunning(BrowserKind kind) {
    const wchar_t* imageName = ImageNameOf(kind);
    return imageName && ForEachProcessNamed(imageName, [](DWORD) {});
}

const wchar_t* BrowserImageName(BrowserKind kind) { return ImageNameOf(kind); }
