#include "cleaners/windows/folder_targets.h"

#include "cleaners/windows/known_folders.h"
#include "cleaners/windows/long_path.h"

#include <algorithm>
#include <cwctype>

namespace {

// Compared as the file system compares names: without case, and a trailing backslash is no difference.
std::wstring Comparable(const std::wstring& path) {
    std::wstring key = ExtendedLengthPath(path);
    while (!key.empty() && key.back() == L'\\') key.pop_back();
    std::ranges::transform(key, key.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return key;
}

} // namespace

std::vector<FolderTarget> FolderTargets(FolderTargetItem item) {
    switch (item) {
    case FolderTargetItem::TempFiles:
        // Two passes, two methods: the second catches, with truncation, what the first left in the local
        // temporary folder, which on most systems is the same folder.
        return {{TempFolderPath(), FolderRule::Contents}, {LocalTempFolderPath(), FolderRule::PurgeTop}};
    case FolderTargetItem::RecentDocuments: return {{KnownFolderPath(FOLDERID_Recent), FolderRule::ContentsKeepDesktopIni}};
    case FolderTargetItem::NetworkHistory: return {{KnownFolderPath(FOLDERID_NetHood), FolderRule::ContentsKeepDesktopIni}};
    }
    return {};
}

void RemoveFolderTargets(const WindowsCleanContext& context, FolderTargetItem item) {
    for (const FolderTarget& target : FolderTargets(item)) {
        if (target.folder.empty()) continue;
        switch (target.rule) {
        case FolderRule::Contents: DeleteFolderContents(target.folder, true); break;
        case FolderRule::ContentsKeepDesktopIni: DeleteFolderContents(target.folder, false); break;
        case FolderRule::PurgeTop: PurgeTempFolder(context, target.folder); break;
        }
    }
}

FolderFigures MeasureFolderTargets(FolderTargetItem item) {
    FolderFigures figures;
    std::vector<std::wstring> measured;
    for (const FolderTarget& target : FolderTargets(item)) {
        if (target.folder.empty()) continue;
        std::wstring key = Comparable(target.folder);
        if (std::ranges::find(measured, key) != measured.end()) continue;
        measured.push_back(std::move(key));
        figures += MeasureFolder(ExtendedLengthPath(target.folder), target.rule != FolderRule::ContentsKeepDesktopIni);
    }
    return figures;
}
