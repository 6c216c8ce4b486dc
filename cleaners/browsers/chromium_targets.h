#pragma once
// Where a Chromium-family browser keeps each item's traces in a profile, and what counts them.
#include "cleaners/browsers/browser_targets.h"

#include <cstdint>
#include <span>

enum class ChromiumItem { Cache, Cookies, History, DownloadHistory, WebData, LastSession };

const BrowserTargets& TargetsOf(ChromiumItem item);

// The item in every profile folder (each with its trailing backslash).
BrowserFigures MeasureChromiumItem(std::span<const std::wstring> profileFolders, ChromiumItem item);
