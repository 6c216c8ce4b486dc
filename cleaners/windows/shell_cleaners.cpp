#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/folder_targets.h"
#include "cleaners/windows/registry_targets.h"
#include "cleaners/windows/removed_tally.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

// Clipboard managers (and Wine's own) hold the clipboard open for a moment after each change, so a busy
// clipboard is asked again for a while before the step gives up; one held for longer keeps its contents.
void CleanClipboard(const WindowsCleanContext& context) {
    constexpr DWORD kPatienceMs = 2000, kPauseMs = 20;
    const DWORD start = GetTickCount();
    while (!OpenClipboard(context.ownerWindow)) {
        if (GetTickCount() - start >= kPatienceMs) return;
        Sleep(kPauseMs);
    }
    const ClipboardData held = ClipboardHolds();
    if (EmptyClipboard()) TallyClipboard(held);
    CloseClipboard();
}

// Asked without opening the clipboard, so that a count never takes it from its owner.
ClipboardData ClipboardHolds() {
    if (IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT)) return ClipboardData::Text;
    return CountClipboardFormats() > 0 ? ClipboardData::Other : ClipboardData::None;
}

std::optional<RecycleBinFigures> QueryRecycleBin() {
    SHQUERYRBINFO info{.cbSize = sizeof info};
    // Every drive's bin, as the cleaner empties every one.
    if (FAILED(SHQueryRecycleBinW(nullptr, &info))) return std::nullopt;
    return RecycleBinFigures{.items = static_cast<uint64_t>(info.i64NumItems > 0 ? info.i64NumItems : 0),
                             .bytes = static_cast<uint64_t>(info.i64Size > 0 ? info.i64Size : 0)};
}

// The shell reports only success, so the bin is asked what it holds before and after.
void EmptyRecycleBin() {
    const std::optional<RecycleBinFigures> before = QueryRecycleBin();
    // Every drive's bin; an empty bin answers an error, which is nothing to report.
    SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
    if (!before) return;
    const RecycleBinFigures after = QueryRecycleBin().value_or(*before);
    TallyRecycleBin(WentBetween(before->items, after.items), WentBetween(before->bytes, after.bytes));
}

void CleanRecentDocuments() {
    RemoveFolderTargets({}, FolderTargetItem::RecentDocuments);
    RemoveRegistryTargets(RegistryItem::RecentDocuments);
    SHAddToRecentDocs(SHARD_PATHW, nullptr); // no path: the shell forgets its whole list
}

void CleanNetworkHistory() { RemoveFolderTargets({}, FolderTargetItem::NetworkHistory); }
