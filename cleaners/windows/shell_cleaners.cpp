#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/known_folders.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

// Another program holding the clipboard open keeps its contents; the step still completes.
void CleanClipboard(const WindowsCleanContext& context) {
    if (!OpenClipboard(context.ownerWindow)) return;
    EmptyClipboard();
    CloseClipboard();
}

void EmptyRecycleBin() {
    // Every drive's bin; an empty bin answers an error, which is nothing to report.
    SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
}

void CleanRecentDocuments() {
    const std::wstring recent = KnownFolderPath(FOLDERID_Recent);
    if (!recent.empty()) DeleteFolderContents(recent, false);
    SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs");
    SHAddToRecentDocs(SHARD_PATHW, nullptr); // no path: the shell forgets its whole list
}

void CleanNetworkHistory() {
    const std::wstring netHood = KnownFolderPath(FOLDERID_NetHood);
    if (!netHood.empty()) DeleteFolderContents(netHood, false);
}
