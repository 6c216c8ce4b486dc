#include "support/unix_side.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>

namespace testing_support {
namespace {

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// One argument for CommandLineToArgvW's rules: backslashes double only before a quote.
std::string WindowsQuote(const std::string& s) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : s) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

std::wstring Widen(const std::string& s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, w.data(), n);
    return w;
}

std::wstring NewMarker() {
    static std::atomic<unsigned> counter{0};
    wchar_t dir[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, dir);
    return std::wstring(dir) + L"unix-done-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter++);
}

// Wine's own path conversions: they answer a heap string, or null when the path cannot be mapped.
template <typename Out, typename In>
std::basic_string<Out> ConvertWithWine(const char* exportName, const In* path) {
    using Fn = Out*(CDECL*)(const In*);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), exportName)));
    Out* raw = fn ? fn(path) : nullptr;
    if (!raw) return {};
    std::basic_string<Out> result(raw);
    HeapFree(GetProcessHeap(), 0, raw);
    return result;
}

} // namespace

std::string UnixPathOf(const std::wstring& windowsPath) {
    return ConvertWithWine<char>("wine_get_unix_file_name", windowsPath.c_str());
}

std::wstring DosPathOf(const std::string& unixPath) {
    return ConvertWithWine<wchar_t>("wine_get_dos_file_name", unixPath.c_str());
}

bool RunUnixShell(const std::string& command, const std::wstring& doneWhen, unsigned timeoutMs) {
    std::string marker = UnixPathOf(doneWhen);
    if (marker.empty()) return false;
    std::string script = "(" + command + "); touch " + Quote(marker);
    // Wine splits the command line of a unix program by the Windows rules, where single quotes group
    // nothing: the script goes in double quotes.
    std::wstring cmdLine = L"/bin/sh -c " + Widen(WindowsQuote(script));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(L"Z:\\bin\\sh", cmdLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    // NOTE: Wine hands back no handles of its own for a unix program; what stands in `pi` is not ours to
    // close (closing it closed other handles of this process, its desktop among them, after a while).
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(5)) {
        if (GetFileAttributesW(doneWhen.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    }
    return false;
}

bool PlantDirectoryLink(const std::wstring& linkPath, const std::wstring& targetPath) {
    std::string link = UnixPathOf(linkPath), target = UnixPathOf(targetPath);
    if (link.empty() || target.empty()) return false;
    std::wstring marker = NewMarker();
    bool ran = RunUnixShell("ln -s " + Quote(target) + " " + Quote(link), marker);
    DeleteFileW(marker.c_str());
    DWORD attrs = GetFileAttributesW(linkPath.c_str());
    return ran && attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool RemoveTreeUnix(const std::wstring& windowsPath) {
    std::string path = UnixPathOf(windowsPath);
    if (path.empty() || path == "/") return false;
    std::wstring marker = NewMarker();
    bool ran = RunUnixShell("rm -rf " + Quote(path), marker);
    DeleteFileW(marker.c_str());
    return ran && GetFileAttributesW(windowsPath.c_str()) == INVALID_FILE_ATTRIBUTES;
}

} // namespace testing_support
