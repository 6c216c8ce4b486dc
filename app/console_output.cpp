#include "app/console_output.h"

#include "common/utf8.h"

#include <windows.h>

namespace {

// A windows program has no console: a redirected stream is used as it is; otherwise the starting
// process's console, when it has one, is borrowed (never AllocConsole, which would open a window).
HANDLE StreamOf(DWORD which) {
    const HANDLE given = GetStdHandle(which);
    if (given && given != INVALID_HANDLE_VALUE && GetFileType(given) != FILE_TYPE_UNKNOWN) return given;
    static const HANDLE console = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) return INVALID_HANDLE_VALUE;
        // Kept for the life of the process, like the console it writes to.
        return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    }();
    return console;
}

void Write(DWORD which, std::wstring_view text) {
    const HANDLE stream = StreamOf(which);
    if (stream == INVALID_HANDLE_VALUE || text.empty()) return;
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(stream, &mode)) {
        WriteConsoleW(stream, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const std::string bytes = Utf8(text);
    WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

} // namespace

void WriteStandardOutput(std::wstring_view text) {
    Write(STD_OUTPUT_HANDLE, text);
}

void WriteStandardError(std::wstring_view text) {
    Write(STD_ERROR_HANDLE, text);
}
