#pragma once
// Where a Chromium-family browser keeps each item's traces in a profile, and what counts them: the one
// description that the cleaner, the count before a run and the re-check after each step all read.
#include "cleaners/browsers/browser_figures.h"

#include <cstdint>
#include <span>

enum class ChromiumItem { Cache, Cookies, History, DownloadHistory, WebData, LastSession };

struct ChromiumTargets {
    std::span<const wchar_t* const> files;   // emptied and deleted
    std::span<const wchar_t* const> folders; // their contents removed, link-safe
    std::span<const CountedRows> rows;       // what the item removes, when it is rows of databases
    RecordKind kind;
};

const ChromiumTargets& TargetsOf(ChromiumItem item);

// The item's rows when it has databases, else the files of its folders and loose files, in every profile
// folder (each with its trailing backslash).
BrowserFigures MeasureChromiumItem(std::span<const std::wstring> profileFolders, ChromiumItem item);
