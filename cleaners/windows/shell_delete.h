#pragma once
// The one routine through which every recursive deletion of Tracewipe goes.
#include <string>

// Deletes permanently and silently, like the shell's delete without undo, but never follows a link:
// an entry with the reparse-point attribute (junction, symbolic link, mount point) is never descended
// into; the link itself is removed where the system allows, and what it points to is never touched.
// "folder\*" empties the folder and keeps it; any other path removes that file, or that folder with
// everything inside it. Paths past MAX_PATH and names in any script are handled. Entries that cannot be
// removed (locked, protected, vanished) are passed over. Returns true when nothing of the target remains.
bool ShellDelete(const std::wstring& path);
