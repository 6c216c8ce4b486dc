#pragma once
// Firefox's profiles.ini read as text. Platform-free: bytes in, paths out, so that outside bytes reach it
// in a native fuzz build too.
#include <string>
#include <string_view>
#include <vector>

struct ProfilesIniProfile {
    std::string path; // as written, in the file's code page, "/" not yet turned into "\"
    bool relative;    // below the Firefox folder, unless the section says "IsRelative=0"
};

struct ProfilesIni {
    // The profiles Firefox may be using, most likely first: the default of each installation ("[Install...]"
    // sections, Firefox 67 and later), the profile marked "Default=1", and the first "Path" listed.
    std::vector<std::string> inUse;
    // The "Path" of every section that has one (they are "[Profile...]" sections), in file order.
    std::vector<ProfilesIniProfile> profiles;
};

// Lines are split at LF alone, so a CR before it is dropped (profiles.ini written on Windows ends its lines
// with CRLF), and a UTF-8 byte-order mark is skipped.
ProfilesIni ParseProfilesIni(std::string_view text);
