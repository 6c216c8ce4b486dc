#pragma once
// What removing the contents of a folder would remove, counted without changing anything.
#include "cleaners/windows/folder_listing.h"

#include <cstdint>
#include <functional>
#include <string>

struct FolderFigures {
    uint64_t files = 0; // files and links, at any depth
    uint64_t bytes = 0; // of the files; a link counts none, whatever it points to
    bool listed = false; // the folder itself could be listed
    uint64_t unlisted = 0; // folders below that refused to be listed: their contents are not counted

    FolderFigures& operator+=(const FolderFigures& other);
};

// Lists `folder` (extended-length form) and every folder below it, never a link's target, and opens no
// file. desktop.ini files are not counted when `countDesktopIni` is false, as the removal keeps them.
// Stops with the thread's walk stop (walk_stop.h): what was counted until then is returned.
FolderFigures MeasureFolder(const std::wstring& folder, bool countDesktopIni);
// The same, counting only the entries that `counts` accepts; a folder it refuses is not entered.
FolderFigures MeasureFolderIf(const std::wstring& folder, const std::function<bool(const FolderEntry&)>& counts);
