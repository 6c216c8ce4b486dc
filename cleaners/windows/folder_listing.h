#pragma once
// One level of a folder, as the link-safe routines walk it.
#include <windows.h>

#include <functional>
#include <string>

struct FolderEntry {
    std::wstring path; // the listed folder + "\" + name
    const wchar_t* name;
    DWORD attributes;

    bool IsDirectory() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // Junctions, symbolic links, mount points: never descended into.
    bool IsLink() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
};

// Calls `visit` for every entry of `folder` except "." and "..". False when the folder cannot be listed.
bool ForEachEntry(const std::wstring& folder, const std::function<void(const FolderEntry&)>& visit);

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
