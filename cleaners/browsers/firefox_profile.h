#pragma once
// Finds the first profile that Firefox's profiles.ini lists.
#include <optional>
#include <string>

// Application-data folder + "\Mozilla\Firefox\" + the first "Path" value, with "/" turned into "\".
// Nothing when there is no profiles.ini or no "Path", and when the value would lead outside the Firefox
// folder (an absolute path, a drive, "..").
std::optional<std::wstring> ReadFirefoxProfilePath();
