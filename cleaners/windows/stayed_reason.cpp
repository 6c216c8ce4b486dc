#include "cleaners/windows/stayed_reason.h"

#include "cleaners/windows/long_path.h"

#include "common/scoped_handles.h"

#include <windows.h>

StayedReason ReasonFor(std::wstring_view what) {
    // A report that names no absolute path ("Error IE Cookies: ...") has no attributes to ask about.
    if (what.size() < 3 || what[1] != L':' || what[2] != L'\\') return StayedReason::Unknown;
    const std::wstring path = ExtendedLengthPath(std::wstring(what));
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return StayedReason::Unknown;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return StayedReason::LinkLeft;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        // A folder that stays holds something whose own reason tells why, unless the system refuses to let
        // it be listed at all.
        scoped::FileHandle listing(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return !listing && GetLastError() == ERROR_ACCESS_DENIED ? StayedReason::AccessDenied : StayedReason::Unknown;
    }
    scoped::FileHandle probe(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (probe) return StayedReason::Unknown;
    switch (GetLastError()) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return StayedReason::InUse;
    case ERROR_ACCESS_DENIED: return StayedReason::AccessDenied;
    default: return StayedReason::Unknown;
    }
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
