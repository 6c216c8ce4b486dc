#pragma once
// Where Firefox keeps each item's traces in a profile, and what counts them.
#include "cleaners/browsers/browser_targets.h"
#include "cleaners/browsers/firefox_profile.h"

#include <span>
#include <string>
#include <vector>

enum class FirefoxItem { Cookies, Urls, AutoForms, DownloadHistory, LastSession };

const BrowserTargets& TargetsOf(FirefoxItem item);

// The item in every profile.
BrowserFigures MeasureFirefoxItem(std::span<const FirefoxProfile> profiles, FirefoxItem item);
// The item's files and folders in one profile folder (without a trailing backslash).
void RemoveFirefoxTargets(const std::wstring& profileFolder, FirefoxItem item);

// The passwords item in one profile folder: every file whose name holds "signons" (the name alone decides:
// a profile folder whose own name holds it must not lose every file), then the logins files of current
// versions. key4.db and cert9.db are never among them: they hold keys and certificates beyond the passwords.
std::vector<std::wstring> FirefoxPasswordFiles(const std::wstring& profileFolder);
// The saved logins of every profile: the entries of logins.json (of its backup when it has none) and the rows
// of a legacy signons.sqlite; other legacy signons files count as files.
BrowserFigures MeasureFirefoxPasswords(std::span<const FirefoxProfile> profiles);
// Removes the passwords item's files of one profile folder; the logins they held count as removed logins,
// the other files as files.
void RemoveFirefoxPasswords(const std::wstring& profileFolder);

// The folders whose contents the cache item removes: the local profiles folder, whose profiles' local data
// goes whole, listed or not; the local folder of a listed profile kept elsewhere; and the cache folders of a
// profile at an absolute path, whose cache Firefox keeps inside it.
std::vector<std::wstring> FirefoxCacheFolders(std::span<const FirefoxProfile> profiles);
BrowserFigures MeasureFirefoxCache(std::span<const FirefoxProfile> profiles);
