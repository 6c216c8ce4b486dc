#pragma once
// Why something a cleaner could not remove is still there, found out when it is reported.
#include <string>
#include <string_view>

enum class StayedReason {
    Unknown,      // a message rather than a path, a folder, or a refusal without a known cause
    InUse,        // another program holds it open without sharing its deletion
    AccessDenied, // the system refuses its deletion to this user
    LinkLeft,     // a link, which is never followed, and which the system would not let go
    HeldByBrowser, // a browser database that a browser still running holds locked
};

// Asks the system about `what` without changing it: its attributes, and whether it may be opened for
// deletion (the handle is closed at once, nothing is deleted). A folder, or "folder\*", is asked about what
// is still inside it, never through a link.
StayedReason ReasonFor(std::wstring_view what);
// "in use by another program", "access denied", "a link left in place", "held by a running browser"; empty for Unknown.
std::wstring_view ReasonText(StayedReason reason);
