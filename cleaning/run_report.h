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
// A finished line's words: "removed 1,204 files, 48.2 MB", with what stayed after it when something did.
std::wstring OutcomeText(const StepOutcome& outcome);
// The short form a progress line has room for: what stayed when something did, else OutcomeText.
std::wstring OutcomeLineText(const StepOutcome& outcome);
// The items that kept something, one line each with what stayed; empty when nothing did.
std::wstring StayedLines(const std::vector<StepOutcome>& outcomes);
// "Removed 23,114 files (1.2 GB), 412 registry entries and 3 items (2.0 MB) from the Recycle Bin."; empty
// when no item of the run was counted.
std::wstring TotalsLine(const std::vector<StepOutcome>& outcomes);
