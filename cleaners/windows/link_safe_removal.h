#pragma once
// The core of ShellDelete, shared with the folder routines that walk with their own rules. Paths are
// expected in the extended-length form (long_path.h).
#include "cleaners/windows/folder_listing.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// "desktop.ini" in any ASCII case.
bool IsDesktopIni(std::wstring_view name);

// What a walk keeps, and what it does to a file before deleting it.
struct RemovalRules {
    bool keepDesktopIni = false;
    // Whether a file (never a link) is emptied before it goes, by the handle that then deletes it
    // (file_truncation.h). Asked on any thread of the walk.
    std::function<bool(const FolderEntry& file)> emptiesFile;
    // Runs on each file (never a link) just before it is emptied or deleted, on any thread of the walk.
    std::function<void(const FolderEntry& file)> beforeDeletingFile;
    // Whether the walk names the entries directly in its folder that stay (ContentsRemoval::entriesLeft).
    bool namesEntriesLeft = false;
};

struct ContentsRemoval {
    bool listed = false;     // the folder could be listed
    bool allRemoved = false; // and nothing inside it remains
    // With RemovalRules::namesEntriesLeft: the names, in order, of the entries directly in the folder that
    // stay. An entry another program removed meanwhile is gone, not stayed.
    std::vector<std::wstring> entriesLeft{};
};

// A folder that may be walked: it exists and is no link. Checked once for the folder a caller names; the
// walk checks every entry it finds itself.
bool IsWalkableFolder(const std::wstring& folder);

// Removes everything inside `folder`, keeping the folder. Each folder below is listed once, whatever
// stays in it, and the depth of the tree costs no stack. Returns early when the thread's walk stop is
// requested (walk_stop.h). Each file or link it deletes is counted in the thread's tally (removed_tally.h).
ContentsRemoval RemoveContents(const std::wstring& folder, const RemovalRules& rules = {});

// Removes one entry with the `attributes` it was listed with: a file, a folder with everything inside it,
// or a link itself. True when it is gone.
bool RemoveEntry(const std::wstring& path, DWORD attributes, const RemovalRules& rules = {});
