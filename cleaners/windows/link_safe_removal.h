#pragma once
// The core of ShellDelete, shared with the folder routines that walk with their own rules. Paths are
// expected in the extended-length form (long_path.h).
#include <windows.h>

#include <string>
#include <string_view>

// "desktop.ini" in any ASCII case.
bool IsDesktopIni(std::wstring_view name);

struct ContentsRemoval {
    bool listed = false;     // the folder could be listed
    bool allRemoved = false; // and nothing inside it remains
};

// A folder that may be walked: it exists and is no link. Checked once for the folder a caller names; the
// walk checks every entry it finds itself.
bool IsWalkableFolder(const std::wstring& folder);

// Removes everything inside `folder`, keeping the folder (and, when asked, every "desktop.ini").
ContentsRemoval RemoveContents(const std::wstring& folder, bool keepDesktopIni);

// Removes one entry with the `attributes` it was listed with: a file, a folder with everything inside it,
// or a link itself. True when it is gone.
bool RemoveEntry(const std::wstring& path, DWORD attributes, bool keepDesktopIni = false);
