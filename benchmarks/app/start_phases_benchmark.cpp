// The main window's start in one process, step by step as Tracewipe.exe takes them: what each step costs in
// time and in working set, by kind of memory, up to the first paint and after it. Run under the test prefix
// on a display. The start from process creation: app_startup_benchmark.
//
// NOTE: Wine's working set of a process is its Linux resident set, so the kinds come from Linux's own
// account of the process's mappings (/proc/<id>/smaps).
#include "app/main_window.h"
#include "screen_probe.h"

#include <objbase.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using Kinds = std::map<std::string, double>; // kilobytes by kind of memory

constexpr const char* kPrivate = "private (heaps, stacks, surfaces, decoded images)";

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

// The whole of a file that tells no size in advance, read until a read gives nothing.
std::string ReadAll(const std::wstring& path) {
    std::string text;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
    CloseHandle(file);
    return text;
}

std::string ProgramName() {
    wchar_t module[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring path(module);
    std::string name;
    for (wchar_t c : path.substr(path.rfind(L'\\') + 1))
        name += static_cast<char>(c);
    return name;
}

// This process's folder under /proc: the wine server opens files, so "/proc/self" would be the server's.
// Wine names a process after its program, of which Linux keeps 15 characters.
std::wstring OwnProcFolder() {
    const std::string comm = ProgramName().substr(0, 15) + "\n";
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (find == INVALID_HANDLE_VALUE) return {};
    std::wstring folder;
    do {
        const std::wstring name = found.cFileName;
        if (name.find_first_not_of(L"0123456789") == std::wstring::npos &&
            ReadAll(L"Z:\\proc\\" + name + L"\\comm") == comm)
            folder = L"Z:\\proc\\" + name;
    } while (folder.empty() && FindNextFileW(find, &found));
    FindClose(find);
    return folder;
}

std::string KindOf(const std::string& path) {
    static const std::string program = ProgramName();
    if (path.empty() || path[0] == '[') return kPrivate;
    if (path.find(program) != std::string::npos) return "the program's image";
    if (path.rfind("/SYSV", 0) == 0) return "the window's pixels shared with X";
    if (path.find("gdiplus.dll") != std::string::npos || path.find("windowscodecs.dll") != std::string::npos)
        return "GDI+ and the image codecs";
    if (path.find("/i386-windows/") != std::string::npos) return "Wine's Windows DLLs";
    if (path.find(".so") != std::string::npos) return "Unix libraries (Wine, X, FreeType, C)";
    if (path.find("/fonts/") != std::string::npos) return "font files";
    return "other files (locale tables, theme)";
}

Kinds ResidentByKind(const std::wstring& procFolder) {
    std::istringstream smaps(ReadAll(procFolder + L"\\smaps"));
    Kinds kb;
    std::string line, path;
    while (std::getline(smaps, line)) {
        std::istringstream fields(line);
        std::string first;
        fields >> first;
        if (first == "Rss:") {
            double value = 0;
            fields >> value;
            kb[KindOf(path)] += value;
        } else if (first.find('-') != std::string::npos && first.back() != ':') { // a mapping's first line
            std::string perms, offset, device, inode;
            fields >> perms >> offset >> device >> inode;
            path.clear();
            std::getline(fields >> std::ws, path);
        }
    }
    return kb;
}

double Total(const Kinds& kinds) {
    double sum = 0;
    for (const auto& [kind, kb] : kinds)
        sum += kb;
    return sum;
}

// Each step's time, and what it added to the working set by kind (reading the mappings is not timed).
class Steps {
  public:
    Steps() : proc_(OwnProcFolder()), last_(ResidentByKind(proc_)) {
        std::printf("%-46s %8s %7s   of which\n", "step", "ms", "+MB");
        Print("image, runtime and Wine's DLLs at entry", Kinds{}, last_);
        start_ = Clock::now();
    }
    void Done(const char* what) {
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start_).count();
        Kinds now = ResidentByKind(proc_);
        std::printf("%-46s %8.1f", what, ms);
        Print(nullptr, last_, now);
        last_ = now;
        start_ = Clock::now();
    }
    void PrintKinds() const {
        std::printf("\nworking set by kind, %.1f MB in all:\n", Total(last_) / 1024);
        for (const auto& [kind, kb] : last_)
            std::printf("  %-52s %6.1f MB\n", kind.c_str(), kb / 1024);
    }

  private:
    static void Print(const char* what, const Kinds& before, const Kinds& after) {
        if (what) std::printf("%-46s %8s", what, "");
        std::printf(" %+7.1f  ", (Total(after) - Total(before)) / 1024);
        for (const auto& [kind, kb] : after) {
            auto it = before.find(kind);
            const double grown = kb - (it == before.end() ? 0 : it->second);
            if (grown >= 256) std::printf(" %s %+.1f;", kind.substr(0, kind.find(' ', 4)).c_str(), grown / 1024);
        }
        std::printf("\n");
    }

    std::wstring proc_;
    Kinds last_;
    Clock::time_point start_;
};

} // namespace

int main() {
    Steps steps;
    CoInitialize(nullptr);
    steps.Done("COM (the first call that reaches the display)");
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    steps.Done("window class");
    const POINT origin{GetSystemMetrics(SM_CXSCREEN) / 2 - 351, GetSystemMetrics(SM_CYSCREEN) / 2 - 251};
    ScreenProbe probe(RECT{origin.x + 300, origin.y + 10, origin.x + 340, origin.y + 30});
    const unsigned empty = probe.Snapshot()[0] & 0xFFFFFF;
    steps.Done("(the benchmark's screen probe)");
    htmlayout::window* window = CreateMainWindow(origin.x, origin.y, 720, 510, L"Start phases benchmark");
    steps.Done("window, page, style, stored selection");
    ShowWindow(window->hwnd, SW_SHOW);
    UpdateWindow(window->hwnd);
    steps.Done("show");
    for (const auto start = Clock::now(); !probe.Painted(empty) && Clock::now() - start < std::chrono::seconds(5);)
        Pump();
    steps.Done("the message loop to the first pixels");
    for (const auto start = Clock::now(); Clock::now() - start < std::chrono::seconds(2);) {
        Pump();
        Sleep(10);
    }
    steps.Done("two seconds later, idle");
    steps.PrintKinds();
    DestroyWindow(window->hwnd);
    Pump();
    return 0;
}
