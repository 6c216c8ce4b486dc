#include "cleaners/windows/folder_listing.h"

#include "cleaners/windows/walk_stop.h"

#include "common/scoped_handles.h"

#include <atomic>
#include <cwchar>

namespace {
std::atomic<uint64_t> listingsOpened{0};
} // namespace

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() == L'\\') return folder + name;
    return folder + L'\\' + name;
}

uint64_t FolderListingsOpened() { return listingsOpened.load(std::memory_order_relaxed); }

bool ForEachEntry(const std::wstring& folder, const std::function<void(const FolderEntry&)>& visit) {
    if (WalkStopRequested()) return false;
    listingsOpened.fetch_add(1, std::memory_order_relaxed);
    WIN32_FIND_DATAW data;
    // The basic info level skips the short names, which nothing here needs.
    scoped::FindHandle find(FindFirstFileExW(JoinPath(folder, L"*").c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return false;
    const std::wstring prefix = JoinPath(folder, L"");
    do {
        if (WalkStopRequested()) break;
        const wchar_t* name = data.cFileName;
        if (std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0) continue;
        visit(FolderEntry{prefix + name, name, data.dwFileAttributes});
    } while (FindNextFileW(find.Get(), &data));
    return true;
}
