#include "cleaners/windows/folder_listing.h"

#include "common/scoped_handles.h"

#include <cwchar>

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() == L'\\') return folder + name;
    return folder + L'\\' + name;
}

bool ForEachEntry(const std::wstring& folder, const std::function<void(const FolderEntry&)>& visit) {
    WIN32_FIND_DATAW data;
    // The basic info level skips the short names, which nothing here needs.
    scoped::FindHandle find(FindFirstFileExW(JoinPath(folder, L"*").c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return false;
    const std::wstring prefix = JoinPath(folder, L"");
    do {
        const wchar_t* name = data.cFileName;
        if (std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0) continue;
        visit(FolderEntry{prefix + name, name, data.dwFileAttributes});
    } while (FindNextFileW(find.Get(), &data));
    return true;
}
