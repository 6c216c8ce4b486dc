#pragma once
// Finds Firefox's profiles from its profiles.ini.
#include <optional>
#include <string>
#include <vector>

// Application-data folder + "\Mozilla\Firefox\" + the profile's path, with "/" turned into "\": the
// "Default" of an "[Install...]" section, else the "Path" of the profile marked "Default=1", else the first
// "Path" listed; a default whose folder is missing gives way to the next. Nothing when there is no
// profiles.ini or no "Path", and no path that would lead outside the Firefox folder (an absolute path, a
// drive, "..").
std::optional<std::wstring> ReadFirefoxProfilePath();

struct FirefoxProfile {
    std::wstring folder; // the profile, without a trailing backslash
    // Where the cache of a relative profile lives: the same relative path below the local Firefox folder;
    // empty when it cannot be reached without a link.
    std::wstring localFolder;
    bool absolute = false; // then its cache lives inside it
};

// Every profile profiles.ini lists whose folder exists, each once. A relative path must stay below the
// Firefox folder and reach its profile through no link. An absolute path ("IsRelative=0", Firefox's profile
// manager writes one for a profile made elsewhere) counts only as a drive path to a plain folder that holds
// Firefox's "prefs.js", so that profiles.ini cannot aim the cleaners at any other folder; its cache is kept
// inside it.
std::vector<FirefoxProfile> ReadFirefoxProfiles();
