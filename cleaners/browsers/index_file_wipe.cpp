#include "cleaners/browsers/index_file_wipe.h"

#include "cleaners/windows/long_path.h"
#include "common/scoped_handles.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int64_t kKeptTail = 10;
constexpr DWORD kChunk = 64 * 1024;

scoped::FileHandle Open(const std::wstring& path, DWORD share) {
    return scoped::FileHandle(CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                          share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// First as the C runtime's "r+" opens, sharing reads and writes: what fails here cannot be opened.
// Then denying other writers: URL caches keep their live index mapped for writing, and records
// overwritten under them are read back as entries (under Wine the next cache call faults).
IndexFileAccess OpenExclusiveOfWriters(const std::wstring& path, scoped::FileHandle& file) {
    if (!Open(path, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? IndexFileAccess::Missing
                                                                              : IndexFileAccess::Unopenable;
    }
    file = Open(path, FILE_SHARE_READ);
    if (file) return IndexFileAccess::Writable;
    return GetLastError() == ERROR_SHARING_VIOLATION ? IndexFileAccess::InUse : IndexFileAccess::Unopenable;
}

void WriteSpaces(HANDLE file, int64_t offset) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) return;
    int64_t remaining = size.QuadPart - offset - kKeptTail;
    if (remaining <= 0) return;
    LARGE_INTEGER start{};
    start.QuadPart = offset;
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return;
    const std::vector<char> spaces(static_cast<size_t>(std::min<int64_t>(remaining, kChunk)), ' ');
    while (remaining > 0) {
        DWORD written = 0;
        const DWORD part = static_cast<DWORD>(std::min<int64_t>(remaining, kChunk));
        if (!WriteFile(file, spaces.data(), part, &written, nullptr) || written == 0) return;
        remaining -= written;
    }
}

} // namespace

IndexFileAccess ProbeIndexFile(const std::wstring& path) {
    scoped::FileHandle file;
    return OpenExclusiveOfWriters(path, file);
}

// Opened by its wide path rather than through the ANSI code page, which cannot name every profile folder.
IndexFileAccess WipeIndexFile(const std::wstring& path, int64_t offset) {
    scoped::FileHandle file;
    const IndexFileAccess access = OpenExclusiveOfWriters(path, file);
    if (access == IndexFileAccess::Writable) WriteSpaces(file.Get(), offset);
    return access;
}
