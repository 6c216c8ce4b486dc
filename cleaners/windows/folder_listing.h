#pragma once
// One level of a folder, as the link-safe routines walk it.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

struct FolderEntry {
    std::wstring path;   // the listed folder + "\" + name
    const wchar_t* name; // valid while `visit` runs
    DWORD attributes;
    uint64_t size; // as listed; 0 for a folder, and where the walk did not keep it

    bool IsDirectory() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // Junctions, symbolic links, mount points: never descended into.
    bool IsLink() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
};

// Calls `visit` for every entry of `folder` except "." and "..", until the thread's walk stop is requested
// (walk_stop.h): then it returns after the entry at hand. False when the folder cannot be listed, or the
// stop came before it was. `visit` may keep what it takes from the entry, the path above all.
bool ForEachEntry(const std::wstring& folder, const std::function<void(FolderEntry&)>& visit);
// The listings ForEachEntry has opened in this process, so that a test can count a walk's listings.
uint64_t FolderListingsOpened();

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
