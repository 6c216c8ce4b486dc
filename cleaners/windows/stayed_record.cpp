#include "cleaners/windows/stayed_record.h"

#include <algorithm>

namespace {
// Per thread, as the walk stop: a cleaner run outside any job (a test, a benchmark) reports to nobody.
thread_local StayedRecord* current = nullptr;
} // namespace

StayedRecord::StayedRecord() : outer_(current) {
    current = this;
}

StayedRecord::~StayedRecord() {
    current = outer_;
}

void ReportStayed(std::wstring_view what) {
    if (!current) return;
    auto& stayed = current->stayed_;
    // Two passes over one folder (the temporary files) report the same leftover twice.
    if (std::find(stayed.begin(), stayed.end(), what) != stayed.end()) return;
    stayed.emplace_back(what);
    current->reasons_.push_back(ReasonFor(what));
}

StayedReason StayedRecord::FirstKnownReason() const {
    for (StayedReason reason : reasons_)
        if (reason != StayedReason::Unknown) return reason;
    return StayedReason::Unknown;
}
