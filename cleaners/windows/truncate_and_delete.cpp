#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/file_truncation.h"
#include "cleaners/windows/long_path.h"

#include "common/scoped_handles.h"

// A wide open instead of a C runtime "w" open on an ANSI path: that open could not reach names outside the
// ANSI code page and would create a file that did not exist.
void TruncateFile(const std::wstring& path, DWORD attributes) {
    // Read-only is checked here because Wine running as root would overwrite such a file anyway.
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY)) return;
    // Overwriting a hidden or system file fails unless the open names those attributes again.
    const DWORD keep = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    scoped::FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        TRUNCATE_EXISTING, keep ? keep : FILE_ATTRIBUTE_NORMAL, nullptr));
}

BOOL TruncateAndDelete(const std::wstring& path) {
    if (path.empty()) return FALSE;
    const std::wstring full = ExtendedLengthPath(path);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) TruncateFile(full, attributes);
    return DeleteFileW(full.c_str());
}
