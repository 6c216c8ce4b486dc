#include "cleaners/windows/folder_measure.h"

#include "cleaners/windows/folder_listing.h"
#include "cleaners/windows/link_safe_removal.h"
#include "cleaners/windows/walk_stop.h"

#include <vector>

FolderFigures& FolderFigures::operator+=(const FolderFigures& other) {
    files += other.files;
    bytes += other.bytes;
    listed = listed || other.listed;
    unlisted += other.unlisted;
    return *this;
}

// The listing data carries every size, so no file is opened; a list of folders still to read instead of a
// recursion, so a deep tree costs no stack.
FolderFigures MeasureFolder(const std::wstring& folder, bool countDesktopIni) {
    return MeasureFolderIf(folder, [countDesktopIni](const FolderEntry& entry) {
        return countDesktopIni || !IsDesktopIni(entry.name);
    });
}

FolderFigures MeasureFolderIf(const std::wstring& folder, const std::function<bool(const FolderEntry&)>& counts) {
    FolderFigures figures;
    if (!IsWalkableFolder(folder)) return figures;
    std::vector<std::wstring> pending{folder};
    bool top = true;
    while (!pending.empty() && !WalkStopRequested()) {
        const std::wstring current = std::move(pending.back());
        pending.pop_back();
        const bool listed = ForEachEntry(current, [&](FolderEntry& entry) {
            if (!counts(entry)) return;
            if (entry.IsDirectory() && !entry.IsLink()) {
                pending.push_back(std::move(entry.path));
                return;
            }
            ++figures.files;
            if (!entry.IsLink()) figures.bytes += entry.size;
        });
        if (top) figures.listed = listed;
        else if (!listed && !WalkStopRequested()) ++figures.unlisted;
        top = false;
    }
    return figures;
}
