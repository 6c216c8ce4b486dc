#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/file_truncation.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/stayed_record.h"

#include "common/scoped_handles.h"

namespace {
// Read-only is checked on the handle again because Wine running as root opens such a file for writing.
constexpr DWORD kNeverEmptied = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY;

// `full` is the extended form of `shown`, the path as the caller named it. A file that is there and cannot
// go is recorded as what stayed.
BOOL DeleteRecorded(const std::wstring& full, const std::wstring& shown) {
    if (DeleteFileW(full.c_str())) return TRUE;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) ReportStayed(shown);
    SetLastError(error);
    return FALSE;
}

} // namespace

// A wide open instead of a C runtime "w" open on an ANSI path: that open could not reach names outside the
// ANSI code page and would create a file that did not exist. The checks are made on the open handle, so
// nothing can swap the file between check and truncation.
void TruncateFile(const std::wstring& path, DWORD attributes) {
    if (attributes & kNeverEmptied) return;
    scoped::FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    // Two small queries instead of GetFileInformationByHandle, which also asks for the volume's serial
    // number and the file's name: this runs once per file of a purge.
    FILE_STANDARD_INFO standard;
    FILE_BASIC_INFO basic;
    if (!file || !GetFileInformationByHandleEx(file.Get(), FileStandardInfo, &standard, sizeof standard) ||
        !GetFileInformationByHandleEx(file.Get(), FileBasicInfo, &basic, sizeof basic))
        return;
    // A second hard link shares the data with a name elsewhere, which is not ours to empty.
    if (standard.NumberOfLinks != 1 || (basic.FileAttributes & kNeverEmptied)) return;
    SetEndOfFile(file.Get());
}

BOOL DeleteFileRecorded(const std::wstring& path) {
    return !path.empty() && DeleteRecorded(ExtendedLengthPath(path), path);
}

BOOL TruncateAndDelete(const std::wstring& path) {
    if (path.empty()) return FALSE;
    const std::wstring full = ExtendedLengthPath(path);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) TruncateFile(full, attributes);
    return DeleteRecorded(full, path);
}
