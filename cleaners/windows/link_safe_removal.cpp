#include "cleaners/windows/link_safe_removal.h"

#include "cleaners/windows/folder_listing.h"

#include <algorithm>

bool IsDesktopIni(std::wstring_view name) {
    constexpr std::wstring_view kDesktopIni = L"desktop.ini";
    auto asciiLower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    return std::ranges::equal(name, kDesktopIni, {}, asciiLower);
}

bool IsWalkableFolder(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

ContentsRemoval RemoveContents(const std::wstring& folder, bool keepDesktopIni) {
    ContentsRemoval result{.listed = false, .allRemoved = true};
    result.listed = ForEachEntry(folder, [&](const FolderEntry& entry) {
        if (keepDesktopIni && IsDesktopIni(entry.name)) {
            result.allRemoved = false;
            return;
        }
        if (!RemoveEntry(entry.path, entry.attributes, keepDesktopIni)) result.allRemoved = false;
    });
    result.allRemoved = result.allRemoved && result.listed;
    return result;
}

bool RemoveEntry(const std::wstring& path, DWORD attributes, bool keepDesktopIni) {
    const bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A link is removed as what it claims to be; its target is never opened, listed or changed.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return directory ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str());
    if (directory) RemoveContents(path, keepDesktopIni);
    // Only the read-only bit stops a deletion; leaving other attributes alone saves a call per file.
    if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return directory ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str());
}
