#pragma once
// The text report of one cleaning run: per group, the items that ran and what stayed of each, and the
// groups left out and why.
#include "cleaning/cleaning_job.h"

#include <string>
#include <vector>

struct SkippedGroup {
    CleanGroup group;
    std::wstring reason;
};

// Lines end with CRLF; empty when nothing ran and nothing was skipped.
std::wstring RunReport(const std::vector<StepOutcome>& outcomes, const std::vector<SkippedGroup>& skipped);
bool SomethingStayed(const std::vector<StepOutcome>& outcomes);
