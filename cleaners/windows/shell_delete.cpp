#include "cleaners/windows/shell_delete.h"

#include "cleaners/windows/link_safe_removal.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/stayed_record.h"

#include <windows.h>

#include <string_view>
#include <vector>

namespace {

bool StripSuffix(std::wstring_view& text, std::wstring_view suffix) {
    if (!text.ends_with(suffix)) return false;
    text.remove_suffix(suffix.size());
    return true;
}

// Our own walk instead of SHFileOperationW: the shell's delete follows directory links out of the folder.
// What stays directly in a folder that is emptied goes to `entriesLeft`, as paths.
bool Delete(const std::wstring& path, std::vector<std::wstring>& entriesLeft) {
    std::wstring_view target = path;
    // The separator stays, so that "C:\*" names the root and not the current folder of drive C.
    const bool contentsOnly = StripSuffix(target, L"*.*") || StripSuffix(target, L"*");
    if (contentsOnly && !target.ends_with(L'\\')) return false;
    if (target.empty()) return false;
    const std::wstring full = ExtendedLengthPath(std::wstring(target));
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    if (!contentsOnly) return RemoveEntry(full, attributes);
    // Emptying a folder that is a link would empty what it points to.
    if (!IsWalkableFolder(full)) return false;
    const ContentsRemoval removal = RemoveContents(full, {.namesEntriesLeft = true});
    for (const std::wstring& name : removal.entriesLeft) entriesLeft.push_back(std::wstring(target) + name);
    return removal.allRemoved;
}

} // namespace

bool ShellDelete(const std::wstring& path) {
    std::vector<std::wstring> entriesLeft;
    const bool gone = Delete(path, entriesLeft);
    if (!gone) ReportStayed(path);
    // Each by name too, so that each gets its reason.
    for (const std::wstring& entry : entriesLeft) ReportStayed(entry);
    return gone;
}
