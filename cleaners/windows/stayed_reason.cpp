#include "cleaners/windows/stayed_reason.h"

#include "cleaners/windows/folder_listing.h"
#include "cleaners/windows/long_path.h"

#include "common/scoped_handles.h"

#include <windows.h>

#include <vector>

namespace {

// Past this many entries of a folder's tree nothing more is asked: a reason is a hint, not worth a walk of
// 100,000 files that all stayed for none that can be told.
constexpr unsigned kEntriesAsked = 4096;

bool StripSuffix(std::wstring_view& text, std::wstring_view suffix) {
    if (!text.ends_with(suffix)) return false;
    text.remove_suffix(suffix.size());
    return true;
}

// Whether `path` (extended-length form) may be opened for deletion; the handle is closed at once.
StayedReason DeletionRefused(const std::wstring& path, DWORD attributes) {
    const DWORD flags = FILE_FLAG_OPEN_REPARSE_POINT | (attributes & FILE_ATTRIBUTE_DIRECTORY ? FILE_FLAG_BACKUP_SEMANTICS : 0);
    scoped::FileHandle probe(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, flags, nullptr));
    if (probe) return StayedReason::Unknown;
    switch (GetLastError()) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return StayedReason::InUse;
    case ERROR_ACCESS_DENIED: return StayedReason::AccessDenied;
    default: return StayedReason::Unknown;
    }
}

// The system refuses to let the folder (extended-length form) be listed.
bool ListingDenied(const std::wstring& folder) {
    scoped::FileHandle listing(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                           FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return !listing && GetLastError() == ERROR_ACCESS_DENIED;
}

// A folder that stayed, stayed for what stays inside it: the first entry whose reason can be told, a link
// above all, which is never entered; unless the system refuses to let it be listed at all. Then the folder's
// own refusal, if that is all there is.
StayedReason FolderReason(const std::wstring& folder, DWORD attributes) {
    if (ListingDenied(folder)) return StayedReason::AccessDenied;
    std::vector<std::wstring> pending{folder};
    unsigned asked = 0;
    StayedReason found = StayedReason::Unknown;
    while (!pending.empty() && found == StayedReason::Unknown && asked < kEntriesAsked) {
        const std::wstring current = std::move(pending.back());
        pending.pop_back();
        ForEachEntry(current, [&](FolderEntry& entry) {
            if (found != StayedReason::Unknown || ++asked > kEntriesAsked) return;
            if (entry.IsLink()) found = StayedReason::LinkLeft;
            else if (entry.IsDirectory() && ListingDenied(entry.path)) found = StayedReason::AccessDenied;
            else if (entry.IsDirectory()) pending.push_back(std::move(entry.path));
            else found = DeletionRefused(entry.path, entry.attributes);
        });
    }
    return found != StayedReason::Unknown ? found : DeletionRefused(folder, attributes);
}

} // namespace

StayedReason ReasonFor(std::wstring_view what) {
    // A report that names no absolute path ("Error IE Cookies: ...") has no attributes to ask about.
    if (what.size() < 3 || what[1] != L':' || what[2] != L'\\') return StayedReason::Unknown;
    // "folder\*": what stayed is in the folder.
    if (StripSuffix(what, L"\\*.*") || StripSuffix(what, L"\\*")) {
        if (what.size() < 3) what = std::wstring_view(what.data(), 3); // "C:\"
    }
    const std::wstring path = ExtendedLengthPath(std::wstring(what));
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return StayedReason::Unknown;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return StayedReason::LinkLeft;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FolderReason(path, attributes);
    return DeletionRefused(path, attributes);
}

std::wstring_view ReasonText(StayedReason reason) {
    switch (reason) {
    case StayedReason::Unknown: break;
    case StayedReason::InUse: return L"in use by another program";
    case StayedReason::AccessDenied: return L"access denied";
    case StayedReason::LinkLeft: return L"a link left in place";
    case StayedReason::HeldByBrowser: return L"held by a running browser";
    }
    return {};
}
