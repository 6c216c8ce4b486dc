#pragma once
// The Windows clean items reached through the file system, the shell and the clipboard, and the folder
// routines they are built on.
#include "cleaners/windows/removed_tally.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// Lives for the Windows phase of one cleaning job.
struct WindowsCleanContext {
    HWND ownerWindow = nullptr; // owner of the clipboard while it is emptied
};

void CleanTempFiles(const WindowsCleanContext& context);
void CleanClipboard(const WindowsCleanContext& context);
void EmptyRecycleBin();

// What the clipboard holds, asked without opening it.
ClipboardData ClipboardHolds();
struct RecycleBinFigures {
    uint64_t items = 0, bytes = 0;
};
// Every drive's Recycle Bin; nothing when the shell cannot tell.
std::optional<RecycleBinFigures> QueryRecycleBin();
void CleanRecentDocuments();
void CleanNetworkHistory();

// Everything inside `folder`, recursively; the folder stays. "desktop.ini" (any ASCII case) is kept
// unless `deleteDesktopIni`. False when the folder cannot be listed.
bool DeleteFolderContents(const std::wstring& folder, bool deleteDesktopIni);
// Truncates and deletes every file under `path` except "*.flk" (exact case), then removes `path` itself.
void PurgeFolder(const WindowsCleanContext& context, const std::wstring& path);
// The top level of the second temporary-files pass; the folder itself stays.
void PurgeTempFolder(const WindowsCleanContext& context, const std::wstring& folder);
// Empties the file through a truncating open, then deletes it; the result of DeleteFileW.
BOOL TruncateAndDelete(const std::wstring& path);
// Deletes the file as it is; the result of DeleteFileW. A file that is there and cannot go, here and in
// TruncateAndDelete, is recorded as what stayed (stayed_record.h); one that goes is counted as removed
// (removed_tally.h).
BOOL DeleteFileRecorded(const std::wstring& path);
