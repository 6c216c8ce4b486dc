#include "cleaners/windows/folder_listing.h"

#include "cleaners/windows/walk_stop.h"

#include "common/scoped_handles.h"

#include <atomic>
#include <cwchar>

namespace {
std::atomic<uint64_t> listingsOpened{0};
// Systems before Windows 7 refuse the basic info level and the large fetch with ERROR_INVALID_PARAMETER.
std::atomic<bool> fastListingRefused{false};

HANDLE FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data) {
    if (!fastListingRefused.load(std::memory_order_relaxed)) {
        // The basic info level skips the short names, which nothing here needs.
        HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                       nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (find != INVALID_HANDLE_VALUE || GetLastError() != ERROR_INVALID_PARAMETER) return find;
        fastListingRefused.store(true, std::memory_order_relaxed);
    }
    return FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &data, FindExSearchNameMatch, nullptr, 0);
}
} // namespace

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() == L'\\') return folder + name;
    return folder + L'\\' + name;
}

uint64_t FolderListingsOpened() {
    return listingsOpened.load(std::memory_order_relaxed);
}

bool ForEachEntry(const std::wstring& folder, const std::function<void(FolderEntry&)>& visit) {
    if (WalkStopRequested()) return false;
    listingsOpened.fetch_add(1, std::memory_order_relaxed);
    WIN32_FIND_DATAW data;
    scoped::FindHandle find(FindFirst(JoinPath(folder, L"*"), data));
    if (!find) return false;
    const std::wstring prefix = JoinPath(folder, L"");
    do {
        if (WalkStopRequested()) break;
        const wchar_t* name = data.cFileName;
        if (std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0) continue;
        FolderEntry entry{prefix + name, name, data.dwFileAttributes,
                          (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
        visit(entry);
    } while (FindNextFileW(find.Get(), &data));
    return true;
}
