#pragma once
// Finds the profile Firefox uses from its profiles.ini.
#include <optional>
#include <string>

// Application-data folder + "\Mozilla\Firefox\" + the profile's path, with "/" turned into "\": the
// "Default" of an "[Install...]" section, else the "Path" of the profile marked "Default=1", else the first
// "Path" listed; a default whose folder is missing gives way to the next. Nothing when there is no
// profiles.ini or no "Path", and no path that would lead outside the Firefox folder (an absolute path, a
// drive, "..").
std::optional<std::wstring> ReadFirefoxProfilePath();
