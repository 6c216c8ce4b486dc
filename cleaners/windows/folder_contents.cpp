#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/link_safe_removal.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/stayed_record.h"

namespace {

// A kept desktop.ini makes the walk answer "not all removed"; only what else is there has stayed.
bool OnlyDesktopIniLeft(const std::wstring& folder) {
    bool other = false;
    ForEachEntry(folder, [&](const FolderEntry& entry) { other = other || !IsDesktopIni(entry.name); });
    return !other;
}

} // namespace

bool DeleteFolderContents(const std::wstring& folder, bool deleteDesktopIni) {
    const std::wstring full = ExtendedLengthPath(folder);
    if (!IsWalkableFolder(full)) return false;
    const ContentsRemoval removal =
        RemoveContents(full, {.keepDesktopIni = !deleteDesktopIni, .namesEntriesLeft = true});
    if (removal.listed && !removal.allRemoved && (deleteDesktopIni || !OnlyDesktopIniLeft(full))) {
        ReportStayed(folder);
        // Each by name too, so that each gets its reason; a kept desktop.ini did not stay, it was kept.
        for (const std::wstring& name : removal.entriesLeft)
            if (deleteDesktopIni || !IsDesktopIni(name)) ReportStayed(JoinPath(folder, name));
    }
    return removal.listed;
}
