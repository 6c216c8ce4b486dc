#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/folder_targets.h"
#include "cleaners/windows/registry_targets.h"

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
    EmptyClipboard();
    CloseClipboard();
}

void EmptyRecycleBin() {
    // Every drive's bin; an empty bin answers an error, which is nothing to report.
    SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
}

void CleanRecentDocuments() {
    RemoveFolderTargets({}, FolderTargetItem::RecentDocuments);
    RemoveRegistryTargets(RegistryItem::RecentDocuments);
    SHAddToRecentDocs(SHARD_PATHW, nullptr); // no path: the shell forgets its whole list
}

void CleanNetworkHistory() { RemoveFolderTargets({}, FolderTargetItem::NetworkHistory); }
