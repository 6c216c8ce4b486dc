#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/file_truncation.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/removed_tally.h"
#include "cleaners/windows/stayed_record.h"

#include "common/scoped_handles.h"

namespace {
// Read-only is checked on the handle again because Wine running as root opens such a file for writing.
constexpr DWORD kNeverEmptied = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY;

// What a file is before it is touched; attributes INVALID_FILE_ATTRIBUTES when it is not there.
struct FileState {
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    uint64_t size = 0;
};

FileState StateOf(const std::wstring& full) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(full.c_str(), GetFileExInfoStandard, &data)) return {};
    const bool link = data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
    return {data.dwFileAttributes, link ? 0 : (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
}

// `full` is the extended form of `shown`, the path as the caller named it. A file that is there and cannot
// go is recorded as what stayed; one that goes is counted with the size it had before it was emptied.
BOOL DeleteRecorded(const std::wstring& full, const std::wstring& shown, const FileState& before) {
    if (DeleteFileW(full.c_str())) {
        TallyRemovedFile(before.size);
        return TRUE;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) ReportStayed(shown);
    SetLastError(error);
    return FALSE;
}

// The checks are made on the open handle, so nothing can swap the file between check and truncation.
void TruncateOpenFile(HANDLE file) {
    // Two small queries instead of GetFileInformationByHandle, which also asks for the volume's serial
    // number and the file's name: this runs once per file of a purge.
    FILE_STANDARD_INFO standard;
    FILE_BASIC_INFO basic;
    if (!GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) ||
        !GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic))
        return;
    // A second hard link shares the data with a name elsewhere, which is not ours to empty.
    if (standard.NumberOfLinks != 1 || (basic.FileAttributes & kNeverEmptied)) return;
    SetEndOfFile(file);
}

scoped::FileHandle OpenToEmpty(const std::wstring& path, DWORD access) {
    return scoped::FileHandle(CreateFileW(path.c_str(), access,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

} // namespace

// A wide open instead of a C runtime "w" open on an ANSI path: that open could not reach names outside the
// ANSI code page and would create a file that did not exist.
void TruncateFile(const std::wstring& path, DWORD attributes) {
    if (attributes & kNeverEmptied) return;
    if (scoped::FileHandle file = OpenToEmpty(path, GENERIC_WRITE)) TruncateOpenFile(file.Get());
}

// One open instead of two: the handle that empties the file deletes it when it closes.
bool EmptyAndDeleteFile(const std::wstring& path, DWORD attributes) {
    if (!(attributes & kNeverEmptied)) {
        if (scoped::FileHandle file = OpenToEmpty(path, GENERIC_WRITE | DELETE)) {
            TruncateOpenFile(file.Get());
            FILE_DISPOSITION_INFO disposition{.DeleteFile = TRUE};
            if (SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition, sizeof disposition))
                return true;
        }
    }
    // Read-only, or refused for another reason: a plain deletion, as for a file that is not emptied.
    if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(path.c_str());
}

BOOL DeleteFileRecorded(const std::wstring& path) {
    if (path.empty()) return FALSE;
    const std::wstring full = ExtendedLengthPath(path);
    return DeleteRecorded(full, path, StateOf(full));
}

BOOL TruncateAndDelete(const std::wstring& path) {
    if (path.empty()) return FALSE;
    const std::wstring full = ExtendedLengthPath(path);
    const FileState before = StateOf(full);
    if (before.attributes != INVALID_FILE_ATTRIBUTES) TruncateFile(full, before.attributes);
    return DeleteRecorded(full, path, before);
}
