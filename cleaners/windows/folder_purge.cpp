#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/file_truncation.h"
#include "cleaners/windows/folder_listing.h"
#include "cleaners/windows/link_safe_removal.h"
#include "cleaners/windows/long_path.h"

namespace {

// Each file is emptied before it goes, so what a recovery tool finds of it is nothing; files named "*.flk"
// (exact case) only go, unemptied.
const RemovalRules kPurgeRules{.beforeDeletingFile = [](const FolderEntry& file) {
    if (!file.path.ends_with(L".flk")) TruncateFile(file.path, file.attributes);
}};

// A folder goes in one walk, its files emptied on the way; anything else is removed as it is.
void Purge(const std::wstring& path, DWORD attributes) {
    RemoveEntry(path, attributes, (attributes & FILE_ATTRIBUTE_DIRECTORY) ? kPurgeRules : RemovalRules{});
}

} // namespace

// The context's owner window was the owner of the shell's delete, which showed nothing anyway; our own
// walk needs no window.
void PurgeFolder(const WindowsCleanContext&, const std::wstring& path) {
    const std::wstring full = ExtendedLengthPath(path);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) Purge(full, attributes);
}

// Files at the top are emptied whatever their name.
void PurgeTempFolder(const WindowsCleanContext&, const std::wstring& folder) {
    const std::wstring full = ExtendedLengthPath(folder);
    if (!IsWalkableFolder(full)) return;
    ForEachEntry(full, [](const FolderEntry& entry) {
        if (entry.IsDirectory()) {
            Purge(entry.path, entry.attributes);
        } else {
            TruncateFile(entry.path, entry.attributes);
            RemoveEntry(entry.path, entry.attributes);
        }
    });
}
