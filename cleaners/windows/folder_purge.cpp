#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/file_truncation.h"
#include "cleaners/windows/folder_listing.h"
#include "cleaners/windows/link_safe_removal.h"
#include "cleaners/windows/long_path.h"

namespace {

// Each file is emptied before it goes, so what a recovery tool finds of it is nothing.
void TruncateAndRemove(const FolderEntry& file) {
    TruncateFile(file.path, file.attributes);
    RemoveEntry(file.path, file.attributes);
}

// Files named "*.flk" (exact case) are not emptied, only removed with their folder at the end.
void Purge(const std::wstring& path, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        ForEachEntry(path, [](const FolderEntry& entry) {
            if (entry.IsDirectory())
                Purge(entry.path, entry.attributes);
            else if (!entry.path.ends_with(L".flk"))
                TruncateAndRemove(entry);
        });
    }
    RemoveEntry(path, attributes);
}

} // namespace

// The context's owner window was the owner of the shell's delete, which showed nothing anyway; our own
// walk needs no window.
void PurgeFolder(const WindowsCleanContext&, const std::wstring& path) {
    const std::wstring full = ExtendedLengthPath(path);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) Purge(full, attributes);
}

void PurgeTempFolder(const WindowsCleanContext&, const std::wstring& folder) {
    const std::wstring full = ExtendedLengthPath(folder);
    if (!IsWalkableFolder(full)) return;
    ForEachEntry(full, [](const FolderEntry& entry) {
        if (entry.IsDirectory())
            Purge(entry.path, entry.attributes);
        else
            TruncateAndRemove(entry);
    });
}
