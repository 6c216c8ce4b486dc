#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/folder_listing.h"
#include "cleaners/windows/link_safe_removal.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/stayed_record.h"

#include <cwchar>

namespace {

// Each file is emptied before it goes, so what a recovery tool finds of it is nothing; files named "*.flk"
// (exact case) only go, unemptied, except those directly in `everyFileEmptiedIn` (extended; empty: none).
// Called by every thread of the walk.
RemovalRules PurgeRules(const std::wstring& everyFileEmptiedIn) {
    const std::wstring prefix =
        everyFileEmptiedIn.empty() ? std::wstring() : JoinPath(everyFileEmptiedIn, L"");
    return {.emptiesFile = [prefix](const FolderEntry& file) {
        const bool atTop = !prefix.empty() && file.path.size() - std::wcslen(file.name) == prefix.size();
        return atTop || !file.path.ends_with(L".flk");
    }};
}

} // namespace

// The context's owner window was the owner of the shell's delete, which showed nothing anyway; our own
// walk needs no window. A folder goes in one walk, its files emptied on the way; anything else is removed
// as it is.
void PurgeFolder(const WindowsCleanContext&, const std::wstring& path) {
    const std::wstring full = ExtendedLengthPath(path);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (!RemoveEntry(full, attributes,
                     (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PurgeRules({}) : RemovalRules{}))
        ReportStayed(path);
}

// Files at the top are emptied whatever their name. One walk for the whole folder, so that its workers
// serve every sub-folder rather than starting again for each.
void PurgeTempFolder(const WindowsCleanContext&, const std::wstring& folder) {
    const std::wstring full = ExtendedLengthPath(folder);
    if (!IsWalkableFolder(full)) return;
    RemovalRules rules = PurgeRules(full);
    rules.namesEntriesLeft = true;
    // The record names each entry as the caller named its folder, not in the extended form.
    for (const std::wstring& name : RemoveContents(full, rules).entriesLeft)
        ReportStayed(JoinPath(folder, name));
}
