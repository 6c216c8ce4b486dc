#pragma once
// Where Firefox keeps each item's traces in a profile, and what counts them.
#include "cleaners/browsers/browser_targets.h"
#include "cleaners/browsers/firefox_profile.h"

#include <span>

enum class FirefoxItem { Cookies, Urls, AutoForms, DownloadHistory, LastSession };

const BrowserTargets& TargetsOf(FirefoxItem item);

// The item in every profile.
BrowserFigures MeasureFirefoxItem(std::span<const FirefoxProfile> profiles, FirefoxItem item);
// The item's files and folders in one profile folder (without a trailing backslash).
void RemoveFirefoxTargets(const std::wstring& profileFolder, FirefoxItem item);
