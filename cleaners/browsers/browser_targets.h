#pragma once
#include "cleaners/browsers/browser_figures.h"

#include <span>
#include <string>

// Where a browser keeps one item's traces in a profile, and what counts them: the one description that
// the cleaner, the count before a run and the re-check after each step all read.
struct BrowserTargets {
    std::span<const wchar_t* const> files;   // below the profile folder: emptied and deleted
    std::span<const wchar_t* const> folders; // their contents removed, link-safe
    std::span<const CountedRows> rows;       // what the item removes, when it is rows of databases
    RecordKind kind;
};

// In `profile` (ending with a backslash): the item's rows when it has databases, else the files of its
// folders and loose files.
BrowserFigures MeasureTargets(const std::wstring& profile, const BrowserTargets& targets);

// Removes the item's files and the contents of its folders in `profile` (ending with a backslash); its
// rows are the cleaner's to remove. What goes is counted in the item's terms (removed_tally.h).
void RemoveTargets(const std::wstring& profile, const BrowserTargets& targets);
