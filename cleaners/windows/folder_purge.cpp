#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/file_truncation.h"
#include "cleaners/windows/folder_listing.h"
#include "cleaners/windows/link_safe_removal.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/stayed_record.h"

namespace {

// Each file is emptied before it goes, so what a recovery tool finds of it is nothing; files named "*.flk"
// (exact case) only go, unemptied.
const RemovalRules kPurgeRules{.beforeDeletingFile = [](const FolderEntry& file) {
    if (!file.path.ends_with(L".flk")) TruncateFile(file.path, file.attributes);
}};

// A folder goes in one walk, its files emptied on the way; anything else is removed as it is.
bool Purge(const std::wstring& path, DWORD attributes) {
    return RemoveEntry(path, attributes,
                       (attributes & FILE_ATTRIBUTE_DIRECTORY) ? kPurgeRules : RemovalRules{});
}

} // namespace

// The context's owner window was the owner of the shell's delete, which showed nothing anyway; our own
// walk needs no window.
void PurgeFolder(const WindowsCleanContext&, const std::wstring& path) {
    const std::wstring full = ExtendedLengthPath(path);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !Purge(full, attributes)) ReportStayed(path);
}

// Files at the top are emptied whatever their name.
void PurgeTempFolder(const WindowsCleanContext&, const std::wstring& folder) {
    const std::wstring full = ExtendedLengthPath(folder);
    if (!IsWalkableFolder(full)) return;
    ForEachEntry(full, [&](const FolderEntry& entry) {
        if (!entry.IsDirectory()) TruncateFile(entry.path, entry.attributes);
        // The record names the entry as the caller named its folder, not in the extended form.
        if (!Purge(entry.path, entry.attributes)) ReportStayed(JoinPath(folder, entry.name));
    });
}
