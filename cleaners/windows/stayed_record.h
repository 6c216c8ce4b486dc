#pragma once
// What a cleaning step left behind: the cleaners of a thread report each target that did not go entirely,
// and whoever runs the step reads them afterwards.
#include "cleaners/windows/stayed_reason.h"

#include <string>
#include <string_view>
#include <vector>

// While a record lives, ReportStayed on the thread that made it adds to it. Records nest; the innermost
// one collects.
class StayedRecord {
public:
    StayedRecord();
    ~StayedRecord();
    StayedRecord(const StayedRecord&) = delete;
    StayedRecord& operator=(const StayedRecord&) = delete;

    // Each target once, in the order first reported.
    const std::vector<std::wstring>& Stayed() const { return stayed_; }
    std::vector<std::wstring> Take() { return std::move(stayed_); }
    // Why each target stayed, in the same order; the first reason that is known, Unknown when none is.
    StayedReason FirstKnownReason() const;

private:
    friend void ReportStayed(std::wstring_view what);
    std::vector<std::wstring> stayed_;
    std::vector<StayedReason> reasons_;
    StayedRecord* outer_;
};

// A path (or a message naming what could not be reached) that is still there after its cleaner ran.
// Its reason is asked of the system at once, while the cause is still there. Without a record on the thread,
// nothing happens.
void ReportStayed(std::wstring_view what);
