#include "cleaning/item_measure.h"

#include "cleaners/windows/folder_targets.h"
#include "cleaners/windows/registry_targets.h"

#include <windows.h>
#include <shellapi.h>

namespace {

ItemFigures Measured(const FolderFigures& folders, uint64_t entries) {
    return {.measured = true, .files = folders.files, .bytes = folders.bytes, .entries = entries};
}

ItemFigures Registry(RegistryItem item) { return Measured({}, CountRegistryEntries(item)); }

ItemFigures RecycleBin() {
    SHQUERYRBINFO info{.cbSize = sizeof info};
    // Every drive's bin, as the cleaner empties every one.
    if (FAILED(SHQueryRecycleBinW(nullptr, &info))) return {};
    return {.measured = true,
            .bytes = static_cast<uint64_t>(info.i64Size > 0 ? info.i64Size : 0),
            .recycled = static_cast<uint64_t>(info.i64NumItems > 0 ? info.i64NumItems : 0)};
}

// Asked without opening the clipboard, so the scan never takes it from its owner.
ItemFigures Clipboard() {
    ItemFigures figures{.measured = true, .clipboard = ClipboardContent::Empty};
    if (IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT))
        figures.clipboard = ClipboardContent::Text;
    else if (CountClipboardFormats() > 0)
        figures.clipboard = ClipboardContent::Other;
    return figures;
}

} // namespace

ItemFigures MeasureItem(CleanAction action) {
    using A = CleanAction;
    switch (action) {
    case A::TempFiles: return Measured(MeasureFolderTargets(FolderTargetItem::TempFiles), 0);
    case A::Clipboard: return Clipboard();
    case A::RecycleBin: return RecycleBin();
    case A::OpenSaveHistory: return Registry(RegistryItem::OpenSaveHistory);
    case A::MediaPlayerHistory: return Registry(RegistryItem::MediaPlayerHistory);
    case A::PaintHistory: return Registry(RegistryItem::PaintHistory);
    case A::WordPadHistory: return Registry(RegistryItem::WordPadHistory);
    case A::RecentDocuments:
        return Measured(MeasureFolderTargets(FolderTargetItem::RecentDocuments),
                        CountRegistryEntries(RegistryItem::RecentDocuments));
    case A::RunHistory: return Registry(RegistryItem::RunHistory);
    case A::SearchHistory: return Registry(RegistryItem::SearchHistory);
    case A::FindComputerHistory: return Registry(RegistryItem::FindComputerHistory);
    case A::NetworkHistory: return Measured(MeasureFolderTargets(FolderTargetItem::NetworkHistory), 0);
    case A::LogonUserName: return Registry(RegistryItem::LogonUserName);
    default: return {};
    }
}
