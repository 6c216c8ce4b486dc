#include "cleaners/browsers/index_file_wipe.h"

#include "cleaners/windows/long_path.h"
#include "common/scoped_handles.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {
constexpr int64_t kKeptTail = 10;
constexpr DWORD kChunk = 64 * 1024;
} // namespace

// Opened by its wide path rather than through the ANSI code page, which cannot name every profile folder.
WipeResult WipeIndexFile(const std::wstring& path, int64_t offset) {
    scoped::FileHandle file(CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? WipeResult::Missing
                                                                              : WipeResult::Unopenable;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) return WipeResult::Wiped;
    int64_t remaining = size.QuadPart - offset - kKeptTail;
    if (remaining <= 0) return WipeResult::Wiped;

    LARGE_INTEGER start{};
    start.QuadPart = offset;
    if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN)) return WipeResult::Wiped;
    const std::vector<char> spaces(static_cast<size_t>(std::min<int64_t>(remaining, kChunk)), ' ');
    while (remaining > 0) {
        const DWORD part = static_cast<DWORD>(std::min<int64_t>(remaining, kChunk));
        DWORD written = 0;
        if (!WriteFile(file.Get(), spaces.data(), part, &written, nullptr) || written == 0) break;
        remaining -= written;
    }
    return WipeResult::Wiped;
}
