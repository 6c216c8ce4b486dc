#include "cleaners/windows/link_safe_removal.h"

#include "cleaners/windows/walk_stop.h"

#include <algorithm>
#include <utility>
#include <vector>

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

namespace {

// Only the read-only bit stops a deletion; leaving other attributes alone saves a call per entry.
void ClearReadOnly(const std::wstring& path, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A link is removed as what it claims to be; its target is never opened, listed or changed.
bool RemoveLink(const std::wstring& path, DWORD attributes) {
    const bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return directory ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str());
}

bool RemoveFile(const FolderEntry& file, const RemovalRules& rules) {
    if (file.IsLink()) return RemoveLink(file.path, file.attributes);
    if (rules.beforeDeletingFile) rules.beforeDeletingFile(file);
    ClearReadOnly(file.path, file.attributes);
    return DeleteFileW(file.path.c_str());
}

// A folder of the walk: its files are gone when it is listed, its sub-folders wait their turn, and it is
// removed, empty, with a plain folder removal once the last of them is done.
struct OpenFolder {
    size_t pathLength; // of the walk's path while it names this folder
    DWORD attributes;  // as its parent listed it
    std::vector<std::pair<std::wstring, DWORD>> subFolders{};
    size_t next = 0;
    bool allRemoved = true;
};

// Removes the files and links of the folder that `path` names and queues its sub-folders. One listing
// handle is open at a time, however deep the walk.
bool ListFolder(const std::wstring& path, OpenFolder& folder, const RemovalRules& rules) {
    return ForEachEntry(path, [&](const FolderEntry& entry) {
        if (rules.keepDesktopIni && IsDesktopIni(entry.name))
            folder.allRemoved = false;
        else if (entry.IsDirectory() && !entry.IsLink())
            folder.subFolders.emplace_back(entry.name, entry.attributes);
        else if (!RemoveFile(entry, rules))
            folder.allRemoved = false;
    });
}

} // namespace

// Iterative, with one path that grows and shrinks by a name, so a chain thousands of folders deep holds
// neither stack nor a copy of its path per level; a folder is never listed a second time to remove it.
ContentsRemoval RemoveContents(const std::wstring& folder, const RemovalRules& rules) {
    std::wstring path = folder;
    std::vector<OpenFolder> open;
    open.push_back({.pathLength = path.size(), .attributes = FILE_ATTRIBUTE_DIRECTORY});
    if (!ListFolder(path, open.back(), rules)) return {.listed = false, .allRemoved = false};
    for (;;) {
        if (WalkStopRequested()) return {.listed = true, .allRemoved = false};
        OpenFolder& current = open.back();
        path.resize(current.pathLength);
        if (current.next == current.subFolders.size()) {
            if (open.size() == 1) return {.listed = true, .allRemoved = current.allRemoved};
            ClearReadOnly(path, current.attributes);
            const bool removed = RemoveDirectoryW(path.c_str());
            open.pop_back();
            if (!removed) open.back().allRemoved = false;
            continue;
        }
        const auto [name, attributes] = std::move(current.subFolders[current.next++]);
        path += L'\\';
        path += name;
        ListFolder(path, open.emplace_back(OpenFolder{path.size(), attributes}), rules);
    }
}

bool RemoveEntry(const std::wstring& path, DWORD attributes, const RemovalRules& rules) {
    const size_t slash = path.rfind(L'\\');
    const FolderEntry entry{path, path.c_str() + (slash == std::wstring::npos ? 0 : slash + 1), attributes};
    if (!entry.IsDirectory() || entry.IsLink()) return RemoveFile(entry, rules);
    RemoveContents(path, rules);
    ClearReadOnly(path, attributes);
    return RemoveDirectoryW(path.c_str());
}
