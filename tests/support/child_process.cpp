#include "support/child_process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <iterator>
#include <string_view>

namespace testing_support {
namespace {

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOf(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId) search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopWindowsOf(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(CollectWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

ChildProcess::ChildProcess(const std::wstring& commandLine) {
    std::wstring mutableLine = commandLine;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    id_ = pi.dwProcessId;
}

ChildProcess::ChildProcess(DWORD processId)
    : process_(
          OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId)),
      id_(process_ ? processId : 0) {}

ChildProcess::~ChildProcess() {
    if (!process_) return;
    Stop();
    CloseHandle(process_);
}

bool ChildProcess::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitForExit(DWORD timeoutMs) const {
    return process_ && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_, &code);
    return code;
}

std::vector<HWND> ChildProcess::TopWindows(const std::wstring& className) const {
    std::vector<HWND> found;
    for (HWND window : TopWindowsOf(id_)) {
        wchar_t name[256] = {};
        GetClassNameW(window, name, 256);
        if (className == name) found.push_back(window);
    }
    return found;
}

void ChildProcess::Stop() {
    if (!Running()) return;
    for (HWND window : TopWindowsOf(id_))
        PostMessageW(window, WM_CLOSE, 0, 0);
    // NOTE: generous, as Wine without a window manager takes two seconds to hide or destroy some windows.
    if (!WaitForExit(10000)) {
        TerminateProcess(process_, 1);
        WaitForExit(3000);
    }
}

bool ChildProcess::Terminate() {
    // NOTE: an exit code of its own tells a process we ended from one that ended by itself just before.
    constexpr UINT kTerminated = 0x7E57;
    if (!Running()) return false;
    TerminateProcess(process_, kTerminated);
    WaitForExit(10000);
    return ExitCode() == kTerminated;
}

std::vector<DWORD> ChildrenOf(DWORD parentId) {
    std::vector<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return children;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    // Wine starts its resident services on demand as children of whichever process first needs them; they
    // live as long as the prefix and are no work of the program's.
    constexpr std::wstring_view kWineServices[] = {L"services.exe", L"winedevice.exe", L"plugplay.exe",
                                                   L"svchost.exe",  L"explorer.exe",   L"rpcss.exe"};
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (entry.th32ParentProcessID == parentId &&
            std::find(std::begin(kWineServices), std::end(kWineServices),
                      std::wstring_view(entry.szExeFile)) == std::end(kWineServices))
            children.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return children;
}

int RunToEndWithChildren(const std::wstring& commandLine, DWORD timeoutMs) {
    ChildProcess program(commandLine);
    if (!program.WaitForExit(timeoutMs) || program.ExitCode() != 0) return -1;
    const std::vector<DWORD> children = ChildrenOf(program.Id());
    for (DWORD id : children) {
        ChildProcess child(id);
        // One already gone cannot be opened: nothing to wait for.
        if (child.Started() && !child.WaitForExit(timeoutMs)) return -1;
    }
    return static_cast<int>(children.size());
}

} // namespace testing_support
